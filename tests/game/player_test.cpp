// Player movement: jumps, coyote time, the jump buffer, air jumps, dash,
// platforms, damage, and a recorded run across the first pit.
#include "game/game.h"
#include "game_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

using test::holdRight;
using test::pressJump;
using test::run;
using test::STEP;

// Starts world 0 with the player standing still on open ground at x.
Game standingAt(float x) {
    Game game = test::startedWithoutEnemies(0);
    game.player.pos = {x, 406};
    run(game, Input{}, 2);
    return game;
}

float apexOfJump(Game& game, Input hold, int steps) {
    float top = game.player.pos.y;
    for (int i = 0; i < steps; ++i) {
        game.update(hold, STEP);
        hold.jumpPressed = false;
        top = std::min(top, game.player.pos.y);
    }
    return top;
}

TEST(PlayerJump, HeldJumpReachesFullHeightAndATapIsShort) {
    Game held = standingAt(200);
    ASSERT_TRUE(held.player.grounded);
    const float rise = 406 - apexOfJump(held, pressJump(), 120);
    // 655^2 / (2 * 1500) = 143 units, give or take the step size.
    EXPECT_NEAR(rise, 143, 3);
    EXPECT_EQ(held.sounds.back().sound, Sound::FartJump);
    EXPECT_FLOAT_EQ(held.sounds.back().volume, 1.0f);

    Game tapped = standingAt(200);
    Input tap = pressJump();
    tapped.update(tap, STEP);
    const float tapRise = 406 - apexOfJump(tapped, Input{}, 120);
    EXPECT_LT(tapRise, 90);
    EXPECT_GT(tapRise, 60);
}

TEST(PlayerJump, JumpCloudPuffsBehindThePlayer) {
    Game game = standingAt(200);
    game.update(pressJump(), STEP);
    ASSERT_EQ(game.particles.size(), 15u);
    for (const Particle& p : game.particles) {
        EXPECT_EQ(p.kind, 0);
        EXPECT_EQ(p.color, 0xff9fb956u);
    }
    // Facing right, the cloud drifts left and down.
    EXPECT_LT(game.particles[0].vel.x, 0);
}

TEST(PlayerJump, TwoJumpsBeforeLandingAndThreeWithTheBurrito) {
    Game game = standingAt(200);
    game.update(pressJump(), STEP);
    run(game, test::holdJump(), 20);
    game.update(pressJump(), STEP);
    EXPECT_FLOAT_EQ(game.player.vel.y, -610 + 1500 * STEP);
    EXPECT_EQ(game.player.jumpsUsed, 2);
    run(game, test::holdJump(), 20);
    const float vy = game.player.vel.y;
    game.update(pressJump(), STEP);
    EXPECT_GT(game.player.vel.y, vy); // refused: only gravity acts

    Game burrito = standingAt(200);
    burrito.player.tripleJump = 5;
    for (int i = 0; i < 3; ++i) {
        burrito.update(pressJump(), STEP);
        run(burrito, test::holdJump(), 15);
    }
    EXPECT_EQ(burrito.player.jumpsUsed, 3);

    // When the burrito runs out in mid-air, a third jump is refused.
    Game expiring = standingAt(200);
    expiring.player.tripleJump = 0.2f;
    expiring.update(pressJump(), STEP);
    run(expiring, test::holdJump(), 10);
    expiring.update(pressJump(), STEP);
    run(expiring, test::holdJump(), 20);
    ASSERT_EQ(expiring.player.tripleJump, 0);
    expiring.update(pressJump(), STEP);
    EXPECT_EQ(expiring.player.jumpsUsed, 2);
}

TEST(PlayerJump, CoyoteTimeGivesALateGroundJump) {
    // Walk off the right end of the first ground block (the pit starts at 1370).
    const auto walkOff = [](int lateSteps) {
        Game game = standingAt(1300);
        game.player.vel.x = 280;
        Input right = holdRight();
        while (game.player.grounded) {
            game.update(right, STEP);
        }
        run(game, right, lateSteps);
        game.update(pressJump(right), STEP);
        return game;
    };

    Game early = walkOff(6); // about 0.06 s after leaving the edge
    EXPECT_FLOAT_EQ(early.player.vel.y, -655 + 1500 * STEP);
    EXPECT_EQ(early.player.jumpsUsed, 1); // one air jump still left

    Game late = walkOff(20); // about 0.18 s: coyote time is over
    EXPECT_FLOAT_EQ(late.player.vel.y, -610 + 1500 * STEP);
    EXPECT_EQ(late.player.jumpsUsed, 2); // the ground jump was spent by walking off
}

TEST(PlayerJump, BufferedPressJumpsRightAfterLanding) {
    Game game = standingAt(200);
    game.update(pressJump(), STEP);
    run(game, test::holdJump(), 30);
    game.update(pressJump(), STEP);
    // Fall until about 0.1 s from the ground, then press once more.
    while (game.player.pos.y + game.player.vel.y * 0.1f < 406) {
        game.update(Input{}, STEP);
    }
    game.update(pressJump(), STEP);
    EXPECT_EQ(game.player.jumpsUsed, 2);
    const int landing = test::runUntilGrounded(game, Input{}, 60);
    ASSERT_GT(landing, 0);
    EXPECT_LE(landing, 14);
    // The landing step itself is airborne; the jump comes on the next one.
    game.update(Input{}, STEP);
    EXPECT_LT(game.player.vel.y, -600);
    EXPECT_EQ(game.player.jumpsUsed, 1);
}

TEST(PlayerJump, TheWorldHasACeiling) {
    Game game = standingAt(200);
    game.player.pos.y = 90;
    game.player.grounded = false;
    game.player.vel.y = -600;
    game.update(test::holdJump(), STEP * 4);
    EXPECT_FLOAT_EQ(game.player.pos.y, 76);
    EXPECT_FLOAT_EQ(game.player.vel.y, 0);
}

TEST(PlayerDash, FixedSpeedThenCooldownAndHarmlessWhileDashing) {
    Game game = standingAt(200);
    game.player.grounded = false;
    game.player.pos.y = 200;
    game.update(test::dashPress(), STEP);
    EXPECT_FLOAT_EQ(game.player.vel.x, 720);
    EXPECT_EQ(game.sounds.back().sound, Sound::Dash);
    const int hp = game.player.health;
    game.damagePlayer(30, 100);
    EXPECT_EQ(game.player.health, hp);
    run(game, Input{}, 10);
    EXPECT_FLOAT_EQ(game.player.vel.x, 720); // the stick is ignored mid-dash
    EXPECT_GT(game.player.vel.y, 0);         // gravity still acts

    run(game, Input{}, 30);
    EXPECT_LT(game.player.vel.x, 720);
    const float x = game.player.pos.x;
    game.update(test::dashPress(), STEP);
    EXPECT_LT(game.player.vel.x, 720); // cooling down
    EXPECT_GT(game.player.pos.x, x);
    run(game, Input{}, 200);
    game.update(test::dashPress(-1), STEP);
    EXPECT_FLOAT_EQ(game.player.vel.x, -720);
}

TEST(PlayerDamage, ShieldAbsorbsFirstThenHealthAndKnockback) {
    Game game = standingAt(300);
    game.player.shield = 20;
    game.damagePlayer(30, 400);
    EXPECT_EQ(game.player.shield, 0);
    EXPECT_EQ(game.player.health, 90);
    EXPECT_FLOAT_EQ(game.player.vel.x, -225);
    EXPECT_FLOAT_EQ(game.player.vel.y, -250);
    ASSERT_GE(game.sounds.size(), 2u);
    EXPECT_EQ(game.sounds[game.sounds.size() - 2].sound, Sound::ShieldBreak);
    EXPECT_EQ(game.sounds.back().sound, Sound::Hurt);

    // Immune for 1.25 s.
    game.damagePlayer(30, 400);
    EXPECT_EQ(game.player.health, 90);

    Game shielded = standingAt(300);
    shielded.player.shield = 60;
    shielded.damagePlayer(30, 300); // a source exactly at the player pushes right, if at all
    EXPECT_EQ(shielded.player.shield, 30);
    EXPECT_EQ(shielded.player.health, 100);
    EXPECT_FLOAT_EQ(shielded.player.vel.x, 0);
    EXPECT_FLOAT_EQ(shielded.player.invulnerable, 1.25f);

    Game exact = standingAt(300);
    exact.damagePlayer(10, 300);
    EXPECT_FLOAT_EQ(exact.player.vel.x, 225);

    // No damage outside play.
    Game paused = standingAt(300);
    paused.state = Paused;
    paused.damagePlayer(50, 0);
    EXPECT_EQ(paused.player.health, 100);
}

TEST(PlayerDamage, LethalDamageRespawnsAtFullHealth) {
    Game game = standingAt(600);
    game.player.health = 20;
    game.damagePlayer(25, 700);
    EXPECT_EQ(game.deaths, 1);
    EXPECT_EQ(game.player.health, 100);
    EXPECT_FLOAT_EQ(game.player.pos.x, 110);
    // Respawn immunity blocks damage but not falling out of the world.
    game.damagePlayer(25, 700);
    EXPECT_EQ(game.player.health, 100);
    game.player.pos = {1400, 720};
    game.player.vel.y = 600;
    game.player.grounded = false;
    run(game, Input{}, 5);
    EXPECT_EQ(game.deaths, 2);
}

TEST(PlayerPlatforms, OneWayLedgesCatchFromAboveOnly) {
    // The ledge at (670, 357) is 190 wide: jump up through it, land on top.
    Game game = standingAt(700);
    game.update(pressJump(), STEP);
    float top = 406;
    bool landedOnLedge = false;
    for (int i = 0; i < 200; ++i) {
        game.update(test::holdJump(), STEP);
        top = std::min(top, game.player.pos.y);
        if (game.player.grounded) {
            landedOnLedge = game.player.pos.y == 357 - 64;
            break;
        }
    }
    EXPECT_LT(top, 357 - 64); // passed up through it
    EXPECT_TRUE(landedOnLedge);
}

TEST(PlayerRun, RecordedRunCrossesTheFirstPit) {
    // A recorded run: hold right, jump the spikes at 910 and then the pit at 1370.
    std::vector<Input> recording(700, holdRight());
    for (int i : {300, 500}) {
        recording[static_cast<size_t>(i)].jumpPressed = true;
        for (int j = i; j < i + 60; ++j) {
            recording[static_cast<size_t>(j)].jumpHeld = true;
        }
    }
    Game game = test::startedWithoutEnemies(0);
    float lowest = 0;
    for (const Input& in : recording) {
        game.update(in, STEP);
        lowest = std::max(lowest, game.player.pos.y);
    }
    EXPECT_EQ(game.deaths, 0);
    EXPECT_EQ(game.player.health, 100); // cleared the spikes too
    EXPECT_GT(game.player.pos.x, 1560);
    EXPECT_TRUE(game.player.grounded);
    EXPECT_LE(lowest, 406.0f);
    EXPECT_EQ(game.state, Playing);
}

} // namespace
} // namespace grumbo

// Player movement: jumps, coyote time, the jump buffer, air jumps, dash,
// platforms and damage.
#include "game/game.h"
#include "game_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace grumbo {
namespace {

using namespace test;

// Starts world 0 with the player standing still on open ground at x.
Game standingAt(float x) {
    Game game = startedWithoutEnemies(0);
    game.player.pos = {x, 406};
    run(game, Input{}, 2);
    return game;
}

TEST(PlayerJump, TwoJumpsBeforeLandingAndThreeWithTheBurrito) {
    Game game = standingAt(200);
    game.update(pressJump(), DT);
    run(game, holdJump(), 20);
    game.update(pressJump(), DT);
    EXPECT_FLOAT_EQ(game.player.vel.y, -610 + 1500 * DT);
    EXPECT_EQ(game.player.jumpsUsed, 2);
    run(game, holdJump(), 20);
    const float vy = game.player.vel.y;
    game.update(pressJump(), DT);
    EXPECT_GT(game.player.vel.y, vy); // refused: only gravity acts

    Game burrito = standingAt(200);
    burrito.player.tripleJump = 5;
    for (int i = 0; i < 3; ++i) {
        burrito.update(pressJump(), DT);
        run(burrito, holdJump(), 15);
    }
    EXPECT_EQ(burrito.player.jumpsUsed, 3);
    const float rising = burrito.player.vel.y;
    burrito.update(pressJump(), DT);
    EXPECT_GT(burrito.player.vel.y, rising); // a fourth is refused

    // When the burrito runs out in mid-air, a third jump is refused.
    Game expiring = standingAt(200);
    expiring.player.tripleJump = 0.2f;
    expiring.update(pressJump(), DT);
    run(expiring, holdJump(), 10);
    expiring.update(pressJump(), DT);
    run(expiring, holdJump(), 20);
    ASSERT_EQ(expiring.player.tripleJump, 0);
    expiring.update(pressJump(), DT);
    EXPECT_EQ(expiring.player.jumpsUsed, 2);
}

TEST(PlayerJump, CoyoteTimeGivesALateGroundJump) {
    // Walk off the right end of the first ground block (the pit starts at 1370).
    const auto walkOff = [](int lateSteps) {
        Game game = standingAt(1300);
        game.player.vel.x = 280;
        Input right = holdRight();
        while (game.player.grounded) {
            game.update(right, DT);
        }
        run(game, right, lateSteps);
        game.update(pressJump(right), DT);
        return game;
    };

    Game early = walkOff(12); // 0.108 s after leaving the edge
    EXPECT_FLOAT_EQ(early.player.vel.y, -655 + 1500 * DT);
    EXPECT_EQ(early.player.jumpsUsed, 1); // one air jump still left

    Game late = walkOff(13); // 0.117 s: coyote time (0.11 s) is over
    EXPECT_FLOAT_EQ(late.player.vel.y, -610 + 1500 * DT);
    EXPECT_EQ(late.player.jumpsUsed, 2); // the ground jump was spent by walking off
}

TEST(PlayerJump, BufferedPressJumpsRightAfterLanding) {
    // Spend both jumps, then press again a given time before the landing.
    const auto pressBeforeLanding = [](float lead) {
        Game game = standingAt(200);
        game.update(pressJump(), DT);
        run(game, holdJump(), 30);
        game.update(pressJump(), DT);
        while (game.player.vel.y < 0 || game.player.pos.y + game.player.vel.y * lead < 406) {
            game.update(Input{}, DT);
        }
        game.update(pressJump(), DT);
        EXPECT_EQ(game.player.jumpsUsed, 2);
        EXPECT_GT(runUntilGrounded(game, Input{}, 60), 0);
        // The landing step itself is airborne; the jump comes on the next one.
        game.update(Input{}, DT);
        return game;
    };
    const Game inTime = pressBeforeLanding(0.1f);
    EXPECT_FLOAT_EQ(inTime.player.vel.y, -655 + 2775 * DT);
    EXPECT_EQ(inTime.player.jumpsUsed, 1);
    const Game tooEarly = pressBeforeLanding(0.17f);
    EXPECT_TRUE(tooEarly.player.grounded);
    EXPECT_EQ(tooEarly.player.jumpsUsed, 0);
}

TEST(PlayerJump, TheWorldHasACeiling) {
    Game game = standingAt(200);
    game.player.pos.y = 90;
    game.player.grounded = false;
    game.player.vel.y = -600;
    game.update(holdJump(), DT * 4);
    EXPECT_FLOAT_EQ(game.player.pos.y, 76);
    EXPECT_FLOAT_EQ(game.player.vel.y, 0);
}

TEST(PlayerDash, FixedSpeedThenCooldownAndHarmlessWhileDashing) {
    Game game = standingAt(200);
    game.player.grounded = false;
    game.player.pos.y = 200;
    game.update(dashPress(), DT);
    EXPECT_FLOAT_EQ(game.player.vel.x, 720);
    EXPECT_EQ(game.sounds.back().sound, Sound::Dash);
    EXPECT_FLOAT_EQ(game.sounds.back().volume, 0.8f);
    const int hp = game.player.health;
    game.damagePlayer(30, 100);
    EXPECT_EQ(game.player.health, hp);
    // 0.16 s at full speed with the stick let go, while gravity still acts.
    run(game, Input{}, 19);
    EXPECT_FLOAT_EQ(game.player.vel.x, 720);
    EXPECT_GT(game.player.vel.y, 0);
    run(game, Input{}, 1);
    EXPECT_LT(game.player.vel.x, 720);

    // The next dash is ready 1.6 s after the first.
    run(game, Input{}, 169);
    game.update(dashPress(-1), DT);
    EXPECT_GT(game.player.vel.x, -720);
    run(game, Input{}, 5);
    game.update(dashPress(-1), DT);
    EXPECT_FLOAT_EQ(game.player.vel.x, -720);
}

TEST(PlayerDamage, ShieldAbsorbsFirstThenHealthAndKnockback) {
    Game game = standingAt(300);
    game.player.shield = 20;
    game.damagePlayer(30, 400);
    EXPECT_EQ(game.player.shield, 0);
    EXPECT_EQ(game.player.health, 90);
    expectAt(game.player.vel, -225, -250);
    ASSERT_GE(game.sounds.size(), 2u);
    EXPECT_EQ(game.sounds[game.sounds.size() - 2].sound, Sound::ShieldBreak);
    EXPECT_EQ(game.sounds.back().sound, Sound::Hurt);
    EXPECT_FLOAT_EQ(game.sounds.back().volume, 1);

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

// The assists, all off at first: one more air jump, also on top of the burrito's; hits that
// leave health and shield alone, while falling into a pit still costs a life.
TEST(PlayerAssists, ExtraAirJumpAndNoDamageButPitsStillKill) {
    // Every assist is off unless the player turns it on.
    const Assists off = Game().assists;
    EXPECT_EQ(off.speedPercent, 100);
    EXPECT_FALSE(off.noDamage);
    EXPECT_FALSE(off.extraAirJump);
    for (const bool burrito : {false, true}) {
        Game game = standingAt(200);
        game.assists.extraAirJump = true;
        game.player.tripleJump = burrito ? 0.5f : 0;
        const int allowed = burrito ? 4 : 3;
        for (int i = 0; i < allowed; ++i) {
            game.update(pressJump(), DT);
            run(game, test::holdJump(), 12);
        }
        EXPECT_EQ(game.player.jumpsUsed, allowed);
        const float rising = game.player.vel.y;
        game.update(pressJump(), DT);
        EXPECT_GT(game.player.vel.y, rising) << "one more is refused";
    }

    Game game = standingAt(300);
    game.assists.noDamage = true;
    game.player.shield = 20;
    game.damagePlayer(150, 400);
    EXPECT_EQ(game.player.health, 100);
    EXPECT_EQ(game.player.shield, 20);
    EXPECT_EQ(game.deaths, 0);
    game.player.pos = {1400, 720};
    game.player.vel.y = 600;
    game.player.grounded = false;
    run(game, Input{}, 5);
    EXPECT_EQ(game.deaths, 1);
}

TEST(PlayerPlatforms, OneWayLedgesCatchFromAboveOnly) {
    // The ledge at (670, 357) is 190 wide: jump up through it, land on top.
    Game game = standingAt(700);
    game.update(pressJump(), DT);
    float top = 406;
    bool landedOnLedge = false;
    for (int i = 0; i < 200; ++i) {
        game.update(holdJump(), DT);
        top = std::min(top, game.player.pos.y);
        if (game.player.grounded) {
            landedOnLedge = game.player.pos.y == 357 - 64;
            break;
        }
    }
    EXPECT_LT(top, 357 - 64); // passed up through it
    EXPECT_TRUE(landedOnLedge);

    // Feet must overlap a ledge by more than one unit, on either end, to land on it.
    for (const float overlap : {0.5f, 1.5f}) {
        for (const float x : {500 - 42 + overlap, 600 - overlap}) {
            Game edge = sandbox();
            Platform ledge;
            ledge.rect = {500, 300, 100, 20};
            edge.level.platforms.push_back(ledge);
            edge.player.pos = {x, 300 - 64 - 0.05f};
            edge.player.grounded = false;
            run(edge, Input{}, 3);
            EXPECT_EQ(edge.player.grounded, overlap > 1) << x;
            EXPECT_EQ(edge.player.vel.y == 0, overlap > 1) << x;
        }
    }
}

TEST(PlayerRun, SpeedsAccelerationsAndTheEdgesOfTheLevel) {
    using Case = std::tuple<bool, bool, float, float>;
    for (const auto& [boosted, airborne, accel, top] :
         {Case{false, false, 1900, 280}, Case{true, false, 1900, 360}, Case{false, true, 1300, 280}}) {
        SCOPED_TRACE(testing::Message() << boosted << airborne);
        Game game = sandbox();
        game.player.speedBoost = boosted ? 5 : 0;
        game.player.grounded = !airborne;
        game.player.pos.y = airborne ? 200 : game.player.pos.y;
        game.update(holdRight(), DT);
        EXPECT_FLOAT_EQ(game.player.vel.x, accel * DT);
        run(game, holdRight(), 30);
        EXPECT_FLOAT_EQ(game.player.vel.x, top);
    }

    // Aiming behind turns the player while the run goes on the other way.
    Game aiming = standingAt(300);
    Input in = holdRight();
    in.aiming = true;
    in.aim = {300 + 21 - 1, 300};
    run(aiming, in, 5);
    EXPECT_EQ(aiming.player.facing, -1);
    EXPECT_GT(aiming.player.vel.x, 0);
    in.aim.x = aiming.player.pos.x + 21 - 0.25f;
    aiming.update(in, DT);
    EXPECT_EQ(aiming.player.facing, 1); // half a unit from the centre does not turn

    // The left edge of the world holds, and the gate stays 10 short until the boss falls.
    Game edge = sandbox();
    edge.player.pos.x = 3;
    Input left;
    left.left = true;
    run(edge, left, 30);
    EXPECT_FLOAT_EQ(edge.player.pos.x, 0);
    edge.player.pos.x = edge.level.exitGate.x - 80;
    run(edge, holdRight(), 60);
    EXPECT_FLOAT_EQ(edge.player.pos.x, edge.level.exitGate.x - 42 - 10);
    edge.exitOpen = true;
    edge.level.exitGate.y = -1000;
    run(edge, holdRight(), 600);
    EXPECT_FLOAT_EQ(edge.player.pos.x, edge.level.length - 42);
}

TEST(PlayerJump, GravityShortHopsAndTheFallSpeedLimit) {
    Game held = standingAt(200);
    held.update(pressJump(), DT);
    EXPECT_FLOAT_EQ(held.player.vel.y, -655 + 1500 * DT);
    EXPECT_EQ(held.player.jumpsUsed, 1);
    EXPECT_EQ(held.sounds.back().sound, Sound::FartJump);
    held.update(Input{}, DT);
    EXPECT_FLOAT_EQ(held.player.vel.y, -655 + 1500 * DT + 2775 * DT);

    Game falling = sandbox();
    falling.level.platforms.clear();
    falling.player.grounded = false;
    falling.player.pos.y = 76;
    run(falling, Input{}, 80);
    EXPECT_FLOAT_EQ(falling.player.vel.y, 920);
    EXPECT_EQ(falling.deaths, 0);
    // The fall kills once the top edge passes 730.
    falling.player.pos.y = 729.5f;
    falling.player.vel.y = 0;
    run(falling, Input{}, 1);
    EXPECT_EQ(falling.deaths, 0);
    run(falling, Input{}, 10);
    EXPECT_EQ(falling.deaths, 1);
}

TEST(PlayerJump, TheJumpCloudComesFromBehindThePlayer) {
    for (int facing : {1, -1}) {
        Game game = standingAt(200);
        game.player.facing = facing;
        Lcg lcg{game.rng};
        const Vec2 at = game.player.pos;
        // Facing left, the jump is an air jump: a paler cloud and a softer sound.
        game.fartJump(facing < 0);
        EXPECT_FLOAT_EQ(game.sounds.back().volume, facing < 0 ? 0.8f : 1.0f);
        EXPECT_EQ(game.particles.back().color, facing < 0 ? 0xffcccf66u : 0xff9fb956u);
        for (int i = 0; i < 60; ++i) {
            lcg.next(); // the burst's own four draws a particle
        }
        ASSERT_EQ(game.particles.size(), 15u);
        for (const Particle& p : game.particles) {
            EXPECT_EQ(p.kind, 0);
            expectAt(p.pos, facing > 0 ? at.x + 5 : at.x + 42 - 5, at.y + 0.73f * 64);
            const float r1 = lcg.next();
            const float r2 = lcg.next();
            expectAt(p.vel, -static_cast<float>(facing) * (100 + 125 * r1), 50 + 105 * r2);
        }
    }
}

} // namespace
} // namespace grumbo

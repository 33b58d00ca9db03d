// The model's queries, the state machine, checkpoints, respawn, camera, the
// exit gate and the sound queue.
#include "game/game.h"
#include "game_test_support.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace grumbo {
namespace {

using namespace test;

TEST(Model, RectOverlapIsStrict) {
    const Rect a{0, 0, 10, 10};
    EXPECT_TRUE(a.overlaps({9, 9, 5, 5}));
    // Sharing an edge is not overlapping, on any side.
    for (const Rect& b : {Rect{10, 0, 5, 5}, Rect{-5, 0, 5, 5}, Rect{0, 10, 5, 5}, Rect{0, -5, 5, 5}}) {
        EXPECT_FALSE(a.overlaps(b));
    }
    // A thin one still does.
    EXPECT_TRUE(a.overlaps({5, 5, 0.5f, 0.5f}));
    EXPECT_TRUE((Rect{5, 5, 0.5f, 0.5f}).overlaps(a));
    // An empty rectangle overlaps nothing, even inside another.
    for (const Rect& empty : {Rect{5, 5, 0, 5}, Rect{5, 5, 5, 0}}) {
        EXPECT_FALSE(a.overlaps(empty));
        EXPECT_FALSE(empty.overlaps(a));
    }
}

TEST(Model, NameTablesClampTheirIndex) {
    EXPECT_STREQ(Game::weaponName(static_cast<Weapon>(-3)), "GIFTED SUBS");
    EXPECT_STREQ(Game::weaponName(static_cast<Weapon>(42)), "ONE BY ONE");
    EXPECT_STREQ(Game::pickupName(static_cast<PickupKind>(99)), "FLASHLIGHT");
    EXPECT_STREQ(Game::bossName(7), "SNACKZILLA");
    EXPECT_STREQ(Game::bossName(-1), "ROOT OF ALL LAG");
    EXPECT_STREQ(Game::levelName(10), "SUBSCRIBER SUMMIT");
    // Power ranks are deliberately not in enum order.
    const int powers[WEAPON_COUNT] = {10, 30, 40, 20, 50, 70, 60, 80, 90, 100};
    for (int w = 0; w < WEAPON_COUNT; ++w) {
        EXPECT_EQ(Game::weaponPower(static_cast<Weapon>(w)), powers[w]) << w;
    }
}

// A new game, and a new player, start from their defaults.
TEST(Model, ANewGameAndPlayerStartFromTheirDefaults) {
    const Player p;
    EXPECT_EQ(p.pos.x + p.pos.y * 1000, 110 + 406 * 1000);
    EXPECT_EQ(p.size.x + p.size.y * 1000, 42 + 64 * 1000);
    EXPECT_EQ(p.facing, 1);
    EXPECT_EQ(p.health + p.maxHealth, 200);
    EXPECT_FALSE(p.grounded);
    EXPECT_EQ(std::count(p.ownedWeapons.begin(), p.ownedWeapons.end(), true), 1);
    EXPECT_TRUE(p.ownedWeapons[GiftedSubs]);
    EXPECT_EQ(p.shield + p.jumpsUsed + static_cast<int>(p.weapon), 0);
    for (float timer : {p.vel.x, p.vel.y, p.invulnerable, p.speedBoost, p.tripleJump, p.magnet, p.powerUp,
                        p.dashCooldown, p.dashTime, p.flashlight, p.glow}) {
        EXPECT_EQ(timer, 0);
    }
    const Game g;
    EXPECT_EQ(g.state + g.world + g.subscribers + g.deaths, 0);
    EXPECT_EQ(g.checkpoint, -1);
    EXPECT_EQ(g.rng, 735841u);
    EXPECT_FLOAT_EQ(g.viewWidth, 960);
    EXPECT_FALSE(g.exitOpen || g.finishSounded);
    for (float timer : {g.cameraX, g.levelTime, g.coyoteTime, g.jumpBuffer, g.fireCooldown}) {
        EXPECT_EQ(timer, 0);
    }
    EXPECT_EQ(g.player.pos.x, g.level.spawn.x);
}

// The generator's draws are checked wherever particles burst; here, that
// every world seeds it afresh.
TEST(Model, EachWorldSeedsTheGenerator) {
    Game game;
    game.start(0);
    EXPECT_EQ(game.rng, 735841u);
    game.random(0, 1);
    game.start(9);
    EXPECT_EQ(game.rng, 517u * 9 + 735841u);
}

// A continued journey resumes at its checkpoint: the player stands on it,
// briefly safe, with it and the ones before it reached; out-of-range indices clamp.
TEST(Model, ResumingAtACheckpointPlacesThePlayerAndMarksTheWayThere) {
    Game g = sandbox();
    g.level.checkpoints = {Checkpoint{{1000, GROUND_Y}}, Checkpoint{{2000, GROUND_Y}},
                           Checkpoint{{3000, GROUND_Y}}};
    g.resumeAtCheckpoint(1);
    EXPECT_EQ(g.checkpoint, 1);
    expectAt(g.player.pos, 2000, GROUND_Y - g.player.size.y);
    EXPECT_FLOAT_EQ(g.player.invulnerable, 2.0f);
    EXPECT_TRUE(g.level.checkpoints[0].reached && g.level.checkpoints[1].reached);
    EXPECT_FALSE(g.level.checkpoints[2].reached);
    g.resumeAtCheckpoint(7);
    EXPECT_EQ(g.checkpoint, 2);
    EXPECT_FLOAT_EQ(g.player.pos.x, 3000);
    g.resumeAtCheckpoint(-5);
    EXPECT_EQ(g.checkpoint, -1);
    EXPECT_FLOAT_EQ(g.player.pos.x, 3000);
    EXPECT_FALSE(g.level.checkpoints[0].reached);
    // The first flag is a checkpoint like any other.
    g.resumeAtCheckpoint(0);
    EXPECT_EQ(g.checkpoint, 0);
    EXPECT_FLOAT_EQ(g.player.pos.x, 1000);
    EXPECT_TRUE(g.level.checkpoints[0].reached);
    EXPECT_FALSE(g.level.checkpoints[1].reached);
}

TEST(Model, CycleWeaponWrapsToTheNextOwned) {
    Game game;
    game.start(0);
    game.cycleWeapon();
    EXPECT_EQ(game.player.weapon, GiftedSubs);
    game.player.ownedWeapons[FidgetSpinners] = true;
    game.player.ownedWeapons[OneByOne] = true;
    game.player.weapon = OneByOne;
    game.cycleWeapon();
    EXPECT_EQ(game.player.weapon, GiftedSubs);
    game.cycleWeapon();
    EXPECT_EQ(game.player.weapon, FidgetSpinners);
    // With one weapon owned, cycling settles on it, even from a number past the table.
    game.player.ownedWeapons = {};
    game.player.ownedWeapons[OneByOne] = true;
    game.player.weapon = static_cast<Weapon>(42);
    game.cycleWeapon();
    EXPECT_EQ(game.player.weapon, OneByOne);
}

TEST(Model, SignsAndPitsNearThePlayer) {
    Game game;
    game.start(0);
    game.player.pos = {260 - 21 + 84.5f, 406};
    EXPECT_EQ(game.nearbySign(), 0);
    game.player.pos.x += 0.5f; // 85 away is out of reach
    EXPECT_EQ(game.nearbySign(), -1);
    game.player.pos = {260 - 21 + 80, 320}; // on a high ledge
    EXPECT_EQ(game.nearbySign(), -1);

    // Only feet down at the floor (446 or lower) stand at a pit's edge.
    game.player.pos = {1300, 446 - 64};
    game.player.facing = 1;
    EXPECT_EQ(game.pitAhead(40), 0);
    game.player.pos.y -= 0.5f;
    EXPECT_EQ(game.pitAhead(40), -1);
    game.player.pos = {1300, 406};
    EXPECT_EQ(game.pitAhead(40), 0); // right edge 1342, pit at 1370
    EXPECT_EQ(game.pitAhead(20), -1);
    EXPECT_EQ(game.pitAhead(-1), -1);
    game.player.facing = -1;
    game.player.pos.x = 1500;
    EXPECT_EQ(game.pitAhead(30), 0);
    game.player.pos.x = 2500;
    EXPECT_EQ(game.pitAhead(30), -1);
    // Both reaches count their last unit, and a player right at the edge sees the pit at reach 0.
    game.player.pos.x = game.level.pits[0].right + 30;
    EXPECT_EQ(game.pitAhead(30), 0);
    game.player.pos.x -= 30;
    EXPECT_EQ(game.pitAhead(0), 0);
    // Facing left, a pit counts while the player's right edge is past its left edge.
    const Pit pit = game.level.pits[0];
    game.player.pos.x = pit.left + 10;
    EXPECT_EQ(game.pitAhead(pit.right - pit.left), 0);
    game.player.pos.x = pit.left - 42;
    EXPECT_EQ(game.pitAhead(1000), -1);
    // Every pit is looked at, not only the first.
    ASSERT_GE(game.level.pits.size(), 2u);
    game.player.facing = 1;
    game.player.pos.x = game.level.pits[1].left - 42 - 10;
    EXPECT_EQ(game.pitAhead(20), 1);
    game.player.facing = -1;
    game.player.pos.x = 1500;
    game.player.pos.y = 300; // feet above 446: not on the ground
    EXPECT_EQ(game.pitAhead(30), -1);
}

TEST(Lifecycle, StartKeepsTheArsenalButNotTheTimers) {
    Game game;
    game.start(0);
    game.subscribers = 5000;
    game.player.maxHealth = 125;
    game.player.ownedWeapons[RgbLaser] = true;
    game.player.weapon = RgbLaser;
    game.player.shield = 60;
    game.player.health = 10;
    game.player.speedBoost = 4;

    game.start(2);
    EXPECT_EQ(game.world, 2);
    EXPECT_EQ(game.player.health, 125);
    EXPECT_EQ(game.player.maxHealth, 125);
    EXPECT_EQ(game.player.weapon, RgbLaser);
    EXPECT_TRUE(game.player.ownedWeapons[RgbLaser]);
    EXPECT_EQ(game.player.shield, 0);
    EXPECT_EQ(game.player.speedBoost, 0);
    EXPECT_EQ(game.subscribers, 5000);

    game.start(12); // plays the last world, still a continuing run
    EXPECT_EQ(game.world, 9);
    EXPECT_EQ(game.player.weapon, RgbLaser);
    EXPECT_EQ(game.subscribers, 5000);

    game.deaths = 3;
    game.start(-1); // a new run
    EXPECT_EQ(game.world, 0);
    EXPECT_EQ(game.subscribers, 0);
    EXPECT_EQ(game.deaths, 0);
    EXPECT_EQ(game.player.weapon, GiftedSubs);
    EXPECT_EQ(game.player.maxHealth, 100);
}

TEST(Lifecycle, TitlePauseAndSignCards) {
    Game game;
    EXPECT_EQ(game.state, Title);
    run(game, Input{}, 10);
    EXPECT_EQ(game.state, Title);
    Input fire;
    fire.fireHeld = true;
    game.update(fire, DT);
    EXPECT_EQ(game.state, Playing);
    // A jump or an interact press starts the run just as well.
    for (const bool jump : {true, false}) {
        Game other;
        Input press;
        press.jumpPressed = jump;
        press.interact = !jump;
        other.update(press, DT);
        EXPECT_EQ(other.state, Playing) << jump;
    }

    Input pause;
    pause.pause = true;
    game.update(pause, DT);
    EXPECT_EQ(game.state, Paused);
    const Vec2 before = game.player.pos;
    run(game, holdRight(), 60);
    EXPECT_EQ(game.player.pos.x, before.x); // nothing advances while paused
    game.update(pause, DT);
    EXPECT_EQ(game.state, Playing);

    // Open the first sign; the step that opens it moves nothing else.
    game.player.pos.x = 240;
    Input interact = holdRight();
    interact.interact = true;
    game.update(interact, DT);
    EXPECT_EQ(game.state, SignCard);
    EXPECT_EQ(game.player.pos.x, 240);
    EXPECT_TRUE(game.level.signs[0].read);
    EXPECT_EQ(game.signText, game.level.signs[0].text);
    ASSERT_FALSE(game.sounds.empty());
    EXPECT_EQ(game.sounds.back().sound, Sound::SignOpen);

    // Pause closes the card rather than pausing.
    game.update(pause, DT);
    EXPECT_EQ(game.state, Playing);
    EXPECT_TRUE(game.signText.empty());

    // A step of zero length changes nothing, not even opening a sign.
    game.update(interact, 0);
    EXPECT_EQ(game.state, Playing);
    game.update(interact, -1);
    EXPECT_EQ(game.state, Playing);
}

TEST(Lifecycle, LongStepsAreClampedAndNaNIsIgnored) {
    Game game;
    game.start(0);
    game.update(Input{}, 0.5f);
    EXPECT_FLOAT_EQ(game.levelTime, 1.0f / 30.0f);
    game.update(Input{}, std::nanf(""));
    EXPECT_FLOAT_EQ(game.levelTime, 1.0f / 30.0f);
}

TEST(Lifecycle, CheckpointsNeverMoveTheRespawnBackwards) {
    Game game = startedWithoutEnemies(0);
    game.player.pos = {3350 - 21, 406};
    game.player.grounded = true;
    run(game, Input{}, 1);
    EXPECT_EQ(game.checkpoint, 1);
    EXPECT_TRUE(game.level.checkpoints[0].reached);
    EXPECT_TRUE(game.level.checkpoints[1].reached);
    EXPECT_FALSE(game.level.checkpoints[2].reached);
    ASSERT_FALSE(game.sounds.empty());
    EXPECT_EQ(game.sounds.back().sound, Sound::Checkpoint);
    EXPECT_FLOAT_EQ(game.sounds.back().volume, 1);
    expectAt(game.particles.back().pos, 3350, game.level.checkpoints[1].pos.y - 55);
    EXPECT_EQ(game.particles.back().kind, 2);
    EXPECT_EQ(countParticles(game, 0xff6fe4c0u), 24);

    // A flag counts from 55 units either side of the player's centre.
    Game reach = startedWithoutEnemies(0);
    reach.player.pos = {3350 - 21 - 55.25f, 406};
    run(reach, Input{}, 1);
    EXPECT_EQ(reach.checkpoint, -1);
    reach.player.pos.x += 0.5f;
    run(reach, Input{}, 1);
    EXPECT_EQ(reach.checkpoint, 1);
    // A respawn point set from outside marks every flag up to it.
    reach.level.checkpoints[0].reached = false;
    run(reach, Input{}, 1);
    EXPECT_TRUE(reach.level.checkpoints[0].reached);

    // Walking back to the first flag does not activate it.
    game.player.pos = {1810 - 21, 406};
    run(game, Input{}, 1);
    EXPECT_EQ(game.checkpoint, 1);

    // The first flag is a respawn point too.
    Game first = startedWithoutEnemies(0);
    first.checkpoint = 0;
    first.restartCheckpoint();
    EXPECT_FLOAT_EQ(first.player.pos.x, first.level.checkpoints[0].pos.x);

    // Dying respawns on the ground at the active flag.
    game.player.pos = {2000, 800};
    run(game, Input{}, 1);
    EXPECT_EQ(game.deaths, 1);
    expectAt(game.player.pos, 3350, 406);
}

TEST(Lifecycle, BunkerCheckpointHealsInTheSupplyRunOnly) {
    Game game = startedWithoutEnemies(6);
    game.player.health = 50;
    game.player.pos = {2820 - 21, 406};
    run(game, Input{}, 1);
    EXPECT_EQ(game.checkpoint, 3);
    EXPECT_EQ(game.player.health, 70);
    EXPECT_GE(game.player.invulnerable, 2.9f);
    // Every flag left of the bunker counts as reached; the later ones do not.
    EXPECT_TRUE(game.level.checkpoints[0].reached);
    EXPECT_FALSE(game.level.checkpoints[1].reached);

    // The first flag of the same world, and a flag in the same stretch of
    // another world, do not heal (with the soup can there taken away).
    for (int world : {6, 5}) {
        Game other = startedWithoutEnemies(world);
        other.level.pickups.clear();
        other.player.health = 50;
        other.player.pos = {world == 6 ? 1789.0f : 3329.0f, 406};
        run(other, Input{}, 1);
        EXPECT_GE(other.checkpoint, 0);
        EXPECT_EQ(other.player.health, 50) << world;
    }
    // The supply stretch runs from 2800 to 3400, both ends included.
    for (const float x : {2800.0f, 3400.0f, 2799.5f, 3400.5f}) {
        Game edge = startedWithoutEnemies(6);
        edge.level.pickups.clear();
        edge.level.checkpoints = {Checkpoint{{x, GROUND_Y}}};
        edge.player.health = 50;
        edge.player.pos = {x - 21, 406};
        run(edge, Input{}, 1);
        ASSERT_EQ(edge.checkpoint, 0);
        EXPECT_EQ(edge.player.health, x >= 2800 && x <= 3400 ? 70 : 50) << x;
    }
}

TEST(Lifecycle, RespawnResetsThePlayerAndClearsTheSpawnArea) {
    Game game;
    game.start(0);
    Enemy& zombie = game.level.enemies[0];
    zombie.pos.x = 200;
    zombie.vel = {50, -20};
    zombie.chaseTimer = zombie.attackCooldown = 1;
    Enemy& boss = game.level.enemies.back();
    ASSERT_EQ(boss.kind, EnemyKind::Boss);
    boss.attackCooldown = 0.5f;
    boss.windupTimer = boss.chaseTimer = 0.3f;
    // Only what stands within 170 of the respawn point is moved away.
    Enemy& clear = game.level.enemies[1];
    clear.pos.x = 110 + 170.5f;
    game.player.health = 1;
    game.player.shield = 40;
    game.player.dashTime = 0.1f;
    game.player.vel = {200, -300};
    game.player.jumpsUsed = 2;
    game.jumpBuffer = game.fireCooldown = 0.05f;
    game.projectiles.push_back(Projectile{});
    game.level.pickups[0].collected = true;
    game.subscribers = 700;

    game.restartCheckpoint();
    EXPECT_EQ(game.deaths, 1);
    EXPECT_EQ(game.player.health, 100);
    EXPECT_EQ(game.player.shield, 40); // the shield survives a death
    EXPECT_FLOAT_EQ(game.player.invulnerable, 2);
    EXPECT_FLOAT_EQ(game.player.dashTime, 0);
    expectAt(game.player.vel, 0, 0);
    EXPECT_EQ(game.player.jumpsUsed, 0);
    EXPECT_TRUE(game.player.grounded);
    EXPECT_FLOAT_EQ(game.coyoteTime, 0.1f);
    EXPECT_FLOAT_EQ(game.jumpBuffer + game.fireCooldown, 0);
    EXPECT_FLOAT_EQ(game.cameraX, 0);
    EXPECT_TRUE(game.projectiles.empty());
    EXPECT_TRUE(game.level.pickups[0].collected);
    EXPECT_EQ(game.subscribers, 700);
    EXPECT_FLOAT_EQ(game.player.pos.x, 110);
    // The zombie that stood on the spawn point went to the far end of its patrol.
    EXPECT_FLOAT_EQ(zombie.pos.x, zombie.patrolMax);
    EXPECT_FLOAT_EQ(zombie.windupTimer, 2.5f);
    EXPECT_FLOAT_EQ(clear.pos.x, 110 + 170.5f);
    EXPECT_FLOAT_EQ(zombie.vel.x + zombie.vel.y + zombie.chaseTimer + zombie.attackCooldown, 0);
    // The boss, far away, holds its next attack for 1.6 s.
    EXPECT_FLOAT_EQ(boss.attackCooldown, 1.6f);
    EXPECT_FLOAT_EQ(boss.windupTimer + boss.chaseTimer, 0);
    EXPECT_FLOAT_EQ(game.sounds.back().volume, 1);
    ASSERT_FALSE(game.sounds.empty());
    EXPECT_EQ(game.sounds.back().sound, Sound::Death);
}

TEST(Lifecycle, CameraStaysInsideTheLevel) {
    Game game = startedWithoutEnemies(0);
    run(game, Input{}, 240);
    EXPECT_FLOAT_EQ(game.cameraX, 0);

    // The camera leads the player by 0.35 of the view and eases in: faster
    // the further it lags, never past its target.
    game.player.pos = {1000, 406};
    game.update(Input{}, DT);
    const float target = 1000 - 0.35f * 960;
    const float first = (target * 7 + 20) * DT;
    EXPECT_FLOAT_EQ(game.cameraX, first);
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(game.cameraX, first + ((target - first) * 7 + 20) * DT);
    run(game, Input{}, 240);
    EXPECT_FLOAT_EQ(game.cameraX, target);

    game.player.pos = {5800, 406};
    run(game, Input{}, 600);
    EXPECT_FLOAT_EQ(game.cameraX, 6000 - 960);

    // A wide view of a narrow level never scrolls.
    game.viewWidth = 7000;
    run(game, Input{}, 600);
    EXPECT_FLOAT_EQ(game.cameraX, 0);

    // After a respawn the camera is on its target at once.
    game.viewWidth = 960;
    game.checkpoint = 1;
    game.restartCheckpoint();
    EXPECT_FLOAT_EQ(game.cameraX, 3350 - 0.35f * 960);
    game.level.checkpoints[1].pos.x = 5950;
    game.restartCheckpoint();
    EXPECT_FLOAT_EQ(game.cameraX, 6000 - 960);
}

TEST(Lifecycle, ExitGatePaysOnceAndTheLastWorldPaysTheBillion) {
    Game game = startedWithoutEnemies(3);
    game.subscribers = 1000;
    game.player.pos = {game.level.exitGate.x - 60, 406};
    run(game, holdRight(), 120);
    // The gate is locked until the boss is beaten: the player stops short of it.
    EXPECT_EQ(game.state, Playing);
    EXPECT_FLOAT_EQ(game.player.pos.x, game.level.exitGate.x - 42 - 10);

    // Level with the gate or not at all: a player high above it passes nothing.
    game.exitOpen = true;
    const Vec2 below = game.player.pos;
    game.player.pos = {below.x + 20, game.level.exitGate.y - 64 - 40};
    game.player.grounded = false;
    game.update(Input{}, DT);
    EXPECT_EQ(game.state, Playing);
    game.player.pos = below;
    game.player.grounded = true;
    run(game, holdRight(), 30);
    EXPECT_EQ(game.state, WorldComplete);
    EXPECT_FLOAT_EQ(game.particles.back().pos.x, game.player.pos.x + 20);
    EXPECT_EQ(game.particles.back().color, 0xffffd878u);
    EXPECT_EQ(game.particles.back().kind, 2);
    EXPECT_EQ(countParticles(game, 0xffffd878u), 60);
    EXPECT_FLOAT_EQ(game.particles.back().pos.y, game.player.pos.y);
    EXPECT_EQ(game.subscribers, 1000 + 10000 + 2500 * 3);
    EXPECT_EQ(game.sounds.back().sound, Sound::WorldComplete);
    run(game, holdRight(), 30);
    EXPECT_EQ(game.subscribers, 1000 + 10000 + 2500 * 3);

    Input confirm;
    confirm.interact = true;
    game.update(confirm, DT);
    EXPECT_EQ(game.world, 4);
    EXPECT_EQ(game.state, Playing);

    Game last = startedWithoutEnemies(9);
    last.subscribers = 12000;
    last.exitOpen = true;
    last.player.pos = {last.level.exitGate.x - 45, 406};
    run(last, holdRight(), 30);
    EXPECT_EQ(last.state, Finale);
    EXPECT_EQ(last.subscribers, 1000000000);
    EXPECT_EQ(last.sounds.back().sound, Sound::GameComplete);

    Game rich = startedWithoutEnemies(9);
    rich.subscribers = 1500000000;
    rich.exitOpen = true;
    rich.player.pos = last.player.pos;
    run(rich, holdRight(), 30);
    EXPECT_EQ(rich.subscribers, 1500000000 + 10000 + 2500 * 9);

    // Advancing past the last world is the finale, never a restart of it.
    rich.advanceLevel();
    EXPECT_EQ(rich.state, Finale);
    EXPECT_EQ(rich.world, 9);
    EXPECT_EQ(rich.sounds.back().sound, Sound::GameComplete);

    // From the finale, a confirm starts a new run.
    last.update(confirm, DT);
    EXPECT_EQ(last.world, 0);
    EXPECT_EQ(last.subscribers, 0);
}

TEST(Lifecycle, SubscribersStopAtTheLargestCountInsteadOfWrapping) {
    const int top = std::numeric_limits<int>::max();
    Game g = sandbox(9);
    Enemy zombie;
    zombie.size = {40, 60};
    Enemy boss = zombie;
    boss.kind = EnemyKind::Boss;
    Pickup token;
    token.value = 300;
    token.pos = {g.player.pos.x + 21, g.player.pos.y + 32};
    g.level.pickups = {token};
    const std::function<void()> payouts[] = {
        [&] { g.damageEnemy(zombie, 5); },
        [&] { g.damageEnemy(boss, 5); },
        [&] { g.update(Input{}, DT); },
        [&] {
            g.exitOpen = true;
            g.player.pos.x = g.level.exitGate.x - 41;
            g.update(Input{}, DT);
        },
    };
    for (const auto& payout : payouts) {
        g.subscribers = top - 100;
        payout();
        EXPECT_EQ(g.subscribers, top);
    }
    EXPECT_EQ(g.state, Finale);
    g.subscribers = -50;
    g.addSubscribers(20);
    EXPECT_EQ(g.subscribers, -30);
}

TEST(Lifecycle, SoundQueueHoldsAtMost256) {
    Game game;
    game.start(0);
    for (int i = 0; i < 300; ++i) {
        game.emit(Sound::Pickup, static_cast<float>(i), 0.5f);
    }
    ASSERT_EQ(game.sounds.size(), 256u);
    EXPECT_FLOAT_EQ(game.sounds.back().x, 255);
    EXPECT_FLOAT_EQ(game.sounds.back().volume, 0.5f);
}

} // namespace
} // namespace grumbo

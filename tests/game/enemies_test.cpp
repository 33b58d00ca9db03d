// Enemy behaviours driven through whole game steps: stomps and contact
// damage, patrols and hops, the caretaker's noise and light, the slender's
// teleport, the drone's bob, carts and the ranged shooters.
#include "game/game.h"
#include "game_test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace grumbo {
namespace {

using namespace test;
using enum EnemyKind;

// Body sizes by kind, as the levels build them.
constexpr Vec2 SIZES[ENEMY_KIND_COUNT] = {{40, 54}, {38, 100}, {42, 30}, {40, 44}, {40, 54}, {40, 54},
                                          {50, 54}, {40, 34},  {48, 44}, {40, 54}, {58, 38}, {42, 78}};

// An enemy standing on the ground (a drone hovering at 230), patrolling
// 200 units either way, with every timer far from firing.
Enemy& addEnemy(Game& game, EnemyKind kind, float x) {
    Enemy e;
    e.kind = kind;
    e.size = SIZES[static_cast<int>(kind)];
    e.pos = {x, kind == Drone ? 230.0f : GROUND_Y - e.size.y};
    e.home = e.pos;
    e.patrolMin = x - 200;
    e.patrolMax = x + 200;
    e.hp = e.maxHp = 10;
    e.tier = game.world / 3;
    e.grounded = kind != Drone;
    e.actionTimer = 50;
    e.attackCooldown = 50;
    game.level.enemies.push_back(e);
    return game.level.enemies.back();
}

void placePlayer(Game& game, float x, float y = GROUND_Y - 64, Vec2 vel = {0, 0}) {
    game.player.pos = {x, y};
    game.player.vel = vel;
    game.player.grounded = y + game.player.size.y >= GROUND_Y;
}

// A cleared world with the player standing at x and one enemy added.
Enemy& scene(Game& game, int world, float playerX, EnemyKind kind, float x) {
    game = clearedWorld(world);
    placePlayer(game, playerX);
    return addEnemy(game, kind, x);
}

// Where the enemy's top will be after the next step: a drone moves along its
// bob, everything else rests where it stands.
float topNextStep(const Game& game, const Enemy& enemy) {
    const float bob = 40 * std::sin(2 * (game.levelTime + DT) + 0.01f * enemy.patrolMin);
    return enemy.kind == Drone ? enemy.home.y + bob : enemy.pos.y;
}

// Steps until the condition fails, at most `limit` steps; returns how many ran.
template <class Cond> int stepsWhile(Game& game, Cond cond, int limit = 1000) {
    int steps = 0;
    while (cond() && steps < limit) {
        game.update(Input{}, DT);
        ++steps;
    }
    return steps;
}

// Expects the shot to start at `from` and fly toward `to` at `speed`.
void expectShot(const Projectile& shot, Vec2 from, Vec2 to, float speed, int damage, float size,
                float gravity) {
    EXPECT_NEAR(shot.pos.x, from.x, 1e-3);
    EXPECT_NEAR(shot.pos.y, from.y, 1e-3);
    const float length = std::hypot(to.x - from.x, to.y - from.y);
    EXPECT_NEAR(shot.vel.x, (to.x - from.x) / length * speed, 1e-2);
    EXPECT_NEAR(shot.vel.y, (to.y - from.y) / length * speed, 1e-2);
    EXPECT_EQ(shot.damage, damage);
    EXPECT_FLOAT_EQ(shot.size.x, size);
    EXPECT_FLOAT_EQ(shot.gravity, gravity);
}

// ---------------------------------------------------------------------------
// Stomp or hurt, for every ordinary kind: kind, world, stompable, contact damage.

class EnemyContact : public ::testing::TestWithParam<std::tuple<EnemyKind, int, bool, int>> {};

TEST_P(EnemyContact, FallingOntoTheHeadStompsOrHurtsByKind) {
    const auto [kind, world, stompable, damage] = GetParam();
    Game game = clearedWorld(world);
    Enemy& enemy = addEnemy(game, kind, 700);
    // Feet 5 units into the enemy's top, falling fast.
    placePlayer(game, enemy.pos.x + enemy.size.x / 2 - 21, topNextStep(game, enemy) + 5 - 64, {0, 300});
    game.player.jumpsUsed = 2;

    game.update(Input{}, DT);

    ASSERT_EQ(countSounds(game, Sound::Stomp), stompable ? 1 : 0);
    if (!stompable) {
        EXPECT_EQ(enemy.hp, 10);
        EXPECT_EQ(game.player.health, 100 - damage);
        EXPECT_EQ(countSounds(game, Sound::Hurt), 1);
        return;
    }
    EXPECT_EQ(enemy.hp, 7);
    EXPECT_FLOAT_EQ(game.player.vel.y, -465);
    EXPECT_EQ(game.player.jumpsUsed, 1) << "a stomp gives back the air jump";
    EXPECT_EQ(game.player.health, 100);
    EXPECT_FLOAT_EQ(game.sounds.back().x, game.player.pos.x);
    EXPECT_FLOAT_EQ(game.sounds.back().volume, 1.0f);
}

TEST_P(EnemyContact, RunningIntoTheBodyHurtsWithTheKindsDamageAwayFromItsCentre) {
    const auto [kind, world, stompable, damage] = GetParam();
    // Left of the enemy's centre the player is knocked left, at or right of it to the right.
    for (const float side : {-1.0f, 1.0f}) {
        Game game = clearedWorld(world);
        Enemy& enemy = addEnemy(game, kind, 700);
        const float y = kind == Drone ? topNextStep(game, enemy) - 10 : GROUND_Y - 64;
        placePlayer(game, side < 0 ? enemy.pos.x + 4 : enemy.pos.x + enemy.size.x / 2 + 5, y);

        game.update(Input{}, DT);

        EXPECT_EQ(game.player.health, 100 - damage);
        EXPECT_FLOAT_EQ(game.player.vel.x, 225 * side);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, EnemyContact,
                         ::testing::Values(std::tuple{Zombie, 0, true, 15}, std::tuple{Zombie, 9, true, 21},
                                           std::tuple{Slender, 3, false, 25}, std::tuple{Cat, 3, true, 17},
                                           std::tuple{Letter, 6, true, 19}, std::tuple{Spitter, 0, true, 15},
                                           std::tuple{Armored, 0, false, 15},
                                           std::tuple{Armored, 9, false, 21}, std::tuple{Drone, 3, true, 17},
                                           std::tuple{Turret, 0, true, 15}, std::tuple{Mimic, 8, true, 19},
                                           std::tuple{Cart, 9, true, 20},
                                           std::tuple{Caretaker, 2, true, 23}));

// Only a player falling faster than 70 with the feet less than 22 into the
// head stomps; anything else is a collision. A stunned enemy does no contact damage.
TEST(EnemyContactRules, TheStompNeedsSpeedAndAShallowLanding) {
    using Row = std::tuple<float, float, bool>;
    for (const auto& [fallSpeed, depth, stomp] :
         {Row{71, 21.5f, true}, Row{70, 5, false}, Row{300, 22, false}}) {
        Game game = clearedWorld(0);
        Enemy& zombie = addEnemy(game, Zombie, 700);
        placePlayer(game, 700, zombie.pos.y + depth - 64, {0, fallSpeed});
        game.updateEnemies(DT);
        EXPECT_EQ(zombie.hp, stomp ? 7 : 10) << fallSpeed << " " << depth;
        EXPECT_EQ(game.player.health, stomp ? 100 : 85) << fallSpeed << " " << depth;
    }
    Game game;
    scene(game, 0, 704, Zombie, 700).stunTimer = 1;
    run(game, Input{}, 10);
    EXPECT_EQ(game.player.health, 100);
}

// A falling enemy lands on a platform whose top its feet were at most 1.5
// below, falls at most at 850, and is gone once its top passes y = 740.
TEST(EnemyContactRules, AnEnemyLandsOnlyFromAtMostOneAndAHalfBelowATop) {
    for (const float sunk : {1.4f, 1.5f, 1.6f, 316.8f, 317.4f}) {
        Game game = clearedWorld(0);
        Enemy& zombie = addEnemy(game, Zombie, 700);
        zombie.pos.y += sunk;
        zombie.vel.y = 900;
        game.updateEnemies(DT);
        EXPECT_EQ(zombie.grounded, sunk <= 1.5f) << sunk;
        EXPECT_FLOAT_EQ(zombie.vel.y, sunk <= 1.5f ? 0 : 850) << sunk;
        EXPECT_EQ(zombie.alive, sunk < 317) << sunk;
    }
}

// ---------------------------------------------------------------------------
// Patrols, hops, chases, activity range and falling: kind, world, patrol speed, hop.

class EnemyMotion : public ::testing::TestWithParam<std::tuple<EnemyKind, int, float, float>> {};

// Slowed, each kind walks at 0.45 of its patrol speed but hops at full strength.
TEST_P(EnemyMotion, PatrolsAtItsKindsSpeedPlusTheTierBonusAndHopsByKind) {
    const auto [kind, world, patrolSpeed, hop] = GetParam();
    Game game;
    Enemy& enemy = scene(game, world, 110, kind, 900);
    enemy.slowTimer = 1;
    enemy.actionTimer = hop < 0 ? 0.5f + DT / 2 : 50; // the hop comes on the 61st step
    enemy.grounded = false;
    run(game, Input{}, 61);
    expectAt(enemy.vel, -0.45f * patrolSpeed, hop < 0 ? hop + 1500 * DT : 0);
    EXPECT_NEAR(enemy.actionTimer, hop < 0 ? 2.4f : 50 - 61 * DT, 1e-3);
    enemy.actionTimer = 0; // airborne, it cannot hop again before landing
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(enemy.vel.y, hop < 0 ? hop + 2 * 1500 * DT : 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, EnemyMotion,
    ::testing::Values(std::tuple{Zombie, 0, 48.0f, 0.0f}, std::tuple{Slender, 3, 34.0f, 0.0f},
                      std::tuple{Cat, 9, 118.0f, -300.0f}, std::tuple{Letter, 0, 62.0f, -220.0f},
                      std::tuple{Spitter, 6, 60.0f, 0.0f}, std::tuple{Armored, 3, 42.0f, 0.0f},
                      std::tuple{Drone, 0, 48.0f, 0.0f}, std::tuple{Turret, 9, 0.0f, 0.0f},
                      std::tuple{Mimic, 3, 96.0f, -360.0f}, std::tuple{Cart, 6, 60.0f, 0.0f},
                      std::tuple{Caretaker, 0, 48.0f, 0.0f}));

// Within 210 zombies and mimics turn toward the player at a flat speed.
TEST(EnemyPatrol, ZombiesAndMimicsChaseANearPlayer) {
    using Row = std::tuple<EnemyKind, int, float, float>;
    for (const auto& [kind, world, playerDx, vx] : {Row{Zombie, 9, 150, 70}, Row{Mimic, 0, -209.5f, -125},
                                                    Row{Zombie, 0, 0, 70}, Row{Mimic, 0, 210, -90}}) {
        Game game;
        Enemy& enemy = scene(game, world, 900 + playerDx, kind, 900);
        game.updateEnemies(DT);
        EXPECT_FLOAT_EQ(enemy.vel.x, vx) << playerDx;
    }
}

TEST(EnemyPatrol, TurnsAtEitherBound) {
    Game game;
    Enemy& left = scene(game, 0, 110, Armored, 700);
    left.pos.x = left.patrolMin;
    Enemy& right = addEnemy(game, Armored, 1000);
    right.facing = 1;
    right.pos.x = right.patrolMax - right.size.x;

    game.update(Input{}, DT);
    EXPECT_EQ(game.level.enemies[0].facing, 1);
    EXPECT_GT(game.level.enemies[0].pos.x, game.level.enemies[0].patrolMin);
    EXPECT_EQ(game.level.enemies[1].facing, -1);
}

TEST(EnemyPatrol, EnemiesBeyondTheViewPlus500OnlyKeepTime) {
    Game game;
    scene(game, 0, 110, Zombie, 110 + 960 + 499.5f);
    Enemy& zombie = addEnemy(game, Zombie, 110 + 960 + 500.5f);
    zombie.slowTimer = 1;
    zombie.stunTimer = 0.5f;
    zombie.hitFlash = 0.05f;
    const float before = zombie.pos.x;
    run(game, Input{}, 12);
    EXPECT_FLOAT_EQ(zombie.pos.x, before);
    EXPECT_NEAR(zombie.slowTimer, 0.9f, 1e-4);
    EXPECT_NEAR(zombie.actionTimer, 50 - 0.1f, 1e-4);
    EXPECT_NEAR(zombie.stunTimer, 0.4f, 1e-4);
    EXPECT_FLOAT_EQ(zombie.hitFlash, 0);
    EXPECT_LT(game.level.enemies[0].pos.x, 110 + 960 + 499.5f) << "just within reach it walks";
}

// A zombie over the pit from 1370 to 1480 falls; one hanging mostly over its far edge stands.
TEST(EnemyPatrol, AnEnemyOverAPitFallsOutSilentlyButADroneHovers) {
    Game game = clearedWorld(0);
    placePlayer(game, 1200);
    for (const EnemyKind kind : {Zombie, Drone, Zombie}) {
        Enemy& e = addEnemy(game, kind, game.level.enemies.size() < 2 ? 1400 : 1450);
        e.patrolMin = e.pos.x - 5;
        e.patrolMax = e.pos.x + 60;
    }
    run(game, Input{}, 240);
    EXPECT_FALSE(game.level.enemies[0].alive);
    EXPECT_TRUE(game.level.enemies[1].alive && game.level.enemies[2].alive);
    EXPECT_LT(game.level.enemies[1].pos.y, 300);
    EXPECT_EQ(game.subscribers, 0);
    EXPECT_EQ(countSounds(game, Sound::EnemyDefeated), 0);
}

// ---------------------------------------------------------------------------
// The caretaker: noise wakes it, light freezes it.

// A caretaker ready to act, patrolling around 1000 but standing at x, with
// the player standing at 700 in world 2.
Enemy& caretakerScene(Game& game, float x, int world = 2) {
    Enemy& caretaker = scene(game, world, 700, Caretaker, 1000);
    caretaker.attackCooldown = 0;
    caretaker.pos.x = x;
    return caretaker;
}

TEST(Caretaker, RunningWakesItWithAWarningThenItChasesWhereThePlayerWas) {
    // Tougher caretakers chase faster: 175 plus 10 a tier. In world 3 it stands behind the player.
    for (const int world : {2, 3}) {
        Game game;
        Enemy& caretaker = caretakerScene(game, world == 2 ? 1000 : 400, world);
        const float side = world == 2 ? -1.0f : 1.0f;
        caretaker.patrolMin = 200;
        int steps = 0;
        while (countSounds(game, Sound::HazardWarning) == 0 && steps++ < 60) {
            game.update(holdRight(), DT);
        }
        ASSERT_EQ(countSounds(game, Sound::HazardWarning), 1);
        EXPECT_FLOAT_EQ(game.sounds.back().x, caretaker.pos.x);
        EXPECT_FLOAT_EQ(game.sounds.back().volume, 0.6f);
        EXPECT_NEAR(caretaker.attackCooldown, 3.0f, 1e-4);

        // It stands still through the 0.7 s warning.
        const float warnedAt = caretaker.pos.x;
        const int windupSteps = stepsWhile(game, [&] {
            EXPECT_TRUE(caretaker.windupTimer <= 0 || caretaker.pos.x == warnedAt);
            return caretaker.windupTimer > 0;
        });
        EXPECT_NEAR(windupSteps, 84, 1);

        // Then it chases for 1.05 s.
        run(game, Input{}, 2);
        EXPECT_FLOAT_EQ(caretaker.vel.x, side * (175.0f + 10 * static_cast<float>(world / 3)));
        EXPECT_NEAR(2 + stepsWhile(
                            game, [&] { return caretaker.vel.x != 0; }, 298),
                    126, 2);
    }
}

// A player walking on the ground without firing for a moment is quiet;
// anything louder wakes a caretaker within 480.
TEST(Caretaker, RunningJumpingOrFiringIsHeardWithinReach) {
    using Row = std::tuple<float, bool, float, float, float, bool>;
    for (const auto& [playerVx, grounded, fireCooldown, dx, attackCooldown, heard] :
         {Row{-120, true, 0.05f, 300, 0, false}, Row{120.5f, true, 0, 200, 0, true},
          Row{0, false, 0, 300, 0, true}, Row{0, true, 0.06f, 300, 0, true},
          Row{0, false, 0, 479.5f, 0, true}, Row{0, false, 0, 480, 0, false},
          Row{0, false, 0, 300, 0.5f, false}}) {
        Game game;
        Enemy& caretaker = caretakerScene(game, 700 + dx);
        caretaker.patrolMax = 1500;
        caretaker.attackCooldown = attackCooldown;
        game.player.vel.x = playerVx;
        game.player.grounded = grounded;
        game.fireCooldown = fireCooldown;
        game.updateEnemies(DT);
        EXPECT_EQ(countSounds(game, Sound::HazardWarning), heard ? 1 : 0) << playerVx << " " << dx;
        EXPECT_EQ(caretaker.windupTimer > 0, heard);
    }
}

TEST(Caretaker, TheFlashlightStunsItOnlyWhenShoneAtIt) {
    Game game;
    Enemy& caretaker = caretakerScene(game, 900);
    caretaker.windupTimer = 0.5f;
    game.player.flashlight = 10;

    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(caretaker.stunTimer, 0.16f);
    EXPECT_FLOAT_EQ(caretaker.attackCooldown, 0.6f);
    EXPECT_EQ(countParticles(game, 0xFFFFEDABu), 10);

    // Kept in the light it neither wakes up nor puffs again, even while the
    // player makes noise (0.25 s: the first puff is still in the air).
    run(game, holdFire(), 30);
    EXPECT_EQ(countSounds(game, Sound::HazardWarning), 0);
    EXPECT_FLOAT_EQ(caretaker.pos.x, 900);
    EXPECT_EQ(countParticles(game, 0xFFFFEDABu), 10);
}

// The beam reaches 260 ahead of the player's middle and 115 up or down; it cancels a warning or a chase.
TEST(Caretaker, LightBehindThePlayerOrOutOfReachDoesNothing) {
    using Row = std::tuple<int, float, float, bool>;
    for (const auto& [facing, caretakerX, playerY, stunned] :
         {Row{1, 900, 406, true}, Row{-1, 900, 406, false}, Row{-1, 700, 406, true}, Row{1, 960, 406, false},
          Row{1, 959.5f, 406, true}, Row{1, 900, 284, false}, Row{1, 900, 284.5f, true}}) {
        Game game;
        Enemy& caretaker = caretakerScene(game, caretakerX);
        caretaker.windupTimer = caretaker.chaseTimer = 0.5f;
        game.player.flashlight = 0.5f;
        game.player.facing = facing;
        game.player.pos.y = playerY;
        game.updateEnemies(DT);
        EXPECT_EQ(caretaker.stunTimer > 0, stunned) << caretakerX << " " << playerY;
        EXPECT_EQ(caretaker.windupTimer > 0 || caretaker.chaseTimer > 0, !stunned) << caretakerX;
    }
}

// ---------------------------------------------------------------------------
// The slender teleports ahead of the player every 4.2 s, but only onto
// solid ground and never within 125 of the player.

TEST(Slender, TeleportsAheadOfThePlayerOntoGroundAwayFromThePlayer) {
    using Row = std::tuple<float, int, float, float, float>;
    // It appears 230 ahead of a player facing right, behind one facing left; 1340 hangs over
    // the pit from 1370 to 1480, 1332 and 1480 just fit beside it; the patrol range clamps the
    // last targets to 725, just 125 from the player, and to 725.5.
    for (const auto& [playerX, facing, slenderX, patrolMax, landsAt] :
         {Row{400, 1, 900, 1300, 630}, Row{900, -1, 1100, 1300, 670}, Row{1110, 1, 800, 1700, 800},
          Row{1102, 1, 800, 1700, 1332}, Row{1250, 1, 1700, 1900, 1480}, Row{600, 1, 400, 763, 400},
          Row{600, 1, 400, 763.5f, 725.5f}}) {
        Game game;
        Enemy& slender = scene(game, 2, playerX, Slender, slenderX);
        game.player.facing = facing;
        slender.patrolMin = 300;
        slender.patrolMax = patrolMax;
        slender.actionTimer = 1.5f * DT;
        game.updateEnemies(DT);
        game.updateEnemies(DT);
        EXPECT_NEAR(slender.pos.x, landsAt, 1) << playerX;
        EXPECT_FLOAT_EQ(slender.actionTimer, 4.2f) << playerX;
        const bool moved = landsAt != slenderX;
        ASSERT_EQ(countParticles(game, 0xFF9D8ABCu), moved ? 24 : 0) << playerX;
        if (moved) {
            EXPECT_NEAR(game.particles.front().pos.x, slenderX - 28 * DT + 19, 1e-3);
            EXPECT_FLOAT_EQ(game.particles.front().pos.y, GROUND_Y - 100 + 45);
            expectAt(game.particles.back().pos, landsAt + 19, GROUND_Y - 100 + 45);
        }
    }
}

// The drone hovers on a bob and never lands.
TEST(Drone, BobsFortyUnitsAroundItsHomeAndNeverLands) {
    Game game;
    Enemy& drone = scene(game, 0, 110, Drone, 900);
    for (int i = 0; i < 120 * 4; ++i) {
        game.update(Input{}, DT);
        ASSERT_FALSE(drone.grounded);
        const float expected = 230 + 40 * std::sin(2 * game.levelTime + 0.01f * drone.patrolMin);
        ASSERT_NEAR(drone.pos.y, expected, 1e-3);
    }
}

// ---------------------------------------------------------------------------
// Carts wind up for 0.45 s, then rush at 190 plus 10 a tier for 0.85 s.

TEST(Cart, WaitsForAPlayerWithin440ThenWindsUpStandingStillAndRushes) {
    // In world 0 the player is on the cart's left, in world 9 on its right.
    for (const int world : {0, 9}) {
        const float side = world == 0 ? -1.0f : 1.0f;
        const float cartX = world == 0 ? 1000 : 800;
        Game game;
        Enemy& cart = scene(game, world, cartX + 440 * side, Cart, cartX);
        cart.patrolMax = 1300;
        cart.attackCooldown = 0;
        game.update(Input{}, DT);
        EXPECT_FLOAT_EQ(cart.windupTimer, 0);
        placePlayer(game, cart.pos.x + 439.5f * side);
        game.update(Input{}, DT);
        EXPECT_NEAR(cart.windupTimer, 0.45f, 1e-4);
        EXPECT_NEAR(cart.attackCooldown, 2.6f, 1e-4);
        EXPECT_FLOAT_EQ(cart.aimPoint.x, game.player.pos.x + 21);

        const float x = cart.pos.x;
        const int windupSteps = stepsWhile(game, [&] {
            EXPECT_TRUE(cart.windupTimer <= 0 || cart.pos.x == x);
            return cart.windupTimer > 0;
        });
        EXPECT_NEAR(windupSteps, 54, 1);
        EXPECT_EQ(cart.facing, side);
        const float speed = 190 + 10 * static_cast<float>(world / 3);
        const int rushSteps = stepsWhile(game, [&] { return cart.vel.x == speed * side; });
        EXPECT_NEAR(rushSteps, 102, 1);
        // The next windup comes 2.6 s after the last one began.
        const int idleSteps = stepsWhile(
            game, [&] { return cart.windupTimer <= 0; }, 400);
        EXPECT_NEAR(windupSteps + rushSteps + idleSteps, 312, 2);
    }
}

// ---------------------------------------------------------------------------
// Ranged shooters aim where the player stands when the 0.48 s windup starts:
// kind, world, shot speed, damage, gravity, cooldown.

class Ranged : public ::testing::TestWithParam<std::tuple<EnemyKind, int, float, int, float, float>> {};

TEST_P(Ranged, WindsUpThenFiresAtWhereThePlayerWas) {
    const auto [kind, world, speed, damage, gravity, cooldown] = GetParam();
    Game game;
    Enemy& shooter = scene(game, world, 600, kind, 900);
    shooter.attackCooldown = 0;
    game.updateEnemies(DT);
    EXPECT_NEAR(shooter.attackCooldown, cooldown, 1e-4);
    const Vec2 aim{621, GROUND_Y - 32};
    placePlayer(game, 900 - 699.5f); // just within reach

    int steps = 1;
    Vec2 from;
    while (game.projectiles.empty() && steps < 200) {
        from = shooter.pos;
        game.updateEnemies(DT);
        ++steps;
    }
    EXPECT_NEAR(steps, 58, 1);
    const bool second = kind == Turret && world >= 3;
    ASSERT_EQ(game.projectiles.size(), second ? 2u : 1u);
    expectShot(game.projectiles[0], {from.x + shooter.size.x / 2, from.y + shooter.size.y / 2}, aim, speed,
               damage, 17, gravity);
    // Tougher turrets add a second, higher shot to catch a jump.
    if (second) {
        expectShot(game.projectiles[1], {from.x + 24, from.y + 12}, {aim.x, aim.y - 55}, 330, 12, 16, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(KindsAndTiers, Ranged,
                         ::testing::Values(std::tuple{Spitter, 0, 225.0f, 12, 100.0f, 2.8f},
                                           std::tuple{Spitter, 6, 225.0f, 18, 100.0f, 2.1f},
                                           std::tuple{Drone, 3, 290.0f, 15, 0.0f, 2.45f},
                                           std::tuple{Turret, 0, 370.0f, 12, 0.0f, 2.8f},
                                           std::tuple{Turret, 3, 370.0f, 15, 0.0f, 2.45f},
                                           std::tuple{Turret, 9, 370.0f, 21, 0.0f, 1.75f}));

TEST(RangedRules, AWindupFreezesWhileThePlayerIsOutOfRangeAndIsSpentWhenTheListIsFull) {
    // At its left bound a drone turns away from the player, from exactly 700.
    Game game;
    Enemy& drone = scene(game, 0, 110, Drone, 110 + 700);
    drone.patrolMin = drone.pos.x;
    drone.windupTimer = 0.2f;
    run(game, Input{}, 60);
    EXPECT_FLOAT_EQ(drone.windupTimer, 0.2f);
    EXPECT_TRUE(game.projectiles.empty());

    // A full projectile list swallows the shot, but the windup is spent.
    Enemy& spitter = scene(game, 0, 600, Spitter, 900);
    spitter.windupTimer = DT / 2;
    spitter.attackCooldown = 1;
    Projectile parked;
    parked.pos = {3000, 100};
    parked.size = {4, 4};
    parked.life = 100;
    game.projectiles.assign(150, parked);
    game.update(Input{}, DT);
    EXPECT_EQ(game.projectiles.size(), 150u);
    EXPECT_FLOAT_EQ(spitter.windupTimer, 0);
}

TEST(EnemyShot, FliesFromTheMuzzleTowardTheTargetAtTheGivenSpeed) {
    Game game = clearedWorld(0);
    game.enemyShot({100, 100}, {130, 140}, 250, 9, 12, 30);
    ASSERT_EQ(game.projectiles.size(), 1u);
    const Projectile& shot = game.projectiles[0];
    EXPECT_TRUE(shot.alive);
    expectShot(shot, {100, 100}, {130, 140}, 250, 9, 12, 30);
    EXPECT_FLOAT_EQ(shot.life, 4);
    EXPECT_EQ(shot.dir, 1);
    EXPECT_EQ(shot.pierce, 1);

    // A target on the muzzle or not a number flies left.
    game.projectiles.clear();
    game.enemyShot({100, 100}, {100, 100.0005f}, 200, 5, 10, 0);
    game.enemyShot({100, 100}, {std::nanf(""), 100}, 200, 5, 10, 0);
    ASSERT_EQ(game.projectiles.size(), 2u);
    for (const Projectile& left : game.projectiles) {
        expectAt(left.vel, -200, 0);
        EXPECT_EQ(left.dir, -1);
    }
    // A target 0.0012 away is far enough to aim at; a shot straight down counts as facing right.
    game.enemyShot({0, 0}, {0, 0.0012f}, 200, 5, 10, 0);
    EXPECT_FLOAT_EQ(game.projectiles.back().vel.y, 200);
    EXPECT_EQ(game.projectiles.back().dir, 1);
    // The list stops at 150.
    game.projectiles.resize(149);
    game.enemyShot({0, 0}, {1, 0}, 200, 5, 10, 0);
    EXPECT_EQ(game.projectiles.size(), 150u);
    game.enemyShot({0, 0}, {1, 0}, 200, 5, 10, 0);
    EXPECT_EQ(game.projectiles.size(), 150u);
}

// The cart rolls on through the step it notices the player and stands from the
// next; the caretaker sets off in the very step its warning ends; a dazzled
// caretaker stops dead, up and down as well as sideways.
TEST(EnemyStateMachines, WindupsStartAndEndWithoutALostStep) {
    Game g = sandbox(1);
    Enemy cart;
    cart.kind = Cart;
    cart.size = {58, 38};
    cart.pos = cart.home = {700, GROUND_Y - 38};
    cart.patrolMin = 500;
    cart.patrolMax = 1000;
    cart.grounded = true;
    g.level.enemies = {cart};
    g.player.pos.x = 400;
    g.update(Input{}, DT);
    const Enemy& e = g.level.enemies[0];
    ASSERT_GT(e.windupTimer, 0);
    EXPECT_FLOAT_EQ(e.pos.x, 700 - 48 * DT);
    g.update(Input{}, DT);
    EXPECT_FLOAT_EQ(e.vel.x, 0);

    Enemy caretaker = cart;
    caretaker.kind = Caretaker;
    caretaker.size = {42, 78};
    caretaker.pos = {900, GROUND_Y - 78};
    caretaker.windupTimer = DT / 2;
    caretaker.attackCooldown = 3;
    caretaker.aimPoint = {400, 400};
    g.level.enemies = {caretaker};
    g.update(Input{}, DT);
    EXPECT_FLOAT_EQ(e.pos.x, 900 - 175 * DT);

    caretaker.pos = {900, 300};
    caretaker.windupTimer = 0;
    caretaker.vel = {0, -100};
    g.level.enemies = {caretaker};
    g.player.pos.x = 700;
    g.player.facing = 1;
    g.player.flashlight = 5;
    g.update(Input{}, DT);
    EXPECT_GT(e.stunTimer, 0);
    EXPECT_FLOAT_EQ(e.vel.y, 1500 * DT);
}

} // namespace
} // namespace grumbo

// The bosses: the encounter gate, phases, attack timing and speeds, movement
// styles, stomps, and every pattern's shots in every phase.
#include "game/game.h"
#include "game_test_support.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <tuple>
#include <vector>

namespace grumbo {
namespace {

using namespace test;
constexpr float PI = std::numbers::pi_v<float>;

// A started world with only its boss left, the player standing in the arena.
Game arena(int world) {
    Game game;
    game.start(world);
    std::erase_if(game.level.enemies, [](const Enemy& e) { return e.kind != EnemyKind::Boss; });
    game.level.hazards.clear();
    game.level.pickups.clear();
    game.level.signs.clear();
    game.player.pos = {game.level.bossArenaX + 50, GROUND_Y - 64};
    return game;
}

Enemy& bossOf(Game& game) {
    return game.level.enemies.back();
}

// Sets the boss's health to the top of the given phase.
void enterPhase(Enemy& boss, int phase) {
    boss.hp = phase == 1 ? boss.maxHp : phase == 2 ? 2 * boss.maxHp / 3 : boss.maxHp / 3;
    boss.phase = phase;
}

// ---------------------------------------------------------------------------
// The encounter gate.

TEST(BossEncounter, ABossSleepsUntilThePlayerReachesTheArenaLine) {
    Game game = arena(0);
    game.player.pos.x = game.level.bossArenaX - 31;
    const Enemy before = bossOf(game);
    run(game, Input{}, 240);
    EXPECT_FALSE(game.bossEncounterActive());
    EXPECT_FLOAT_EQ(bossOf(game).pos.x, before.pos.x);
    EXPECT_FLOAT_EQ(bossOf(game).actionTimer, 0);
    EXPECT_TRUE(game.projectiles.empty());

    game.player.pos.x = game.level.bossArenaX - 30;
    game.update(Input{}, DT);
    EXPECT_TRUE(game.bossEncounterActive());
    EXPECT_FLOAT_EQ(bossOf(game).actionTimer, DT);
}

TEST(BossEncounter, AnOpenExitOrADeadBossLeavesEverythingStill) {
    Game game = arena(4);
    game.exitOpen = true;
    Enemy& boss = bossOf(game);
    game.player.pos.x = boss.pos.x;
    const Enemy before = boss;
    run(game, Input{}, 120);
    EXPECT_FLOAT_EQ(boss.pos.x, before.pos.x);
    EXPECT_EQ(game.player.health, 100) << "with the exit open the boss no longer hurts";

    Game dead = arena(4);
    bossOf(dead).alive = false;
    EXPECT_FALSE(dead.bossEncounterActive());
}

// ---------------------------------------------------------------------------
// Later phases and worlds telegraph for less time, attack more often and
// move faster.

// World, health, phase, windup, cooldown, walking and charging speeds.
using TimingCase = std::tuple<int, int, int, float, float, float, float>;

class BossTiming : public ::testing::TestWithParam<TimingCase> {};

// At exactly 2/3 and 1/3 of its health a boss is already in phase 2 and 3;
// just above, it is still in phase 1 and 2.
TEST_P(BossTiming, WindupCooldownAndSpeedsFollowPhaseAndWorld) {
    const auto [world, hp, phase, windup, cooldown, walk, charge] = GetParam();
    Game game = arena(world);
    Enemy& boss = bossOf(game);
    boss.hp = hp;
    boss.attackCooldown = 0;
    boss.hitFlash = 0.05f;
    game.update(Input{}, DT);
    EXPECT_EQ(boss.phase, phase);
    EXPECT_NEAR(boss.hitFlash, 0.05f - DT, 1e-6);
    EXPECT_NEAR(boss.windupTimer, windup, 1e-5);
    EXPECT_NEAR(boss.attackCooldown, cooldown, 1e-5);
    expectAt(boss.aimPoint, game.player.pos.x + 21, game.player.pos.y + 32);

    // Walking from the right end it turns back; charging from the left end it
    // turns out; slowed it walks at 0.48 of its speed.
    boss.windupTimer = 0;
    boss.attackCooldown = 10;
    for (const float speed : {-walk, charge, -0.48f * walk}) {
        boss.chaseTimer = speed == charge ? 1.0f : 0.0f;
        boss.slowTimer = speed == -0.48f * walk ? 1.0f : 0.0f;
        boss.facing = speed < 0 ? 1 : -1;
        boss.pos.x = speed < 0 ? boss.patrolMax - boss.size.x : boss.patrolMin;
        const float x = boss.pos.x;
        game.update(Input{}, DT);
        EXPECT_NEAR(boss.pos.x - x, speed * DT, 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(PhasesAndWorlds, BossTiming,
                         ::testing::Values(TimingCase{0, 17, 1, 0.70f, 2.75f, 37, 330},
                                           TimingCase{7, 59, 1, 0.63f, 2.33f, 37, 330},
                                           TimingCase{3, 26, 2, 0.59f, 2.17f, 44, 360},
                                           TimingCase{0, 9, 2, 0.62f, 2.35f, 44, 360},
                                           TimingCase{0, 8, 3, 0.54f, 1.95f, 51, 390},
                                           TimingCase{9, 23, 3, 0.45f, 1.41f, 51, 390}));

// ---------------------------------------------------------------------------
// Every pattern, every phase: each shot's speed, damage, size, weight, start
// and direction, in the order fired.

constexpr float NONE = std::numeric_limits<float>::quiet_NaN();
constexpr float UP = -PI / 2;

// n shots alike. Fans leave the mouth spread `step` apart around `angle`
// (measured from the aim when `aimed`); lines start at height `fromY`. A NaN
// angle leaves start and direction unchecked.
struct Shots {
    int n;
    float speed;
    int damage;
    float size;
    float gravity;
    float fromY;
    float angle;
    bool aimed;
    float step;
};

Shots aimedFan(int n, float step, float speed, int damage) {
    return {n, speed, damage, 20, 0, NONE, 0, true, step};
}

Shots fan(int n, float centre, float step, float speed, int damage, float gravity = 0) {
    return {n, speed, damage, 20, gravity, NONE, centre, false, step};
}

Shots line(int n, float fromY, float angle, float speed, int damage, float size) {
    return {n, speed, damage, size, 0, fromY, angle, false, 0};
}

struct VolleyCase {
    int world;
    int phase;
    std::vector<Shots> shots;
    float charge;
};

class BossVolley : public ::testing::TestWithParam<VolleyCase> {};

TEST_P(BossVolley, FiresThePatternOfItsPhase) {
    const VolleyCase& c = GetParam();
    Game game = arena(c.world);
    Enemy& boss = bossOf(game);
    enterPhase(boss, c.phase);
    const Vec2 mouth{boss.pos.x + 0.5f * boss.size.x, boss.pos.y + 0.42f * boss.size.y};
    boss.aimPoint = {mouth.x - 300, mouth.y + 60};
    const float aim = std::atan2(60.0f, -300.0f);
    boss.attackCount = 2;
    game.bossAttack(boss);
    std::size_t k = 0;
    for (const Shots& s : c.shots) {
        for (int i = 0; i < s.n; ++i, ++k) {
            ASSERT_LT(k, game.projectiles.size());
            const Projectile& p = game.projectiles[k];
            EXPECT_NEAR(std::hypot(p.vel.x, p.vel.y), s.speed, 1e-2) << "shot " << k;
            EXPECT_EQ(p.damage, s.damage) << "shot " << k;
            EXPECT_FLOAT_EQ(p.size.x, s.size) << "shot " << k;
            EXPECT_FLOAT_EQ(p.gravity, s.gravity) << "shot " << k;
            if (std::isnan(s.angle)) {
                continue;
            }
            const float spread = (static_cast<float>(i) - static_cast<float>(s.n - 1) / 2) * s.step;
            const float angle = (s.aimed ? aim : 0) + s.angle + spread;
            EXPECT_NEAR(std::remainder(std::atan2(p.vel.y, p.vel.x) - angle, 2 * PI), 0, 1e-3)
                << "shot " << k;
            EXPECT_NEAR(p.pos.y, std::isnan(s.fromY) ? mouth.y : s.fromY, 1e-3) << "shot " << k;
            // Falling tiles drop 65 apart around the aim; everything else starts above the mouth.
            const float x = s.angle == PI / 2 ? mouth.x - 300 + 65 * static_cast<float>(i - 1) : mouth.x;
            EXPECT_NEAR(p.pos.x, x, 1e-3) << "shot " << k;
        }
    }
    EXPECT_EQ(game.projectiles.size(), k);
    EXPECT_FLOAT_EQ(boss.chaseTimer, c.charge);
    EXPECT_FLOAT_EQ(boss.vel.y, c.world == 1 && c.phase == 3 ? -330.0f : 0.0f) << "only the brute hops";
    EXPECT_EQ(boss.attackCount, 3);
    ASSERT_EQ(countSounds(game, Sound::BossAttack), 1);
    EXPECT_FLOAT_EQ(game.sounds.back().volume, 0.5f);
    EXPECT_FLOAT_EQ(game.sounds.back().x, boss.pos.x);
}

INSTANTIATE_TEST_SUITE_P(
    EveryBossAndPhase, BossVolley,
    ::testing::Values(
        VolleyCase{0, 1, {}, 0.6f}, VolleyCase{0, 2, {fan(3, UP, 0.42f, 330, 14, 520)}, 0.68f},
        VolleyCase{0, 3, {fan(4, UP, 0.42f, 330, 14, 520)}, 0.76f},
        VolleyCase{1, 1, {line(1, 446, PI, 300, 17, 22), line(1, 446, 0, 300, 17, 22)}, 0},
        VolleyCase{1,
                   2,
                   {line(1, 446, PI, 320, 17, 22), line(1, 446, 0, 320, 17, 22), aimedFan(2, 0.15f, 285, 14)},
                   0},
        VolleyCase{1,
                   3,
                   {line(1, 446, PI, 340, 17, 22), line(1, 446, 0, 340, 17, 22), aimedFan(3, 0.15f, 285, 14)},
                   0},
        VolleyCase{2, 1, {line(2, NONE, NONE, 305, 16, 16)}, 0},
        VolleyCase{2, 2, {line(3, NONE, NONE, 320, 16, 16)}, 0},
        VolleyCase{2, 3, {line(4, NONE, NONE, 335, 16, 16)}, 0},
        VolleyCase{3, 1, {fan(5, UP, 0.27f, 350, 13, 600)}, 0},
        VolleyCase{3, 2, {fan(6, UP, 0.27f, 350, 13, 600), line(1, 443, PI, 340, 16, 27)}, 0},
        VolleyCase{3, 3, {fan(7, UP, 0.27f, 350, 13, 600), line(1, 443, PI, 340, 16, 27)}, 0},
        VolleyCase{4, 1, {aimedFan(5, 0.105f, 275, 14)}, 0},
        VolleyCase{4, 2, {aimedFan(5, 0.125f, 300, 14), line(3, 100, PI / 2, 200, 15, 25)}, 0},
        VolleyCase{4, 3, {aimedFan(5, 0.145f, 325, 14), line(3, 100, PI / 2, 220, 15, 25)}, 0},
        VolleyCase{5, 1, {aimedFan(3, 0.13f, 312, 14)}, 0},
        VolleyCase{5, 2, {aimedFan(4, 0.13f, 324, 14)}, 0},
        VolleyCase{5, 3, {aimedFan(5, 0.13f, 336, 14), fan(8, 0, PI / 4, 205, 12)}, 0},
        VolleyCase{6, 1, {line(1, 344, PI, 490, 20, 90)}, 0},
        VolleyCase{6, 2, {line(1, 344, PI, 510, 20, 90), aimedFan(2, 0.24f, 230, 13)}, 0},
        VolleyCase{6, 3, {line(1, 344, PI, 530, 20, 90), aimedFan(3, 0.24f, 230, 13)}, 0},
        VolleyCase{7, 1, {aimedFan(4, 0.17f, 245, 13)}, 0},
        VolleyCase{7, 2, {aimedFan(5, 0.17f, 245, 13), fan(2, UP, 0.38f, 380, 19, 620)}, 0},
        VolleyCase{7, 3, {aimedFan(6, 0.17f, 245, 13), fan(3, UP, 0.38f, 380, 19, 620)}, 0},
        VolleyCase{8, 1, {aimedFan(3, 0.19f, 230, 14)}, 0.43f},
        VolleyCase{8, 2, {aimedFan(5, 0.19f, 230, 14)}, 0.51f},
        VolleyCase{8, 3, {aimedFan(7, 0.19f, 230, 14), fan(4, 0, PI / 2, 260, 14)}, 0.59f},
        VolleyCase{9, 1, {aimedFan(4, 0.105f, 330, 17)}, 0},
        VolleyCase{9, 2, {aimedFan(5, 0.105f, 330, 17), fan(8, 0.8f, PI / 4, 210, 13)}, 0},
        VolleyCase{9, 3, {aimedFan(6, 0.105f, 330, 17), fan(9, 0.8f, PI / 4, 210, 13)}, 0.42f}));

TEST(BossVolley, AWindupEndingInAGameStepFiresTheAttack) {
    Game game = arena(3);
    Enemy& boss = bossOf(game);
    // It stands still while it telegraphs, 1.6 s after the player engaged.
    int steps = 0;
    float windupX = -1;
    while (boss.attackCount == 0 && steps < 1000) {
        game.update(Input{}, DT);
        ++steps;
        windupX = boss.windupTimer > 0 && windupX < 0 ? boss.pos.x : windupX;
        if (boss.windupTimer > 0) {
            EXPECT_FLOAT_EQ(boss.pos.x, windupX);
        }
    }
    EXPECT_NEAR(steps * DT, 1.6f + 0.7f - 0.03f, 3 * DT);
    EXPECT_FLOAT_EQ(boss.windupTimer, 0) << "the telegraph ends with the attack";
    EXPECT_EQ(game.projectiles.size(), 5u);
}

TEST(BossVolley, TheOverclockedCoreAlternatesItsBeamHeight) {
    Game game = arena(6);
    Enemy& boss = bossOf(game);
    boss.aimPoint = {boss.pos.x - 400, 438};
    game.bossAttack(boss);
    ASSERT_EQ(game.projectiles.size(), 1u);
    EXPECT_FLOAT_EQ(game.projectiles[0].pos.y, 344);
    EXPECT_EQ(game.projectiles[0].weapon, RgbLaser);
    EXPECT_FLOAT_EQ(game.projectiles[0].size.y, 14);

    game.bossAttack(boss);
    ASSERT_EQ(game.projectiles.size(), 2u);
    EXPECT_FLOAT_EQ(game.projectiles[1].pos.y, 436);
}

TEST(BossVolley, WithTheListFullTheCoresBeamIsNotCreatedAndNothingElseIsRestyled) {
    Game game = arena(6);
    Enemy& boss = bossOf(game);
    boss.aimPoint = {boss.pos.x - 400, 438};
    Projectile mine;
    mine.weapon = GiftedSubs;
    mine.size = {22, 22};
    game.projectiles.assign(150, mine);
    game.bossAttack(boss);
    EXPECT_EQ(game.projectiles.size(), 150u);
    EXPECT_EQ(game.projectiles.back().weapon, GiftedSubs);
    EXPECT_FLOAT_EQ(game.projectiles.back().size.x, 22);
    EXPECT_EQ(boss.attackCount, 1);
}

TEST(BossVolley, TheTallViewerReappearsOnAlternateSidesAndFiresAColumnAtTheAim) {
    Game game = arena(2);
    Enemy& boss = bossOf(game);
    enterPhase(boss, 2);
    const Vec2 aim{boss.patrolMin + 250, 438};
    boss.aimPoint = aim;
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.pos.x, aim.x - 210);
    ASSERT_EQ(game.projectiles.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const Projectile& p = game.projectiles[static_cast<std::size_t>(i)];
        const Vec2 from{boss.pos.x + 20, boss.pos.y + 30 + 25 * static_cast<float>(i)};
        expectAt(p.pos, from.x, from.y);
        EXPECT_NEAR(std::atan2(p.vel.y, p.vel.x), std::atan2(aim.y - from.y, aim.x - from.x), 1e-4);
    }
    EXPECT_EQ(countParticles(game, 0xFFB6A0D4u), 18);
    expectAt(game.particles.back().pos, boss.pos.x + 30, boss.pos.y + 45);
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.pos.x, aim.x + 210);
    // Near the arena's edge the jump is clamped into the patrol range.
    boss.aimPoint.x = boss.patrolMax - 20;
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.pos.x, boss.patrolMax - 20 - 210);
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.pos.x, boss.patrolMax - boss.size.x);
}

TEST(BossVolley, ChargersFaceTheAim) {
    for (const float aimOffset : {0.4f, 0.6f}) {
        Game game = arena(0);
        Enemy& boss = bossOf(game);
        boss.facing = aimOffset < 0.5f ? 1 : -1;
        boss.aimPoint = {boss.pos.x + aimOffset * boss.size.x, 438};
        game.bossAttack(boss);
        EXPECT_EQ(boss.facing, aimOffset < 0.5f ? -1 : 1);
    }
}

// ---------------------------------------------------------------------------
// Phases and movement.

TEST(BossMovement, ThePeakDroneFliesAFunctionOfItsClockAndNeverLands) {
    Game game = arena(5);
    Enemy& boss = bossOf(game);
    for (int i = 0; i < 600; ++i) {
        game.update(Input{}, DT);
        const float clock = boss.actionTimer;
        const float x = std::clamp(boss.home.x + 130 * std::sin(0.8f * clock), boss.patrolMin,
                                   boss.patrolMax - boss.size.x);
        ASSERT_NEAR(boss.pos.x, x, 1e-3);
        ASSERT_NEAR(boss.pos.y, 270 + 65 * std::sin(1.5f * clock), 1e-3);
        ASSERT_FALSE(boss.grounded);
    }
}

TEST(BossMovement, TheOverclockedCoreNeverMovesSideways) {
    Game game = arena(6);
    Enemy& boss = bossOf(game);
    const float x = boss.pos.x;
    run(game, Input{}, 600);
    EXPECT_FLOAT_EQ(boss.pos.x, x);
    EXPECT_GE(boss.attackCount, 2);
}

TEST(BossMovement, TheBruteHopsInPhaseThreeAndLandsOnTheGround) {
    Game game = arena(1);
    Enemy& boss = bossOf(game);
    enterPhase(boss, 3);
    boss.attackCooldown = 10;
    boss.aimPoint = {game.player.pos.x + 21, 438};
    game.bossAttack(boss);
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(boss.vel.y, -330 + 1500 * DT);
    EXPECT_FLOAT_EQ(boss.pos.y, GROUND_Y - boss.size.y + (-330 + 1500 * DT) * DT);
    run(game, Input{}, 120);
    EXPECT_FLOAT_EQ(boss.pos.y, GROUND_Y - boss.size.y);
    EXPECT_TRUE(boss.grounded);
}

TEST(BossMovement, LandsOnTheGroundOnlyFromAtMostTwoUnitsBelowItsTop) {
    for (const float sunk : {1.9f, 2.1f}) {
        Game game = arena(0);
        Enemy& boss = bossOf(game);
        boss.attackCooldown = 10;
        boss.pos.y = GROUND_Y - boss.size.y + sunk;
        boss.vel.y = 900;
        game.update(Input{}, DT);
        EXPECT_EQ(boss.grounded, sunk < 2) << sunk;
        EXPECT_FLOAT_EQ(boss.vel.y, sunk < 2 ? 0 : 850) << "a boss falls at most 850";
    }
}

// ---------------------------------------------------------------------------
// Stomps and contact.

void dropOntoHead(Game& game, const Enemy& boss) {
    game.player.pos = {boss.pos.x + 30, boss.pos.y + 5 - 64};
    game.player.vel = {0, 300};
    game.player.grounded = false;
}

// Jumping on a boss costs it 2, except THE TALL VIEWER, which hurts instead.
TEST(BossContact, AStompCostsTheBossTwoButTheTallViewerCannotBeStomped) {
    for (const int world : {0, 2}) {
        Game game = arena(world);
        Enemy& boss = bossOf(game);
        boss.attackCooldown = 10;
        dropOntoHead(game, boss);
        game.update(Input{}, DT);
        EXPECT_EQ(boss.hp, world == 0 ? 22 : boss.maxHp);
        EXPECT_FLOAT_EQ(game.player.vel.y, world == 0 ? -465 : -250);
        EXPECT_EQ(game.player.health, world == 0 ? 100 : 76);
        EXPECT_EQ(countSounds(game, Sound::Stomp), world == 0 ? 1 : 0);
    }
}

TEST(BossContact, TouchingTheBossHurtsByWorldAndKnocksAwayFromItsCentre) {
    for (const float offset : {10.0f, 70.0f}) {
        Game game = arena(4);
        Enemy& boss = bossOf(game);
        boss.attackCooldown = 10;
        game.player.pos = {boss.pos.x + offset, GROUND_Y - 64};
        game.update(Input{}, DT);
        EXPECT_EQ(game.player.health, 100 - 26);
        EXPECT_FLOAT_EQ(game.player.vel.x, offset < 54 ? -225 : 225);
    }
}

TEST(BossContact, AFinalStompDefeatsTheBossClearsItsShotsAndOpensTheGate) {
    Game game = arena(3);
    Enemy& boss = bossOf(game);
    boss.hp = 2;
    boss.phase = 3;
    boss.aimPoint = {game.player.pos.x, 438};
    game.bossAttack(boss);
    ASSERT_FALSE(game.projectiles.empty());
    boss.attackCooldown = 10;
    dropOntoHead(game, boss);
    game.update(Input{}, DT);
    EXPECT_FALSE(boss.alive);
    EXPECT_TRUE(game.exitOpen);
    EXPECT_TRUE(game.projectiles.empty());
    EXPECT_FALSE(game.bossEncounterActive());
}

} // namespace
} // namespace grumbo

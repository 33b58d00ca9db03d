// The bosses: the encounter gate, phases, attack timing, movement styles,
// stomps, and every pattern's shot count in every phase.
#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace grumbo {
namespace {

constexpr float DT = 1.0f / 120.0f;

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

int hostileShots(const Game& game) {
    return static_cast<int>(std::count_if(game.projectiles.begin(), game.projectiles.end(),
                                          [](const Projectile& p) { return p.hostile; }));
}

int countSounds(const Game& game, Sound sound) {
    return static_cast<int>(std::count_if(game.sounds.begin(), game.sounds.end(),
                                          [&](const SoundEvent& e) { return e.sound == sound; }));
}

void run(Game& game, const Input& input, int steps) {
    for (int i = 0; i < steps; ++i) {
        game.update(input, DT);
    }
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
    EXPECT_FLOAT_EQ(bossOf(game).attackCooldown, 1.6f);
    EXPECT_FLOAT_EQ(bossOf(game).actionTimer, 0);
    EXPECT_EQ(hostileShots(game), 0);

    game.player.pos.x = game.level.bossArenaX - 30;
    game.update(Input{}, DT);
    EXPECT_TRUE(game.bossEncounterActive());
    EXPECT_FLOAT_EQ(bossOf(game).actionTimer, DT);
    EXPECT_LT(bossOf(game).attackCooldown, 1.6f);
}

TEST(BossEncounter, TheFirstWindupComesOnePointSixSecondsAfterEngaging) {
    Game game = arena(0);
    int steps = 0;
    while (bossOf(game).windupTimer <= 0 && steps < 1000) {
        game.update(Input{}, DT);
        ++steps;
    }
    EXPECT_NEAR(steps * DT, 1.6f, 2 * DT);
    // World 0, phase 1: 0.78 - 0.08 = 0.7 s of telegraph, 3.15 - 0.4 = 2.75 s to the next.
    EXPECT_FLOAT_EQ(bossOf(game).windupTimer, 0.7f);
    EXPECT_FLOAT_EQ(bossOf(game).attackCooldown, 2.75f);
    EXPECT_FLOAT_EQ(bossOf(game).aimPoint.x, game.player.pos.x + 21);
    EXPECT_FLOAT_EQ(bossOf(game).aimPoint.y, game.player.pos.y + 32);
}

TEST(BossEncounter, LaterWorldsAndPhasesTelegraphShorterDownToTheFloors) {
    Game game = arena(9);
    Enemy& boss = bossOf(game);
    enterPhase(boss, 3);
    boss.attackCooldown = 0;
    game.update(Input{}, DT);
    EXPECT_NEAR(boss.windupTimer, 0.45f, 1e-5);
    EXPECT_NEAR(boss.attackCooldown, 1.41f, 1e-5);
}

TEST(BossEncounter, AnOpenExitOrADeadBossLeavesEverythingStill) {
    Game game = arena(4);
    game.exitOpen = true;
    Enemy& boss = bossOf(game);
    boss.attackCooldown = 0;
    game.player.pos.x = boss.pos.x;
    const Enemy before = boss;
    run(game, Input{}, 120);
    EXPECT_FLOAT_EQ(boss.pos.x, before.pos.x);
    EXPECT_FLOAT_EQ(boss.windupTimer, 0);
    EXPECT_EQ(game.player.health, 100) << "with the exit open the boss no longer hurts";

    Game dead = arena(4);
    bossOf(dead).alive = false;
    EXPECT_FALSE(dead.bossEncounterActive());
}

// ---------------------------------------------------------------------------
// Every pattern, every phase: how many shots one attack fires.

struct PatternCase {
    int world;
    int shots[3];
};

class BossPattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(BossPattern, FiresItsShotCountInEachPhase) {
    const PatternCase c = GetParam();
    for (int phase = 1; phase <= 3; ++phase) {
        Game game = arena(c.world);
        Enemy& boss = bossOf(game);
        enterPhase(boss, phase);
        boss.aimPoint = {game.player.pos.x + 21, game.player.pos.y + 32};
        boss.attackCount = 0;
        game.bossAttack(boss);
        EXPECT_EQ(hostileShots(game), c.shots[phase - 1]) << "world " << c.world << " phase " << phase;
        EXPECT_EQ(boss.attackCount, 1);
        ASSERT_EQ(countSounds(game, Sound::BossAttack), 1);
        EXPECT_FLOAT_EQ(game.sounds.back().volume, 0.5f);
        EXPECT_FLOAT_EQ(game.sounds.back().x, boss.pos.x);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryBoss, BossPattern,
                         ::testing::Values(PatternCase{0, {0, 3, 4}}, PatternCase{1, {2, 4, 5}},
                                           PatternCase{2, {2, 3, 4}}, PatternCase{3, {5, 7, 8}},
                                           PatternCase{4, {5, 8, 8}}, PatternCase{5, {3, 4, 13}},
                                           PatternCase{6, {1, 3, 4}}, PatternCase{7, {4, 7, 9}},
                                           PatternCase{8, {3, 5, 11}}, PatternCase{9, {4, 13, 15}}));

TEST(BossPattern, AWindupEndingInAGameStepFiresTheAttack) {
    Game game = arena(3);
    Enemy& boss = bossOf(game);
    int steps = 0;
    while (boss.attackCount == 0 && steps < 1000) {
        game.update(Input{}, DT);
        ++steps;
    }
    EXPECT_NEAR(steps * DT, 1.6f + 0.7f - 0.03f, 3 * DT);
    EXPECT_EQ(hostileShots(game), 5);
    // A fountain: every shot starts upward and falls under gravity 600.
    for (const Projectile& p : game.projectiles) {
        EXPECT_LT(p.vel.y, 0);
        EXPECT_FLOAT_EQ(p.gravity, 600);
        EXPECT_EQ(p.damage, 13);
    }
}

TEST(BossPattern, TheFansSpreadEvenlyAroundTheAim) {
    Game game = arena(7);
    Enemy& boss = bossOf(game);
    enterPhase(boss, 1);
    const Vec2 origin{boss.pos.x + 0.5f * boss.size.x, boss.pos.y + 0.42f * boss.size.y};
    boss.aimPoint = {origin.x - 300, origin.y};
    game.bossAttack(boss);
    ASSERT_EQ(game.projectiles.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const Projectile& p = game.projectiles[i];
        const float angle = std::atan2(p.vel.y, p.vel.x);
        const float expected = std::numbers::pi_v<float> + (static_cast<float>(i) - 1.5f) * 0.17f;
        EXPECT_NEAR(std::remainder(angle - expected, 2 * std::numbers::pi_v<float>), 0, 1e-4);
        EXPECT_NEAR(std::hypot(p.vel.x, p.vel.y), 245, 1e-2);
        EXPECT_FLOAT_EQ(p.pos.x, origin.x);
    }
}

TEST(BossPattern, TheOverclockedCoreAlternatesItsBeamHeight) {
    Game game = arena(6);
    Enemy& boss = bossOf(game);
    boss.aimPoint = {boss.pos.x - 400, 438};
    game.bossAttack(boss);
    ASSERT_EQ(game.projectiles.size(), 1u);
    EXPECT_FLOAT_EQ(game.projectiles[0].pos.y, 344);
    EXPECT_EQ(game.projectiles[0].weapon, RgbLaser);
    EXPECT_FLOAT_EQ(game.projectiles[0].size.x, 90);
    EXPECT_FLOAT_EQ(game.projectiles[0].size.y, 14);
    EXPECT_FLOAT_EQ(game.projectiles[0].vel.y, 0);

    game.bossAttack(boss);
    ASSERT_EQ(game.projectiles.size(), 2u);
    EXPECT_FLOAT_EQ(game.projectiles[1].pos.y, 436);
}

TEST(BossPattern, WithTheListFullTheCoresBeamIsNotCreatedAndNothingElseIsRestyled) {
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

TEST(BossPattern, TheTallViewerReappearsOnAlternateSidesOfTheAim) {
    Game game = arena(2);
    Enemy& boss = bossOf(game);
    const float aimX = boss.patrolMin + 250;
    boss.aimPoint = {aimX, 438};
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.pos.x, aimX - 210);
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.pos.x, aimX + 210);
    // Near the arena's edge the jump is clamped into the patrol range.
    boss.aimPoint.x = boss.patrolMax - 20;
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.pos.x, boss.patrolMax - 20 - 210);
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.pos.x, boss.patrolMax - boss.size.x);
}

TEST(BossPattern, ChargersFaceTheAimAndRushAtChargeSpeed) {
    Game game = arena(0);
    Enemy& boss = bossOf(game);
    boss.facing = 1;
    boss.attackCooldown = 10;
    boss.aimPoint = {boss.pos.x - 300, 438};
    game.bossAttack(boss);
    EXPECT_EQ(boss.facing, -1);
    EXPECT_FLOAT_EQ(boss.chaseTimer, 0.6f);
    const float x = boss.pos.x;
    game.update(Input{}, DT);
    EXPECT_NEAR(boss.pos.x, x - 330 * DT, 1e-3);

    // The sovereign charges only in phase 3 and only on even attacks.
    Game summit = arena(9);
    Enemy& sovereign = bossOf(summit);
    enterPhase(sovereign, 3);
    sovereign.aimPoint = {sovereign.pos.x - 300, 438};
    sovereign.attackCount = 1;
    summit.bossAttack(sovereign);
    EXPECT_FLOAT_EQ(sovereign.chaseTimer, 0);
    summit.bossAttack(sovereign);
    EXPECT_FLOAT_EQ(sovereign.chaseTimer, 0.42f);
}

// ---------------------------------------------------------------------------
// Phases and movement.

TEST(BossPhases, TwoThirdsAndOneThirdHealthAlreadyCountAsTheNextPhase) {
    Game game = arena(0);
    Enemy& boss = bossOf(game);
    boss.hp = 17;
    game.update(Input{}, DT);
    EXPECT_EQ(boss.phase, 1);
    boss.hp = 16;
    game.update(Input{}, DT);
    EXPECT_EQ(boss.phase, 2);
    boss.hp = 8;
    game.update(Input{}, DT);
    EXPECT_EQ(boss.phase, 3);
}

TEST(BossMovement, StandsStillWhileTelegraphing) {
    Game game = arena(1);
    Enemy& boss = bossOf(game);
    boss.attackCooldown = 0;
    game.update(Input{}, DT);
    ASSERT_GT(boss.windupTimer, 0);
    const float x = boss.pos.x;
    while (boss.windupTimer > 0) {
        game.update(Input{}, DT);
        if (boss.windupTimer > 0) {
            EXPECT_FLOAT_EQ(boss.pos.x, x);
        }
    }
    EXPECT_EQ(boss.attackCount, 1);
}

TEST(BossMovement, ASlowedBossWalksAtAlmostHalfSpeed) {
    Game plain = arena(0);
    Game slowed = arena(0);
    bossOf(slowed).slowTimer = 5;
    const float x0 = bossOf(plain).pos.x;
    run(plain, Input{}, 60);
    run(slowed, Input{}, 60);
    EXPECT_NEAR(x0 - bossOf(plain).pos.x, 37 * 60 * DT, 0.05);
    EXPECT_NEAR(x0 - bossOf(slowed).pos.x, 0.48f * 37 * 60 * DT, 0.05);
    EXPECT_TRUE(bossOf(plain).grounded);
}

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
    EXPECT_TRUE(boss.grounded);
    EXPECT_GE(boss.attackCount, 2);
}

TEST(BossMovement, TheBruteHopsInPhaseThreeAndLandsOnTheGround) {
    Game game = arena(1);
    Enemy& boss = bossOf(game);
    enterPhase(boss, 3);
    boss.aimPoint = {game.player.pos.x + 21, 438};
    game.bossAttack(boss);
    EXPECT_FLOAT_EQ(boss.vel.y, -330);
    float highest = boss.pos.y;
    for (int i = 0; i < 120; ++i) {
        game.update(Input{}, DT);
        highest = std::min(highest, boss.pos.y);
    }
    EXPECT_LT(highest, 344 - 30);
    EXPECT_FLOAT_EQ(boss.pos.y, GROUND_Y - boss.size.y);
    EXPECT_TRUE(boss.grounded);
}

// ---------------------------------------------------------------------------
// Stomps and contact.

void dropOntoHead(Game& game, const Enemy& boss) {
    game.player.pos = {boss.pos.x + 30, boss.pos.y + 5 - 64};
    game.player.vel = {0, 300};
    game.player.grounded = false;
}

TEST(BossContact, AStompCostsTheBossTwoAndBouncesThePlayer) {
    Game game = arena(0);
    Enemy& boss = bossOf(game);
    boss.attackCooldown = 10;
    dropOntoHead(game, boss);
    game.update(Input{}, DT);
    EXPECT_EQ(boss.hp, 22);
    EXPECT_FLOAT_EQ(game.player.vel.y, -465);
    EXPECT_EQ(game.player.health, 100);
    EXPECT_EQ(countSounds(game, Sound::Stomp), 1);
}

TEST(BossContact, TheTallViewerCannotBeStomped) {
    Game game = arena(2);
    Enemy& boss = bossOf(game);
    boss.attackCooldown = 10;
    dropOntoHead(game, boss);
    game.update(Input{}, DT);
    EXPECT_EQ(boss.hp, boss.maxHp);
    EXPECT_EQ(game.player.health, 100 - 24);
    EXPECT_EQ(countSounds(game, Sound::Stomp), 0);
}

TEST(BossContact, TouchingTheBossHurtsByWorld) {
    Game game = arena(4);
    Enemy& boss = bossOf(game);
    boss.attackCooldown = 10;
    game.player.pos = {boss.pos.x + 10, GROUND_Y - 64};
    game.update(Input{}, DT);
    EXPECT_EQ(game.player.health, 100 - 26);
    EXPECT_FLOAT_EQ(game.player.vel.x, -225);
}

TEST(BossContact, AFinalStompDefeatsTheBossClearsItsShotsAndOpensTheGate) {
    Game game = arena(3);
    Enemy& boss = bossOf(game);
    boss.hp = 2;
    boss.phase = 3;
    boss.aimPoint = {game.player.pos.x, 438};
    game.bossAttack(boss);
    ASSERT_GT(hostileShots(game), 0);
    boss.attackCooldown = 10;
    dropOntoHead(game, boss);
    game.update(Input{}, DT);
    EXPECT_FALSE(boss.alive);
    EXPECT_TRUE(game.exitOpen);
    EXPECT_EQ(hostileShots(game), 0);
    EXPECT_FALSE(game.bossEncounterActive());
}

TEST(BossContact, ARespawnHoldsTheBossesNextAttack) {
    Game game = arena(8);
    Enemy& boss = bossOf(game);
    boss.attackCooldown = 0.1f;
    boss.windupTimer = 0.2f;
    game.restartCheckpoint();
    EXPECT_GE(boss.attackCooldown, 1.6f);
    EXPECT_FLOAT_EQ(boss.windupTimer, 0);
}

} // namespace
} // namespace grumbo

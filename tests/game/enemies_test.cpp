// Enemy behaviours driven through whole game steps: stomps and contact
// damage, patrols and hops, the caretaker's noise and light, the slender's
// teleport, the drone's bob, carts and the ranged shooters.
#include "game/game.h"
#include "game_test_support.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

constexpr float DT = 1.0f / 120.0f;

// A started world with nothing in it but the ground, the ledges and the
// player, so each test adds exactly the enemy it is about.
Game emptyWorld(int world) {
    Game game;
    game.start(world);
    game.level.enemies.clear();
    game.level.hazards.clear();
    game.level.pickups.clear();
    game.level.signs.clear();
    return game;
}

// Body sizes by kind, as the levels build them.
constexpr Vec2 SIZES[ENEMY_KIND_COUNT] = {{40, 54}, {38, 100}, {42, 30}, {40, 44}, {40, 54}, {40, 54},
                                          {50, 54}, {40, 34},  {48, 44}, {40, 54}, {58, 38}, {42, 78}};

// An enemy standing on the ground (a drone hovering at 230), patrolling
// 200 units either way, with every timer far from firing.
Enemy& addEnemy(Game& game, EnemyKind kind, float x) {
    Enemy e;
    e.kind = kind;
    e.size = SIZES[static_cast<int>(kind)];
    e.pos = {x, kind == EnemyKind::Drone ? 230.0f : GROUND_Y - e.size.y};
    e.home = e.pos;
    e.patrolMin = x - 200;
    e.patrolMax = x + 200;
    e.hp = e.maxHp = 10;
    e.tier = game.world / 3;
    e.grounded = kind != EnemyKind::Drone;
    e.actionTimer = 50;
    e.attackCooldown = 50;
    game.level.enemies.push_back(e);
    return game.level.enemies.back();
}

void placePlayer(Game& game, float x, float y, Vec2 vel = {0, 0}) {
    game.player.pos = {x, y};
    game.player.vel = vel;
    game.player.grounded = y + game.player.size.y >= GROUND_Y;
}

int countSounds(const Game& game, Sound sound) {
    return static_cast<int>(std::count_if(game.sounds.begin(), game.sounds.end(),
                                          [&](const SoundEvent& e) { return e.sound == sound; }));
}

long countParticles(const Game& game, std::uint32_t color) {
    return std::count_if(game.particles.begin(), game.particles.end(),
                         [&](const Particle& p) { return p.color == color; });
}

// Where the enemy's top will be after the next step: a drone moves along its
// bob, everything else rests where it stands.
float topNextStep(const Game& game, const Enemy& enemy) {
    const float bob = 40 * std::sin(2 * (game.levelTime + DT) + 0.01f * enemy.patrolMin);
    return enemy.kind == EnemyKind::Drone ? enemy.home.y + bob : enemy.pos.y;
}

void run(Game& game, const Input& input, int steps) {
    for (int i = 0; i < steps; ++i) {
        game.update(input, DT);
    }
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
// Stomp or hurt, for every ordinary kind.

struct ContactCase {
    EnemyKind kind;
    int world;
    bool stompable;
    int contactDamage;
};

class EnemyContact : public ::testing::TestWithParam<ContactCase> {};

TEST_P(EnemyContact, FallingOntoTheHeadStompsOrHurtsByKind) {
    const ContactCase c = GetParam();
    Game game = emptyWorld(c.world);
    Enemy& enemy = addEnemy(game, c.kind, 700);
    // Feet 5 units into the enemy's top, falling fast.
    placePlayer(game, enemy.pos.x + enemy.size.x / 2 - 21, topNextStep(game, enemy) + 5 - 64, {0, 300});
    game.player.jumpsUsed = 2;

    game.update(Input{}, DT);

    if (c.stompable) {
        EXPECT_EQ(enemy.hp, 7);
        EXPECT_FLOAT_EQ(game.player.vel.y, -465);
        EXPECT_EQ(game.player.jumpsUsed, 1) << "a stomp gives back the air jump";
        EXPECT_EQ(game.player.health, 100);
        ASSERT_EQ(countSounds(game, Sound::Stomp), 1);
        EXPECT_FLOAT_EQ(game.sounds.back().x, game.player.pos.x);
        EXPECT_FLOAT_EQ(game.sounds.back().volume, 1.0f);
    } else {
        EXPECT_EQ(enemy.hp, 10);
        EXPECT_EQ(game.player.health, 100 - c.contactDamage);
        EXPECT_EQ(countSounds(game, Sound::Stomp), 0);
        EXPECT_EQ(countSounds(game, Sound::Hurt), 1);
    }
}

TEST_P(EnemyContact, RunningIntoTheBodyHurtsWithTheKindsDamageAwayFromItsCentre) {
    const ContactCase c = GetParam();
    // Left of the enemy's centre the player is knocked left, at or right of it to the right.
    for (const float side : {-1.0f, 1.0f}) {
        Game game = emptyWorld(c.world);
        Enemy& enemy = addEnemy(game, c.kind, 700);
        const float y = c.kind == EnemyKind::Drone ? topNextStep(game, enemy) - 10 : GROUND_Y - 64;
        placePlayer(game, side < 0 ? enemy.pos.x + 4 : enemy.pos.x + enemy.size.x / 2 + 5, y);

        game.update(Input{}, DT);

        EXPECT_EQ(game.player.health, 100 - c.contactDamage);
        EXPECT_FLOAT_EQ(game.player.vel.x, 225 * side);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, EnemyContact,
    ::testing::Values(
        ContactCase{EnemyKind::Zombie, 0, true, 15}, ContactCase{EnemyKind::Zombie, 9, true, 21},
        ContactCase{EnemyKind::Slender, 3, false, 25}, ContactCase{EnemyKind::Cat, 3, true, 17},
        ContactCase{EnemyKind::Letter, 6, true, 19}, ContactCase{EnemyKind::Spitter, 0, true, 15},
        ContactCase{EnemyKind::Armored, 0, false, 15}, ContactCase{EnemyKind::Armored, 9, false, 21},
        ContactCase{EnemyKind::Drone, 3, true, 17}, ContactCase{EnemyKind::Turret, 0, true, 15},
        ContactCase{EnemyKind::Mimic, 8, true, 19}, ContactCase{EnemyKind::Cart, 9, true, 20},
        ContactCase{EnemyKind::Caretaker, 2, true, 23}));

// Only a player falling faster than 70 with the feet less than 22 into the
// head stomps; anything else is a collision.
TEST(EnemyContactRules, TheStompNeedsSpeedAndAShallowLanding) {
    struct Row {
        float fallSpeed;
        float depth;
        bool stomp;
    };
    for (const Row row : {Row{71, 21.5f, true}, Row{70, 5, false}, Row{300, 22, false}}) {
        Game game = emptyWorld(0);
        Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 700);
        placePlayer(game, 700, zombie.pos.y + row.depth - 64, {0, row.fallSpeed});
        game.updateEnemies(DT);
        EXPECT_EQ(zombie.hp, row.stomp ? 7 : 10) << row.fallSpeed << " " << row.depth;
        EXPECT_EQ(game.player.health, row.stomp ? 100 : 85) << row.fallSpeed << " " << row.depth;
    }
}

TEST(EnemyContactRules, AStunnedEnemyDoesNoContactDamage) {
    Game game = emptyWorld(0);
    Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 700);
    zombie.stunTimer = 1;
    placePlayer(game, 704, GROUND_Y - 64);
    run(game, Input{}, 10);
    EXPECT_EQ(game.player.health, 100);
}

// A falling enemy lands on a platform whose top its feet were at most 1.5
// below, falls at most at 850, and is gone once its top passes y = 740.
TEST(EnemyContactRules, AnEnemyLandsOnlyFromAtMostOneAndAHalfBelowATop) {
    for (const float sunk : {1.4f, 1.6f, 316.8f, 317.4f}) {
        Game game = emptyWorld(0);
        Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 700);
        zombie.pos.y += sunk;
        zombie.vel.y = 900;
        game.updateEnemies(DT);
        EXPECT_EQ(zombie.grounded, sunk < 1.5f) << sunk;
        EXPECT_FLOAT_EQ(zombie.vel.y, sunk < 1.5f ? 0 : 850) << sunk;
        EXPECT_EQ(zombie.alive, sunk < 317) << sunk;
    }
}

// ---------------------------------------------------------------------------
// Patrols, hops, chases, activity range and falling.

struct MotionCase {
    EnemyKind kind;
    int world;
    float patrolSpeed;
    float hop;
};

class EnemyMotion : public ::testing::TestWithParam<MotionCase> {};

// Slowed, each kind walks at 0.45 of its patrol speed but hops at full strength.
TEST_P(EnemyMotion, PatrolsAtItsKindsSpeedPlusTheTierBonusAndHopsByKind) {
    const MotionCase c = GetParam();
    Game game = emptyWorld(c.world);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& enemy = addEnemy(game, c.kind, 900);
    enemy.slowTimer = 1;
    enemy.actionTimer = c.hop < 0 ? 0.5f + DT / 2 : 50; // the hop comes on the 61st step
    enemy.grounded = false;
    run(game, Input{}, 61);
    EXPECT_FLOAT_EQ(enemy.vel.x, -0.45f * c.patrolSpeed);
    EXPECT_FLOAT_EQ(enemy.vel.y, c.hop < 0 ? c.hop + 1500 * DT : 0);
    EXPECT_NEAR(enemy.actionTimer, c.hop < 0 ? 2.4f : 50 - 61 * DT, 1e-3);
    enemy.actionTimer = 0; // airborne, it cannot hop again before landing
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(enemy.vel.y, c.hop < 0 ? c.hop + 2 * 1500 * DT : 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, EnemyMotion,
    ::testing::Values(MotionCase{EnemyKind::Zombie, 0, 48, 0}, MotionCase{EnemyKind::Slender, 3, 34, 0},
                      MotionCase{EnemyKind::Cat, 9, 118, -300}, MotionCase{EnemyKind::Letter, 0, 62, -220},
                      MotionCase{EnemyKind::Spitter, 6, 60, 0}, MotionCase{EnemyKind::Armored, 3, 42, 0},
                      MotionCase{EnemyKind::Drone, 0, 48, 0}, MotionCase{EnemyKind::Turret, 9, 0, 0},
                      MotionCase{EnemyKind::Mimic, 3, 96, -360}, MotionCase{EnemyKind::Cart, 6, 60, 0},
                      MotionCase{EnemyKind::Caretaker, 0, 48, 0}));

// Within 210 zombies and mimics turn toward the player at a flat speed.
TEST(EnemyPatrol, ZombiesAndMimicsChaseANearPlayer) {
    struct Row {
        EnemyKind kind;
        int world;
        float playerDx;
        float vx;
    };
    for (const Row row : {Row{EnemyKind::Zombie, 9, 150, 70}, Row{EnemyKind::Mimic, 0, -209.5f, -125},
                          Row{EnemyKind::Zombie, 0, 0, 70}, Row{EnemyKind::Mimic, 0, 210, -90}}) {
        Game game = emptyWorld(row.world);
        Enemy& enemy = addEnemy(game, row.kind, 900);
        placePlayer(game, 900 + row.playerDx, GROUND_Y - 64);
        game.updateEnemies(DT);
        EXPECT_FLOAT_EQ(enemy.vel.x, row.vx) << row.playerDx;
    }
}

TEST(EnemyPatrol, TurnsAtEitherBound) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& left = addEnemy(game, EnemyKind::Armored, 700);
    left.pos.x = left.patrolMin;
    Enemy& right = addEnemy(game, EnemyKind::Armored, 1000);
    right.facing = 1;
    right.pos.x = right.patrolMax - right.size.x;

    game.update(Input{}, DT);
    EXPECT_EQ(game.level.enemies[0].facing, 1);
    EXPECT_GT(game.level.enemies[0].pos.x, game.level.enemies[0].patrolMin);
    EXPECT_EQ(game.level.enemies[1].facing, -1);
}

TEST(EnemyPatrol, EnemiesBeyondTheViewPlus500OnlyKeepTime) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    addEnemy(game, EnemyKind::Zombie, 110 + 960 + 499.5f);
    Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 110 + 960 + 500.5f);
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
    Game game = emptyWorld(0);
    placePlayer(game, 1200, GROUND_Y - 64);
    for (const EnemyKind kind : {EnemyKind::Zombie, EnemyKind::Drone, EnemyKind::Zombie}) {
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

struct CaretakerScene {
    Game game;
    Enemy* caretaker = nullptr;

    explicit CaretakerScene(int world = 2) : game(emptyWorld(world)) {
        placePlayer(game, 700, GROUND_Y - 64);
        caretaker = &addEnemy(game, EnemyKind::Caretaker, 1000);
        caretaker->attackCooldown = 0;
    }
};

TEST(Caretaker, RunningWakesItWithAWarningThenItChasesWhereThePlayerWas) {
    // Tougher caretakers chase faster: 175 plus 10 a tier. In world 3 it stands behind the player.
    for (const int world : {2, 3}) {
        CaretakerScene s(world);
        const float side = world == 2 ? -1.0f : 1.0f;
        s.caretaker->pos.x = world == 2 ? 1000 : 400;
        s.caretaker->patrolMin = 200;
        Input runRight;
        runRight.right = true;
        int steps = 0;
        while (countSounds(s.game, Sound::HazardWarning) == 0 && steps < 60) {
            s.game.update(runRight, DT);
            ++steps;
        }
        ASSERT_EQ(countSounds(s.game, Sound::HazardWarning), 1);
        EXPECT_FLOAT_EQ(s.game.sounds.back().x, s.caretaker->pos.x);
        EXPECT_FLOAT_EQ(s.game.sounds.back().volume, 0.6f);
        EXPECT_NEAR(s.caretaker->attackCooldown, 3.0f, 1e-4);

        // It stands still through the 0.7 s warning.
        const float warnedAt = s.caretaker->pos.x;
        int windupSteps = 0;
        while (s.caretaker->windupTimer > 0) {
            s.game.update(Input{}, DT);
            ++windupSteps;
            if (s.caretaker->windupTimer > 0) {
                EXPECT_FLOAT_EQ(s.caretaker->pos.x, warnedAt);
            }
        }
        EXPECT_NEAR(windupSteps, 84, 1);

        // Then it chases for 1.05 s.
        run(s.game, Input{}, 2);
        EXPECT_FLOAT_EQ(s.caretaker->vel.x, side * (175.0f + 10 * static_cast<float>(world / 3)));
        int chaseSteps = 2;
        while (s.caretaker->vel.x != 0 && chaseSteps < 300) {
            s.game.update(Input{}, DT);
            ++chaseSteps;
        }
        EXPECT_NEAR(chaseSteps, 126, 2);
    }
}

// A player walking on the ground without firing for a moment is quiet;
// anything louder wakes a caretaker within 480.
TEST(Caretaker, RunningJumpingOrFiringIsHeardWithinReach) {
    struct Row {
        float playerVx;
        bool grounded;
        float fireCooldown;
        float dx;
        float attackCooldown;
        bool heard;
    };
    for (const Row row : {Row{-120, true, 0.05f, 300, 0, false}, Row{120.5f, true, 0, 200, 0, true},
                          Row{0, false, 0, 300, 0, true}, Row{0, true, 0.06f, 300, 0, true},
                          Row{0, false, 0, 479.5f, 0, true}, Row{0, false, 0, 480, 0, false},
                          Row{0, false, 0, 300, 0.5f, false}}) {
        CaretakerScene s;
        s.caretaker->pos.x = 700 + row.dx;
        s.caretaker->patrolMax = 1500;
        s.caretaker->attackCooldown = row.attackCooldown;
        s.game.player.vel.x = row.playerVx;
        s.game.player.grounded = row.grounded;
        s.game.fireCooldown = row.fireCooldown;
        s.game.updateEnemies(DT);
        EXPECT_EQ(countSounds(s.game, Sound::HazardWarning), row.heard ? 1 : 0)
            << row.playerVx << " " << row.dx;
        EXPECT_EQ(s.caretaker->windupTimer > 0, row.heard);
    }
}

TEST(Caretaker, TheFlashlightStunsItOnlyWhenShoneAtIt) {
    CaretakerScene s;
    s.caretaker->pos.x = 900;
    s.caretaker->windupTimer = 0.5f;
    s.game.player.flashlight = 10;

    s.game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(s.caretaker->stunTimer, 0.16f);
    EXPECT_FLOAT_EQ(s.caretaker->attackCooldown, 0.6f);
    EXPECT_EQ(countParticles(s.game, 0xFFFFEDABu), 10);

    // Kept in the light it neither wakes up nor puffs again, even while the
    // player makes noise (0.25 s: the first puff is still in the air).
    Input fire;
    fire.fireHeld = true;
    run(s.game, fire, 30);
    EXPECT_EQ(countSounds(s.game, Sound::HazardWarning), 0);
    EXPECT_FLOAT_EQ(s.caretaker->pos.x, 900);
    EXPECT_EQ(countParticles(s.game, 0xFFFFEDABu), 10);
}

// The beam reaches 260 ahead of the player's middle and 115 up or down; it cancels a warning or a chase.
TEST(Caretaker, LightBehindThePlayerOrOutOfReachDoesNothing) {
    struct Row {
        int facing;
        float caretakerX;
        float playerY;
        bool stunned;
    };
    for (const Row row :
         {Row{1, 900, 406, true}, Row{-1, 900, 406, false}, Row{-1, 700, 406, true}, Row{1, 960, 406, false},
          Row{1, 959.5f, 406, true}, Row{1, 900, 284, false}, Row{1, 900, 284.5f, true}}) {
        CaretakerScene s;
        s.caretaker->pos.x = row.caretakerX;
        s.caretaker->windupTimer = s.caretaker->chaseTimer = 0.5f;
        s.game.player.flashlight = 0.5f;
        s.game.player.facing = row.facing;
        s.game.player.pos.y = row.playerY;
        s.game.updateEnemies(DT);
        EXPECT_EQ(s.caretaker->stunTimer > 0, row.stunned) << row.caretakerX << " " << row.playerY;
        EXPECT_EQ(s.caretaker->windupTimer > 0 || s.caretaker->chaseTimer > 0, !row.stunned)
            << row.caretakerX;
    }
}

// ---------------------------------------------------------------------------
// The slender teleports ahead of the player every 4.2 s, but only onto
// solid ground and never within 125 of the player.

TEST(Slender, TeleportsAheadOfThePlayerOntoGroundAwayFromThePlayer) {
    struct Row {
        float playerX;
        int facing;
        float slenderX;
        float patrolMax;
        float landsAt;
    };
    // It appears 230 ahead of a player facing right, behind one facing left; 1340 hangs over
    // the pit from 1370 to 1480, 1332 and 1480 just fit beside it; the patrol range clamps the
    // last targets to 725, just 125 from the player, and to 725.5.
    for (const Row row :
         {Row{400, 1, 900, 1300, 630}, Row{900, -1, 1100, 1300, 670}, Row{1110, 1, 800, 1700, 800},
          Row{1102, 1, 800, 1700, 1332}, Row{1250, 1, 1700, 1900, 1480}, Row{600, 1, 400, 763, 400},
          Row{600, 1, 400, 763.5f, 725.5f}}) {
        Game game = emptyWorld(2);
        placePlayer(game, row.playerX, GROUND_Y - 64);
        game.player.facing = row.facing;
        Enemy& slender = addEnemy(game, EnemyKind::Slender, row.slenderX);
        slender.patrolMin = 300;
        slender.patrolMax = row.patrolMax;
        slender.actionTimer = 1.5f * DT;
        game.updateEnemies(DT);
        game.updateEnemies(DT);
        EXPECT_NEAR(slender.pos.x, row.landsAt, 1) << row.playerX;
        EXPECT_FLOAT_EQ(slender.actionTimer, 4.2f) << row.playerX;
        const bool moved = row.landsAt != row.slenderX;
        ASSERT_EQ(countParticles(game, 0xFF9D8ABCu), moved ? 24 : 0) << row.playerX;
        if (moved) {
            EXPECT_NEAR(game.particles.front().pos.x, row.slenderX - 28 * DT + 19, 1e-3);
            EXPECT_FLOAT_EQ(game.particles.front().pos.y, GROUND_Y - 100 + 45);
            EXPECT_FLOAT_EQ(game.particles.back().pos.x, row.landsAt + 19);
            EXPECT_FLOAT_EQ(game.particles.back().pos.y, GROUND_Y - 100 + 45);
        }
    }
}

// ---------------------------------------------------------------------------
// The drone hovers on a bob and never lands.

TEST(Drone, BobsFortyUnitsAroundItsHomeAndNeverLands) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& drone = addEnemy(game, EnemyKind::Drone, 900);
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
        Game game = emptyWorld(world);
        Enemy& cart = addEnemy(game, EnemyKind::Cart, cartX);
        cart.patrolMax = 1300;
        cart.attackCooldown = 0;
        placePlayer(game, cartX + 440 * side, GROUND_Y - 64);
        game.update(Input{}, DT);
        EXPECT_FLOAT_EQ(cart.windupTimer, 0);
        placePlayer(game, cart.pos.x + 439.5f * side, GROUND_Y - 64);
        game.update(Input{}, DT);
        EXPECT_NEAR(cart.windupTimer, 0.45f, 1e-4);
        EXPECT_NEAR(cart.attackCooldown, 2.6f, 1e-4);
        EXPECT_FLOAT_EQ(cart.aimPoint.x, game.player.pos.x + 21);

        const float x = cart.pos.x;
        int windupSteps = 0;
        while (cart.windupTimer > 0) {
            game.update(Input{}, DT);
            ++windupSteps;
            if (cart.windupTimer > 0) {
                EXPECT_FLOAT_EQ(cart.pos.x, x);
            }
        }
        EXPECT_NEAR(windupSteps, 54, 1);
        EXPECT_EQ(cart.facing, side);
        const float speed = 190 + 10 * static_cast<float>(world / 3);
        int rushSteps = 0;
        while (cart.vel.x == speed * side) {
            game.update(Input{}, DT);
            ++rushSteps;
        }
        EXPECT_NEAR(rushSteps, 102, 1);
        // The next windup comes 2.6 s after the last one began.
        int idleSteps = 0;
        while (cart.windupTimer <= 0 && idleSteps < 400) {
            game.update(Input{}, DT);
            ++idleSteps;
        }
        EXPECT_NEAR(windupSteps + rushSteps + idleSteps, 312, 2);
    }
}

// ---------------------------------------------------------------------------
// Ranged shooters aim where the player stands when the 0.48 s windup starts.

struct RangedCase {
    EnemyKind kind;
    int world;
    float speed;
    int damage;
    float gravity;
    float cooldown;
};

class Ranged : public ::testing::TestWithParam<RangedCase> {};

TEST_P(Ranged, WindsUpThenFiresAtWhereThePlayerWas) {
    const RangedCase c = GetParam();
    Game game = emptyWorld(c.world);
    placePlayer(game, 600, GROUND_Y - 64);
    Enemy& shooter = addEnemy(game, c.kind, 900);
    shooter.attackCooldown = 0;
    game.updateEnemies(DT);
    EXPECT_NEAR(shooter.attackCooldown, c.cooldown, 1e-4);
    const Vec2 aim{621, GROUND_Y - 32};
    placePlayer(game, 900 - 699.5f, GROUND_Y - 64); // just within reach

    int steps = 1;
    Vec2 from;
    while (game.projectiles.empty() && steps < 200) {
        from = shooter.pos;
        game.updateEnemies(DT);
        ++steps;
    }
    EXPECT_NEAR(steps, 58, 1);
    const bool second = c.kind == EnemyKind::Turret && c.world >= 3;
    ASSERT_EQ(game.projectiles.size(), second ? 2u : 1u);
    const Projectile& shot = game.projectiles[0];
    expectShot(shot, {from.x + shooter.size.x / 2, from.y + shooter.size.y / 2}, aim, c.speed, c.damage, 17,
               c.gravity);
    // Tougher turrets add a second, higher shot to catch a jump.
    if (second) {
        expectShot(game.projectiles[1], {from.x + 24, from.y + 12}, {aim.x, aim.y - 55}, 330, 12, 16, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(KindsAndTiers, Ranged,
                         ::testing::Values(RangedCase{EnemyKind::Spitter, 0, 225, 12, 100, 2.8f},
                                           RangedCase{EnemyKind::Spitter, 6, 225, 18, 100, 2.1f},
                                           RangedCase{EnemyKind::Drone, 3, 290, 15, 0, 2.45f},
                                           RangedCase{EnemyKind::Turret, 0, 370, 12, 0, 2.8f},
                                           RangedCase{EnemyKind::Turret, 3, 370, 15, 0, 2.45f},
                                           RangedCase{EnemyKind::Turret, 9, 370, 21, 0, 1.75f}));

TEST(RangedRules, AWindupFreezesWhileThePlayerIsOutOfRange) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    // At its left bound it turns away from the player, from exactly 700.
    Enemy& drone = addEnemy(game, EnemyKind::Drone, 110 + 700);
    drone.patrolMin = drone.pos.x;
    drone.windupTimer = 0.2f;
    run(game, Input{}, 60);
    EXPECT_FLOAT_EQ(drone.windupTimer, 0.2f);
    EXPECT_TRUE(game.projectiles.empty());
}

TEST(RangedRules, AFullProjectileListSwallowsTheShotButTheWindupIsSpent) {
    Game game = emptyWorld(0);
    placePlayer(game, 600, GROUND_Y - 64);
    Enemy& spitter = addEnemy(game, EnemyKind::Spitter, 900);
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
    Game game = emptyWorld(0);
    game.enemyShot({100, 100}, {130, 140}, 250, 9, 12, 30);
    ASSERT_EQ(game.projectiles.size(), 1u);
    const Projectile& shot = game.projectiles[0];
    EXPECT_TRUE(shot.alive);
    expectShot(shot, {100, 100}, {130, 140}, 250, 9, 12, 30);
    EXPECT_FLOAT_EQ(shot.life, 4);
    EXPECT_EQ(shot.dir, 1);
    EXPECT_EQ(shot.pierce, 1);
}

TEST(EnemyShot, ATargetOnTheMuzzleOrNotANumberFliesLeftAndTheListStopsAt149) {
    Game game = emptyWorld(0);
    game.enemyShot({100, 100}, {100, 100.0005f}, 200, 5, 10, 0);
    game.enemyShot({100, 100}, {std::nanf(""), 100}, 200, 5, 10, 0);
    ASSERT_EQ(game.projectiles.size(), 2u);
    for (const Projectile& shot : game.projectiles) {
        EXPECT_FLOAT_EQ(shot.vel.x, -200);
        EXPECT_FLOAT_EQ(shot.vel.y, 0);
        EXPECT_EQ(shot.dir, -1);
    }
    // A target 0.0012 away is far enough to aim at; a shot straight down counts as facing right.
    game.enemyShot({0, 0}, {0, 0.0012f}, 200, 5, 10, 0);
    EXPECT_FLOAT_EQ(game.projectiles.back().vel.y, 200);
    EXPECT_EQ(game.projectiles.back().dir, 1);
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
    Game g = test::sandbox(1);
    Enemy cart;
    cart.kind = EnemyKind::Cart;
    cart.size = {58, 38};
    cart.pos = cart.home = {700, GROUND_Y - 38};
    cart.patrolMin = 500;
    cart.patrolMax = 1000;
    cart.grounded = true;
    g.level.enemies = {cart};
    g.player.pos.x = 400;
    g.update(Input{}, test::STEP);
    const Enemy& e = g.level.enemies[0];
    ASSERT_GT(e.windupTimer, 0);
    EXPECT_FLOAT_EQ(e.pos.x, 700 - 48 * test::STEP);
    g.update(Input{}, test::STEP);
    EXPECT_FLOAT_EQ(e.vel.x, 0);

    Enemy caretaker = cart;
    caretaker.kind = EnemyKind::Caretaker;
    caretaker.size = {42, 78};
    caretaker.pos = {900, GROUND_Y - 78};
    caretaker.windupTimer = test::STEP / 2;
    caretaker.attackCooldown = 3;
    caretaker.aimPoint = {400, 400};
    g.level.enemies = {caretaker};
    g.update(Input{}, test::STEP);
    EXPECT_FLOAT_EQ(e.pos.x, 900 - 175 * test::STEP);

    caretaker.pos = {900, 300};
    caretaker.windupTimer = 0;
    caretaker.vel = {0, -100};
    g.level.enemies = {caretaker};
    g.player.pos.x = 700;
    g.player.facing = 1;
    g.player.flashlight = 5;
    g.update(Input{}, test::STEP);
    EXPECT_GT(e.stunTimer, 0);
    EXPECT_FLOAT_EQ(e.vel.y, 1500 * test::STEP);
}

} // namespace
} // namespace grumbo

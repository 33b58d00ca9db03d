// Enemy behaviours driven through whole game steps: stomps and contact
// damage, patrols, the caretaker's noise and light, the slender's teleport,
// the drone's bob, carts and the ranged shooters.
#include "game/game.h"

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

Vec2 sizeOf(EnemyKind kind) {
    switch (kind) {
    case EnemyKind::Slender:
        return {38, 100};
    case EnemyKind::Cat:
        return {42, 30};
    case EnemyKind::Letter:
        return {40, 44};
    case EnemyKind::Armored:
        return {50, 54};
    case EnemyKind::Drone:
        return {40, 34};
    case EnemyKind::Turret:
        return {48, 44};
    case EnemyKind::Cart:
        return {58, 38};
    case EnemyKind::Caretaker:
        return {42, 78};
    default:
        return {40, 54};
    }
}

// An enemy standing on the ground (a drone hovering at 230), patrolling
// 200 units either way, with every timer far from firing.
Enemy& addEnemy(Game& game, EnemyKind kind, float x) {
    Enemy e;
    e.kind = kind;
    e.size = sizeOf(kind);
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

const SoundEvent* findSound(const Game& game, Sound sound) {
    for (const SoundEvent& e : game.sounds) {
        if (e.sound == sound) {
            return &e;
        }
    }
    return nullptr;
}

int hostileShots(const Game& game) {
    return static_cast<int>(std::count_if(game.projectiles.begin(), game.projectiles.end(),
                                          [](const Projectile& p) { return p.hostile; }));
}

// Where the enemy's top will be after the next step: a drone moves along its
// bob, everything else rests where it stands.
float topNextStep(const Game& game, const Enemy& enemy) {
    if (enemy.kind != EnemyKind::Drone) {
        return enemy.pos.y;
    }
    return enemy.home.y + 40 * std::sin(2 * (game.levelTime + DT) + 0.01f * enemy.patrolMin);
}

void run(Game& game, const Input& input, int steps) {
    for (int i = 0; i < steps; ++i) {
        game.update(input, DT);
    }
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
        const SoundEvent* stomp = findSound(game, Sound::Stomp);
        ASSERT_NE(stomp, nullptr);
        EXPECT_FLOAT_EQ(stomp->x, game.player.pos.x);
        EXPECT_FLOAT_EQ(stomp->volume, 1.0f);
    } else {
        EXPECT_EQ(enemy.hp, 10);
        EXPECT_EQ(game.player.health, 100 - c.contactDamage);
        EXPECT_EQ(countSounds(game, Sound::Stomp), 0);
        EXPECT_EQ(countSounds(game, Sound::Hurt), 1);
    }
}

TEST_P(EnemyContact, RunningIntoTheBodyHurtsWithTheKindsDamage) {
    const ContactCase c = GetParam();
    Game game = emptyWorld(c.world);
    Enemy& enemy = addEnemy(game, c.kind, 700);
    const float y = c.kind == EnemyKind::Drone ? topNextStep(game, enemy) - 10 : GROUND_Y - 64;
    placePlayer(game, enemy.pos.x + 4, y);

    game.update(Input{}, DT);

    EXPECT_EQ(game.player.health, 100 - c.contactDamage);
    EXPECT_EQ(enemy.hp, 10);
    // Knocked away from the enemy's centre, which lies to the player's right.
    EXPECT_FLOAT_EQ(game.player.vel.x, -225);
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

TEST(EnemyContactRules, AStunnedEnemyDoesNoContactDamageButCanStillBeStomped) {
    Game game = emptyWorld(0);
    Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 700);
    zombie.stunTimer = 1;
    placePlayer(game, 704, GROUND_Y - 64);
    run(game, Input{}, 10);
    EXPECT_EQ(game.player.health, 100);

    placePlayer(game, zombie.pos.x, zombie.pos.y + 5 - 64, {0, 300});
    game.update(Input{}, DT);
    EXPECT_EQ(zombie.hp, 7);
}

TEST(EnemyContactRules, ASlowRiseThroughAnEnemyIsNotAStomp) {
    Game game = emptyWorld(0);
    Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 700);
    placePlayer(game, zombie.pos.x, zombie.pos.y + 5 - 64, {0, 40});
    game.update(Input{}, DT);
    EXPECT_EQ(zombie.hp, 10);
    EXPECT_EQ(game.player.health, 85);
}

// ---------------------------------------------------------------------------
// Patrols, activity range and falling.

TEST(EnemyPatrol, TurnsAtEitherBoundAndNeverLeavesItsRange) {
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

    run(game, Input{}, 120 * 30);
    for (const Enemy& e : game.level.enemies) {
        EXPECT_GE(e.pos.x, e.patrolMin);
        EXPECT_LE(e.pos.x, e.patrolMax - e.size.x);
    }
}

TEST(EnemyPatrol, PatrolSpeedGrowsWithTheTierAndZombiesChaseANearPlayer) {
    Game game = emptyWorld(9);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 900);
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(game.level.enemies[0].vel.x, -(48 + 6 * 3));

    placePlayer(game, game.level.enemies[0].pos.x + 150, GROUND_Y - 64);
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(zombie.vel.x, 70);
    EXPECT_EQ(zombie.facing, 1);
}

TEST(EnemyPatrol, FarEnemiesOnlyKeepTime) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 110 + 960 + 520);
    zombie.slowTimer = 1;
    const Vec2 before = zombie.pos;
    run(game, Input{}, 12);
    EXPECT_FLOAT_EQ(zombie.pos.x, before.x);
    EXPECT_FLOAT_EQ(zombie.pos.y, before.y);
    EXPECT_NEAR(zombie.slowTimer, 0.9f, 1e-4);
    EXPECT_NEAR(zombie.actionTimer, 50 - 0.1f, 1e-4);
}

TEST(EnemyPatrol, AnEnemyOverAPitFallsOutSilently) {
    Game game = emptyWorld(0);
    placePlayer(game, 1200, GROUND_Y - 64);
    Enemy& zombie = addEnemy(game, EnemyKind::Zombie, 1400);
    zombie.patrolMin = 1390;
    zombie.patrolMax = 1460;
    run(game, Input{}, 120);
    EXPECT_FALSE(zombie.alive);
    EXPECT_EQ(game.subscribers, 0);
    EXPECT_EQ(countSounds(game, Sound::EnemyDefeated), 0);
}

TEST(EnemyHops, ASlowedCatHopsAtFullHeightButWalksSlower) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& cat = addEnemy(game, EnemyKind::Cat, 900);
    cat.actionTimer = 0;
    cat.slowTimer = 2;
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(cat.vel.y, -300 + 1500 * DT);
    EXPECT_FLOAT_EQ(cat.vel.x, -100 * 0.45f);
    EXPECT_FLOAT_EQ(cat.actionTimer, 2.4f);
    // Airborne, it cannot hop again until it lands.
    cat.actionTimer = 0;
    game.update(Input{}, DT);
    EXPECT_GT(cat.vel.y, -300 + 1500 * DT);
}

TEST(EnemyHops, LettersAndMimicsHopWithTheirOwnStrength) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& letter = addEnemy(game, EnemyKind::Letter, 900);
    letter.actionTimer = 0;
    Enemy& mimic = addEnemy(game, EnemyKind::Mimic, 1200);
    mimic.actionTimer = 0;
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(game.level.enemies[0].vel.y, -220 + 1500 * DT);
    EXPECT_FLOAT_EQ(game.level.enemies[1].vel.y, -360 + 1500 * DT);
}

// ---------------------------------------------------------------------------
// The caretaker: noise wakes it, light freezes it.

struct CaretakerScene {
    Game game = emptyWorld(2);
    Enemy* caretaker = nullptr;

    CaretakerScene() {
        placePlayer(game, 700, GROUND_Y - 64);
        caretaker = &addEnemy(game, EnemyKind::Caretaker, 1000);
        caretaker->attackCooldown = 0;
    }
};

TEST(Caretaker, AQuietPlayerIsNotHeard) {
    CaretakerScene s;
    run(s.game, Input{}, 120);
    EXPECT_EQ(countSounds(s.game, Sound::HazardWarning), 0);
    EXPECT_FLOAT_EQ(s.caretaker->windupTimer, 0);
    EXPECT_FLOAT_EQ(s.caretaker->chaseTimer, 0);
}

TEST(Caretaker, RunningWakesItWithAWarningThenItChasesWhereThePlayerWas) {
    CaretakerScene s;
    Input run_right;
    run_right.right = true;
    int steps = 0;
    while (countSounds(s.game, Sound::HazardWarning) == 0 && steps < 60) {
        s.game.update(run_right, DT);
        ++steps;
    }
    ASSERT_EQ(countSounds(s.game, Sound::HazardWarning), 1);
    // Heard only once the run is faster than a walk.
    EXPECT_GT(std::fabs(s.game.player.vel.x), 120);
    const SoundEvent* warning = findSound(s.game, Sound::HazardWarning);
    EXPECT_FLOAT_EQ(warning->x, s.caretaker->pos.x);
    EXPECT_FLOAT_EQ(warning->volume, 0.6f);
    EXPECT_NEAR(s.caretaker->attackCooldown, 3.0f, 1e-4);
    EXPECT_GT(s.caretaker->windupTimer, 0.6f);

    // It stands still through the 0.7 s warning.
    const float warnedAt = s.caretaker->pos.x;
    int windupSteps = 0;
    while (s.caretaker->windupTimer > 0) {
        s.game.update(Input{}, DT);
        EXPECT_FLOAT_EQ(s.caretaker->pos.x, warnedAt);
        ++windupSteps;
    }
    EXPECT_NEAR(windupSteps, 84, 1);
    EXPECT_EQ(s.caretaker->facing, -1);
    EXPECT_GT(s.caretaker->chaseTimer, 1.0f);

    s.game.update(Input{}, DT);
    EXPECT_NEAR(s.caretaker->pos.x, warnedAt - 175 * DT, 1e-3);
}

TEST(Caretaker, JumpingOrFiringIsNoiseTooButDistanceMutesIt) {
    {
        CaretakerScene s;
        Input jump;
        jump.jumpPressed = true;
        jump.jumpHeld = true;
        run(s.game, jump, 2);
        EXPECT_EQ(countSounds(s.game, Sound::HazardWarning), 1);
    }
    {
        CaretakerScene s;
        Input fire;
        fire.fireHeld = true;
        run(s.game, fire, 2);
        EXPECT_EQ(countSounds(s.game, Sound::HazardWarning), 1);
    }
    {
        CaretakerScene s;
        s.caretaker->pos.x = 700 + 490;
        s.caretaker->patrolMax = 1500;
        Input fire;
        fire.fireHeld = true;
        run(s.game, fire, 2);
        EXPECT_EQ(countSounds(s.game, Sound::HazardWarning), 0);
    }
}

TEST(Caretaker, TheFlashlightStunsItOnlyWhenShoneAtIt) {
    CaretakerScene s;
    s.caretaker->pos.x = 900;
    s.caretaker->windupTimer = 0.5f;
    s.game.player.flashlight = 10;
    const std::size_t particlesBefore = s.game.particles.size();

    s.game.update(Input{}, DT);
    EXPECT_GT(s.caretaker->stunTimer, 0);
    EXPECT_FLOAT_EQ(s.caretaker->windupTimer, 0) << "the light cancels a warning in progress";
    EXPECT_GE(s.caretaker->attackCooldown, 0.6f);
    const auto pale =
        std::count_if(s.game.particles.begin() + static_cast<long>(particlesBefore), s.game.particles.end(),
                      [](const Particle& p) { return p.color == 0xFFFFEDABu; });
    EXPECT_EQ(pale, 10);

    // Kept in the light it neither wakes up nor puffs again, even while the
    // player makes noise (0.25 s: the first puff is still in the air).
    Input fire;
    fire.fireHeld = true;
    run(s.game, fire, 30);
    EXPECT_EQ(countSounds(s.game, Sound::HazardWarning), 0);
    EXPECT_FLOAT_EQ(s.caretaker->pos.x, 900);
    EXPECT_EQ(std::count_if(s.game.particles.begin(), s.game.particles.end(),
                            [](const Particle& p) { return p.color == 0xFFFFEDABu; }),
              10);
}

TEST(Caretaker, LightBehindThePlayerOrOutOfReachDoesNothing) {
    {
        CaretakerScene s;
        s.caretaker->pos.x = 900;
        s.caretaker->windupTimer = 0.5f;
        s.game.player.flashlight = 10;
        s.game.player.facing = -1;
        s.game.update(Input{}, DT);
        EXPECT_FLOAT_EQ(s.caretaker->stunTimer, 0);
        EXPECT_GT(s.caretaker->windupTimer, 0);
    }
    {
        CaretakerScene s;
        s.caretaker->pos.x = 700 + 21 + 262 - 21;
        s.game.player.flashlight = 10;
        s.game.update(Input{}, DT);
        EXPECT_FLOAT_EQ(s.caretaker->stunTimer, 0);
    }
}

TEST(Caretaker, AStunnedCaretakerCanBeWalkedThrough) {
    CaretakerScene s;
    s.caretaker->pos.x = 730;
    s.game.player.flashlight = 10;
    run(s.game, Input{}, 30);
    EXPECT_EQ(s.game.player.health, 100);
}

// ---------------------------------------------------------------------------
// The slender teleports ahead of the player, but only onto solid ground.

TEST(Slender, TeleportsAheadOfThePlayerOntoGround) {
    Game game = emptyWorld(2);
    placePlayer(game, 400, GROUND_Y - 64);
    Enemy& slender = addEnemy(game, EnemyKind::Slender, 900);
    slender.patrolMin = 300;
    slender.patrolMax = 1300;
    slender.actionTimer = DT / 2;
    game.update(Input{}, DT);
    EXPECT_NEAR(slender.pos.x, 630 - 28 * DT, 1e-3);
    EXPECT_FLOAT_EQ(slender.actionTimer, 4.2f);
    EXPECT_EQ(std::count_if(game.particles.begin(), game.particles.end(),
                            [](const Particle& p) { return p.color == 0xFF9D8ABCu; }),
              24);
}

TEST(Slender, FacingLeftItAppearsBehind) {
    Game game = emptyWorld(2);
    placePlayer(game, 900, GROUND_Y - 64);
    game.player.facing = -1;
    Enemy& slender = addEnemy(game, EnemyKind::Slender, 1100);
    slender.patrolMin = 300;
    slender.actionTimer = 0;
    game.update(Input{}, DT);
    EXPECT_NEAR(slender.pos.x, 670, 1);
}

TEST(Slender, NoTeleportOverAPitOrNextToThePlayerButTheWaitRestarts) {
    // The target 1110 + 230 = 1340 would hang over the pit at 1370.
    Game pit = emptyWorld(2);
    placePlayer(pit, 1110, GROUND_Y - 64);
    Enemy& a = addEnemy(pit, EnemyKind::Slender, 800);
    a.patrolMax = 1700;
    a.actionTimer = 0;
    pit.update(Input{}, DT);
    EXPECT_LT(a.pos.x, 801);
    EXPECT_FLOAT_EQ(a.actionTimer, 4.2f);

    // The patrol range clamps the target to 712, within 125 of the player.
    Game close = emptyWorld(2);
    placePlayer(close, 600, GROUND_Y - 64);
    Enemy& b = addEnemy(close, EnemyKind::Slender, 400);
    b.patrolMin = 300;
    b.patrolMax = 750;
    b.actionTimer = 0;
    close.update(Input{}, DT);
    EXPECT_LT(b.pos.x, 401);
    EXPECT_FLOAT_EQ(b.actionTimer, 4.2f);
    EXPECT_TRUE(close.particles.empty());
}

// ---------------------------------------------------------------------------
// The drone hovers on a bob and never lands.

TEST(Drone, BobsFortyUnitsAroundItsHomeAndNeverLands) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& drone = addEnemy(game, EnemyKind::Drone, 900);
    float lowest = 1e9f;
    float highest = -1e9f;
    for (int i = 0; i < 120 * 4; ++i) {
        game.update(Input{}, DT);
        ASSERT_TRUE(drone.alive);
        ASSERT_FALSE(drone.grounded);
        const float expected = 230 + 40 * std::sin(2 * game.levelTime + 0.01f * drone.patrolMin);
        ASSERT_NEAR(drone.pos.y, expected, 1e-3);
        lowest = std::min(lowest, drone.pos.y);
        highest = std::max(highest, drone.pos.y);
    }
    EXPECT_NEAR(lowest, 190, 0.5);
    EXPECT_NEAR(highest, 270, 0.5);
}

TEST(Drone, AnEnemyOverAPitFallsButADroneDoesNot) {
    Game game = emptyWorld(0);
    placePlayer(game, 1200, GROUND_Y - 64);
    Enemy& drone = addEnemy(game, EnemyKind::Drone, 1400);
    drone.patrolMin = 1390;
    drone.patrolMax = 1460;
    run(game, Input{}, 240);
    EXPECT_TRUE(drone.alive);
    EXPECT_LT(drone.pos.y, 300);
}

// ---------------------------------------------------------------------------
// Carts wind up, then rush.

TEST(Cart, WindsUpStandingStillThenRushesAtTheAimPoint) {
    Game game = emptyWorld(3);
    placePlayer(game, 600, GROUND_Y - 64);
    Enemy& cart = addEnemy(game, EnemyKind::Cart, 1000);
    cart.attackCooldown = 0;
    game.update(Input{}, DT);
    EXPECT_NEAR(cart.windupTimer, 0.45f, 1e-4);
    EXPECT_NEAR(cart.attackCooldown, 2.6f, 1e-4);
    EXPECT_FLOAT_EQ(cart.aimPoint.x, 621);

    const float x = cart.pos.x;
    while (cart.windupTimer > 0) {
        game.update(Input{}, DT);
        if (cart.windupTimer > 0) {
            EXPECT_FLOAT_EQ(cart.pos.x, x);
        }
    }
    EXPECT_EQ(cart.facing, -1);
    const float rushStart = cart.pos.x;
    run(game, Input{}, 12);
    EXPECT_NEAR(cart.pos.x, rushStart - 12 * 200 * DT, 1.0);
}

TEST(Cart, IgnoresAPlayerBeyondItsTriggerRange) {
    Game game = emptyWorld(0);
    placePlayer(game, 500, GROUND_Y - 64);
    Enemy& cart = addEnemy(game, EnemyKind::Cart, 950);
    cart.attackCooldown = 0;
    game.update(Input{}, DT);
    EXPECT_FLOAT_EQ(cart.windupTimer, 0);
}

// ---------------------------------------------------------------------------
// Ranged shooters and their shots.

TEST(Ranged, ASpitterWindsUpThenLobsAnArcingShotAtWhereThePlayerWas) {
    Game game = emptyWorld(0);
    placePlayer(game, 600, GROUND_Y - 64);
    Enemy& spitter = addEnemy(game, EnemyKind::Spitter, 900);
    spitter.attackCooldown = 0;
    game.update(Input{}, DT);
    EXPECT_NEAR(spitter.windupTimer, 0.48f, 1e-4);
    EXPECT_NEAR(spitter.attackCooldown, 2.8f, 1e-4);
    int steps = 1;
    while (hostileShots(game) == 0 && steps < 200) {
        game.update(Input{}, DT);
        ++steps;
    }
    EXPECT_NEAR(steps, 58, 1);
    ASSERT_EQ(hostileShots(game), 1);
    const Projectile& shot = game.projectiles.back();
    EXPECT_EQ(shot.damage, 12);
    EXPECT_FLOAT_EQ(shot.size.x, 17);
    EXPECT_FLOAT_EQ(shot.gravity, 100);
    EXPECT_EQ(shot.dir, -1);
    EXPECT_LT(shot.vel.x, 0);
}

TEST(Ranged, TougherTurretsFireASecondHigherShot) {
    for (const int world : {0, 3}) {
        Game game = emptyWorld(world);
        placePlayer(game, 600, GROUND_Y - 64);
        Enemy& turret = addEnemy(game, EnemyKind::Turret, 900);
        turret.attackCooldown = 0;
        run(game, Input{}, 60);
        EXPECT_FLOAT_EQ(turret.pos.x, 900) << "turrets never move";
        EXPECT_EQ(hostileShots(game), world == 0 ? 1 : 2);
        const float cooldown = std::max(1.25f, 2.8f - 0.35f * static_cast<float>(world / 3));
        EXPECT_NEAR(turret.attackCooldown, cooldown - 59 * DT, 1e-3);
    }
}

TEST(Ranged, AWindupFreezesWhileThePlayerIsOutOfRange) {
    Game game = emptyWorld(0);
    placePlayer(game, 110, GROUND_Y - 64);
    Enemy& drone = addEnemy(game, EnemyKind::Drone, 110 + 750);
    drone.windupTimer = 0.2f;
    run(game, Input{}, 60);
    EXPECT_FLOAT_EQ(drone.windupTimer, 0.2f);
    EXPECT_EQ(hostileShots(game), 0);
}

TEST(Ranged, AFullProjectileListSwallowsTheShotButTheWindupIsSpent) {
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
    EXPECT_EQ(hostileShots(game), 0);
    EXPECT_EQ(game.projectiles.size(), 150u);
    EXPECT_FLOAT_EQ(spitter.windupTimer, 0);
}

TEST(EnemyShot, FliesFromTheMuzzleTowardTheTargetAtTheGivenSpeed) {
    Game game = emptyWorld(0);
    game.enemyShot({100, 100}, {130, 140}, 250, 9, 12, 30);
    ASSERT_EQ(game.projectiles.size(), 1u);
    const Projectile& shot = game.projectiles[0];
    EXPECT_TRUE(shot.hostile);
    EXPECT_TRUE(shot.alive);
    EXPECT_EQ(shot.weapon, GiftedSubs);
    EXPECT_FLOAT_EQ(shot.pos.x, 100);
    EXPECT_FLOAT_EQ(shot.vel.x, 150);
    EXPECT_FLOAT_EQ(shot.vel.y, 200);
    EXPECT_FLOAT_EQ(shot.life, 4);
    EXPECT_FLOAT_EQ(shot.size.y, 12);
    EXPECT_EQ(shot.damage, 9);
    EXPECT_EQ(shot.dir, 1);
    EXPECT_EQ(shot.pierce, 1);
    EXPECT_FLOAT_EQ(shot.gravity, 30);
}

TEST(EnemyShot, ATargetOnTheMuzzleOrNotANumberFliesLeftAndTheListStopsAt149) {
    Game game = emptyWorld(0);
    game.enemyShot({100, 100}, {100, 100.0005f}, 200, 5, 10, 0);
    ASSERT_EQ(game.projectiles.size(), 1u);
    EXPECT_FLOAT_EQ(game.projectiles[0].vel.x, -200);
    EXPECT_FLOAT_EQ(game.projectiles[0].vel.y, 0);
    EXPECT_EQ(game.projectiles[0].dir, -1);

    game.enemyShot({100, 100}, {std::nanf(""), 100}, 200, 5, 10, 0);
    ASSERT_EQ(game.projectiles.size(), 2u);
    EXPECT_FLOAT_EQ(game.projectiles[1].vel.x, -200);
    EXPECT_FLOAT_EQ(game.projectiles[1].vel.y, 0);

    game.projectiles.resize(149);
    game.enemyShot({0, 0}, {1, 0}, 200, 5, 10, 0);
    EXPECT_EQ(game.projectiles.size(), 150u);
    game.enemyShot({0, 0}, {1, 0}, 200, 5, 10, 0);
    EXPECT_EQ(game.projectiles.size(), 150u);
}

} // namespace
} // namespace grumbo

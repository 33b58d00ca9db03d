// Firing, projectile flight and hits, and damage to enemies and bosses.
#include "game/game.h"
#include "game_test_support.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <tuple>

namespace grumbo {
namespace {

using namespace test;

Enemy makeEnemy(EnemyKind kind, float x, int hp) {
    Enemy e;
    e.kind = kind;
    e.pos = {x, GROUND_Y - 60};
    e.size = {40, 60};
    e.home = e.pos;
    e.patrolMin = x - 50;
    e.patrolMax = x + 50;
    e.hp = e.maxHp = hp;
    return e;
}

Enemy makeBoss(float x, int hp) {
    Enemy boss = makeEnemy(EnemyKind::Boss, x, hp);
    boss.size = {108, 126};
    boss.pos.y = GROUND_Y - 126;
    boss.attackCooldown = 2;
    return boss;
}

// A harmless player shot parked far from everything, to fill the list.
Projectile parkedShot(float life = 100) {
    Projectile p;
    p.pos = {3000, 100};
    p.size = {10, 10};
    p.life = life;
    return p;
}

Projectile hostileShot(Vec2 at, int damage) {
    Projectile p;
    p.pos = at;
    p.size = {17, 17};
    p.life = 4;
    p.damage = damage;
    p.hostile = true;
    return p;
}

void fly(Game& g, float seconds) {
    for (int i = 0; i < static_cast<int>(std::lround(seconds / DT)); ++i) {
        g.updateProjectiles(DT);
    }
}

float angleOf(const Projectile& p) {
    return std::atan2(p.vel.y, p.vel.x);
}

TEST(Firing, EachWeaponFiresItsShotsDamageAndCooldown) {
    struct Row {
        Weapon weapon;
        size_t shots;
        float speed, life, w, h;
        int damage, powered;
        float cooldown;
        int pierce;
        float gravity;
        int bounces;
        float blast, slow;
    };
    const Row rows[] = {
        {GiftedSubs, 1, 700, 3.2f, 22, 22, 2, 3, 0.28f, 1, 0, 0, 0, 0},
        {IpAddresses, 1, 890, 2.5f, 33, 12, 2, 3, 0.23f, 1, 0, 0, 0, 0},
        {WaterSlides, 1, 480, 2.0f, 48, 32, 4, 6, 0.65f, 1, 0, 0, 0, 0},
        {FidgetSpinners, 1, 720, 2.5f, 26, 26, 1, 2, 0.16f, 1, 0, 0, 0, 0},
        {BanHammer, 1, 250, 0.18f, 64, 64, 9, 13, 0.45f, 1, 0, 0, 0, 0},
        {RaidRocket, 1, 420, 2.5f, 38, 24, 10, 15, 0.8f, 1, 0, 0, 130, 0},
        {SnackShotgun, 5, 720, 1.15f, 15, 15, 2, 3, 0.55f, 1, 0, 0, 0, 0},
        {RgbLaser, 1, 1800, 0.8f, 76, 10, 4, 6, 0.2f, 3, 0, 0, 0, 0},
        {ReceiptCannon, 3, 760, 2.7f, 30, 14, 4, 6, 0.38f, 1, 0, 0, 0, 2.5f},
        {OneByOne, 1, 620, 5.0f, 34, 34, 12, 18, 0.6f, 3, 650, 4, 0, 0},
    };
    for (const Row& row : rows) {
        for (bool powered : {false, true}) {
            SCOPED_TRACE(testing::Message() << Game::weaponName(row.weapon) << (powered ? " powered" : ""));
            Game g = sandbox();
            g.player.weapon = row.weapon;
            g.player.powerUp = powered ? 5 : 0;
            g.shoot(Input{});
            ASSERT_EQ(g.projectiles.size(), row.shots);
            // An unaimed centre shot flies straight ahead at the weapon's speed,
            // from the muzzle in front of the chest (the hammer from above the shoulder).
            EXPECT_FLOAT_EQ(g.projectiles[row.shots / 2].vel.x, row.speed);
            EXPECT_FLOAT_EQ(g.projectiles[row.shots / 2].pos.y,
                            g.player.pos.y + (row.weapon == BanHammer ? 2 : 24));
            for (const Projectile& p : g.projectiles) {
                EXPECT_EQ(p.weapon, row.weapon);
                EXPECT_FLOAT_EQ(std::hypot(p.vel.x, p.vel.y),
                                row.weapon == OneByOne ? std::hypot(620.0f, 160.0f) : row.speed);
                EXPECT_FLOAT_EQ(p.life, row.life);
                expectAt(p.size, row.w, row.h);
                EXPECT_EQ(p.damage, powered ? row.powered : row.damage);
                EXPECT_EQ(p.pierce, row.pierce);
                EXPECT_FLOAT_EQ(p.gravity, row.gravity);
                EXPECT_EQ(p.bounces, row.bounces);
                EXPECT_FLOAT_EQ(p.blastRadius, row.blast);
                EXPECT_FLOAT_EQ(p.slowOnHit, row.slow);
                EXPECT_FALSE(p.hostile);
                EXPECT_EQ(p.dir, 1);
            }
            EXPECT_FLOAT_EQ(g.fireCooldown, row.cooldown);
            ASSERT_EQ(g.sounds.size(), 1u);
            EXPECT_EQ(g.sounds[0].sound, Sound::Shoot);
            EXPECT_EQ(g.sounds[0].weapon, row.weapon);
            EXPECT_FLOAT_EQ(g.sounds[0].volume, 0.65f);
        }
    }
}

TEST(Firing, MuzzleSitsInFrontOfThePlayerAndTheHammerSwingsHigh) {
    Game g = sandbox();
    const Vec2 at = g.player.pos;
    g.shoot(Input{});
    expectAt(g.projectiles[0].pos, at.x + 42, at.y + 24);
    EXPECT_FLOAT_EQ(g.projectiles[0].vel.x, 700);

    g.projectiles.clear();
    g.player.facing = -1;
    g.player.weapon = BanHammer;
    g.shoot(Input{});
    expectAt(g.projectiles[0].pos, at.x - 23, at.y + 2);
    EXPECT_FLOAT_EQ(g.projectiles[0].vel.x, -250);
    EXPECT_EQ(g.projectiles[0].dir, -1);
    EXPECT_FLOAT_EQ(g.projectiles[0].life, 0.18f);
}

TEST(Firing, ShotgunFansFivePelletsAroundTheFacingAndAimedReceiptsAroundTheAimPoint) {
    for (int facing : {1, -1}) {
        Game g = sandbox();
        g.player.facing = facing;
        g.player.weapon = SnackShotgun;
        g.shoot(Input{});
        ASSERT_EQ(g.projectiles.size(), 5u);
        const float base = facing > 0 ? 0 : std::numbers::pi_v<float>;
        for (int k = -2; k <= 2; ++k) {
            const Projectile& p = g.projectiles[k + 2];
            EXPECT_NEAR(std::hypot(p.vel.x, p.vel.y), 720, 0.01);
            const float expected = std::remainder(base + 0.115f * k, 2 * std::numbers::pi_v<float>);
            EXPECT_NEAR(std::remainder(angleOf(p) - expected, 2 * std::numbers::pi_v<float>), 0, 1e-4);
        }
        // The unaimed centre pellet flies dead level.
        expectAt(g.projectiles[2].vel, facing * 720.0f, 0);
    }

    Game g = sandbox();
    g.player.weapon = ReceiptCannon;
    const Vec2 muzzle{g.player.pos.x + 42 + 15, g.player.pos.y + 24 + 7};
    g.shoot(aimAt({muzzle.x + 200, muzzle.y - 200}));
    ASSERT_EQ(g.projectiles.size(), 3u);
    const float aim = -std::numbers::pi_v<float> / 4;
    EXPECT_NEAR(angleOf(g.projectiles[0]), aim - 0.115f, 1e-4);
    EXPECT_NEAR(angleOf(g.projectiles[1]), aim, 1e-4);
    EXPECT_NEAR(angleOf(g.projectiles[2]), aim + 0.115f, 1e-4);
}

TEST(Firing, AimCloserThan48OrUnmappedFiresStraightAhead) {
    Game g = sandbox();
    const Vec2 centre{g.player.pos.x + 42 + 11, g.player.pos.y + 24 + 11};
    g.shoot(aimAt({centre.x + 30, centre.y - 30}));
    g.shoot(aimAt({NAN, centre.y}));
    g.shoot(aimAt({centre.x, INFINITY}));
    for (const Projectile& p : g.projectiles) {
        expectAt(p.vel, 700, 0);
    }
    // 48.5 away is far enough to aim.
    g.projectiles.clear();
    g.shoot(aimAt({centre.x + 29.1f, centre.y - 38.8f}));
    EXPECT_NEAR(g.projectiles[0].vel.y, -0.8f * 700, 0.01);
    // Aiming behind the player turns the shot around without turning the player.
    g.projectiles.clear();
    g.shoot(aimAt({centre.x - 300, centre.y}));
    EXPECT_NEAR(g.projectiles[0].vel.x, -700, 1e-3);

    // The brick is lobbed unless aimed; a weapon number past the table fires the brick too.
    g.projectiles.clear();
    g.player.weapon = static_cast<Weapon>(12);
    g.shoot(Input{});
    EXPECT_EQ(g.projectiles[0].weapon, OneByOne);
    expectAt(g.projectiles[0].vel, 620, -160);
    EXPECT_FLOAT_EQ(g.projectiles[0].gravity, 650);

    g.projectiles.clear();
    g.shoot(aimAt({g.player.pos.x + 500, g.player.pos.y + 41}));
    EXPECT_NEAR(g.projectiles[0].vel.x, 620, 1e-3);
    EXPECT_NEAR(g.projectiles[0].vel.y, 0, 1e-3);
}

TEST(ProjectileCap, TheShotgunAt139StillFiresAllFivePelletsButAt140NothingFires) {
    Game g = sandbox();
    g.player.weapon = SnackShotgun;
    g.projectiles.assign(139, parkedShot());
    g.update(holdFire(), DT);
    EXPECT_EQ(g.projectiles.size(), 144u);
    EXPECT_EQ(countSounds(g, Sound::Shoot), 1);

    // At 140 nothing fires and the trigger waits.
    g = sandbox();
    g.projectiles.assign(140, parkedShot());
    g.update(holdFire(), DT);
    EXPECT_EQ(g.projectiles.size(), 140u);
    EXPECT_EQ(countSounds(g, Sound::Shoot), 0);
    EXPECT_FLOAT_EQ(g.fireCooldown, 0.1f);
    g.fireCooldown = 0;
    g.shoot(Input{});
    EXPECT_EQ(g.projectiles.size(), 140u);
    EXPECT_FLOAT_EQ(g.fireCooldown, 0.1f);
}

TEST(ProjectileCap, UpdateKeepsTheNewest160) {
    Game g = sandbox();
    for (int i = 0; i < 170; ++i) {
        g.projectiles.push_back(parkedShot(100 + static_cast<float>(i)));
    }
    g.updateProjectiles(DT);
    ASSERT_EQ(g.projectiles.size(), 160u);
    EXPECT_FLOAT_EQ(g.projectiles.front().life, 110 - DT);
    EXPECT_FLOAT_EQ(g.projectiles.back().life, 269 - DT);
}

TEST(ProjectileFlight, LeavingTheWorldOrRunningOutRemovesAShot) {
    Game g = sandbox();
    const float L = g.level.length;
    // An enemy's arcing shot falls through platforms; only the brick bounces.
    Projectile arc = hostileShot({3000, GROUND_Y - 30}, 5);
    arc.vel.y = 200;
    arc.gravity = 100;
    g.projectiles = {parkedShot(), arc};
    // Spent, or leaving by the left, the bottom, the top or the right: gone. Just inside the
    // side margins a shot lives on.
    using Row = std::tuple<float, float, float, float, float>;
    for (const auto& [x, y, vx, vy, life] :
         {Row{3000, 100, 0, 0, DT / 2}, Row{-99, 100, -240, 0, 100}, Row{3000, 639, 0, 240, 100},
          Row{3000, -149, 0, -240, 100}, Row{L + 99, 100, 240, 0, 100}, Row{-99.5f, 100, 0, 0, 100},
          Row{L + 99.5f, 100, 0, 0, 100}}) {
        Projectile p = parkedShot(life);
        p.pos = {x, y};
        p.vel = {vx, vy};
        g.projectiles.push_back(p);
    }
    g.updateProjectiles(DT);
    ASSERT_EQ(g.projectiles.size(), 4u);
    g.projectiles.resize(2);
    EXPECT_FLOAT_EQ(g.projectiles[0].pos.x, 3000);
    fly(g, 0.3f);
    EXPECT_GT(g.projectiles[1].pos.y, GROUND_Y);
}

TEST(ProjectileFlight, SpinnersSpinFasterAndWaterLeavesATrail) {
    Game g = sandbox();
    g.player.weapon = FidgetSpinners;
    g.shoot(Input{});
    g.player.weapon = WaterSlides;
    g.shoot(Input{});
    fly(g, 0.5f);
    ASSERT_EQ(g.projectiles.size(), 2u);
    EXPECT_NEAR(g.projectiles[0].spin, 12, 0.01);
    EXPECT_NEAR(g.projectiles[1].spin, 2.5, 0.01);

    // Each step of a water shot draws once, and below 0.45 a second time for
    // a drop that trails behind it.
    g.particles.clear();
    Lcg lcg{g.rng};
    for (int step = 0; step < 20 && g.particles.empty(); ++step) {
        const Projectile water = g.projectiles[1];
        const float r = lcg.next();
        g.updateProjectiles(DT);
        ASSERT_EQ(g.particles.size(), r < 0.45f ? 1u : 0u);
        if (r >= 0.45f) {
            continue;
        }
        const Particle& drop = g.particles[0];
        expectAt(drop.pos, water.pos.x + water.vel.x * DT + 20, water.pos.y + 14);
        expectAt(drop.vel, -70, 40 * lcg.next() - 25);
        EXPECT_FLOAT_EQ(drop.life, 0.25f);
        EXPECT_FLOAT_EQ(drop.maxLife, 0.25f);
        EXPECT_FLOAT_EQ(drop.size, 7);
        EXPECT_EQ(drop.kind, 3);
    }
    EXPECT_EQ(g.particles.size(), 1u);
}

TEST(Particles, BurstsDrawFourNumbersEachAndDriftOrFallByKind) {
    for (int kind : {0, 1, 2, 3}) {
        SCOPED_TRACE(kind);
        Game g = sandbox();
        Lcg lcg{g.rng};
        g.burst({100, 200}, 3, 0xff123456u, kind);
        g.burst({0, 0}, 0, 0, kind);
        ASSERT_EQ(g.particles.size(), 3u);
        for (const Particle& p : g.particles) {
            const float r1 = lcg.next(), r2 = lcg.next(), r3 = lcg.next(), r4 = lcg.next();
            EXPECT_FLOAT_EQ(p.pos.x, 100);
            expectAt(p.vel, 220 * r1 - 110, 200 * r2 - 165);
            EXPECT_FLOAT_EQ(p.life, 0.35f + 0.55f * r3);
            EXPECT_FLOAT_EQ(p.maxLife, p.life);
            EXPECT_FLOAT_EQ(p.size, kind == 0 ? 12 + 15 * r4 : 4 + 6 * r4);
            EXPECT_EQ(p.color, 0xff123456u);
        }
        // Clouds and trails slow down, rise and swell; sparks and bursts fall.
        const Particle before = g.particles[0];
        const float dt = 0.1f;
        g.updateParticles(dt);
        const Particle& p = g.particles[0];
        const bool floats = kind == 0 || kind == 3;
        EXPECT_FLOAT_EQ(p.life, before.life - dt);
        expectAt(p.pos, 100 + before.vel.x * dt, 200 + before.vel.y * dt);
        expectAt(p.vel, floats ? before.vel.x * 0.75f : before.vel.x, before.vel.y + (floats ? -5.5f : 40));
        EXPECT_FLOAT_EQ(p.size, before.size + (floats ? 1.4f : 0));
    }
}

// Every event bursts its own number of particles of its own colour and kind
// at its own place.
TEST(Particles, EachEventBurstsItsCountColourAndKindInItsPlace) {
    Game g = sandbox();
    const auto expectBurst = [&](std::size_t before, std::size_t count, unsigned colour, int kind, Vec2 at) {
        ASSERT_GE(g.particles.size(), before + count);
        for (std::size_t i = before; i < before + count; ++i) {
            EXPECT_EQ(g.particles[i].color, colour);
            EXPECT_EQ(g.particles[i].kind, kind);
            expectAt(g.particles[i].pos, at.x, at.y);
        }
    };
    const Vec2 p = g.player.pos;
    std::size_t n = g.particles.size();
    g.player.shield = 5;
    g.damagePlayer(8, p.x + 100);
    expectBurst(n, 12, 0xff79dfffu, 1, {p.x + 21, p.y + 30});
    expectBurst(n + 12, 10, 0xffff9168u, 1, {p.x + 21, p.y + 30});
    EXPECT_EQ(g.particles.size(), n + 22);

    g.level.enemies = {makeEnemy(EnemyKind::Zombie, 400, 2), makeBoss(800, 30)};
    Enemy& zombie = g.level.enemies[0];
    n = g.particles.size();
    g.damageEnemy(zombie, 1);
    expectBurst(n, 5, 0xffffdc7au, 1, {420, GROUND_Y - 30});
    g.damageEnemy(zombie, 1);
    expectBurst(n + 5, 5, 0xffffdc7au, 1, {420, GROUND_Y - 30});
    expectBurst(n + 10, 20, 0xff75e7cbu, 2, {420, GROUND_Y - 30});

    Enemy& boss = g.level.enemies[1];
    for (const auto& [hit, colour] : {std::pair{10, 0xffbd86ffu}, std::pair{10, 0xffff8877u}}) {
        n = g.particles.size();
        g.damageEnemy(boss, hit);
        expectBurst(n + 5, 25, colour, 2, {854, boss.pos.y + 40});
    }
    n = g.particles.size();
    g.damageEnemy(boss, 10);
    ASSERT_FALSE(boss.alive);
    expectBurst(n + 5, 20, 0xff75e7cbu, 2, {854, boss.pos.y + 63});
    EXPECT_EQ(g.particles.size(), n + 25);

    Platform crumbling;
    crumbling.rect = {1000, 300, 120, 20};
    crumbling.crumbling = true;
    crumbling.crumbleTimer = DT / 2;
    g.level.platforms.push_back(crumbling);
    n = g.particles.size();
    g.updatePlatforms(DT);
    expectBurst(n, 12, 0xffbaae9eu, 1, {1060, 300});

    // The dash streak: sixteen trail puffs from the player's middle, moved once by the step
    // that made them.
    g.particles.clear();
    g.player.dashCooldown = 0;
    const Vec2 from = g.player.pos;
    g.update(dashPress(), DT);
    const Particle& puff = g.particles.front();
    EXPECT_NEAR(puff.pos.x - puff.vel.x / (1 - 2.5f * DT) * DT, from.x + 21, 0.01);
    EXPECT_NEAR(puff.pos.y - (puff.vel.y + 55 * DT) * DT, from.y + 45, 0.01);
    EXPECT_EQ(std::count_if(g.particles.begin(), g.particles.end(),
                            [](const Particle& q) { return q.color == 0xff83e5ffu && q.kind == 3; }),
              16);
}

TEST(Particles, TheOldestGoPast700AndSpentOnesAtOnce) {
    Game g = sandbox();
    Particle p;
    for (int i = 0; i < 710; ++i) {
        p.life = i == 0 ? 0.001f : 1 + static_cast<float>(i);
        g.particles.push_back(p);
    }
    g.updateParticles(DT);
    ASSERT_EQ(g.particles.size(), 700u);
    EXPECT_FLOAT_EQ(g.particles.front().life, 11 - DT);
}

TEST(ProjectileHits, LaserPiercesThreeEnemiesOnceEach) {
    Game g = sandbox();
    for (float x : {300.0f, 400.0f, 500.0f, 600.0f}) {
        g.level.enemies.push_back(makeEnemy(EnemyKind::Zombie, x, 50));
    }
    g.player.weapon = RgbLaser;
    g.shoot(Input{});
    fly(g, 1);
    EXPECT_EQ(g.level.enemies[0].hp, 46);
    EXPECT_EQ(g.level.enemies[1].hp, 46);
    EXPECT_EQ(g.level.enemies[2].hp, 46);
    EXPECT_EQ(g.level.enemies[3].hp, 50);
    EXPECT_TRUE(g.projectiles.empty());
    EXPECT_EQ(countSounds(g, Sound::Hurt), 0) << "only a rocket explodes";
}

TEST(ProjectileHits, RocketBlastsTheGroupAroundItsTarget) {
    Game g = sandbox();
    g.level.enemies = {makeEnemy(EnemyKind::Zombie, 400, 50), makeEnemy(EnemyKind::Zombie, 460, 50),
                       makeEnemy(EnemyKind::Zombie, 600, 50), makeEnemy(EnemyKind::Zombie, 440, 5)};
    g.player.weapon = RaidRocket;
    g.shoot(Input{});
    g.sounds.clear();
    const std::size_t before = g.particles.size();
    fly(g, 1);
    // The blast bursts 28 amber sparks first, before any enemy's own hit sparks.
    ASSERT_GE(g.particles.size(), before + 28);
    EXPECT_EQ(std::count_if(g.particles.begin(), g.particles.end(),
                            [](const Particle& q) { return q.color == 0xffffad65u && q.kind == 1; }),
              28);
    EXPECT_EQ(g.level.enemies[0].hp, 40);
    EXPECT_EQ(g.level.enemies[1].hp, 43);
    EXPECT_EQ(g.level.enemies[2].hp, 50);
    EXPECT_FALSE(g.level.enemies[3].alive);
    EXPECT_EQ(g.subscribers, 500);
    EXPECT_TRUE(g.projectiles.empty());
    ASSERT_GE(g.sounds.size(), 1u);
    EXPECT_EQ(g.sounds[0].sound, Sound::Hurt);
    EXPECT_EQ(g.sounds[0].weapon, RaidRocket);
    EXPECT_FLOAT_EQ(g.sounds[0].volume, 0.6f);
}

TEST(ProjectileHits, WeakBlastsSplashForAtLeastOne) {
    for (auto [damage, splash] : {std::pair{2, 1}, std::pair{3, 2}, std::pair{5, 3}}) {
        Game g = sandbox();
        g.level.enemies = {makeEnemy(EnemyKind::Zombie, 400, 50), makeEnemy(EnemyKind::Zombie, 450, 50)};
        Projectile p = parkedShot();
        p.pos = {380, 430};
        p.size = {30, 20};
        p.damage = damage;
        p.blastRadius = 130;
        g.projectiles = {p};
        g.updateProjectiles(DT);
        EXPECT_EQ(g.level.enemies[0].hp, 50 - damage);
        EXPECT_EQ(g.level.enemies[1].hp, 50 - splash) << "damage " << damage;
    }
}

TEST(ProjectileHits, BrickBouncesFourTimesAndBreaksOnTheFifthLanding) {
    Game g = sandbox();
    Projectile brick = parkedShot();
    brick.weapon = OneByOne;
    brick.pos = {200, 300};
    brick.size = {34, 34};
    brick.gravity = 650;
    brick.bounces = 4;
    brick.pierce = 3;
    g.projectiles = {brick};
    int landings = 0;
    for (int step = 0; step < 2400 && !g.projectiles.empty(); ++step) {
        const int before = g.projectiles[0].bounces;
        const float fallSpeed = g.projectiles[0].vel.y + 650 * DT;
        const float bottom = g.projectiles[0].pos.y + 34;
        const std::size_t sparks = g.particles.size();
        g.updateProjectiles(DT);
        if (g.projectiles.empty()) {
            ++landings;
            EXPECT_NEAR(bottom, GROUND_Y, 20) << "breaks on the floor, not below it";
        } else if (g.projectiles[0].bounces < before) {
            ++landings;
            EXPECT_FLOAT_EQ(g.projectiles[0].pos.y + 34, GROUND_Y);
            EXPECT_FLOAT_EQ(g.projectiles[0].vel.y, -std::max(0.74f * fallSpeed, 160.0f));
            ASSERT_EQ(g.particles.size(), sparks + 8);
            expectAt(g.particles.back().pos, g.projectiles[0].pos.x + 17, GROUND_Y);
            EXPECT_EQ(g.particles.back().color, 0xff9fda76u);
            EXPECT_EQ(g.particles.back().kind, 1);
        }
    }
    EXPECT_EQ(landings, 5);
    EXPECT_TRUE(g.projectiles.empty());

    // A brick that breaks on landing hurts nobody it breaks beside.
    g.level.enemies = {makeEnemy(EnemyKind::Zombie, 200, 50)};
    brick.bounces = 0;
    brick.damage = 12;
    brick.pos = {200, GROUND_Y - 35};
    brick.vel = {0, 200};
    g.projectiles = {brick};
    g.updateProjectiles(DT);
    EXPECT_TRUE(g.projectiles.empty());
    EXPECT_EQ(g.level.enemies[0].hp, 50);
}

TEST(ProjectileHits, ReceiptsSlowTheSurvivorWithoutShorteningALongerSlow) {
    Game g = sandbox();
    g.level.enemies = {makeEnemy(EnemyKind::Zombie, 400, 50), makeEnemy(EnemyKind::Zombie, 400, 50)};
    g.level.enemies[1].pos.y -= 200;
    g.level.enemies[1].slowTimer = 4;
    g.player.weapon = ReceiptCannon;
    g.shoot(Input{});
    g.shoot(aimAt({420, 240}));
    fly(g, 1);
    EXPECT_LT(g.level.enemies[0].hp, 50);
    EXPECT_FLOAT_EQ(g.level.enemies[0].slowTimer, 2.5f);
    EXPECT_LT(g.level.enemies[1].hp, 50);
    EXPECT_FLOAT_EQ(g.level.enemies[1].slowTimer, 4);
}

TEST(ProjectileHits, EnemyShotHurtsThePlayerOnlyOnceAndAFatalOneClearsTheList) {
    Game g = sandbox();
    g.level.enemies = {makeEnemy(EnemyKind::Zombie, 100, 50)};
    g.projectiles = {hostileShot({g.player.pos.x + 10, g.player.pos.y + 10}, 14)};
    g.updateProjectiles(DT);
    EXPECT_EQ(g.player.health, 86);
    EXPECT_EQ(g.level.enemies[0].hp, 50);
    EXPECT_TRUE(g.projectiles.empty());

    // A fatal one ends the step with an empty list.
    g = sandbox();
    g.player.health = 5;
    g.projectiles = {hostileShot({g.player.pos.x + 10, g.player.pos.y + 10}, 14), parkedShot(),
                     hostileShot({g.player.pos.x + 12, g.player.pos.y + 10}, 14)};
    g.updateProjectiles(DT);
    EXPECT_EQ(g.deaths, 1);
    EXPECT_EQ(g.player.health, g.player.maxHealth);
    EXPECT_TRUE(g.projectiles.empty());
}

TEST(EnemyDamage, ScoresByKindAndArmorTakesOneLess) {
    Game g = sandbox();
    g.level.enemies = {makeEnemy(EnemyKind::Zombie, 400, 2), makeEnemy(EnemyKind::Slender, 500, 2),
                       makeEnemy(EnemyKind::Armored, 600, 3)};
    Enemy& armored = g.level.enemies[2];
    g.damageEnemy(armored, 1);
    EXPECT_EQ(armored.hp, 2);
    EXPECT_FLOAT_EQ(armored.hitFlash, 0.12f);
    g.damageEnemy(armored, 3);
    EXPECT_FALSE(armored.alive);
    EXPECT_EQ(g.subscribers, 1000);
    g.damageEnemy(g.level.enemies[1], 2);
    EXPECT_EQ(g.subscribers, 2500);
    g.damageEnemy(g.level.enemies[0], 5);
    EXPECT_EQ(g.subscribers, 3000);
    EXPECT_EQ(countSounds(g, Sound::EnemyDefeated), 3);
    EXPECT_FLOAT_EQ(g.sounds.back().volume, 0.8f);
    EXPECT_EQ(g.particles.back().kind, 2);
    EXPECT_EQ(g.particles.back().color, 0xff75e7cbu);

    // The dead stay dead: no score, no hit points, no sound.
    g.damageEnemy(g.level.enemies[0], 5);
    EXPECT_EQ(g.level.enemies[0].hp, -3);
    EXPECT_EQ(g.subscribers, 3000);
    EXPECT_EQ(countSounds(g, Sound::EnemyDefeated), 3);
}

TEST(BossDamage, PhasesFollowThirdsOfHealthAndOneHeavyHitJumpsFromOneToThree) {
    Game g = sandbox();
    g.level.enemies = {makeBoss(800, 100)};
    Enemy& boss = g.level.enemies[0];
    g.damageEnemy(boss, 70);
    EXPECT_EQ(boss.phase, 3);
    EXPECT_FLOAT_EQ(boss.attackCooldown, 0.55f);
    EXPECT_EQ(countSounds(g, Sound::BossPhase), 1);
    g.damageEnemy(boss, 5);
    EXPECT_EQ(boss.phase, 3);
    EXPECT_EQ(countSounds(g, Sound::BossPhase), 1);

    // Phases follow thirds of health.
    Game h = sandbox();
    h.level.enemies = {makeBoss(800, 30)};
    Enemy& thirds = h.level.enemies[0];
    h.damageEnemy(thirds, 9);
    EXPECT_EQ(thirds.phase, 1);
    h.damageEnemy(thirds, 1);
    EXPECT_EQ(thirds.phase, 2);
    h.damageEnemy(thirds, 9);
    EXPECT_EQ(thirds.phase, 2);
    h.damageEnemy(thirds, 1);
    EXPECT_EQ(thirds.phase, 3);
    EXPECT_EQ(countSounds(h, Sound::BossPhase), 2);
    h.damageEnemy(thirds, 9);
    EXPECT_EQ(thirds.hp, 1);
    EXPECT_TRUE(thirds.alive);
}

TEST(BossDamage, KillClearsEnemyShotsScoresAndOpensTheGate) {
    Game g = sandbox(3);
    g.level.enemies = {makeBoss(800, 3)};
    Projectile hit = parkedShot();
    hit.pos = {820, 400};
    hit.size = {20, 20};
    hit.damage = 10;
    g.projectiles = {hostileShot({600, 200}, 15), hit, hostileShot({300, 100}, 15), parkedShot()};
    g.updateProjectiles(DT);
    EXPECT_FALSE(g.level.enemies[0].alive);
    EXPECT_TRUE(g.exitOpen);
    EXPECT_EQ(g.subscribers, 25000 + 3500 * 3);
    ASSERT_EQ(g.projectiles.size(), 1u);
    EXPECT_FALSE(g.projectiles[0].hostile);
    ASSERT_EQ(countSounds(g, Sound::EnemyDefeated), 1);
}

} // namespace
} // namespace grumbo

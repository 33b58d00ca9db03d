// The ten world bosses: movement, phases and attack patterns.
#include "game/enemy_common.h"
#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace grumbo {

namespace {

constexpr float PI = std::numbers::pi_v<float>;
constexpr float STRAIGHT_UP = -PI / 2;
constexpr float DEFAULT_SHOT_SIZE = 20;

constexpr float GRAVITY = 1500;
constexpr float MAX_FALL_SPEED = 850;
constexpr float SLOWED_FACTOR = 0.48f;

constexpr int TALL_VIEWER = 2;
constexpr int PEAK_DRONE = 5;
constexpr int OVERCLOCKED_CORE = 6;

float asFloat(int value) {
    return static_cast<float>(value);
}

int phaseFromHealth(const Enemy& boss) {
    if (3 * boss.hp <= boss.maxHp) {
        return 3;
    }
    return 3 * boss.hp <= 2 * boss.maxHp ? 2 : 1;
}

// Fires the boss's shots. Every shot flies from a point toward a target; an
// angled shot targets a point 200 units away along its angle, so only the
// direction matters.
struct Volley {
    Game& game;
    Vec2 origin;

    void at(Vec2 from, Vec2 to, float speed, int damage, float size = DEFAULT_SHOT_SIZE,
            float gravity = 0) const {
        game.enemyShot(from, to, speed, damage, size, gravity);
    }

    void angled(float angle, float speed, int damage, float gravity = 0) const {
        at(origin, {origin.x + 200 * std::cos(angle), origin.y + 200 * std::sin(angle)}, speed, damage,
           DEFAULT_SHOT_SIZE, gravity);
    }

    // n shots spread evenly around the centre angle, step radians apart.
    void fan(int n, float centre, float step, float speed, int damage, float gravity = 0) const {
        for (int i = 0; i < n; ++i) {
            angled(centre + (asFloat(i) - asFloat(n - 1) / 2) * step, speed, damage, gravity);
        }
    }
};

void faceAimAndCharge(Enemy& boss, float chase) {
    boss.facing = boss.aimPoint.x < boss.pos.x + boss.size.x / 2 ? -1 : 1;
    boss.chaseTimer = chase;
}

// Only ground blocks carry a boss, so a boss never stands on a ledge.
void fallOntoGround(const Level& level, Enemy& boss, float dt) {
    boss.vel.y = std::min(boss.vel.y + GRAVITY * dt, MAX_FALL_SPEED);
    const float oldBottom = boss.pos.y + boss.size.y;
    boss.pos.y += boss.vel.y * dt;
    boss.grounded = false;
    for (const Platform& p : level.platforms) {
        const float bottom = boss.pos.y + boss.size.y;
        if (p.groundBlock && oldBottom <= p.rect.y + 2 && bottom >= p.rect.y) {
            boss.pos.y = p.rect.y - boss.size.y;
            boss.vel.y = 0;
            boss.grounded = true;
        }
    }
}

} // namespace

void Game::updateBoss(Enemy& boss, float dt) {
    // A boss sleeps until the player walks into its arena, and for good once
    // the gate is open.
    if (!bossEncounterActive()) {
        return;
    }

    boss.phase = phaseFromHealth(boss);
    const float phase = asFloat(boss.phase);
    const float worldIndex = asFloat(world);

    boss.slowTimer = std::max(boss.slowTimer - dt, 0.0f);
    boss.hitFlash = std::max(boss.hitFlash - dt, 0.0f);
    boss.chaseTimer = std::max(boss.chaseTimer - dt, 0.0f);
    boss.actionTimer += dt;
    boss.attackCooldown -= dt;
    const float clock = boss.actionTimer;

    if (boss.windupTimer > 0) {
        boss.windupTimer -= dt;
        if (boss.windupTimer <= 0) {
            boss.windupTimer = 0;
            bossAttack(boss);
        }
    } else if (boss.attackCooldown <= 0) {
        // Later phases and later worlds telegraph for less time and attack more often.
        boss.windupTimer = std::max(0.38f, 0.78f - 0.08f * phase - 0.01f * worldIndex);
        boss.aimPoint = playerAimPoint(player);
        boss.attackCooldown = std::max(1.15f, 3.15f - 0.4f * phase - 0.06f * worldIndex);
    }

    float speed = boss.chaseTimer > 0 ? 30 * phase + 300 : 7 * phase + 30;
    if (boss.slowTimer > 0) {
        speed *= SLOWED_FACTOR;
    }
    if (boss.pos.x <= boss.patrolMin) {
        boss.facing = 1;
    }
    if (boss.pos.x + boss.size.x >= boss.patrolMax) {
        boss.facing = -1;
    }

    if (boss.bossIndex == PEAK_DRONE) {
        // The drone flies a fixed figure: its place is a function of its clock.
        boss.pos.x = clampToPatrol(boss, boss.home.x + 130 * std::sin(0.8f * clock));
        boss.pos.y = 270 + 65 * std::sin(1.5f * clock);
    } else {
        // The others stand still while telegraphing, so the windup is seen in place.
        if (boss.bossIndex != OVERCLOCKED_CORE && boss.windupTimer <= 0) {
            boss.pos.x = clampToPatrol(boss, boss.pos.x + speed * asFloat(boss.facing) * dt);
        }
        fallOntoGround(level, boss, dt);
    }

    if (!boxOf(boss).overlaps(boxOf(player))) {
        return;
    }
    if (boss.bossIndex != TALL_VIEWER && fallsOnto(player, boss)) {
        if (boss.alive) {
            damageEnemy(boss, 2);
        }
        bounceOffStomp(*this);
        return;
    }
    damagePlayer(world + 22, centreOf(boss).x);
}

void Game::bossAttack(Enemy& boss) {
    const int p = boss.phase;
    const float phase = asFloat(p);
    const Vec2 origin{boss.pos.x + 0.5f * boss.size.x, boss.pos.y + 0.42f * boss.size.y};
    const Vec2 aim = boss.aimPoint;
    const float a = std::atan2(aim.y - origin.y, aim.x - origin.x);
    const bool oddAttack = boss.attackCount % 2 != 0;
    const Volley volley{*this, origin};

    switch (boss.bossIndex) {
    case 0:
        // ROOT OF ALL LAG charges, then rains roots from phase 2.
        faceAimAndCharge(boss, 0.52f + 0.08f * phase);
        if (p >= 2) {
            volley.fan(p + 1, STRAIGHT_UP, 0.42f, 330, 14, 520);
        }
        break;
    case 1:
        // THE BUFFERING BRUTE sends shock waves both ways along the floor.
        volley.at({origin.x, 446}, {origin.x - 200, 446}, 280 + 20 * phase, 17, 22);
        volley.at({origin.x, 446}, {origin.x + 200, 446}, 280 + 20 * phase, 17, 22);
        if (p >= 2) {
            volley.fan(p, a, 0.15f, 285, 14);
        }
        if (p >= 3) {
            boss.vel.y = -330;
        }
        break;
    case TALL_VIEWER: {
        // It steps out of sight and reappears beside the player, alternating sides.
        const float side = oddAttack ? 210.0f : -210.0f;
        boss.pos.x = clampToPatrol(boss, aim.x + side);
        burst({boss.pos.x + 30, boss.pos.y + 45}, 18, 0xFFB6A0D4, 1);
        for (int i = 0; i <= p; ++i) {
            volley.at({boss.pos.x + 20, boss.pos.y + 30 + 25 * asFloat(i)}, aim, 290 + 15 * phase, 16, 16);
        }
        break;
    }
    case 3:
        // CAPTAIN SPLASH lobs a water fountain, then adds a floor wave.
        volley.fan(p + 4, STRAIGHT_UP, 0.27f, 350, 13, 600);
        if (p >= 2) {
            volley.at({origin.x, 443}, {aim.x, 443}, 340, 16, 27);
        }
        break;
    case 4:
        // TILE KING fans at the player and drops tiles around the aim point.
        volley.fan(5, a, 0.085f + 0.02f * phase, 250 + 25 * phase, 14);
        if (p >= 2) {
            for (const float dx : {-65.0f, 0.0f, 65.0f}) {
                volley.at({aim.x + dx, 100}, {aim.x + dx, 480}, 160 + 20 * phase, 15, 25);
            }
        }
        break;
    case PEAK_DRONE:
        volley.fan(p + 2, a, 0.13f, 300 + 12 * phase, 14);
        if (p >= 3) {
            for (int i = 0; i < 8; ++i) {
                volley.angled((asFloat(i) - 3.5f) * PI / 4, 205, 12);
            }
        }
        break;
    case OVERCLOCKED_CORE: {
        // A beam sweeps the floor, alternating between head and foot height.
        const float beamY = oddAttack ? 436.0f : 344.0f;
        const std::size_t before = projectiles.size();
        volley.at({origin.x, beamY}, {aim.x, beamY}, 470 + 20 * phase, 20, 34);
        if (projectiles.size() > before) {
            projectiles.back().weapon = RgbLaser;
            projectiles.back().size = {90, 14};
        }
        if (p >= 2) {
            volley.fan(p, a, 0.24f, 230, 13);
        }
        break;
    }
    case 7:
        // SNACKZILLA spits a fan and, from phase 2, lobs snacks overhead.
        volley.fan(p + 3, a, 0.17f, 245, 13);
        if (p >= 2) {
            volley.fan(p, STRAIGHT_UP, 0.38f, 380, 19, 620);
        }
        break;
    case 8:
        // THE CABINET MIMIC lunges while spraying, and adds diagonals in phase 3.
        faceAimAndCharge(boss, 0.35f + 0.08f * phase);
        volley.fan(2 * p + 1, a, 0.19f, 230, 14);
        if (p >= 3) {
            for (int i = 0; i < 4; ++i) {
                volley.angled((asFloat(i) - 1.5f) * PI / 2, 260, 14);
            }
        }
        break;
    case 9:
        // THE RAID SOVEREIGN: a fan, a ring that turns from attack to attack,
        // and in phase 3 a charge on every other attack.
        volley.fan(p + 3, a, 0.105f, 330, 17);
        if (p >= 2) {
            volley.fan(p + 6, 0.4f * asFloat(boss.attackCount), PI / 4, 210, 13);
        }
        if (p >= 3 && !oddAttack) {
            faceAimAndCharge(boss, 0.42f);
        }
        break;
    default:
        break;
    }

    boss.attackCount += 1;
    emit(Sound::BossAttack, boss.pos.x, 0.5f);
}

} // namespace grumbo

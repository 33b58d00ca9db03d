// Firing, projectile flight and hits, damage to enemies, and particles.
#include "game/game.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace grumbo {

namespace {

// What tells the ten weapons apart. Every other property of a shot comes from
// the common template built in `Game::shoot`.
struct WeaponRow {
    float speed;
    float life;
    Vec2 size;
    int damage;
    // Damage while a power-up runs: the light weapons gain one point, the
    // heavy ones half their damage.
    int poweredDamage;
    float cooldown;
    int pierce;
    float gravity;
    int bounces;
    float blastRadius;
    float slowOnHit;
    // Added to the muzzle height; the hammer swings from above the shoulder.
    float raise;
    // Shots per trigger pull, fanned 0.115 rad apart around the aim.
    int shots;
};

// clang-format off
constexpr std::array<WeaponRow, WEAPON_COUNT> WEAPON_ROWS = {{
    //  speed  life    size      dmg pow cooldown pierce gravity bounces blast  slow  raise shots
    {   700,  3.2f,  {22, 22},   2,  3,  0.28f,    1,      0,     0,     0,    0,     0,   1},  // GiftedSubs
    {   890,  2.5f,  {33, 12},   2,  3,  0.23f,    1,      0,     0,     0,    0,     0,   1},  // IpAddresses
    {   480,  2.0f,  {48, 32},   4,  6,  0.65f,    1,      0,     0,     0,    0,     0,   1},  // WaterSlides
    {   720,  2.5f,  {26, 26},   1,  2,  0.16f,    1,      0,     0,     0,    0,     0,   1},  // FidgetSpinners
    {   250,  0.18f, {64, 64},   9, 13,  0.45f,    1,      0,     0,     0,    0,   -22,   1},  // BanHammer
    {   420,  2.5f,  {38, 24},  10, 15,  0.8f,     1,      0,     0,   130,    0,     0,   1},  // RaidRocket
    {   720,  1.15f, {15, 15},   2,  3,  0.55f,    1,      0,     0,     0,    0,     0,   5},  // SnackShotgun
    {  1800,  0.8f,  {76, 10},   4,  6,  0.2f,     3,      0,     0,     0,    0,     0,   1},  // RgbLaser
    {   760,  2.7f,  {30, 14},   4,  6,  0.38f,    1,      0,     0,     0,    2.5f,  0,   3},  // ReceiptCannon
    {   620,  5.0f,  {34, 34},  12, 18,  0.6f,     3,    650,     4,     0,    0,     0,   1},  // OneByOne
}};
// clang-format on

constexpr float SPREAD_STEP = 0.115f;
constexpr float MIN_AIM_DISTANCE = 48;
constexpr float LOB_SPEED = -160;
// The player may fire while the list holds at most this many projectiles.
constexpr size_t PLAYER_SHOT_ROOM = 139;

Vec2 centreOf(Vec2 pos, Vec2 size) {
    return {pos.x + size.x / 2, pos.y + size.y / 2};
}

Rect boxOf(const Projectile& p) {
    return {p.pos.x, p.pos.y, p.size.x, p.size.y};
}

Rect boxOf(const Enemy& e) {
    return {e.pos.x, e.pos.y, e.size.x, e.size.y};
}

bool outsideWorld(const Projectile& p, float levelLength) {
    return p.life <= 0 || p.pos.x < -100 || p.pos.x > levelLength + 100 || p.pos.y > 640 || p.pos.y < -150;
}

} // namespace

void Game::shoot(const Input& input) {
    if (projectiles.size() > PLAYER_SHOT_ROOM) {
        fireCooldown = 0.1f;
        return;
    }
    const Weapon weapon = static_cast<Weapon>(std::clamp<int>(player.weapon, 0, WEAPON_COUNT - 1));
    const WeaponRow& row = WEAPON_ROWS[weapon];
    const float facing = player.facing < 0 ? -1.0f : 1.0f;

    Projectile shot;
    shot.weapon = weapon;
    shot.pos = {facing > 0 ? player.pos.x + player.size.x : player.pos.x - 23, player.pos.y + 24 + row.raise};
    shot.vel = {facing * row.speed, 0};
    shot.life = row.life;
    shot.size = row.size;
    shot.damage = player.powerUp > 0 ? row.poweredDamage : row.damage;
    shot.dir = static_cast<int>(facing);
    shot.pierce = row.pierce;
    shot.gravity = row.gravity;
    shot.blastRadius = row.blastRadius;
    shot.slowOnHit = row.slowOnHit;
    shot.bounces = row.bounces;
    fireCooldown = row.cooldown;

    // An aim point right on top of the muzzle has no usable direction, so
    // anything closer than 48 units fires straight ahead instead.
    float angle = facing > 0 ? 0.0f : std::numbers::pi_v<float>;
    bool aimed = false;
    if (input.aiming && std::isfinite(input.aim.x) && std::isfinite(input.aim.y)) {
        const Vec2 c = centreOf(shot.pos, shot.size);
        const float dx = input.aim.x - c.x;
        const float dy = input.aim.y - c.y;
        const float r = std::hypot(dx, dy);
        if (r >= MIN_AIM_DISTANCE) {
            aimed = true;
            angle = std::atan2(dy, dx);
            shot.vel = {dx * row.speed / r, dy * row.speed / r};
        }
    }

    // Without an aim the brick is lobbed so that it arcs onto the floor.
    if (weapon == OneByOne && !aimed) {
        shot.vel.y = LOB_SPEED;
    }
    // The shots of one pull fan out around the middle one, which flies
    // straight at the aim (or level ahead without one).
    const float middle = static_cast<float>(row.shots - 1) / 2;
    for (int k = 0; k < row.shots; ++k) {
        Projectile pellet = shot;
        const float offset = static_cast<float>(k) - middle;
        if (offset != 0) {
            const float a = angle + SPREAD_STEP * offset;
            pellet.vel = {std::cos(a) * row.speed, std::sin(a) * row.speed};
        }
        projectiles.push_back(pellet);
    }
    emit(Sound::Shoot, player.pos.x, 0.65f, weapon);
}

void Game::updateProjectiles(float dt) {
    const Rect playerBox{player.pos.x, player.pos.y, player.size.x, player.size.y};
    for (size_t i = 0; i < projectiles.size(); ++i) {
        Projectile& p = projectiles[i];
        if (!p.alive) {
            continue;
        }
        const float oldBottom = p.pos.y + p.size.y;
        p.life -= dt;
        p.pos.x += p.vel.x * dt;
        p.pos.y += p.vel.y * dt;
        p.vel.y += p.gravity * dt;
        p.spin += dt * (p.weapon == FidgetSpinners ? 24.0f : 5.0f);

        // The brick bounces off the first platform it came down on this step.
        if (!p.hostile && p.weapon == OneByOne && p.vel.y > 0) {
            for (const Platform& platform : level.platforms) {
                const Rect& top = platform.rect;
                const bool landed = platform.present && top.y + 1 >= oldBottom &&
                                    p.pos.y + p.size.y >= top.y && p.pos.x + p.size.x > top.x &&
                                    top.x + top.w > p.pos.x;
                if (!landed) {
                    continue;
                }
                if (p.bounces <= 0) {
                    p.alive = false;
                } else {
                    p.pos.y = top.y - p.size.y;
                    p.vel.y = -std::max(0.74f * std::abs(p.vel.y), 160.0f);
                    p.bounces -= 1;
                    burst({p.pos.x + p.size.x / 2, top.y}, 8, 0xff9fda76, 1);
                }
                break;
            }
            if (!p.alive) {
                continue;
            }
        }

        if (!p.hostile && p.weapon == WaterSlides) {
            const float r = random(0, 1);
            if (r < 0.45f) {
                const float r2 = random(0, 1);
                Particle drop;
                drop.pos = {p.pos.x + 20, p.pos.y + 14};
                drop.vel = {-static_cast<float>(p.dir) * 70, 40 * r2 - 25};
                drop.life = drop.maxLife = 0.25f;
                drop.size = 7;
                drop.color = 0xff72daff;
                drop.kind = 3;
                particles.push_back(drop);
            }
        }

        if (outsideWorld(p, level.length)) {
            p.alive = false;
            continue;
        }

        // Hits never move a shot, so its box holds for the rest of the step.
        const Rect shotBox = boxOf(p);
        if (p.hostile) {
            if (shotBox.overlaps(playerBox)) {
                p.alive = false;
                const int deathsBefore = deaths;
                damagePlayer(p.damage, p.pos.x);
                // A fatal hit respawns the player, which empties this list.
                if (deaths != deathsBefore) {
                    return;
                }
            }
            continue;
        }

        for (size_t e = 0; e < level.enemies.size(); ++e) {
            // The mask remembers the first 64 enemies so that a piercing shot
            // hits each of them once however long it overlaps them.
            const bool remembered = e < 64;
            const std::uint64_t bit = remembered ? std::uint64_t{1} << e : 0;
            if ((p.hitMask & bit) != 0) {
                continue;
            }
            Enemy& enemy = level.enemies[e];
            if (!enemy.alive || !shotBox.overlaps(boxOf(enemy))) {
                continue;
            }
            p.hitMask |= bit;
            damageEnemy(enemy, p.damage);
            if (enemy.alive && p.slowOnHit > 0) {
                enemy.slowTimer = std::max(enemy.slowTimer, p.slowOnHit);
            }
            if (p.blastRadius > 0) {
                const Vec2 c = centreOf(p.pos, p.size);
                burst(c, 28, 0xffffad65, 1);
                emit(Sound::Hurt, p.pos.x, 0.6f, RaidRocket);
                const int splash = 3 * p.damage <= 7 ? 1 : (3 * p.damage) / 4;
                for (size_t o = 0; o < level.enemies.size(); ++o) {
                    Enemy& other = level.enemies[o];
                    if (o == e || !other.alive) {
                        continue;
                    }
                    const Vec2 oc = centreOf(other.pos, other.size);
                    if (std::hypot(oc.x - c.x, oc.y - c.y) < p.blastRadius) {
                        damageEnemy(other, splash);
                    }
                }
            }
            p.pierce -= 1;
            if (p.pierce <= 0) {
                p.alive = false;
                break;
            }
        }
    }
    std::erase_if(projectiles, [](const Projectile& p) { return !p.alive; });
    if (projectiles.size() > static_cast<size_t>(MAX_PROJECTILES)) {
        projectiles.erase(projectiles.begin(), projectiles.end() - MAX_PROJECTILES);
    }
}

void Game::damageEnemy(Enemy& enemy, int amount) {
    if (!enemy.alive) {
        return;
    }
    if (enemy.kind == EnemyKind::Armored) {
        amount = std::max(amount - 1, 1);
    }
    enemy.hp -= amount;
    enemy.hitFlash = 0.12f;
    const Vec2 centre = centreOf(enemy.pos, enemy.size);
    burst(centre, 5, 0xffffdc7a, 1);

    if (enemy.kind == EnemyKind::Boss) {
        if (enemy.hp > 0) {
            // A single heavy hit may skip a phase; the boss still announces
            // the new phase only once.
            const int phase = 3 * enemy.hp <= enemy.maxHp ? 3 : 3 * enemy.hp <= 2 * enemy.maxHp ? 2 : 1;
            if (phase > enemy.phase) {
                enemy.phase = phase;
                enemy.attackCooldown = std::min(enemy.attackCooldown, 0.55f);
                burst({centre.x, enemy.pos.y + 40}, 25, phase == 3 ? 0xffff8877 : 0xffbd86ff, 2);
                emit(Sound::BossPhase, enemy.pos.x, 0.9f);
            }
            return;
        }
        enemy.alive = false;
        addSubscribers(25000 + 3500 * world);
        burst(centre, 20, 0xff75e7cb, 2);
        emit(Sound::EnemyDefeated, enemy.pos.x, 1.0f);
        exitOpen = true;
        // The fight is over: nothing the boss left in the air may still hurt.
        for (Projectile& p : projectiles) {
            if (p.hostile) {
                p.alive = false;
            }
        }
        return;
    }

    if (enemy.hp <= 0) {
        enemy.alive = false;
        addSubscribers(enemy.kind == EnemyKind::Slender   ? 1500
                       : enemy.kind == EnemyKind::Armored ? 1000
                                                          : 500);
        burst(centre, 20, 0xff75e7cb, 2);
        emit(Sound::EnemyDefeated, enemy.pos.x, 0.8f);
    }
}

void Game::burst(Vec2 at, int count, unsigned color, int kind) {
    for (int i = 0; i < count; ++i) {
        const float r1 = random(0, 1);
        const float r2 = random(0, 1);
        const float r3 = random(0, 1);
        const float r4 = random(0, 1);
        Particle p;
        p.pos = at;
        p.vel = {220 * r1 - 110, 200 * r2 - 165};
        p.life = p.maxLife = 0.35f + 0.55f * r3;
        p.size = kind == 0 ? 12 + 15 * r4 : 4 + 6 * r4;
        p.color = color;
        p.kind = kind;
        particles.push_back(p);
    }
}

void Game::updateParticles(float dt) {
    for (Particle& p : particles) {
        p.life -= dt;
        p.pos.x += p.vel.x * dt;
        p.pos.y += p.vel.y * dt;
        // Clouds and trails drift: they slow down, rise and swell.
        if (p.kind == 0 || p.kind == 3) {
            p.vel.x *= std::max(1 - 2.5f * dt, 0.0f);
            p.vel.y -= 55 * dt;
            p.size += 14 * dt;
        } else {
            p.vel.y += 400 * dt;
        }
    }
    std::erase_if(particles, [](const Particle& p) { return p.life <= 0; });
    if (particles.size() > static_cast<size_t>(MAX_PARTICLES)) {
        particles.erase(particles.begin(), particles.end() - MAX_PARTICLES);
    }
}

} // namespace grumbo

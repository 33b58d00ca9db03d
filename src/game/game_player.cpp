// The player: running, fart jumps, the dash, landing on platforms, falling
// out of the world, and taking damage.
#include "game/game.h"

#include <algorithm>
#include <cmath>

namespace grumbo {

namespace {

constexpr float RUN_SPEED = 280;
constexpr float BOOSTED_RUN_SPEED = 360;
constexpr float GROUND_ACCEL = 1900;
constexpr float AIR_ACCEL = 1300;
constexpr float GRAVITY = 1500;
// Releasing jump while rising cuts the jump short with stronger gravity.
constexpr float SHORT_HOP_GRAVITY = 2775;
constexpr float MAX_FALL_SPEED = 920;
constexpr float GROUND_JUMP_SPEED = -655;
constexpr float AIR_JUMP_SPEED = -610;
constexpr float COYOTE_TIME = 0.11f;
constexpr float JUMP_BUFFER = 0.12f;
constexpr float DASH_SPEED = 720;
constexpr float DASH_TIME = 0.16f;
constexpr float DASH_COOLDOWN = 1.6f;
constexpr float WORLD_TOP = 76;
constexpr float FALL_DEATH_Y = 730;
constexpr float HURT_INVULNERABILITY = 1.25f;
constexpr float KNOCKBACK_X = 225;
constexpr float KNOCKBACK_Y = -250;
constexpr int PLAYER_FIRE_LIMIT = 139;

void tick(float& timer, float dt) {
    timer = std::max(timer - dt, 0.0f);
}

} // namespace

void Game::updatePlayer(const Input& input, float dt) {
    Player& p = player;
    for (float* timer : {&p.invulnerable, &p.speedBoost, &p.tripleJump, &p.magnet, &p.powerUp, &p.flashlight,
                         &p.glow, &p.dashCooldown, &p.dashTime, &fireCooldown, &jumpBuffer}) {
        tick(*timer, dt);
    }

    // Coyote time lets a jump pressed just after leaving a ledge still count
    // as a ground jump; once it runs out, the ground jump is spent.
    tick(coyoteTime, dt);
    const bool startedOnGround = p.grounded;
    if (startedOnGround) {
        coyoteTime = COYOTE_TIME;
        p.jumpsUsed = 0;
    } else if (coyoteTime == 0 && p.jumpsUsed == 0) {
        p.jumpsUsed = 1;
    }

    if (input.jumpPressed) {
        jumpBuffer = JUMP_BUFFER;
    }

    const int d = (input.right ? 1 : 0) - (input.left ? 1 : 0);
    if (d != 0) {
        p.facing = d;
    }
    // Aiming turns the player without changing the run direction, so the
    // player can run one way and shoot the other.
    if (input.aiming && std::isfinite(input.aim.x) && std::isfinite(input.aim.y)) {
        const float centre = p.pos.x + p.size.x / 2;
        if (std::fabs(input.aim.x - centre) > 0.5f) {
            p.facing = input.aim.x < centre ? -1 : 1;
        }
    }

    const float speed = p.speedBoost > 0 ? BOOSTED_RUN_SPEED : RUN_SPEED;
    const float accel = startedOnGround ? GROUND_ACCEL : AIR_ACCEL;

    // The dash's speed is set just below, for as long as it runs.
    if (input.dash && p.dashCooldown == 0) {
        p.dashCooldown = DASH_COOLDOWN;
        p.dashTime = DASH_TIME;
        burst({p.pos.x + 21, p.pos.y + 45}, 16, 0xff83e5ffu, 3);
        emit(Sound::Dash, p.pos.x, 0.8f);
    }

    if (p.dashTime > 0) {
        p.vel.x = static_cast<float>(p.facing) * DASH_SPEED;
    } else {
        const float target = static_cast<float>(d) * speed;
        p.vel.x = target > p.vel.x ? std::min(target, p.vel.x + accel * dt)
                                   : std::max(target, p.vel.x - accel * dt);
    }

    // A buffered press waits out its window, so a press just before landing
    // still jumps right after the landing.
    const int maxJumps = (p.tripleJump > 0 ? 3 : 2) + (assists.extraAirJump ? 1 : 0);
    if (jumpBuffer > 0) {
        if (coyoteTime > 0) {
            p.jumpsUsed = 0;
            fartJump(false);
        } else if (p.jumpsUsed < maxJumps) {
            fartJump(true);
        }
    }

    if (input.fireHeld && fireCooldown == 0) {
        if (projectiles.size() <= static_cast<size_t>(PLAYER_FIRE_LIMIT)) {
            shoot(input);
        } else {
            fireCooldown = 0.1f;
        }
    }

    const float gravity = p.vel.y < 0 && !input.jumpHeld ? SHORT_HOP_GRAVITY : GRAVITY;
    p.vel.y = std::min(p.vel.y + gravity * dt, MAX_FALL_SPEED);

    // The exit gate stays out of reach until the boss is beaten.
    const float limit = exitOpen ? level.length - p.size.x : level.exitGate.x - p.size.x - 10;
    p.pos.x = std::min(limit, std::max(p.pos.x + p.vel.x * dt, 0.0f));

    const float y0 = p.pos.y;
    const float y = y0 + p.vel.y * dt;
    p.grounded = false;
    bool testLanding = true;
    if (y < WORLD_TOP) {
        p.pos.y = WORLD_TOP;
        if (p.vel.y <= 0) {
            p.vel.y = 0;
        }
    } else {
        p.pos.y = y;
        testLanding = p.vel.y >= 0;
    }

    // Platforms are one-way: only a body that was above the top before the
    // move lands on it; from below or the side it passes through.
    if (testLanding) {
        for (const Platform& plat : level.platforms) {
            if (!plat.present) {
                continue;
            }
            const Rect& r = plat.rect;
            const bool overlapX = p.pos.x + p.size.x > r.x + 1 && r.x + r.w - 1 > p.pos.x;
            const bool wasAbove = y0 + p.size.y <= r.y + 1.5f;
            const bool reached = p.pos.y + p.size.y >= r.y && r.y + r.h > p.pos.y;
            if (overlapX && wasAbove && reached) {
                p.grounded = true;
                p.vel.y = 0;
                p.pos.y = r.y - p.size.y;
            }
        }
    }

    if (p.pos.y > FALL_DEATH_Y) {
        restartCheckpoint();
    }
}

void Game::fartJump(bool air) {
    Player& p = player;
    p.vel.y = air ? AIR_JUMP_SPEED : GROUND_JUMP_SPEED;
    p.jumpsUsed += 1;
    p.grounded = false;
    coyoteTime = 0;
    jumpBuffer = 0;

    // The cloud puffs out behind and below the player.
    const Vec2 emitter{p.facing >= 0 ? p.pos.x + 5 : p.pos.x + p.size.x - 5, p.pos.y + 0.73f * p.size.y};
    const size_t first = particles.size();
    burst(emitter, 15, air ? 0xffcccf66u : 0xff9fb956u, 0);
    for (size_t i = first; i < particles.size(); ++i) {
        const float r1 = random(0, 1);
        const float r2 = random(0, 1);
        particles[i].vel = {-static_cast<float>(p.facing) * (100 + 125 * r1), 50 + 105 * r2};
    }
    emit(Sound::FartJump, p.pos.x, air ? 0.8f : 1.0f);
}

void Game::damagePlayer(int amount, float sourceX) {
    Player& p = player;
    // A dash passes through harm.
    if (p.invulnerable > 0 || p.dashTime > 0 || state != Playing || assists.noDamage) {
        return;
    }
    if (p.shield > 0) {
        const int absorbed = std::min(p.shield, amount);
        p.shield -= absorbed;
        amount -= absorbed;
        burst({p.pos.x + 21, p.pos.y + 30}, 12, 0xff79dfffu, 1);
        if (p.shield == 0) {
            emit(Sound::ShieldBreak, p.pos.x, 1.0f);
        }
    }
    p.invulnerable = HURT_INVULNERABILITY;
    p.health = std::max(p.health - amount, 0);
    if (amount > 0) {
        p.vel.x = sourceX > p.pos.x ? -KNOCKBACK_X : KNOCKBACK_X;
        p.vel.y = KNOCKBACK_Y;
        p.grounded = false;
        burst({p.pos.x + 21, p.pos.y + 30}, 10, 0xffff9168u, 1);
        emit(Sound::Hurt, p.pos.x, 1.0f);
    }
    if (p.health <= 0) {
        restartCheckpoint();
    }
}

} // namespace grumbo

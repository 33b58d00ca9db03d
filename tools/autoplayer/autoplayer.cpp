#include "autoplayer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace grumbo::test {

namespace {

constexpr float STEP_SECONDS = 1.0f / 120.0f;
constexpr float PLAYER_W = 42;
constexpr float PLAYER_H = 64;
constexpr float GROUND_ACCEL = 1900;

// Between two presses of the same button a thumb needs a moment.
constexpr std::int64_t JUMP_REPEAT_STEPS = 14;
constexpr std::int64_t SWITCH_REPEAT_STEPS = 10;
constexpr std::int64_t MENU_REPEAT_STEPS = 30;
// Six seconds without getting further right means something is in the way.
constexpr std::int64_t STUCK_STEPS = 720;

// Weapons in the order this player likes them: spreads and beams that reach
// far first, the close-range hammer last.
constexpr std::array<Weapon, WEAPON_COUNT> TRAVEL_PREFERENCE = {
    ReceiptCannon, RgbLaser,   OneByOne,       RaidRocket,  SnackShotgun,
    IpAddresses,   GiftedSubs, FidgetSpinners, WaterSlides, BanHammer,
};
constexpr std::array<Weapon, WEAPON_COUNT> BOSS_PREFERENCE = {
    RgbLaser,    ReceiptCannon, RaidRocket,     OneByOne,    SnackShotgun,
    IpAddresses, GiftedSubs,    FidgetSpinners, WaterSlides, BanHammer,
};

const Enemy* livingBoss(const Game& game) {
    for (const Enemy& e : game.level.enemies) {
        if (e.alive && e.kind == EnemyKind::Boss) {
            return &e;
        }
    }
    return nullptr;
}

float runSpeed(const Player& p) {
    return p.speedBoost > 0 ? 360.0f : 280.0f;
}

// Seconds to cover a distance from the current speed, accelerating on the
// ground up to running speed.
float travelTime(float distance, float speed, float topSpeed) {
    if (distance <= 0) {
        return 0;
    }
    speed = std::clamp(speed, 0.0f, topSpeed);
    const float accelTime = (topSpeed - speed) / GROUND_ACCEL;
    const float accelDistance = speed * accelTime + 0.5f * GROUND_ACCEL * accelTime * accelTime;
    if (distance <= accelDistance) {
        return (-speed + std::sqrt(speed * speed + 2 * GROUND_ACCEL * distance)) / GROUND_ACCEL;
    }
    return accelTime + (distance - accelDistance) / topSpeed;
}

bool hazardActiveIn(const Hazard& h, float seconds) {
    if (h.period <= 0) {
        return true;
    }
    return std::fmod(h.clock + seconds, h.period) < h.activeTime;
}

// The hazard stays off from a little before the player reaches it until a
// little after the player has passed it.
bool windowOpen(const Hazard& h, float enter, float leave) {
    for (float t = std::max(enter - 0.12f, 0.0f); t <= leave + 0.12f; t += 0.02f) {
        if (hazardActiveIn(h, t)) {
            return false;
        }
    }
    return true;
}

bool enemyAhead(const Game& game, float distance) {
    const Player& p = game.player;
    return std::any_of(game.level.enemies.begin(), game.level.enemies.end(), [&](const Enemy& e) {
        return e.alive && e.kind != EnemyKind::Boss && e.pos.x + e.size.x > p.pos.x &&
               e.pos.x < p.pos.x + distance;
    });
}

bool overPit(const Game& game, float left, float right) {
    return std::any_of(game.level.pits.begin(), game.level.pits.end(),
                       [&](const Pit& pit) { return right > pit.left + 1 && pit.right - 1 > left; });
}

// Whether an enemy shot will run into the player (standing where it is) in
// the next fraction of a second.
bool shotIncoming(const Game& game) {
    const Player& p = game.player;
    const Rect body{p.pos.x - 6, p.pos.y - 4, PLAYER_W + 12, PLAYER_H + 4};
    for (const Projectile& q : game.projectiles) {
        if (!q.hostile || !q.alive) {
            continue;
        }
        for (float t = 0; t <= 0.3f; t += 0.025f) {
            const Rect at{q.pos.x + q.vel.x * t, q.pos.y + q.vel.y * t + 0.5f * q.gravity * t * t, q.size.x,
                          q.size.y};
            if (at.overlaps(body)) {
                return true;
            }
        }
    }
    return false;
}

// What the thumbs do this step: a direction, and whether to press jump and dash.
struct Plan {
    int move = 1;
    bool jump = false;
    bool dash = false;
};

// Keep a firing distance: back off when the boss comes close, close in when
// it is far, otherwise stand facing it and shoot.
void planBossFight(const Game& game, const Enemy& boss, Plan& plan) {
    const Player& p = game.player;
    const float gap = boss.pos.x - (p.pos.x + PLAYER_W);
    if (gap < 150) {
        plan.move = -1;
    } else if (gap > 420) {
        plan.move = 1;
    } else {
        plan.move = p.facing < 0 ? 1 : 0;
    }
    // A flying boss is only hit from the top of a jump.
    if (boss.pos.y + boss.size.y < p.pos.y + 24 && p.grounded) {
        plan.jump = true;
    }
    // A charging boss right in front is jumped over.
    if (boss.chaseTimer > 0 && gap < 90 && gap > -boss.size.x) {
        plan.jump = true;
    }
}

// Spikes are jumped. Periodic hazards are walked through while they rest;
// otherwise the player stops short and waits for the next rest, or dashes
// through when it is too late to stop.
void planHazards(const Game& game, Plan& plan) {
    const Player& p = game.player;
    const float front = p.pos.x + PLAYER_W;
    const float speed = std::max(p.vel.x, 0.0f);
    const float topSpeed = runSpeed(p);
    for (const Hazard& h : game.level.hazards) {
        const float ahead = h.rect.x - front;
        if (h.rect.x + h.rect.w < p.pos.x || ahead > 160) {
            continue;
        }
        if (h.period <= 0) {
            if (p.grounded && ahead >= -4 && ahead < 40) {
                plan.jump = true;
            }
            continue;
        }
        if (ahead < 0) {
            continue;
        }
        const float enter = travelTime(ahead, speed, topSpeed);
        const float leave = travelTime(ahead + h.rect.w + PLAYER_W, speed, topSpeed);
        const float stopping = speed * speed / (2 * GROUND_ACCEL);
        if (windowOpen(h, enter, leave) || ahead >= stopping + 14) {
            continue;
        }
        plan.move = 0;
        if (ahead < stopping - 6 && p.dashCooldown <= 0 && ahead + h.rect.w + PLAYER_W < 110) {
            plan.move = 1;
            plan.dash = true;
        }
    }
}

// Enemies on the path are jumped on, or dashed through when they cannot be
// stomped.
void planEnemies(const Game& game, Plan& plan) {
    const Player& p = game.player;
    const float front = p.pos.x + PLAYER_W;
    if (!p.grounded || plan.move != 1) {
        return;
    }
    for (const Enemy& e : game.level.enemies) {
        const float ahead = e.pos.x - front;
        if (!e.alive || e.kind == EnemyKind::Boss || e.pos.y + e.size.y < 400 || ahead < -10 || ahead > 60) {
            continue;
        }
        const bool hard = e.kind == EnemyKind::Slender || e.kind == EnemyKind::Armored;
        if (hard && p.dashCooldown <= 0 && !overPit(game, front, front + 130)) {
            plan.dash = true;
        } else {
            plan.jump = true;
        }
    }
}

// A pit is jumped from its edge.
void planPits(const Game& game, Plan& plan) {
    const Player& p = game.player;
    if (!p.grounded || plan.move != 1) {
        return;
    }
    for (const Pit& pit : game.level.pits) {
        const float ahead = pit.left - (p.pos.x + PLAYER_W);
        if (ahead >= -8 && ahead < 45) {
            plan.jump = true;
        }
    }
}

} // namespace

Input AutoPlayer::next(const Game& game) {
    ++step_;
    if (game.state == Playing) {
        return play(game);
    }
    // Screens are answered with a press now and then, never every step.
    Input in;
    if (step_ - lastMenuPressStep_ < MENU_REPEAT_STEPS) {
        return in;
    }
    switch (game.state) {
    case Title:
    case WorldComplete:
        in.jumpPressed = true;
        break;
    case SignCard:
        in.interact = true;
        break;
    case Paused:
        in.pause = true;
        break;
    default:
        return in;
    }
    lastMenuPressStep_ = step_;
    return in;
}

void AutoPlayer::noteProgress(const Game& game) {
    if (game.world != lifeWorld_ || game.deaths != lifeDeaths_ || game.player.pos.x > furthestX_ + 30) {
        lifeWorld_ = game.world;
        lifeDeaths_ = game.deaths;
        furthestX_ = game.player.pos.x;
        furthestStep_ = step_;
    }
}

bool AutoPlayer::shouldSwitchWeapon(const Game& game, bool bossFight) {
    const auto& order = bossFight ? BOSS_PREFERENCE : TRAVEL_PREFERENCE;
    const Player& p = game.player;
    for (const Weapon w : order) {
        if (p.ownedWeapons[static_cast<std::size_t>(w)]) {
            if (w != p.weapon && step_ - lastSwitchStep_ >= SWITCH_REPEAT_STEPS) {
                lastSwitchStep_ = step_;
                return true;
            }
            return false;
        }
    }
    return false;
}

Input AutoPlayer::play(const Game& game) {
    noteProgress(game);
    const Player& p = game.player;
    const int maxJumps = p.tripleJump > 0 ? 3 : 2;

    Input in;
    in.fireHeld = true;
    Plan plan;
    const Enemy* boss = livingBoss(game);
    const bool bossFight = boss != nullptr && !game.exitOpen && p.pos.x >= game.level.bossArenaX - 200;
    in.nextWeapon = shouldSwitchWeapon(game, bossFight);
    // A sleeping boss is not shot from outside its arena: the duel starts
    // when the player walks in.
    const bool bossAsleep = boss != nullptr && !game.exitOpen && !game.bossEncounterActive();
    if (bossAsleep && boss->pos.x - p.pos.x < 2400 && !enemyAhead(game, 700)) {
        in.fireHeld = false;
    }

    if (bossFight) {
        planBossFight(game, *boss, plan);
    } else {
        planHazards(game, plan);
        planEnemies(game, plan);
        planPits(game, plan);
        if (step_ - furthestStep_ > STUCK_STEPS) {
            plan.jump = true;
            plan.dash = true;
        }
    }
    // Falling into a pit: spend an air jump.
    if (!p.grounded && p.vel.y > 0 && p.pos.y + PLAYER_H > 430 &&
        overPit(game, p.pos.x, p.pos.x + PLAYER_W) && p.jumpsUsed < maxJumps) {
        plan.jump = true;
    }
    if (shotIncoming(game) && (p.grounded || p.jumpsUsed < maxJumps)) {
        plan.jump = true;
    }

    if (plan.jump && step_ - lastJumpStep_ >= JUMP_REPEAT_STEPS) {
        in.jumpPressed = true;
        lastJumpStep_ = step_;
    }
    // Held while rising for the full height.
    in.jumpHeld = in.jumpPressed || (!p.grounded && p.vel.y < 0);
    in.dash = plan.dash && p.dashCooldown <= 0;
    in.right = plan.move > 0;
    in.left = plan.move < 0;
    return in;
}

std::int64_t playWorld(Game& game, AutoPlayer& player, std::int64_t maxSteps) {
    std::int64_t steps = 0;
    while (steps < maxSteps) {
        game.update(player.next(game), STEP_SECONDS);
        ++steps;
        if (game.state == WorldComplete || game.state == Finale) {
            break;
        }
    }
    return steps;
}

Playthrough playThrough(Game& game, AutoPlayer& player, std::int64_t maxStepsPerWorld) {
    Playthrough run;
    while (game.state == Playing) {
        const int world = game.world;
        const std::int64_t steps = playWorld(game, player, maxStepsPerWorld);
        run.steps[static_cast<std::size_t>(world)] = steps;
        run.totalSteps += steps;
        if (game.state != WorldComplete && game.state != Finale) {
            break;
        }
        run.worldsFinished += 1;
        if (game.state == Finale) {
            break;
        }
        // The world-complete screen waits for a press of jump.
        for (int i = 0; i < 600 && game.state == WorldComplete; ++i) {
            game.update(player.next(game), STEP_SECONDS);
            run.totalSteps += 1;
        }
    }
    return run;
}

} // namespace grumbo::test

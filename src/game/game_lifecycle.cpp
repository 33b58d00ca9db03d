// Starting worlds, the state machine, the fixed order of one playing step,
// checkpoints, the camera, the exit gate, death and respawn, and the sound
// request queue.
#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace grumbo {

namespace {

// Half the player's width: checkpoints are measured from the player's centre.
constexpr float PLAYER_HALF_WIDTH = 21;
constexpr float MAX_STEP = 1.0f / 30.0f;

} // namespace

void Game::start(int w) {
    const int c = std::clamp(w, 0, 9);
    world = c;
    const int keptMaxHealth = player.maxHealth;
    const Weapon keptWeapon = player.weapon;
    const auto keptWeapons = player.ownedWeapons;

    level = makeLevel(c);
    player = Player{};
    // A new world starts at full health and keeps the arsenal and any raised
    // maximum; a new run (world 0 or below) starts the score from nothing.
    if (w > 0) {
        player.weapon = keptWeapon;
        player.maxHealth = keptMaxHealth;
        player.ownedWeapons = keptWeapons;
        player.health = keptMaxHealth;
    } else {
        subscribers = 0;
        deaths = 0;
    }

    state = Playing;
    player.grounded = true;
    player.pos = level.spawn;
    checkpoint = -1;
    projectiles.clear();
    particles.clear();
    sounds.clear();
    signText.clear();
    fireCooldown = 0;
    coyoteTime = 0.1f;
    jumpBuffer = 0;
    cameraX = 0;
    levelTime = 0;
    finishSounded = false;
    exitOpen = false;
    rng = 517u * static_cast<std::uint32_t>(c) + 735841u;
}

void Game::update(const Input& input, float dt) {
    // NaN fails every comparison, so it is caught by the negated test.
    if (!(dt > 0)) {
        dt = 0;
    } else if (dt > MAX_STEP) {
        dt = MAX_STEP;
    }

    if (input.pause && (state == Playing || state == Paused)) {
        state = state == Playing ? Paused : Playing;
        return;
    }

    switch (state) {
    case Title:
        if (input.jumpPressed || input.interact || input.fireHeld) {
            start(0);
        }
        break;
    case Playing:
        playingStep(input, dt);
        break;
    case SignCard:
        // Pause closes the card here instead of pausing the game.
        if (input.interact || input.jumpPressed || input.pause) {
            state = Playing;
            signText.clear();
        }
        break;
    case WorldComplete:
        if (input.interact || input.jumpPressed) {
            advanceLevel();
        }
        break;
    case Finale:
        if (input.interact || input.jumpPressed) {
            start(0);
        }
        break;
    default:
        break;
    }
}

void Game::playingStep(const Input& input, float dt) {
    if (dt <= 0) {
        return;
    }
    if (input.interact) {
        const int sign = nearbySign();
        if (sign >= 0) {
            Sign& s = level.signs[static_cast<size_t>(sign)];
            state = SignCard;
            signText = s.text;
            s.read = true;
            emit(Sound::SignOpen, player.pos.x, 1.0f);
            return;
        }
    }
    levelTime += dt;
    if (input.nextWeapon) {
        cycleWeapon();
    }

    // Platforms move first so a rider is carried before the player moves;
    // shots fired by the player in this step also fly in this step.
    updatePlatforms(dt);
    updatePlayer(input, dt);
    updateHazards(dt);
    updateEnemies(dt);
    updateProjectiles(dt);
    updatePickups(dt);
    updateParticles(dt);

    updateCheckpoints();
    updateCamera(dt);
    checkExitGate();
}

void Game::updateCheckpoints() {
    auto& cps = level.checkpoints;
    for (size_t i = 0; i < cps.size(); ++i) {
        const int active = checkpoint;
        Checkpoint& cp = cps[i];
        // Everything at or left of the active checkpoint counts as reached, so
        // walking back never moves the respawn point backwards.
        if (active >= 0 && active < static_cast<int>(cps.size()) &&
            cps[static_cast<size_t>(active)].pos.x >= cp.pos.x) {
            cp.reached = true;
            continue;
        }
        const bool near = std::fabs(player.pos.x + PLAYER_HALF_WIDTH - cp.pos.x) < 55;
        const bool onGround = player.pos.y + player.size.y > 410;
        if (cp.reached || !near || !onGround) {
            continue;
        }
        checkpoint = static_cast<int>(i);
        for (Checkpoint& other : cps) {
            other.reached = cp.pos.x >= other.pos.x;
        }
        // The bunker of the supply run gives a small recovery boost.
        if (world == 6 && cp.pos.x >= 2800 && cp.pos.x <= 3400) {
            player.health = std::min(player.health + 20, player.maxHealth);
            player.glow = 3;
            player.invulnerable = std::max(player.invulnerable, 3.0f);
        }
        burst({cp.pos.x, cp.pos.y - 55}, 24, 0xff6fe4c0u, 2);
        emit(Sound::Checkpoint, cp.pos.x, 1.0f);
    }
}

void Game::updateCamera(float dt) {
    const float maxX = std::max(level.length - viewWidth, 0.0f);
    float target = player.pos.x - 0.35f * viewWidth;
    if (target < 0) {
        target = 0;
    } else if (target > maxX) {
        target = maxX;
    }
    const float step = (std::fabs(target - cameraX) * 7 + 20) * dt;
    cameraX = target > cameraX ? std::min(target, cameraX + step) : std::max(target, cameraX - step);
}

void Game::checkExitGate() {
    const Rect& gate = level.exitGate;
    const bool atGate = player.pos.x + player.size.x >= gate.x;
    const bool levelWithGate = player.pos.y + player.size.y > gate.y && gate.y + gate.h > player.pos.y;
    if (!exitOpen || !atGate || !levelWithGate) {
        return;
    }
    addSubscribers(10000 + 2500 * world);
    Sound sound = Sound::WorldComplete;
    if (world == 9) {
        state = Finale;
        subscribers = std::max(subscribers, 1000000000);
        sound = Sound::GameComplete;
    } else {
        state = WorldComplete;
    }
    if (!finishSounded) {
        emit(sound, player.pos.x, 1.0f);
        finishSounded = true;
    }
    burst({player.pos.x + 20, player.pos.y}, 60, 0xffffd878u, 2);
}

void Game::advanceLevel() {
    if (world <= 8) {
        start(world + 1);
        return;
    }
    state = Finale;
    emit(Sound::GameComplete, player.pos.x, 1.0f);
}

void Game::restartCheckpoint() {
    deaths += 1;
    emit(Sound::Death, player.pos.x, 1.0f);

    Vec2 respawn = level.spawn;
    if (checkpoint >= 0 && checkpoint < static_cast<int>(level.checkpoints.size())) {
        respawn = {level.checkpoints[static_cast<size_t>(checkpoint)].pos.x, GROUND_Y - player.size.y};
    }
    player.vel = {0, 0};
    player.invulnerable = 2;
    player.health = player.maxHealth;
    player.dashTime = 0;
    player.grounded = true;
    player.jumpsUsed = 0;
    fireCooldown = 0;
    coyoteTime = 0.1f;
    jumpBuffer = 0;
    player.pos = respawn;

    projectiles.clear();

    // Bosses hold their next attack, and nothing may stand on the respawn point.
    for (Enemy& e : level.enemies) {
        if (!e.alive) {
            continue;
        }
        if (e.kind == EnemyKind::Boss) {
            e.attackCooldown = std::max(e.attackCooldown, 1.6f);
            e.windupTimer = 0;
            e.chaseTimer = 0;
        }
        if (std::fabs(e.pos.x - player.pos.x) < 170) {
            e.pos.x = e.patrolMax;
            e.vel = {0, 0};
            e.chaseTimer = 0;
            e.attackCooldown = 0;
            e.windupTimer = 2.5f;
        }
    }

    const float maxX = std::max(level.length - viewWidth, 0.0f);
    cameraX = std::clamp(player.pos.x - 0.35f * viewWidth, 0.0f, maxX);
}

// A huge count carried in from a saved journey stops at the largest one
// instead of wrapping around to a negative score.
void Game::addSubscribers(int amount) {
    const std::int64_t total = std::int64_t{subscribers} + amount;
    subscribers = static_cast<int>(
        std::clamp<std::int64_t>(total, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void Game::emit(Sound sound, float x, float volume, Weapon weapon) {
    if (sounds.size() >= static_cast<size_t>(MAX_SOUND_EVENTS)) {
        return;
    }
    sounds.push_back(SoundEvent{sound, volume, x, weapon});
}

void Game::resumeAtCheckpoint(int index) {
    std::vector<Checkpoint>& checkpoints = level.checkpoints;
    checkpoint = std::clamp(index, -1, static_cast<int>(checkpoints.size()) - 1);
    const float x = checkpoint >= 0 ? checkpoints[static_cast<std::size_t>(checkpoint)].pos.x : 0;
    if (checkpoint >= 0) {
        player.pos = {x, GROUND_Y - player.size.y};
        player.invulnerable = 2.0f;
    }
    for (Checkpoint& c : checkpoints) {
        c.reached = checkpoint >= 0 && c.pos.x <= x;
    }
}

} // namespace grumbo

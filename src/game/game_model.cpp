// The game object's construction, its random generator, the name tables and
// the small queries the presentation calls.
#include "game/game.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace grumbo {

namespace {

constexpr std::array<const char*, WEAPON_COUNT> WEAPON_NAMES = {
    "GIFTED SUBS", "IP ADDRESSES",  "WATER SLIDES", "FIDGET SPINNERS", "BAN HAMMER",
    "RAID ROCKET", "SNACK SHOTGUN", "RGB LASER",    "RECEIPT CANNON",  "ONE BY ONE",
};

// Power ranks weapons for pickups; it is deliberately not in enum order.
constexpr std::array<int, WEAPON_COUNT> WEAPON_POWER = {10, 30, 40, 20, 50, 70, 60, 80, 90, 100};

constexpr std::array<const char*, PICKUP_KIND_COUNT> PICKUP_NAMES = {
    "SUBSCRIBER TOKENS", "GIFTED SUBS", "IP ADDRESSES", "WATER SLIDES",  "FIDGET SPINNERS", "HOT DOG",
    "HAMBURGER",         "BURRITO",     "CREATINE",     "BAN HAMMER",    "RAID ROCKET",     "SNACK SHOTGUN",
    "RGB LASER",         "SHIELD",      "ENERGY DRINK", "PROTEIN SHAKE", "MAGNET",          "NACHOS",
    "RECEIPT CANNON",    "ONE BY ONE",  "SOUP CAN",     "FLASHLIGHT",
};

constexpr std::array<const char*, 10> LEVEL_NAMES = {
    "NEON WOODLAND", "DEAD SIGNAL CITY", "SLENDER STATIC FOREST", "SPLASH ZONE",     "ALPHABET CITADEL",
    "PIXEL PEAK",    "RETRO REACTOR",    "SNACKWORKS FACTORY",    "MIDNIGHT ARCADE", "SUBSCRIBER SUMMIT",
};

constexpr std::array<const char*, 10> LEVEL_TAGS = {
    "The subscriber trail begins under the glowing trees.",
    "The city is offline. Its armored viewers are not.",
    "Static whispers between the trees. Keep moving.",
    "Ride the current and watch the geysers.",
    "Five letters guard a fortress of terrible guesses.",
    "Climb the clouds above a frozen pixel wilderness.",
    "Cross the laser lines before the core overheats.",
    "The snack conveyor never stops for hungry streamers.",
    "Every cabinet wants one more quarter of your health.",
    "Bring the broadcast to the sky. The final raid awaits.",
};

constexpr std::array<const char*, 10> BOSS_NAMES = {
    "ROOT OF ALL LAG", "THE BUFFERING BRUTE",  "THE TALL VIEWER", "CAPTAIN SPLASH",    "TILE KING",
    "THE PEAK DRONE",  "THE OVERCLOCKED CORE", "SNACKZILLA",      "THE CABINET MIMIC", "THE RAID SOVEREIGN",
};

int clampIndex(int value, int count) {
    return std::clamp(value, 0, count - 1);
}

} // namespace

Game::Game() : level(makeLevel(0)) {
    player.pos = level.spawn;
}

float Game::random(float lo, float hi) {
    rng = rng * 1664525u + 1013904223u;
    return lo + (hi - lo) * static_cast<float>(rng >> 8) / 16777215.0f;
}

const char* Game::weaponName(Weapon weapon) {
    return WEAPON_NAMES[clampIndex(weapon, WEAPON_COUNT)];
}

int Game::weaponPower(Weapon weapon) {
    return WEAPON_POWER[clampIndex(weapon, WEAPON_COUNT)];
}

const char* Game::bossName(int world) {
    return BOSS_NAMES[clampIndex(world, 10)];
}

const char* Game::pickupName(PickupKind kind) {
    return PICKUP_NAMES[clampIndex(static_cast<int>(kind), PICKUP_KIND_COUNT)];
}

const char* Game::levelName(int world) {
    return LEVEL_NAMES[clampIndex(world, 10)];
}

const char* Game::levelSubtitle(int world) {
    return LEVEL_TAGS[clampIndex(world, 10)];
}

int Game::collectedSubscribers() const {
    int total = 0;
    for (const Pickup& p : level.pickups) {
        if (p.kind == PickupKind::SubscriberTokens && p.collected) {
            total += p.value;
        }
    }
    return total;
}

int Game::nearbySign() const {
    // Standing on a high ledge above a sign must not open it.
    if (player.pos.y <= 320) {
        return -1;
    }
    const float centre = player.pos.x + player.size.x / 2;
    for (size_t i = 0; i < level.signs.size(); ++i) {
        if (std::fabs(centre - level.signs[i].pos.x) < 85) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int Game::pitAhead(float distance) const {
    if (distance < 0 || player.pos.y + player.size.y < 446) {
        return -1;
    }
    const bool right = player.facing >= 0;
    const float edge = right ? player.pos.x + player.size.x : player.pos.x;
    for (size_t i = 0; i < level.pits.size(); ++i) {
        const Pit& pit = level.pits[i];
        const bool ahead =
            right ? pit.right > player.pos.x && std::fabs(pit.left - edge) <= distance
                  : player.pos.x + player.size.x > pit.left && std::fabs(edge - pit.right) <= distance;
        if (ahead) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Game::cycleWeapon() {
    const int current = clampIndex(player.weapon, WEAPON_COUNT);
    for (int step = 1; step <= WEAPON_COUNT; ++step) {
        const int candidate = (current + step) % WEAPON_COUNT;
        if (player.ownedWeapons[candidate]) {
            player.weapon = static_cast<Weapon>(candidate);
            return;
        }
    }
}

bool Game::bossEncounterActive() const {
    if (exitOpen || player.pos.x < level.bossArenaX - 30) {
        return false;
    }
    return std::any_of(level.enemies.begin(), level.enemies.end(),
                       [](const Enemy& e) { return e.alive && e.kind == EnemyKind::Boss; });
}

} // namespace grumbo

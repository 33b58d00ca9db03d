// Helpers shared by the simulation tests: recorded input and a state digest.
#pragma once

#include "game/game.h"
#include "game/state_hash.h"

#include <cstdint>
#include <vector>

namespace grumbo::test {

inline constexpr float STEP = 1.0f / 120.0f;

inline Input holdRight() {
    Input in;
    in.right = true;
    return in;
}

inline Input holdJump() {
    Input in;
    in.jumpHeld = true;
    return in;
}

// A dash press, optionally steering left (-1) or right (+1).
inline Input dashPress(int direction = 0) {
    Input in;
    in.dash = true;
    in.left = direction < 0;
    in.right = direction > 0;
    return in;
}

inline Input pressJump(Input in = {}) {
    in.jumpPressed = true;
    in.jumpHeld = true;
    return in;
}

// Runs n steps of the same input. Edge fields (presses) reach only the first.
inline void run(Game& game, Input in, int steps) {
    for (int i = 0; i < steps; ++i) {
        game.update(in, STEP);
        in.jumpPressed = in.interact = in.pause = in.nextWeapon = in.dash = false;
    }
}

// Runs until the player stands on something, at most maxSteps.
inline int runUntilGrounded(Game& game, const Input& in, int maxSteps) {
    for (int i = 0; i < maxSteps; ++i) {
        game.update(in, STEP);
        if (game.player.grounded) {
            return i + 1;
        }
    }
    return -1;
}

// The simulation's generator, as the game documents it, to predict draws.
struct Lcg {
    std::uint32_t state;
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777215.0f;
    }
};

// A game whose level holds no enemies: movement tests must not depend on
// where the patrols happen to wander.
inline Game startedWithoutEnemies(int world) {
    Game game;
    game.start(world);
    game.level.enemies.clear();
    return game;
}

// A started world cut down to one flat floor, so each test places only what
// it needs. The player stands on the floor at the spawn point, facing right.
inline Game sandbox(int world = 0) {
    Game g;
    g.start(world);
    g.level.enemies.clear();
    g.level.hazards.clear();
    g.level.pickups.clear();
    g.level.signs.clear();
    g.level.checkpoints.clear();
    Platform floor;
    floor.rect = {0, GROUND_Y, g.level.length, 170};
    floor.home = {0, GROUND_Y};
    floor.groundBlock = true;
    g.level.platforms = {floor};
    g.sounds.clear();
    g.particles.clear();
    return g;
}

// The digest lives with the game, which replays compare with it too.
using grumbo::stateHash;

} // namespace grumbo::test

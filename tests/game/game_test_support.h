// Helpers shared by the simulation tests: inputs, cut-down scenes, counts and a
// state digest.
#pragma once

#include "game/game.h"
#include "game/state_hash.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace grumbo::test {

inline constexpr float DT = 1.0f / 120.0f;

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

inline Input holdFire() {
    Input in;
    in.fireHeld = true;
    return in;
}

inline Input aimAt(Vec2 point) {
    Input in;
    in.aiming = true;
    in.aim = point;
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
        game.update(in, DT);
        in.jumpPressed = in.interact = in.pause = in.nextWeapon = in.dash = false;
    }
}

// Runs until the player stands on something, at most maxSteps.
inline int runUntilGrounded(Game& game, const Input& in, int maxSteps) {
    for (int i = 0; i < maxSteps; ++i) {
        game.update(in, DT);
        if (game.player.grounded) {
            return i + 1;
        }
    }
    return -1;
}

// Both coordinates of a point, each to within float rounding.
inline void expectAt(Vec2 got, float x, float y) {
    EXPECT_FLOAT_EQ(got.x, x);
    EXPECT_FLOAT_EQ(got.y, y);
}

inline int countSounds(const Game& game, Sound sound) {
    return static_cast<int>(std::count_if(game.sounds.begin(), game.sounds.end(),
                                          [&](const SoundEvent& e) { return e.sound == sound; }));
}

inline int countParticles(const Game& game, std::uint32_t color) {
    return static_cast<int>(std::count_if(game.particles.begin(), game.particles.end(),
                                          [&](const Particle& p) { return p.color == color; }));
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

// A started world with nothing in it but the ground, the ledges, the flags
// and the player, so each test adds exactly what it is about.
inline Game clearedWorld(int world) {
    Game game = startedWithoutEnemies(world);
    game.level.hazards.clear();
    game.level.pickups.clear();
    game.level.signs.clear();
    return game;
}

// A started world cut down to one flat floor, so each test places only what
// it needs. The player stands on the floor at the spawn point, facing right.
inline Game sandbox(int world = 0) {
    Game g = clearedWorld(world);
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

// Small rules shared by the ordinary enemies and the bosses: where the player
// is aimed at, and what counts as landing on an enemy's head.
#pragma once

#include "game/game.h"

#include <algorithm>

namespace grumbo {

inline constexpr float STOMP_MIN_FALL_SPEED = 70;
inline constexpr float STOMP_DEPTH = 22;
inline constexpr float STOMP_BOUNCE = -465;

// Ranged enemies, carts, caretakers and bosses all aim at the middle of the
// player's 42 x 64 box.
inline Vec2 playerAimPoint(const Player& player) {
    return {player.pos.x + 21, player.pos.y + 32};
}

inline Rect boxOf(const Player& player) {
    return {player.pos.x, player.pos.y, player.size.x, player.size.y};
}

inline Rect boxOf(const Enemy& enemy) {
    return {enemy.pos.x, enemy.pos.y, enemy.size.x, enemy.size.y};
}

inline Vec2 centreOf(const Enemy& enemy) {
    return {enemy.pos.x + enemy.size.x / 2, enemy.pos.y + enemy.size.y / 2};
}

// A falling player whose feet are still within the top 22 units of the
// enemy lands on it rather than running into it.
inline bool fallsOnto(const Player& player, const Enemy& enemy) {
    return player.vel.y > STOMP_MIN_FALL_SPEED && enemy.pos.y + STOMP_DEPTH > player.pos.y + player.size.y;
}

// The bounce off a stomped head gives back the air jump.
inline void bounceOffStomp(Game& game) {
    game.player.vel.y = STOMP_BOUNCE;
    game.player.jumpsUsed = std::min(game.player.jumpsUsed, 1);
    game.emit(Sound::Stomp, game.player.pos.x, 1.0f);
}

// Moves a ground walker sideways, keeping it inside its patrol range.
inline float clampToPatrol(const Enemy& enemy, float x) {
    return std::clamp(x, enemy.patrolMin, std::max(enemy.patrolMin, enemy.patrolMax - enemy.size.x));
}

} // namespace grumbo

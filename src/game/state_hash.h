// A digest of everything that decides how a world goes on: two games with the
// same digest play on identically for the same input. Replays keep it to show
// that a run was reproduced, and tests compare whole runs with it.
#pragma once

#include "game/game.h"

#include <cstdint>

namespace grumbo {

// An FNV-1a style digest (its 64-bit prime, a start value of its own) over
// positions, timers, health, the lists, the sound queue and the generator of
// `game`; any difference in them changes the digest.
std::uint64_t stateHash(const Game& game);

} // namespace grumbo

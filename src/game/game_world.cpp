// Moving, crumbling and conveyor platforms, periodic hazards and pickups.
#include "game/game.h"

namespace grumbo {

void Game::updatePlatforms(float) {}

void Game::updateHazards(float) {}

void Game::updatePickups(float) {}

} // namespace grumbo

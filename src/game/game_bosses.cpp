// The ten world bosses: movement, phases and attack patterns.
#include "game/game.h"

namespace grumbo {

void Game::updateBoss(Enemy&, float) {}

void Game::bossAttack(Enemy&) {}

} // namespace grumbo

// Enemy behaviours and the hostile shots they fire.
#include "game/game.h"

namespace grumbo {

void Game::updateEnemies(float) {}

void Game::enemyShot(Vec2, Vec2, float, int, float, float) {}

} // namespace grumbo

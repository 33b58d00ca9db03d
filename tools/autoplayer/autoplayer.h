// An automated player for whole runs. It looks at the game the way
// a person looks at the screen and answers with nothing but an `Input` record
// per step, as a controller would: hold right, jump over pits and hazards,
// wait out a hazard's pulse, fire, dash, dodge shots and switch weapons.
#pragma once

#include "game/game.h"

#include <array>
#include <cstdint>

namespace grumbo::test {

class AutoPlayer {
  public:
    // The controls for the next step. Reads the game; never changes it.
    Input next(const Game& game);

  private:
    Input play(const Game& game);
    bool shouldSwitchWeapon(const Game& game, bool bossFight);
    void noteProgress(const Game& game);

    std::int64_t step_ = 0;
    std::int64_t lastJumpStep_ = -1000;
    std::int64_t lastSwitchStep_ = -1000;
    std::int64_t lastMenuPressStep_ = -1000;
    // Getting unstuck: the furthest x reached in this life and when.
    int lifeWorld_ = -1;
    int lifeDeaths_ = -1;
    float furthestX_ = 0;
    std::int64_t furthestStep_ = 0;
};

// Plays from the game's current state until it leaves Playing for
// WorldComplete or Finale, or maxSteps steps of 1/120 s have passed.
// Returns the number of steps taken.
std::int64_t playWorld(Game& game, AutoPlayer& player, std::int64_t maxSteps);

// A whole run: the steps each world took, and how many worlds were finished.
struct Playthrough {
    std::array<std::int64_t, 10> steps{};
    int worldsFinished = 0;
    std::int64_t totalSteps = 0;
};

// Plays every world from the game's current one (normally right after
// `Game::start(0)`), confirming each world-complete screen as a person would,
// until the finale or until a world takes more than maxStepsPerWorld steps.
Playthrough playThrough(Game& game, AutoPlayer& player, std::int64_t maxStepsPerWorld);

} // namespace grumbo::test

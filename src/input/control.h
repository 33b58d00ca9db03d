// The per-frame control record. It begins with the simulation's `Input`, which
// the frame loop hands to `Game::update`, and adds the menu requests, shell
// keys, the weapon number key and whether a controller is in use.
#pragma once

#include "game/game.h"

#include <cstdint>

namespace grumbo {

// Deriving from `Input` keeps the play fields first and lets the frame loop
// copy or clear the `Input` part on its own (`static_cast<Input&>(control)`).
struct Control : Input {
    bool confirm = false;
    bool back = false;
    bool menuUp = false;
    bool menuDown = false;
    bool toggleFullscreen = false;
    bool restartCheckpoint = false;
    bool toggleMute = false;
    // Weapon chosen by a number key this frame, 0 to 9, or -1.
    int weaponSlot = -1;
    // A game controller is the device in use; filled even while disabled.
    bool controllerPresent = false;
    // The first key newly down this frame (a `Key` value, any key at all), or
    // -1, and every pad button newly pressed: what a rebind listens for.
    int keyPressed = -1;
    std::uint16_t buttonsPressed = 0;
};

} // namespace grumbo

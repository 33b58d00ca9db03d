// A control record as the names of its set fields, so a test states a whole
// frame at once and notices any field that should have stayed clear.
#pragma once

#include "input/control.h"

#include <iterator>
#include <string>

namespace grumbo {

inline std::string setFields(const Control& c) {
    const bool set[] = {c.left,
                        c.right,
                        c.jumpHeld,
                        c.jumpPressed,
                        c.fireHeld,
                        c.interact,
                        c.pause,
                        c.nextWeapon,
                        c.dash,
                        c.aiming,
                        c.confirm,
                        c.back,
                        c.menuUp,
                        c.menuDown,
                        c.toggleFullscreen,
                        c.restartCheckpoint,
                        c.toggleMute,
                        c.controllerPresent};
    const char* const names[] = {"left",   "right",      "jumpHeld",   "jumpPressed", "fireHeld", "interact",
                                 "pause",  "nextWeapon", "dash",       "aiming",      "confirm",  "back",
                                 "menuUp", "menuDown",   "fullscreen", "restart",     "mute",     "present"};
    std::string text;
    for (std::size_t i = 0; i < std::size(set); ++i) {
        if (set[i]) {
            text += text.empty() ? names[i] : std::string(" ") + names[i];
        }
    }
    if (c.weaponSlot != -1) {
        text += (text.empty() ? "slot" : " slot") + std::to_string(c.weaponSlot);
    }
    return text;
}

} // namespace grumbo

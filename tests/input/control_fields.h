// A control record as the names of its set fields, so a test states a whole
// frame at once and notices any field that should have stayed clear.
#pragma once

#include "input/control.h"

#include <iterator>
#include <string>

namespace grumbo {

inline std::string setFields(const Control& c) {
    const std::pair<bool, const char*> fields[] = {
        {c.left, "left"},
        {c.right, "right"},
        {c.jumpHeld, "jumpHeld"},
        {c.jumpPressed, "jumpPressed"},
        {c.fireHeld, "fireHeld"},
        {c.interact, "interact"},
        {c.pause, "pause"},
        {c.nextWeapon, "nextWeapon"},
        {c.dash, "dash"},
        {c.aiming, "aiming"},
        {c.confirm, "confirm"},
        {c.back, "back"},
        {c.menuUp, "menuUp"},
        {c.menuDown, "menuDown"},
        {c.toggleFullscreen, "fullscreen"},
        {c.restartCheckpoint, "restart"},
        {c.toggleMute, "mute"},
        {c.controllerPresent, "present"},
    };
    std::string text;
    for (const auto& [set, name] : fields) {
        if (set) {
            text += text.empty() ? name : std::string(" ") + name;
        }
    }
    if (c.weaponSlot != -1) {
        text += (text.empty() ? "slot" : " slot") + std::to_string(c.weaponSlot);
    }
    return text;
}

} // namespace grumbo

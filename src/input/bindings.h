// Which keys and controller buttons drive each play action. A player may move
// any action onto other keys or buttons; a fresh record holds the game's own
// map. Keys and buttons have portable names, used both on screen and in the
// save file, so a file written on one platform reads the same on another.
#pragma once

#include "platform/input_devices.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace grumbo {

// The play actions, in the order the remap page lists them.
enum class Action : std::uint8_t {
    MoveLeft,
    MoveRight,
    Jump,
    Fire,
    Read,
    SwitchWeapon,
    Dash,
    Pause,
    RestartCheckpoint,
};
inline constexpr int ACTION_COUNT = 9;

// A player gives each action up to two keys and two buttons. The game's own
// map needs a third for jumping (Space, W and Up) and for switching weapons
// (Y and both shoulders); that third place only ever shows behind the second.
inline constexpr int BINDING_PLACES = 3;
inline constexpr int NO_KEY = -1;
inline constexpr std::uint16_t NO_BUTTON = 0;

struct ActionBinding {
    // `Key` values, NO_KEY where empty.
    std::array<int, BINDING_PLACES> keys{NO_KEY, NO_KEY, NO_KEY};
    // Single pad buttons in the XInput bit layout, NO_BUTTON where empty.
    std::array<std::uint16_t, BINDING_PLACES> buttons{};

    bool operator==(const ActionBinding&) const = default;
};

struct Bindings {
    std::array<ActionBinding, ACTION_COUNT> actions = defaults();

    const ActionBinding& operator[](Action action) const { return actions[static_cast<std::size_t>(action)]; }
    ActionBinding& operator[](Action action) { return actions[static_cast<std::size_t>(action)]; }
    bool operator==(const Bindings&) const = default;

    // The game's own map.
    static std::array<ActionBinding, ACTION_COUNT> defaults();
};

// Keys a player cannot take for an action: Esc cancels a rebind, and F3, F11,
// M and the number keys keep their fixed jobs (timings, full screen, mute and
// the weapon slots).
bool keyBindable(int key);

// Puts `key` into place `cell` (0 or 1) of `action`; the second cell drops a
// third key it may have held. When another place already holds the key, that
// place takes the key this cell gave up, so no key ever drives two actions.
void bindKey(Bindings& bindings, Action action, int cell, int key);
// The same for one pad button.
void bindButton(Bindings& bindings, Action action, int cell, std::uint16_t button);

// The portable name of a key ("Space", "W", "F5", "Comma"), "" for NO_KEY.
const char* keyName(int key);
// The key of a name, matched regardless of case; NO_KEY when there is none.
int keyNamed(std::string_view name);
// "A", "LB", "Start", "D-Left", ..., "" for NO_BUTTON or several buttons.
const char* buttonName(std::uint16_t button);
std::uint16_t buttonNamed(std::string_view name);

// An action's keys or buttons as their names joined by `separator`.
std::string keyList(const ActionBinding& binding, std::string_view separator);
std::string buttonList(const ActionBinding& binding, std::string_view separator);

// The name an action goes by in the save file ("MoveLeft", "Jump", ...).
const char* actionSaveName(Action action);
// How a save entry writes an action's keys or buttons: names joined by
// commas, "None" for none.
std::string keyEntry(const ActionBinding& binding);
std::string buttonEntry(const ActionBinding& binding);
// Reads an entry back into `binding`, which stays untouched when the entry is
// empty, names something unknown, repeats a name or holds too many.
void readKeyEntry(std::string_view entry, ActionBinding& binding);
void readButtonEntry(std::string_view entry, ActionBinding& binding);

} // namespace grumbo

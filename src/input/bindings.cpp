#include "input/bindings.h"

#include <algorithm>
#include <cctype>

namespace grumbo {
namespace {

// In the order of `Key`.
constexpr std::array<const char*, KEY_COUNT> KEY_NAMES{
    "Up",       "Down",     "Left",   "Right",     "Space",     "Esc",       "Enter", "Shift",
    "Tab",      "F11",      "A",      "D",         "W",         "S",         "J",     "X",
    "E",        "Q",        "R",      "M",         "1",         "2",         "3",     "4",
    "5",        "6",        "7",      "8",         "9",         "0",         "B",     "C",
    "F",        "G",        "H",      "I",         "K",         "L",         "N",     "O",
    "P",        "T",        "U",      "V",         "Y",         "Z",         "F1",    "F2",
    "F3",       "F4",       "F5",     "F6",        "F7",        "F8",        "F9",    "F10",
    "F12",      "Ctrl",     "Alt",    "Backspace", "Insert",    "Delete",    "Home",  "End",
    "PageUp",   "PageDown", "Comma",  "Period",    "Slash",     "Semicolon", "Quote", "LBracket",
    "RBracket", "Minus",    "Equals", "Backslash", "Backquote", "Num0",      "Num1",  "Num2",
    "Num3",     "Num4",     "Num5",   "Num6",      "Num7",      "Num8",      "Num9",
};

struct ButtonName {
    std::uint16_t button;
    const char* name;
};
constexpr std::array<ButtonName, 14> BUTTON_NAMES{{
    {pad::A, "A"},
    {pad::B, "B"},
    {pad::X, "X"},
    {pad::Y, "Y"},
    {pad::LeftShoulder, "LB"},
    {pad::RightShoulder, "RB"},
    {pad::Back, "Back"},
    {pad::Start, "Start"},
    {pad::DpadUp, "D-Up"},
    {pad::DpadDown, "D-Down"},
    {pad::DpadLeft, "D-Left"},
    {pad::DpadRight, "D-Right"},
    {0x0040, "L3"},
    {0x0080, "R3"},
}};

constexpr std::array<const char*, ACTION_COUNT> ACTION_SAVE_NAMES{
    "MoveLeft", "MoveRight", "Jump", "Fire", "Read", "SwitchWeapon", "Dash", "Pause", "RestartCheckpoint"};

int key(Key k) {
    return static_cast<int>(k);
}

ActionBinding binding(std::array<int, BINDING_PLACES> keys,
                      std::array<std::uint16_t, BINDING_PLACES> buttons) {
    ActionBinding result;
    result.keys = keys;
    result.buttons = buttons;
    return result;
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// The shared steps of `bindKey` and `bindButton` over one kind of place.
template <typename T>
void bindPlace(Bindings& bindings, Action action, int cell, T value, T none,
               std::array<T, BINDING_PLACES> ActionBinding::*places) {
    if (cell < 0 || cell > 1 || value == none) {
        return;
    }
    std::array<T, BINDING_PLACES>& target = bindings[action].*places;
    const T given = target[static_cast<std::size_t>(cell)];
    T* holder = nullptr;
    for (ActionBinding& other : bindings.actions) {
        for (T& place : other.*places) {
            if (place == value) {
                holder = &place;
            }
        }
    }
    target[static_cast<std::size_t>(cell)] = value;
    if (cell == 1) {
        target[2] = none;
    }
    if (holder != nullptr && holder != &target[static_cast<std::size_t>(cell)]) {
        *holder = given;
    }
}

template <typename T, typename NameOf>
std::string joinNames(const std::array<T, BINDING_PLACES>& places, T none, std::string_view separator,
                      NameOf nameOf) {
    std::string text;
    for (const T place : places) {
        if (place != none) {
            text += (text.empty() ? "" : std::string(separator)) + nameOf(place);
        }
    }
    return text;
}

template <typename T, typename Lookup>
void readEntry(std::string_view entry, T none, std::array<T, BINDING_PLACES>& places, Lookup lookup) {
    entry = trimmed(entry);
    std::array<T, BINDING_PLACES> read{};
    read.fill(none);
    if (sameText(entry, "None")) {
        places = read;
        return;
    }
    std::size_t count = 0;
    while (!entry.empty()) {
        const std::size_t comma = entry.find(',');
        const T value = lookup(trimmed(entry.substr(0, comma)));
        if (value == none || count == BINDING_PLACES ||
            std::find(read.begin(), read.end(), value) != read.end()) {
            return;
        }
        read[count++] = value;
        entry = comma == std::string_view::npos ? std::string_view() : entry.substr(comma + 1);
    }
    if (count > 0) {
        places = read;
    }
}

} // namespace

std::array<ActionBinding, ACTION_COUNT> Bindings::defaults() {
    return {
        binding({key(Key::A), key(Key::Left), NO_KEY}, {pad::DpadLeft}),
        binding({key(Key::D), key(Key::Right), NO_KEY}, {pad::DpadRight}),
        binding({key(Key::Space), key(Key::W), key(Key::Up)}, {pad::A}),
        binding({key(Key::J), key(Key::X), NO_KEY}, {pad::X}),
        binding({key(Key::E), NO_KEY, NO_KEY}, {pad::B}),
        binding({key(Key::Q), NO_KEY, NO_KEY}, {pad::Y, pad::LeftShoulder, pad::RightShoulder}),
        binding({key(Key::Shift), key(Key::Tab), NO_KEY}, {pad::Back}),
        binding({key(Key::Escape), NO_KEY, NO_KEY}, {pad::Start}),
        binding({key(Key::R), NO_KEY, NO_KEY}, {}),
    };
}

bool keyBindable(int k) {
    if (k < 0 || k >= KEY_COUNT) {
        return false;
    }
    const bool digit = k >= key(Key::Digit1) && k <= key(Key::Digit0);
    return !digit && k != key(Key::Escape) && k != key(Key::F3) && k != key(Key::F11) && k != key(Key::M);
}

void bindKey(Bindings& bindings, Action action, int cell, int k) {
    if (k >= 0 && k < KEY_COUNT) {
        bindPlace(bindings, action, cell, k, NO_KEY, &ActionBinding::keys);
    }
}

void bindButton(Bindings& bindings, Action action, int cell, std::uint16_t button) {
    if (buttonName(button)[0] != '\0') {
        bindPlace(bindings, action, cell, button, NO_BUTTON, &ActionBinding::buttons);
    }
}

const char* keyName(int k) {
    return k >= 0 && k < KEY_COUNT ? KEY_NAMES[static_cast<std::size_t>(k)] : "";
}

int keyNamed(std::string_view name) {
    for (int k = 0; k < KEY_COUNT; ++k) {
        if (sameText(name, KEY_NAMES[static_cast<std::size_t>(k)])) {
            return k;
        }
    }
    return NO_KEY;
}

const char* buttonName(std::uint16_t button) {
    for (const ButtonName& entry : BUTTON_NAMES) {
        if (entry.button == button) {
            return entry.name;
        }
    }
    return "";
}

std::uint16_t buttonNamed(std::string_view name) {
    for (const ButtonName& entry : BUTTON_NAMES) {
        if (sameText(name, entry.name)) {
            return entry.button;
        }
    }
    return NO_BUTTON;
}

std::string keyList(const ActionBinding& binding, std::string_view separator) {
    return joinNames(binding.keys, NO_KEY, separator, keyName);
}

std::string buttonList(const ActionBinding& binding, std::string_view separator) {
    return joinNames(binding.buttons, NO_BUTTON, separator, buttonName);
}

const char* actionSaveName(Action action) {
    return ACTION_SAVE_NAMES[static_cast<std::size_t>(action)];
}

std::string keyEntry(const ActionBinding& binding) {
    const std::string names = keyList(binding, ",");
    return names.empty() ? "None" : names;
}

std::string buttonEntry(const ActionBinding& binding) {
    const std::string names = buttonList(binding, ",");
    return names.empty() ? "None" : names;
}

void readKeyEntry(std::string_view entry, ActionBinding& binding) {
    readEntry(entry, NO_KEY, binding.keys, keyNamed);
}

void readButtonEntry(std::string_view entry, ActionBinding& binding) {
    readEntry(entry, NO_BUTTON, binding.buttons, buttonNamed);
}

} // namespace grumbo

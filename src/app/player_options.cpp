#include "app/player_options.h"

#include <algorithm>
#include <cctype>

namespace grumbo {
namespace {

const std::wstring CONTROLS = L"Controls";
const std::wstring SETTINGS = L"Settings";
constexpr int SLOWEST_SPEED = 50;
constexpr int SPEED_STEP = 10;

// Save entries are ASCII; anything else makes the entry unreadable.
std::string narrow(const std::wstring& text) {
    std::string result;
    for (const wchar_t c : text) {
        result += c > 0 && c < 0x80 ? static_cast<char>(c) : '\x7F';
    }
    return result;
}

std::wstring widen(const std::string& text) {
    return {text.begin(), text.end()};
}

std::wstring keysKey(int action) {
    return widen(actionSaveName(static_cast<Action>(action)));
}

std::wstring buttonsKey(int action) {
    return L"Pad" + keysKey(action);
}

bool present(const IniSnapshot& file, const std::wstring& section, const std::wstring& key) {
    // No value can hold a line break, so this one only comes back for a missing key.
    return file.get(section, key, L"\n") != L"\n";
}

std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string orDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

// Joins the non-empty parts.
std::string joined(std::initializer_list<std::string> parts, const std::string& separator) {
    std::string text;
    for (const std::string& part : parts) {
        if (!part.empty()) {
            text += (text.empty() ? "" : separator) + part;
        }
    }
    return text;
}

const ActionBinding& of(const Bindings& bindings, Action action) {
    return bindings[action];
}

} // namespace

void readControls(const IniSnapshot& file, Bindings& controls) {
    controls = Bindings{};
    for (int action = 0; action < ACTION_COUNT; ++action) {
        ActionBinding& binding = controls.actions[static_cast<std::size_t>(action)];
        readKeyEntry(narrow(file.get(CONTROLS, keysKey(action), L"")), binding);
        readButtonEntry(narrow(file.get(CONTROLS, buttonsKey(action), L"")), binding);
    }
}

bool assistsOn(const Assists& assists) {
    return assists.speedPercent != 100 || assists.noDamage || assists.extraAirJump;
}

void readAssists(const IniSnapshot& file, Assists& assists) {
    const int speed = std::clamp(profileInteger(file, SETTINGS, L"GameSpeed", 100), SLOWEST_SPEED, 100);
    assists.speedPercent = speed / SPEED_STEP * SPEED_STEP;
    assists.noDamage = profileInteger(file, SETTINGS, L"NoDamage", 0) != 0;
    assists.extraAirJump = profileInteger(file, SETTINGS, L"ExtraAirJump", 0) != 0;
}

void writeControls(IniSnapshot& snapshot, const Bindings& controls) {
    const bool stored =
        std::any_of(snapshot.sections.begin(), snapshot.sections.end(), [](const auto& section) {
            return IniSnapshot::sameIgnoringCase(section.name, CONTROLS);
        });
    if (!stored && controls == Bindings{}) {
        return;
    }
    for (int action = 0; action < ACTION_COUNT; ++action) {
        const ActionBinding& binding = controls.actions[static_cast<std::size_t>(action)];
        snapshot.set(CONTROLS, keysKey(action), widen(keyEntry(binding)));
        snapshot.set(CONTROLS, buttonsKey(action), widen(buttonEntry(binding)));
    }
}

void writeAssists(IniSnapshot& snapshot, const Assists& assists) {
    const bool stored = present(snapshot, SETTINGS, L"GameSpeed") ||
                        present(snapshot, SETTINGS, L"NoDamage") ||
                        present(snapshot, SETTINGS, L"ExtraAirJump");
    if (!stored && !assistsOn(assists)) {
        return;
    }
    snapshot.set(SETTINGS, L"GameSpeed", std::to_wstring(assists.speedPercent));
    snapshot.set(SETTINGS, L"NoDamage", assists.noDamage ? L"1" : L"0");
    snapshot.set(SETTINGS, L"ExtraAirJump", assists.extraAirJump ? L"1" : L"0");
}

std::string remapCellLabel(const Bindings& bindings, int entry) {
    if (entry < 0 || entry >= REMAP_RESET_ENTRY) {
        return {};
    }
    const ActionBinding& binding = bindings.actions[static_cast<std::size_t>(entry / REMAP_CELLS)];
    ActionBinding cell;
    switch (entry % REMAP_CELLS) {
    case 0:
        cell.keys[0] = binding.keys[0];
        return orDash(keyList(cell, ""));
    case 1:
        cell.keys = {binding.keys[1], binding.keys[2], NO_KEY};
        return orDash(keyList(cell, " / "));
    case 2:
        cell.buttons[0] = binding.buttons[0];
        return orDash(buttonList(cell, ""));
    default:
        cell.buttons = {binding.buttons[1], binding.buttons[2], NO_BUTTON};
        return orDash(buttonList(cell, " / "));
    }
}

std::string remapStatus(int listening) {
    if (listening < 0 || listening >= REMAP_RESET_ENTRY) {
        return REMAP_HELP;
    }
    const std::string action = upper(ACTION_LABELS[static_cast<std::size_t>(listening / REMAP_CELLS)]);
    const bool keyCell = listening % REMAP_CELLS < 2;
    return keyCell ? "PRESS A KEY FOR " + action + "  |  ESC OR A PAD BUTTON CANCELS"
                   : "PRESS A CONTROLLER BUTTON FOR " + action + "  |  ESC CANCELS";
}

RemapOutcome remapListen(Bindings& bindings, int entry, const Control& control) {
    if (entry < 0 || entry >= REMAP_RESET_ENTRY || control.keyPressed == static_cast<int>(Key::Escape)) {
        return RemapOutcome::Cancelled;
    }
    const auto action = static_cast<Action>(entry / REMAP_CELLS);
    const int cell = entry % REMAP_CELLS;
    if (cell < 2) {
        if (control.buttonsPressed != 0) {
            return RemapOutcome::Cancelled;
        }
        if (!keyBindable(control.keyPressed)) {
            return RemapOutcome::Waiting;
        }
        bindKey(bindings, action, cell, control.keyPressed);
        return RemapOutcome::Bound;
    }
    for (int bit = 0; bit < 16; ++bit) {
        const auto button = static_cast<std::uint16_t>(1u << bit);
        if ((control.buttonsPressed & button) != 0 && buttonName(button)[0] != '\0') {
            bindButton(bindings, action, cell - 2, button);
            return RemapOutcome::Bound;
        }
    }
    return RemapOutcome::Waiting;
}

std::string assistEntryLabel(int entry, const Assists& assists) {
    switch (entry) {
    case 0:
        return "Game speed: " + std::to_string(assists.speedPercent) + "%";
    case 1:
        return std::string("No damage (pits still count): ") + (assists.noDamage ? "ON" : "OFF");
    case 2:
        return std::string("One extra air jump: ") + (assists.extraAirJump ? "ON" : "OFF");
    case ASSIST_BACK_ENTRY:
        return "Back";
    default:
        return {};
    }
}

void applyAssistEntry(int entry, Assists& assists) {
    switch (entry) {
    case 0:
        assists.speedPercent =
            assists.speedPercent <= SLOWEST_SPEED ? 100 : assists.speedPercent - SPEED_STEP;
        break;
    case 1:
        assists.noDamage = !assists.noDamage;
        break;
    case 2:
        assists.extraAirJump = !assists.extraAirJump;
        break;
    default:
        break;
    }
}

std::array<SheetRow, CONTROLS_ROW_COUNT> controlsSheet(const Bindings& bindings) {
    const auto keys = [&](Action action) { return keyList(of(bindings, action), " / "); };
    const auto buttons = [&](Action action) { return buttonList(of(bindings, action), " / "); };

    // Left and right keys side by side, place by place: "A / D or Left / Right".
    std::string move;
    const ActionBinding& left = of(bindings, Action::MoveLeft);
    const ActionBinding& right = of(bindings, Action::MoveRight);
    for (std::size_t place = 0; place < BINDING_PLACES; ++place) {
        if (left.keys[place] != NO_KEY || right.keys[place] != NO_KEY) {
            move += (move.empty() ? "" : " or ") + orDash(keyName(left.keys[place])) + " / " +
                    orDash(keyName(right.keys[place]));
        }
    }
    const bool padMove = buttons(Action::MoveLeft) == "D-Left" && buttons(Action::MoveRight) == "D-Right";
    const std::string stick =
        padMove ? "Left stick / D-pad"
                : joined({"Left stick", buttons(Action::MoveLeft), buttons(Action::MoveRight)}, " / ");
    const std::string fire = buttons(Action::Fire);
    const std::string restart = buttons(Action::RestartCheckpoint);

    return {{
        {orDash(move), stick},
        {orDash(keys(Action::Jump)), orDash(buttons(Action::Jump))},
        {joined({keys(Action::Fire), "mouse (hold)"}, " or "), fire.empty() ? "-" : fire + " (hold)"},
        {orDash(keys(Action::Read)), orDash(buttons(Action::Read))},
        {joined({keys(Action::SwitchWeapon), "wheel", "1-0"}, " / "), orDash(buttons(Action::SwitchWeapon))},
        {orDash(keys(Action::Dash)), orDash(buttons(Action::Dash))},
        {orDash(joined({keys(Action::Pause), keys(Action::RestartCheckpoint)}, " / ")),
         joined({buttons(Action::Pause), restart.empty() ? "pause menu" : restart}, " / ")},
        {"F11 / M", "Settings"},
    }};
}

std::string controlHint(bool gamepad, const Bindings& bindings) {
    const auto first = [&](Action action) {
        const ActionBinding& binding = of(bindings, action);
        const auto button = std::find_if(binding.buttons.begin(), binding.buttons.end(),
                                         [](std::uint16_t b) { return b != NO_BUTTON; });
        return button == binding.buttons.end() ? std::string() : upper(buttonName(*button));
    };
    if (gamepad) {
        const auto part = [&](Action action, const char* what) {
            const std::string button = first(action);
            return button.empty() ? button : button + " " + what;
        };
        return joined({part(Action::Jump, "JUMP"), part(Action::Fire, "FIRE"), part(Action::Read, "READ"),
                       part(Action::Dash, "DASH")},
                      "  ");
    }
    const ActionBinding& dash = of(bindings, Action::Dash);
    const auto key = std::find_if(dash.keys.begin(), dash.keys.end(), [](int k) { return k != NO_KEY; });
    return joined(
        {"R CLICK JUMP", "WHEEL SWITCH", key == dash.keys.end() ? "" : upper(keyName(*key)) + " DASH"}, "  ");
}

std::string signPromptText(bool gamepad, const Bindings& bindings) {
    const ActionBinding& read = of(bindings, Action::Read);
    std::string how;
    for (std::size_t place = BINDING_PLACES; place-- > 0;) {
        if (gamepad && read.buttons[place] != NO_BUTTON) {
            how = buttonName(read.buttons[place]);
        } else if (!gamepad && read.keys[place] != NO_KEY) {
            how = keyName(read.keys[place]);
        }
    }
    return joined({upper(how), "READ JOURNEY SIGN"}, "  ");
}

std::string signCardPrompt(bool gamepad, const Bindings& bindings) {
    if (gamepad) {
        return "A / B  CONTINUE";
    }
    return joined({"CLICK", "ENTER", keyList(of(bindings, Action::Read), " / ")}, " / ") + "  CONTINUE";
}

} // namespace grumbo

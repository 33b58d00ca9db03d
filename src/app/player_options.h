// The player's own controls and assists: how they are kept in save.ini, the
// remap and assist pages as a model, and the texts that name the keys and
// buttons the player actually uses (the controls sheet, the HUD hint and the
// sign prompt).
#pragma once

#include "app/menus.h"
#include "game/game.h"
#include "input/bindings.h"
#include "input/control.h"
#include "save/ini_snapshot.h"

#include <array>
#include <string>

namespace grumbo {

// Section "Controls": one entry per action for its keys ("Jump=Space,W,Up")
// and one for its buttons ("PadJump=A"). An entry that is missing, empty,
// names something unknown or repeats itself leaves that action's default.
void readControls(const IniSnapshot& file, Bindings& controls);
// Whether any assist differs from playing as the game is meant to be played.
bool assistsOn(const Assists& assists);
// Settings "GameSpeed" (50 to 100, steps of 10), "NoDamage" and "ExtraAirJump".
void readAssists(const IniSnapshot& file, Assists& assists);
// Both are written only once they differ from the defaults or the file
// already holds them, so a player who never opens these pages keeps the file
// the game always wrote.
void writeControls(IniSnapshot& snapshot, const Bindings& controls);
void writeAssists(IniSnapshot& snapshot, const Assists& assists);

// The remap page: a key, a second key, a button and a second button per
// action, row by row, then "Reset to defaults" and "Back".
inline constexpr int REMAP_CELLS = 4;
inline constexpr int REMAP_RESET_ENTRY = ACTION_COUNT * REMAP_CELLS;
inline constexpr int REMAP_BACK_ENTRY = REMAP_RESET_ENTRY + 1;
inline constexpr std::array<const char*, ACTION_COUNT> ACTION_LABELS{
    "Move left",     "Move right", "Fart jump",    "Fire weapon",       "Read signs",
    "Switch weapon", "Dash",       "Pause / back", "Restart checkpoint"};
inline constexpr const char* REMAP_HELP =
    "Pick a place, then press the new key or button. One already in use swaps places.";

// What a cell shows: its key or button, a second cell also a third one the
// game's own map put behind it ("W / Up"), or "-".
std::string remapCellLabel(const Bindings& bindings, int entry);
// The line under the page: help, or what the listening cell waits for.
std::string remapStatus(int listening);

enum class RemapOutcome { Waiting, Bound, Cancelled };
// One frame while the cell `entry` listens. Esc cancels; a key cell takes the
// first key pressed that may be bound and gives up when a controller button
// is pressed; a button cell takes the first button pressed.
RemapOutcome remapListen(Bindings& bindings, int entry, const Control& control);

// The assist page: the speed, no damage, the extra air jump, then "Back".
inline constexpr int ASSIST_BACK_ENTRY = 3;
inline constexpr const char* ASSIST_INTRO =
    "Grumbos Megastream is meant to be played without assists; they are here so\n"
    "that nobody has to stop before the summit.";
inline constexpr const char* ASSIST_NOTE = "Changes apply when the next world starts.\n"
                                           "While any assist is on, the HUD shows ASSIST.";
std::string assistEntryLabel(int entry, const Assists& assists);
// Changes the assist of `entry`; the speed steps down by 10 and wraps from
// 50 % back to 100 %.
void applyAssistEntry(int entry, Assists& assists);

// The keyboard and controller columns of the controls sheet's rows.
struct SheetRow {
    std::string keyboard;
    std::string controller;
};
std::array<SheetRow, CONTROLS_ROW_COUNT> controlsSheet(const Bindings& bindings);
// The HUD's control hint.
std::string controlHint(bool gamepad, const Bindings& bindings);
// "E  READ JOURNEY SIGN" with the player's own key or button.
std::string signPromptText(bool gamepad, const Bindings& bindings);
// The sign card's last line.
std::string signCardPrompt(bool gamepad, const Bindings& bindings);

} // namespace grumbo

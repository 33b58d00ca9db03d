// The player's own controls and assists in the app: a remap cell listening
// for its new key or button, the remap and assist pages' entries, and drawing
// both pages.
#include "app/app.h"
#include "app/palette.h"
#include "app/player_options.h"

namespace grumbo {

using namespace palette;

static_assert(REMAP_BACK_ENTRY + 1 == REMAP_ENTRY_COUNT);
static_assert(ASSIST_BACK_ENTRY + 1 == ASSIST_ENTRY_COUNT);

void App::listenForBinding(const Control& control) {
    // A click on any button gives up, as Esc does.
    const RemapOutcome outcome = menu.clickedButton >= 0
                                     ? RemapOutcome::Cancelled
                                     : remapListen(settings.controls, menu.listening, control);
    menu.clickedButton = -1;
    if (outcome == RemapOutcome::Waiting) {
        return;
    }
    menu.listening = -1;
    if (outcome == RemapOutcome::Bound) {
        input.setBindings(settings.controls);
        audio.play("ui_confirm", 1, 0);
        persist();
    }
}

void App::optionAction(MenuCommand command) {
    switch (command) {
    case MenuCommand::RemapCell:
        menu.listening = menu.selection;
        break;
    case MenuCommand::ResetControls:
        settings.controls = Bindings{};
        input.setBindings(settings.controls);
        persist();
        break;
    case MenuCommand::AssistOption:
        applyAssistEntry(menu.selection, settings.assists);
        persist();
        break;
    default:
        break;
    }
}

void App::remapPage(float cx) {
    panel(cx - 365, 24, 730, 480, VIOLET);
    text("REMAP CONTROLS", cx - 330, 36, 660, 40, 3, GREEN, true);
    text("ACTION", cx - 345, 82, 170, 20, 1, GOLD, false);
    constexpr std::array<const char*, REMAP_CELLS> heads{"KEY", "KEY 2", "PAD", "PAD 2"};
    for (int cell = 0; cell < REMAP_CELLS; ++cell) {
        text(heads[static_cast<std::size_t>(cell)], cx - 170 + 125 * static_cast<float>(cell) + 17, 82, 100,
             20, 1, GOLD, false);
    }
    for (int action = 0; action < ACTION_COUNT; ++action) {
        const float y = 106 + 34 * static_cast<float>(action);
        text(ACTION_LABELS[static_cast<std::size_t>(action)], cx - 345, y + 7, 170, 21, 1, WHITE, false);
        for (int cell = 0; cell < REMAP_CELLS; ++cell) {
            const int entry = action * REMAP_CELLS + cell;
            const float x = cx - 170 + 125 * static_cast<float>(cell);
            if (entry == menu.listening) {
                button("PRESS...", entry, x, y, 120, 30);
                rect(x, y, 120, 2, GOLD, 1);
                rect(x, y + 28, 120, 2, GOLD, 1);
            } else {
                button(remapCellLabel(settings.controls, entry), entry, x, y, 120, 30);
            }
        }
    }
    button("Reset to defaults", REMAP_RESET_ENTRY, cx - 330, 420, 320, 34);
    button("Back", REMAP_BACK_ENTRY, cx + 10, 420, 320, 34);
    text(remapStatus(menu.listening), cx - 330, 464, 660, 30, 0, menu.listening >= 0 ? GOLD : 0xC9BBDA, true);
}

void App::assistPage(float cx) {
    panel(cx - 305, 24, 610, 478, VIOLET);
    text("ASSIST OPTIONS", cx - 280, 40, 560, 42, 3, GREEN, true);
    text(ASSIST_INTRO, cx - 280, 96, 560, 40, 0, WHITE, true);
    for (int i = 0; i < ASSIST_ENTRY_COUNT; ++i) {
        button(assistEntryLabel(i, settings.assists), i, cx - 275, 156 + 47 * static_cast<float>(i), 550, 37);
    }
    text(ASSIST_NOTE, cx - 280, 459, 560, 32, 0, 0xC9BBDA, true);
}

} // namespace grumbo

// The player's own controls and assists: swaps on the remap page, what a
// listening cell takes, the texts that name the player's keys, and how both
// are kept in save.ini, a damaged entry falling back action by action.
#include "app/player_options.h"
#include "app/save_schema.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

int key(Key k) {
    return static_cast<int>(k);
}

TEST(PlayerOptions, SwapsAndTheTextsThatNameThePlayersKeys) {
    Bindings b;
    bindKey(b, Action::Fire, 0, key(Key::Up)); // Up was jump's third key: jump takes J
    bindKey(b, Action::Jump, 1, key(Key::Q));  // the second cell drops its third key; switching takes W
    bindKey(b, Action::Read, 0, key(Key::F));  // a free key: E is let go
    bindKey(b, Action::Dash, 0, key(Key::Ctrl));
    bindButton(b, Action::Jump, 0, pad::B);     // read takes A
    bindButton(b, Action::Pause, 1, pad::Back); // dash gives Back up for nothing
    bindButton(b, Action::RestartCheckpoint, 0, pad::RightShoulder);

    const std::array<SheetRow, CONTROLS_ROW_COUNT> sheet = controlsSheet(b);
    const char* const expected[CONTROLS_ROW_COUNT][2] = {
        {"A / D or Left / Right", "Left stick / D-pad"},
        {"Space / Q", "B"},
        {"Up / X or mouse (hold)", "X (hold)"},
        {"F", "A"},
        {"W / wheel / 1-0", "Y / LB"},
        {"Ctrl / Tab", "-"},
        {"Esc / R", "Start / Back / RB"},
        {"F11 / M", "Settings"},
    };
    for (int row = 0; row < CONTROLS_ROW_COUNT; ++row) {
        EXPECT_EQ(sheet[static_cast<std::size_t>(row)].keyboard, expected[row][0]) << row;
        EXPECT_EQ(sheet[static_cast<std::size_t>(row)].controller, expected[row][1]) << row;
    }
    Bindings moved; // a pad that moves left with X no longer reads as the D-pad
    bindButton(moved, Action::MoveLeft, 0, pad::X);
    EXPECT_EQ(controlsSheet(moved)[0].controller, "Left stick / X / D-Right");
    EXPECT_EQ(controlHint(false, b), "R CLICK JUMP  WHEEL SWITCH  CTRL DASH");
    EXPECT_EQ(controlHint(true, b), "B JUMP  X FIRE  A READ");
    EXPECT_EQ(signPromptText(false, b), "F  READ JOURNEY SIGN");
    EXPECT_EQ(signPromptText(true, b), "A  READ JOURNEY SIGN");
    EXPECT_EQ(signCardPrompt(false, b), "CLICK / ENTER / F  CONTINUE");
    EXPECT_EQ(remapCellLabel(b, 2 * REMAP_CELLS + 1), "Q");
    EXPECT_EQ(remapCellLabel(Bindings{}, 2 * REMAP_CELLS + 1), "W / Up");
    EXPECT_EQ(remapCellLabel(b, 6 * REMAP_CELLS + 2), "-");
    EXPECT_EQ(remapCellLabel(b, REMAP_RESET_ENTRY), "");
    EXPECT_EQ(remapStatus(-1), REMAP_HELP);
    EXPECT_EQ(remapStatus(0), "PRESS A KEY FOR MOVE LEFT  |  ESC OR A PAD BUTTON CANCELS");
    EXPECT_EQ(remapStatus(2 * REMAP_CELLS + 2), "PRESS A CONTROLLER BUTTON FOR FART JUMP  |  ESC CANCELS");
}

TEST(PlayerOptions, AListeningCellTakesWhatItsDeviceGives) {
    const int jumpKey = 2 * REMAP_CELLS;
    const int jumpButton = jumpKey + 2;
    const auto pressed = [](int k, std::uint16_t buttons) {
        Control control;
        control.keyPressed = k;
        control.buttonsPressed = buttons;
        return control;
    };
    const struct {
        int entry;
        Control control;
        RemapOutcome outcome;
    } frames[] = {
        {jumpKey, pressed(-1, 0), RemapOutcome::Waiting},
        {jumpKey, pressed(key(Key::M), 0), RemapOutcome::Waiting},
        {jumpKey, pressed(key(Key::Digit5), 0), RemapOutcome::Waiting},
        {jumpKey, pressed(key(Key::F11), 0), RemapOutcome::Waiting},
        {jumpKey, pressed(key(Key::Escape), 0), RemapOutcome::Cancelled},
        {jumpKey, pressed(-1, pad::A), RemapOutcome::Cancelled},
        {jumpButton, pressed(key(Key::K), 0), RemapOutcome::Waiting},
        {jumpButton, pressed(key(Key::Escape), 0), RemapOutcome::Cancelled},
        {jumpKey, pressed(KEY_COUNT, 0), RemapOutcome::Waiting},
        {REMAP_RESET_ENTRY, pressed(key(Key::K), 0), RemapOutcome::Cancelled},
        {0, pressed(key(Key::Comma), 0), RemapOutcome::Bound},
        {jumpKey, pressed(key(Key::K), 0), RemapOutcome::Bound},
        {jumpKey + 1, pressed(key(Key::Up), 0), RemapOutcome::Bound},
        {jumpButton, pressed(-1, pad::Y | pad::X), RemapOutcome::Bound},
    };
    Bindings b;
    for (const auto& frame : frames) {
        EXPECT_EQ(remapListen(b, frame.entry, frame.control), frame.outcome) << frame.entry;
    }
    // Up was behind W in the second cell: the two change places.
    EXPECT_EQ(keyList(b[Action::Jump], " "), "K Up W");
    // The lowest button pressed wins; fire gave it up and takes A.
    EXPECT_EQ(buttonList(b[Action::Jump], " "), "X");
    EXPECT_EQ(buttonList(b[Action::Fire], " "), "A");
}

// Each name stands for one key or one button of the pad layout, and
// requests out of range change nothing.
TEST(PlayerOptions, NamesAndRequestsOutOfRange) {
    for (int k = 0; k < KEY_COUNT; ++k) {
        EXPECT_EQ(keyNamed(keyName(k)), k) << k;
    }
    EXPECT_STREQ(keyName(NO_KEY), "");
    EXPECT_STREQ(keyName(KEY_COUNT), "");
    const std::pair<std::uint16_t, const char*> buttons[] = {
        {0x1000, "A"},      {0x2000, "B"},       {0x4000, "X"},     {0x8000, "Y"},    {0x0100, "LB"},
        {0x0200, "RB"},     {0x0020, "Back"},    {0x0010, "Start"}, {0x0001, "D-Up"}, {0x0002, "D-Down"},
        {0x0004, "D-Left"}, {0x0008, "D-Right"}, {0x0040, "L3"},    {0x0080, "R3"},   {pad::A | pad::B, ""}};
    for (const auto& [button, name] : buttons) {
        EXPECT_STREQ(buttonName(button), name) << button;
        EXPECT_EQ(buttonNamed(name), name[0] != '\0' ? button : NO_BUTTON) << name;
    }
    Bindings b;
    bindKey(b, Action::Jump, 2, key(Key::K));
    bindKey(b, Action::Jump, -1, key(Key::K));
    bindKey(b, Action::Jump, 0, NO_KEY);
    bindKey(b, Action::Jump, 0, KEY_COUNT);
    bindButton(b, Action::Jump, 0, pad::A | pad::B);
    bindButton(b, Action::Jump, 2, pad::Y);
    EXPECT_EQ(b, Bindings{});
}

TEST(PlayerOptions, SavedControlsAndAssistsReadBackAndDamageFallsBackPerAction) {
    Settings settings;
    bindKey(settings.controls, Action::Dash, 1, key(Key::Semicolon));
    bindKey(settings.controls, Action::MoveLeft, 0, key(Key::Comma));
    bindButton(settings.controls, Action::Read, 0, pad::A);
    settings.assists = {60, true, false};
    Game game;
    Progress progress;
    Settings loaded;
    loadSaveText(saveSnapshotText(L"", game, progress, settings), progress, loaded);
    EXPECT_EQ(loaded.controls, settings.controls);
    EXPECT_EQ(loaded.assists, settings.assists);

    loadSaveText(L"[Controls]\nJump=Space,Bogus\nPadJump=\nFire=K\nPadFire=Y,Y\nDash=A,B,C,D\nPadDash=None\n"
                 L"Read=\u0146\nPadRead= lb , d-up \n[Settings]\nGameSpeed=73\nExtraAirJump=1\n",
                 progress, loaded);
    Bindings expected;
    expected[Action::Fire].keys = {key(Key::K), NO_KEY, NO_KEY};
    expected[Action::Dash].buttons = {};
    expected[Action::Read].buttons = {pad::LeftShoulder, pad::DpadUp, NO_BUTTON};
    EXPECT_EQ(loaded.controls, expected);
    EXPECT_EQ(loaded.assists, (Assists{70, false, true}));
    loadSaveText(L"[Settings]\nGameSpeed=20\n", progress, loaded);
    EXPECT_EQ(loaded.assists, (Assists{50, false, false}));
    EXPECT_EQ(loaded.controls, Bindings{});
    // Back to the defaults, a file that holds the section gets them written.
    settings = Settings{};
    const std::wstring reset = saveSnapshotText(L"[controls]\nJump=K\n", game, progress, settings);
    EXPECT_NE(reset.find(L"Jump=Space,W,Up"), std::wstring::npos);
    EXPECT_EQ(reset.find(L"GameSpeed"), std::wstring::npos);
}

TEST(PlayerOptions, TheSpeedStepsDownByTenAndWraps) {
    Assists assists;
    std::string labels;
    for (int i = 0; i < 7; ++i) {
        applyAssistEntry(0, assists);
        labels += assistEntryLabel(0, assists) + ";";
    }
    EXPECT_EQ(labels, "Game speed: 90%;Game speed: 80%;Game speed: 70%;Game speed: 60%;Game speed: 50%;"
                      "Game speed: 100%;Game speed: 90%;");
    applyAssistEntry(1, assists);
    applyAssistEntry(2, assists);
    EXPECT_EQ(assists, (Assists{90, true, true}));
    EXPECT_TRUE(assistsOn(Assists{100, false, true}));
    EXPECT_TRUE(assistsOn(Assists{60, false, false}));
    EXPECT_FALSE(assistsOn(Assists{}));
}

} // namespace
} // namespace grumbo

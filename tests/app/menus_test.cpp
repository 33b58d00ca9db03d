#include "app/hud_layout.h"
#include "app/menus.h"

#include <gtest/gtest.h>
#include <tuple>

namespace grumbo {
namespace {

Control keys(bool up, bool down, bool confirm = false, bool back = false) {
    Control control;
    control.menuUp = up;
    control.menuDown = down;
    control.confirm = confirm;
    control.back = back;
    return control;
}

TEST(MenusTest, NavigationWrapsOverEachPagesEntryCount) {
    EXPECT_EQ(menuEntryCount(false, MainListScreen), 6);
    EXPECT_EQ(menuEntryCount(true, MainListScreen), 5);
    EXPECT_EQ(menuEntryCount(false, LevelSelectScreen), 11);
    // The controls sheet and the settings each carry one more entry, for the
    // remap page (a key, a second key, a button and a second button for each
    // of nine actions, "Reset to defaults" and "Back") and the assist page.
    EXPECT_EQ(menuEntryCount(true, ControlsScreen), 2);
    EXPECT_EQ(menuEntryCount(false, SettingsScreen), 13);
    EXPECT_EQ(menuEntryCount(false, RemapScreen), 9 * 4 + 2);
    EXPECT_EQ(menuEntryCount(true, AssistScreen), 4);

    MenuState title{.selection = 5};
    EXPECT_EQ(menuKeys(title, keys(false, true), false).moves, 1);
    EXPECT_EQ(title.selection, 0);
    menuKeys(title, keys(true, false), false);
    EXPECT_EQ(title.selection, 5);

    // The pause list is one shorter, so "Main menu" is its last entry.
    MenuState pause;
    menuKeys(pause, keys(true, false), true);
    EXPECT_EQ(pause.selection, 4);
    int world = 0;
    EXPECT_EQ(menuCommand(true, pause, world), MenuCommand::MainMenu);
    EXPECT_EQ(menuCommand(false, pause, world), MenuCommand::OpenSettings);

    // Up and down in one frame: both apply, up first.
    MenuState both{.selection = 2};
    EXPECT_EQ(menuKeys(both, keys(true, true), false).moves, 2);
    EXPECT_EQ(both.selection, 2);
}

TEST(MenusTest, BackAndClickedEntries) {
    MenuState settings{.screen = SettingsScreen, .selection = 7};
    MenuInput result = menuKeys(settings, keys(false, false, false, true), false);
    EXPECT_FALSE(result.act);
    EXPECT_EQ(settings.screen, MainListScreen);
    EXPECT_EQ(settings.selection, 0);

    // Back from the remap and assist pages returns to the entries that opened them.
    for (const auto& [page, parent, entry] : {std::tuple{RemapScreen, ControlsScreen, 1},
                                              std::tuple{AssistScreen, SettingsScreen, ASSIST_ENTRY}}) {
        MenuState below{.screen = page};
        menuKeys(below, keys(false, false, false, true), true);
        EXPECT_EQ(below.screen, parent);
        EXPECT_EQ(below.selection, entry);
    }

    MenuState pause;
    EXPECT_TRUE(menuKeys(pause, keys(false, false, false, true), true).resume);
    MenuState title;
    result = menuKeys(title, keys(false, false, false, true), false);
    EXPECT_FALSE(result.resume);
    EXPECT_FALSE(result.act);

    // A click acts on its own entry in the same frame, ahead of confirm and back.
    MenuState clicked{.selection = 3, .clickedButton = 0};
    result = menuKeys(clicked, keys(false, false, false, true), false);
    EXPECT_TRUE(result.act);
    EXPECT_EQ(clicked.selection, 0);
    EXPECT_EQ(clicked.clickedButton, -1);
}

TEST(MenusTest, PagesAndTheirWayBack) {
    MenuState menu;
    int world = -1;
    menu.selection = 2;
    ASSERT_EQ(menuCommand(false, menu, world), MenuCommand::ChooseLevel);
    EXPECT_TRUE(applyMenuNavigation(menu, MenuCommand::ChooseLevel));
    EXPECT_EQ(menu.screen, LevelSelectScreen);
    for (const int entry : {0, 9}) {
        menu.selection = entry;
        EXPECT_EQ(menuCommand(false, menu, world), MenuCommand::StartWorld);
        EXPECT_EQ(world, entry);
    }
    EXPECT_FALSE(applyMenuNavigation(menu, MenuCommand::StartWorld));
    menu.selection = 10;
    ASSERT_EQ(menuCommand(false, menu, world), MenuCommand::LevelSelectBack);
    applyMenuNavigation(menu, MenuCommand::LevelSelectBack);
    EXPECT_EQ(menu.screen, MainListScreen);
    EXPECT_EQ(menu.selection, 2); // back on "Choose a level"

    EXPECT_EQ(menuCommand(false, MenuState{.screen = AssistScreen}, world), MenuCommand::AssistOption);
    menu.selection = 3;
    applyMenuNavigation(menu, menuCommand(false, menu, world));
    EXPECT_EQ(menu.screen, ControlsScreen);
    ASSERT_EQ(menuCommand(false, menu, world), MenuCommand::GotIt);
    applyMenuNavigation(menu, MenuCommand::GotIt);
    EXPECT_EQ(menu.screen, MainListScreen);
    EXPECT_EQ(menu.selection, 0);
}

TEST(MenusTest, SettingsCyclesAndFullscreenAutoCommit) {
    Settings settings;
    std::vector<int> music;
    for (int i = 0; i < 8; ++i) {
        music.push_back(wholePercent(settings.musicVolume));
        applySettingsEntry(3, settings, false);
    }
    EXPECT_EQ(music, (std::vector<int>{28, 42, 56, 70, 84, 0, 14, 28}));
    std::vector<int> effects;
    for (int i = 0; i < 8; ++i) {
        effects.push_back(wholePercent(settings.effectsVolume));
        applySettingsEntry(4, settings, false);
    }
    EXPECT_EQ(effects, (std::vector<int>{85, 100, 0, 25, 50, 75, 100, 0}));

    // Turning auto-commit on while already in full screen changes nothing at once.
    EXPECT_FALSE(applySettingsEntry(2, settings, true).toggleFullscreen);
    EXPECT_TRUE(settings.autoFullscreen);

    settings.resolutionIndex = 3;
    EXPECT_TRUE(applySettingsEntry(0, settings, true).changeResolution);
    EXPECT_EQ(settings.resolutionIndex, 0);

    settings.voiceClips = false;
    EXPECT_TRUE(applySettingsEntry(5, settings, false).voiceSample);
    EXPECT_FALSE(applySettingsEntry(5, settings, false).voiceSample);
    EXPECT_FALSE(settings.captions);
    EXPECT_FALSE(applySettingsEntry(9, settings, false).back);
    EXPECT_EQ(settingsEntryLabel(9, settings, false), "Captions: ON");
    EXPECT_FALSE(applySettingsEntry(10, settings, false).back);
    EXPECT_EQ(settingsEntryLabel(10, settings, false), "Timer: WORLD");
    applySettingsEntry(10, settings, false);
    EXPECT_EQ(settingsEntryLabel(10, settings, false), "Timer: JOURNEY");
    applySettingsEntry(10, settings, false);
    EXPECT_EQ(settingsEntryLabel(10, settings, false), "Timer: OFF");
    EXPECT_TRUE(applySettingsEntry(11, settings, false).back);
    EXPECT_EQ(settingsEntryLabel(1, settings, true), "Fullscreen now: ON");
    EXPECT_TRUE(applySettingsEntry(1, settings, false).toggleFullscreen);
    EXPECT_FALSE(applySettingsEntry(2, settings, false).toggleFullscreen);
    EXPECT_EQ(settingsEntryLabel(7, settings, false), "[X] Occasional fake IP-address joke");
}

struct MouseRig {
    MousePlay mouse;
    MenuState menu;
    MouseScene scene;
    std::vector<FRect> regions;

    MouseRig() {
        regions = {{100, 100, 320, 37}, {100, 142, 320, 37}};
        scene.clickRegions = &regions;
    }

    Control frame(float x, float y, bool left = false, bool right = false, bool middle = false) {
        Control control;
        MouseSample sample;
        sample.x = x;
        sample.y = y;
        sample.left = left;
        sample.right = right;
        sample.middle = middle;
        mouse.update(sample, scene, menu, control);
        return control;
    }
};

TEST(MouseTest, HoverNeedsRealMovementAndClicksActAtOnce) {
    MouseRig rig;
    rig.frame(150, 150); // first sight of the cursor counts as movement
    EXPECT_EQ(rig.menu.selection, 1);
    rig.menu.selection = 0; // the keyboard moves on
    rig.frame(150.3f, 150.2f);
    EXPECT_EQ(rig.menu.selection, 0);
    rig.frame(150.3f, 120);
    EXPECT_EQ(rig.menu.selection, 0);
    rig.frame(151, 150);
    EXPECT_EQ(rig.menu.selection, 1);

    rig.mouse.leftClickPending = true;
    rig.frame(151, 110); // the button is up again by the frame that sees the click
    EXPECT_EQ(rig.menu.clickedButton, 0);
    EXPECT_FALSE(rig.mouse.leftClickPending);
    // The press that acted on the menu is not used by play afterwards.
    rig.scene.state = Playing;
    Control held = rig.frame(400, 300, true);
    EXPECT_FALSE(held.fireHeld);
    rig.frame(400, 300, false);
    EXPECT_TRUE(rig.frame(400, 300, true).fireHeld);
}

TEST(MouseTest, HudBandsNeitherFireNorAim) {
    MouseRig rig;
    rig.scene.state = Playing;
    rig.mouse.leftClickPending = true;
    Control top = rig.frame(480, 60, true);
    EXPECT_FALSE(top.fireHeld);
    EXPECT_FALSE(top.aiming);
    Control bottom = rig.frame(80, 500, true);
    EXPECT_FALSE(bottom.fireHeld);
    Control play = rig.frame(480, 300, true);
    EXPECT_TRUE(play.fireHeld);
    EXPECT_TRUE(play.aiming);
    EXPECT_NEAR(play.aim.y, (300 - 11.465519f) / 0.8491379f, 1e-3);
}

TEST(MouseTest, PressOnPlayButtonStaysThatButton) {
    MouseRig rig;
    rig.scene.state = Playing;
    const Rect jump = playButtonRect(JumpButton, rig.scene.viewWidth);
    EXPECT_FALSE(rig.frame(jump.x + 5, jump.y + 5).jumpHeld); // a resting cursor presses nothing
    rig.mouse.leftClickPending = true;
    Control click = rig.frame(jump.x + 5, jump.y + 5, true);
    EXPECT_TRUE(click.jumpHeld);
    EXPECT_TRUE(click.jumpPressed);
    EXPECT_FALSE(click.fireHeld);
    // Sliding into the play area keeps jumping and never fires.
    Control slid = rig.frame(480, 300, true);
    EXPECT_TRUE(slid.jumpHeld);
    EXPECT_FALSE(slid.jumpPressed);
    EXPECT_FALSE(slid.fireHeld);
    Control released = rig.frame(480, 300, false);
    EXPECT_FALSE(released.jumpHeld);

    const Rect pause = playButtonRect(PauseButton, rig.scene.viewWidth);
    rig.mouse.leftClickPending = true;
    EXPECT_TRUE(rig.frame(pause.x + 1, pause.y + 1, true).pause);
    EXPECT_FALSE(rig.frame(pause.x + 1, pause.y + 1, true).pause); // once per click
    for (const int button : {ReadButton, DashButton}) {
        const Rect r = playButtonRect(button, rig.scene.viewWidth);
        rig.frame(r.x + 1, r.y + 1, false);
        rig.mouse.leftClickPending = true;
        const Control once = rig.frame(r.x + 1, r.y + 1, true);
        EXPECT_TRUE(button == ReadButton ? once.interact : once.dash);
    }
    // Held buttons hold their action, frame after frame, and only it.
    for (const int button : {MoveLeftButton, MoveRightButton, FireButton}) {
        const Rect r = playButtonRect(button, rig.scene.viewWidth);
        rig.frame(r.x + 1, r.y + 1, false);
        rig.mouse.leftClickPending = true;
        rig.frame(r.x + 1, r.y + 1, true);
        const Control held = rig.frame(r.x + 1, r.y + 1, true);
        EXPECT_EQ(held.left, button == MoveLeftButton) << button;
        EXPECT_EQ(held.right, button == MoveRightButton) << button;
        EXPECT_EQ(held.fireHeld, button == FireButton) << button;
        EXPECT_FALSE(held.jumpHeld) << button;
    }
}

TEST(MouseTest, WheelCarriesItsRemainderAndMiddleButtonMoves) {
    MouseRig rig;
    rig.scene.state = Playing;
    rig.mouse.wheelDelta = 90;
    EXPECT_FALSE(rig.frame(480, 300).nextWeapon);
    EXPECT_EQ(rig.mouse.wheelDelta, 90);
    rig.mouse.wheelDelta += 60;
    EXPECT_TRUE(rig.frame(480, 300).nextWeapon);
    EXPECT_EQ(rig.mouse.wheelDelta, 30);
    // In menus whole notches are dropped, the remainder kept.
    rig.scene.state = Title;
    rig.mouse.wheelDelta = 250;
    rig.frame(480, 300);
    EXPECT_EQ(rig.mouse.wheelDelta, 10);

    rig.scene.state = Playing;
    rig.scene.playerCentreX = 500;
    EXPECT_TRUE(rig.frame(400, 300, false, false, true).left);
    EXPECT_TRUE(rig.frame(600, 300, false, false, true).right);
    Control still = rig.frame(510, 300, false, false, true);
    EXPECT_FALSE(still.left || still.right);

    // A right press jumps once, then holds.
    Control press = rig.frame(480, 300, false, true);
    EXPECT_TRUE(press.jumpPressed);
    Control hold = rig.frame(480, 300, false, true);
    EXPECT_TRUE(hold.jumpHeld);
    EXPECT_FALSE(hold.jumpPressed);
}

TEST(MouseTest, CardsConfirmOnClickAndSignsOpenOnClick) {
    MouseRig rig;
    rig.scene.state = WorldComplete;
    // A click counts inside the canvas, 0 <= x < 960 and 0 <= y < 540.
    for (const float at : {-0.1f, 0.0f, 539.9f, 540.0f, 959.9f, 960.0f}) {
        rig.mouse.leftClickPending = true;
        EXPECT_EQ(rig.frame(at, 300, true).confirm, at >= 0 && at < 960) << at;
        rig.mouse.leftClickPending = true;
        EXPECT_EQ(rig.frame(300, at, true).confirm, at >= 0 && at < 540) << at;
    }

    rig.scene.state = Playing;
    rig.scene.signNearby = true;
    rig.scene.signPos = {700, 470};
    rig.scene.cameraX = 300; // the sign is at canvas x 400
    rig.frame(0, 0, false);
    rig.mouse.leftClickPending = true;
    Control onPrompt = rig.frame(400, 340, true);
    EXPECT_TRUE(onPrompt.interact);
    EXPECT_FALSE(onPrompt.fireHeld);
    // The sign spans x 374 to 426 below the prompt, which spans y 332 to 364.
    const float signY = (470 - 62) * 0.8491379f + 11.465519f + 10;
    EXPECT_TRUE(signClickHit(374, signY, {700, 470}, 300, 960));
    EXPECT_FALSE(signClickHit(426, signY, {700, 470}, 300, 960));
    EXPECT_FALSE(signClickHit(300, 331.9f, {700, 470}, 300, 960));
    EXPECT_TRUE(signClickHit(300, 332, {700, 470}, 300, 960));
    EXPECT_FALSE(signClickHit(430, 200, {700, 470}, 300, 960));
}

} // namespace
} // namespace grumbo

// The menus as a model: screens, their entries and texts, navigation, what
// each entry does, the settings cycles, and how the mouse drives menus and
// play. The app draws the screens and carries out the commands.
#pragma once

#include "app/save_schema.h"
#include "game/game.h"
#include "input/control.h"
#include "platform/renderer.h"

#include <array>
#include <string>
#include <vector>

namespace grumbo {

// Pages of the menu family (title or pause); the game's state picks the family.
enum MenuScreen : int {
    MainListScreen = 0,
    LevelSelectScreen = 1,
    ControlsScreen = 2,
    SettingsScreen = 3,
    RemapScreen = 4,
    AssistScreen = 5,
};

inline constexpr int TITLE_ENTRY_COUNT = 6;
inline constexpr int PAUSE_ENTRY_COUNT = 5;
inline constexpr int LEVEL_SELECT_ENTRY_COUNT = 11;
inline constexpr int CONTROLS_ENTRY_COUNT = 2;
inline constexpr int SETTINGS_ENTRY_COUNT = 13;
// Beside "Got it" on the controls sheet, and in the settings page's corner
// (the last settings entry, so entries added to the list come before it).
inline constexpr int REMAP_ENTRY = 1;
inline constexpr int ASSIST_ENTRY = SETTINGS_ENTRY_COUNT - 1;
inline constexpr int REMAP_ENTRY_COUNT = 38;
inline constexpr int ASSIST_ENTRY_COUNT = 4;
inline constexpr int CONTROLS_ROW_COUNT = 8;

inline constexpr std::array<const char*, 10> LEVEL_NAMES{
    "Neon Woodland", "Dead Signal City", "Slender Static Forest", "Splash Zone",     "Alphabet Citadel",
    "Pixel Peak",    "Retro Reactor",    "Snackworks Factory",    "Midnight Arcade", "Subscriber Summit",
};
inline constexpr std::array<const char*, 10> LEVEL_TAGS{
    "Roots, spikes, and the first broadcast.", "Armored mobs and a buffering brute.",
    "Time your escape from the tall viewer.",  "Ride geysers. Outplay Captain Splash.",
    "Spell your way past the Tile King.",      "Moving ledges under a drone patrol.",
    "Laser gates and an overclocked core.",    "Conveyor chaos and hungry machines.",
    "Crumbling tiles and arcade ambushes.",    "The final raid waits above the clouds.",
};
inline constexpr std::array<const char*, PAUSE_ENTRY_COUNT> PAUSE_ENTRIES{
    "Resume", "Restart checkpoint", "Controls", "Settings", "Main menu"};
struct ControlsRow {
    const char* action;
    const char* keyboard;
    const char* controller;
};
inline constexpr std::array<ControlsRow, CONTROLS_ROW_COUNT> CONTROLS_ROWS{{
    {"Move", "A / D or Left / Right", "Left stick / D-pad"},
    {"Fart jump", "Space / W / Up", "A"},
    {"Fire weapon", "J / X or mouse (hold)", "X (hold)"},
    {"Read signs", "E", "B"},
    {"Switch weapon", "Q / wheel / 1-0", "Y / LB / RB"},
    {"Dash", "Shift / Tab", "Back"},
    {"Pause / checkpoint", "Esc / R", "Start / pause menu"},
    {"Fullscreen / mute", "F11 / M", "Settings"},
}};
inline constexpr const char* CONTROLS_MOUSE_HELP =
    "MOUSE: left click aims/fires; right click jumps; wheel switches weapons.\n"
    "Hold middle mouse to move, or use the bottom HUD controls.\n"
    "Dash through danger. Time jumps around flashing traps and moving ledges.\n"
    "Every world ends in a boss. Dodge its wind-up, then counterattack.";
inline constexpr const char* SETTINGS_NOTE =
    "VSYNC is a placebo. The game keeps its 60 FPS timer.\n"
    "Auto-commit saves fullscreen for the next launch. M mutes audio.";

// The highlighted page and entry, the page the controls sheet returns to, and
// a menu entry the mouse clicked this frame (-1 none).
struct MenuState {
    int screen = MainListScreen;
    int selection = 0;
    int returnScreen = MainListScreen;
    int clickedButton = -1;
    // The remap page's cell waiting for a key or button, -1 none.
    int listening = -1;
};

int menuEntryCount(bool paused, int screen);

// Everything an entry can do; the app carries out the ones that reach past the menus.
enum class MenuCommand {
    None,
    ContinueJourney,
    NewJourney,
    ChooseLevel,
    OpenControls,
    OpenSettings,
    Quit,
    Resume,
    RestartCheckpoint,
    MainMenu,
    StartWorld,
    LevelSelectBack,
    GotIt,
    WindowSize,
    FullscreenNow,
    AutoFullscreen,
    MusicVolume,
    EffectsVolume,
    VoiceClips,
    ScreenShake,
    IpJokes,
    Vsync,
    Captions,
    Timer,
    SettingsBack,
    OpenRemap,
    RemapCell,
    ResetControls,
    RemapBack,
    OpenAssist,
    AssistOption,
    AssistBack,
};
// The command of the highlighted entry; for StartWorld, `world` is its index.
MenuCommand menuCommand(bool paused, const MenuState& menu, int& world);
// Moves between pages for the commands that only do that; false for the rest.
bool applyMenuNavigation(MenuState& menu, MenuCommand command);

// One frame of keyboard or controller input on a menu page.
struct MenuInput {
    int moves = 0;       // selection moves made (each plays a click)
    bool act = false;    // carry out the highlighted entry
    bool resume = false; // back on the pause list: return to play
};
MenuInput menuKeys(MenuState& menu, const Control& control, bool paused);

// What a settings entry asks of the app besides the changed setting.
struct SettingsEffect {
    bool changeResolution = false;
    bool toggleFullscreen = false;
    bool volumesChanged = false;
    bool voiceChanged = false;
    bool voiceSample = false; // voice clips were just turned on
    bool restartIpJoke = false;
    bool back = false;
};
SettingsEffect applySettingsEntry(int entry, Settings& settings, bool fullscreenNow);
// 0.28, 0.42, ... 0.84, then 0 and up again in 0.14 steps.
float nextMusicVolume(float volume);
// 0.85, 1, 0, 0.25, 0.5, 0.75, 1, 0, ...
float nextEffectsVolume(float volume);
int wholePercent(float volume);

std::string titleEntryLabel(int entry, int savedLevel);
std::string levelEntryLabel(int world);
std::string settingsEntryLabel(int entry, const Settings& settings, bool fullscreenNow);
std::string resolutionLabel(int index);
const char* menuFooter(bool gamepad);

// The mouse as it is this frame, in canvas units.
struct MouseSample {
    float x = 0;
    float y = 0;
    bool active = true; // the game is the foreground application
    bool left = false;
    bool right = false;
    bool middle = false;
};

// What the mouse needs to know about the frame being shown.
struct MouseScene {
    int state = Title;
    float viewWidth = DEFAULT_VIEW_WIDTH;
    float cameraX = 0;
    float playerCentreX = 0;
    bool signNearby = false;
    Vec2 signPos;
    const std::vector<FRect>* clickRegions = nullptr;
};

// The mouse on menus and in play: hover and clicks on menu buttons, clicks
// on cards, the on-screen play buttons, sign clicks, aiming and firing,
// right-button jumps, middle-button movement and the wheel.
class MousePlay {
  public:
    // Turns one frame of mouse state into menu selections and clicks and
    // ORs play actions into the control record; then clears the pending
    // clicks and keeps the wheel's remainder below one notch.
    void update(const MouseSample& sample, const MouseScene& scene, MenuState& menu, Control& control);

    float mouseX = 0;
    float mouseY = 0;
    float lastMouseX = -10000;
    float lastMouseY = -10000;
    bool inside = false;
    bool leftClickPending = false;
    bool rightClickPending = false;
    bool leftConsumed = false;
    bool rightWasHeld = false;
    int touchButton = -1;
    int wheelDelta = 0;
    float moveDeadZone = 24;
};

// Whether a canvas point falls on the sign or on its prompt box.
bool signClickHit(float mouseX, float mouseY, Vec2 signPos, float cameraX, float viewWidth);

} // namespace grumbo

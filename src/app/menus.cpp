// Menu navigation, entry commands, settings cycles and the mouse model.

#include "app/menus.h"

#include "app/hud_layout.h"

#include <algorithm>
#include <cmath>

namespace grumbo {
namespace {

constexpr std::array<const char*, TITLE_ENTRY_COUNT> TITLE_ENTRIES{
    "Continue journey", "New journey", "Choose a level", "Controls", "Settings", "Quit"};
constexpr std::array<const char*, RESOLUTION_COUNT> RESOLUTION_LABELS{"1280 x 720", "1920 x 1080",
                                                                      "2560 x 1440", "3440 x 1440"};
// The level band's world-to-canvas mapping, for clicks on a sign.
constexpr float SIGN_BAND_SCALE = 0.8491379f;
constexpr float SIGN_BAND_OFFSET = 11.465519f;
constexpr float SIGN_HEIGHT = 32.26724f;
constexpr float HOVER_MOVE = 0.4f;
constexpr int WHEEL_NOTCH = 120;
// The HUD bands above and below the level band take no aim.
constexpr float BAND_LIMIT_TOP = 76;
constexpr float BAND_LIMIT_BOTTOM = 470;

const char* onOff(bool on) {
    return on ? "ON" : "OFF";
}
const char* checkBox(bool on) {
    return on ? "[X] " : "[ ] ";
}

bool contains(const FRect& r, float x, float y) {
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

} // namespace

int menuEntryCount(bool paused, int screen) {
    switch (screen) {
    case LevelSelectScreen:
        return LEVEL_SELECT_ENTRY_COUNT;
    case ControlsScreen:
        return CONTROLS_ENTRY_COUNT;
    case SettingsScreen:
        return SETTINGS_ENTRY_COUNT;
    case RemapScreen:
        return REMAP_ENTRY_COUNT;
    case AssistScreen:
        return ASSIST_ENTRY_COUNT;
    default:
        return paused ? PAUSE_ENTRY_COUNT : TITLE_ENTRY_COUNT;
    }
}

MenuCommand menuCommand(bool paused, const MenuState& menu, int& world) {
    world = -1;
    const int entry = menu.selection;
    switch (menu.screen) {
    case MainListScreen:
        if (paused) {
            constexpr std::array<MenuCommand, PAUSE_ENTRY_COUNT> pause{
                MenuCommand::Resume, MenuCommand::RestartCheckpoint, MenuCommand::OpenControls,
                MenuCommand::OpenSettings, MenuCommand::MainMenu};
            return entry >= 0 && entry < PAUSE_ENTRY_COUNT ? pause[static_cast<std::size_t>(entry)]
                                                           : MenuCommand::None;
        } else {
            constexpr std::array<MenuCommand, TITLE_ENTRY_COUNT> title{
                MenuCommand::ContinueJourney, MenuCommand::NewJourney,   MenuCommand::ChooseLevel,
                MenuCommand::OpenControls,    MenuCommand::OpenSettings, MenuCommand::Quit};
            return entry >= 0 && entry < TITLE_ENTRY_COUNT ? title[static_cast<std::size_t>(entry)]
                                                           : MenuCommand::None;
        }
    case LevelSelectScreen:
        if (entry >= 0 && entry < LEVEL_SELECT_ENTRY_COUNT - 1) {
            world = entry;
            return MenuCommand::StartWorld;
        }
        return entry == LEVEL_SELECT_ENTRY_COUNT - 1 ? MenuCommand::LevelSelectBack : MenuCommand::None;
    case ControlsScreen:
        return entry == 0             ? MenuCommand::GotIt
               : entry == REMAP_ENTRY ? MenuCommand::OpenRemap
                                      : MenuCommand::None;
    case RemapScreen:
        return entry == REMAP_ENTRY_COUNT - 1                ? MenuCommand::RemapBack
               : entry == REMAP_ENTRY_COUNT - 2              ? MenuCommand::ResetControls
               : entry >= 0 && entry < REMAP_ENTRY_COUNT - 2 ? MenuCommand::RemapCell
                                                             : MenuCommand::None;
    case AssistScreen:
        return entry == ASSIST_ENTRY_COUNT - 1            ? MenuCommand::AssistBack
               : entry >= 0 && entry < ASSIST_ENTRY_COUNT ? MenuCommand::AssistOption
                                                          : MenuCommand::None;
    case SettingsScreen: {
        constexpr std::array<MenuCommand, SETTINGS_ENTRY_COUNT> settings{
            MenuCommand::WindowSize,  MenuCommand::FullscreenNow, MenuCommand::AutoFullscreen,
            MenuCommand::MusicVolume, MenuCommand::EffectsVolume, MenuCommand::VoiceClips,
            MenuCommand::ScreenShake, MenuCommand::IpJokes,       MenuCommand::Vsync,
            MenuCommand::Captions,    MenuCommand::Timer,         MenuCommand::SettingsBack,
            MenuCommand::OpenAssist};
        return entry >= 0 && entry < SETTINGS_ENTRY_COUNT ? settings[static_cast<std::size_t>(entry)]
                                                          : MenuCommand::None;
    }
    default:
        return MenuCommand::None;
    }
}

bool applyMenuNavigation(MenuState& menu, MenuCommand command) {
    switch (command) {
    case MenuCommand::ChooseLevel:
        menu.screen = LevelSelectScreen;
        menu.selection = 0;
        return true;
    case MenuCommand::OpenControls:
        menu.screen = ControlsScreen;
        menu.selection = 0;
        menu.returnScreen = MainListScreen;
        return true;
    case MenuCommand::OpenSettings:
        menu.screen = SettingsScreen;
        menu.selection = 0;
        menu.returnScreen = MainListScreen;
        return true;
    case MenuCommand::LevelSelectBack:
        // Back where the player came from: on "Choose a level".
        menu.screen = MainListScreen;
        menu.selection = 2;
        return true;
    case MenuCommand::GotIt:
        menu.screen = menu.returnScreen;
        menu.selection = 0;
        return true;
    case MenuCommand::SettingsBack:
        menu.screen = MainListScreen;
        menu.selection = 0;
        return true;
    case MenuCommand::OpenRemap:
        menu.screen = RemapScreen;
        menu.selection = 0;
        return true;
    case MenuCommand::RemapBack:
        menu.screen = ControlsScreen;
        menu.selection = REMAP_ENTRY;
        menu.listening = -1;
        return true;
    case MenuCommand::OpenAssist:
        menu.screen = AssistScreen;
        menu.selection = 0;
        return true;
    case MenuCommand::AssistBack:
        menu.screen = SettingsScreen;
        menu.selection = ASSIST_ENTRY;
        return true;
    default:
        return false;
    }
}

MenuInput menuKeys(MenuState& menu, const Control& control, bool paused) {
    MenuInput result;
    const int count = menuEntryCount(paused, menu.screen);
    menu.selection = ((menu.selection % count) + count) % count;
    if (control.menuUp) {
        menu.selection = (menu.selection + count - 1) % count;
        ++result.moves;
    }
    if (control.menuDown) {
        menu.selection = (menu.selection + 1) % count;
        ++result.moves;
    }
    if (menu.clickedButton >= 0) {
        menu.selection = std::min(menu.clickedButton, count - 1);
        menu.clickedButton = -1;
        result.act = true;
    } else if (control.confirm) {
        result.act = true;
    } else if (control.back) {
        // The remap and assist pages sit under the controls sheet and the settings.
        if (menu.screen == RemapScreen || menu.screen == AssistScreen) {
            applyMenuNavigation(menu, menu.screen == RemapScreen ? MenuCommand::RemapBack
                                                                 : MenuCommand::AssistBack);
        } else if (menu.screen != MainListScreen) {
            menu.screen = MainListScreen;
            menu.selection = 0;
        } else if (paused) {
            result.resume = true;
        }
    }
    return result;
}

float nextMusicVolume(float volume) {
    return volume > 0.7f ? 0.0f : volume + 0.14f;
}

float nextEffectsVolume(float volume) {
    return volume > 0.9f ? 0.0f : std::min(volume + 0.25f, 1.0f);
}

// Truncated, but a percent read from the save (53 / 100 as a float is just
// under 0.53) still reads as itself.
int wholePercent(float volume) {
    return static_cast<int>(volume * 100.0f + 0.001f);
}

SettingsEffect applySettingsEntry(int entry, Settings& settings, bool fullscreenNow) {
    SettingsEffect effect;
    switch (entry) {
    case 0:
        settings.resolutionIndex = (settings.resolutionIndex + 1) % RESOLUTION_COUNT;
        effect.changeResolution = true;
        break;
    case 1:
        effect.toggleFullscreen = true;
        break;
    case 2:
        settings.autoFullscreen = !settings.autoFullscreen;
        effect.toggleFullscreen = settings.autoFullscreen && !fullscreenNow;
        break;
    case 3:
        settings.musicVolume = nextMusicVolume(settings.musicVolume);
        effect.volumesChanged = true;
        break;
    case 4:
        settings.effectsVolume = nextEffectsVolume(settings.effectsVolume);
        effect.volumesChanged = true;
        break;
    case 5:
        settings.voiceClips = !settings.voiceClips;
        effect.voiceChanged = true;
        effect.voiceSample = settings.voiceClips;
        break;
    case 6:
        settings.screenShake = !settings.screenShake;
        break;
    case 7:
        settings.ipJokes = !settings.ipJokes;
        effect.restartIpJoke = true;
        break;
    case 9:
        settings.captions = !settings.captions;
        break;
    case 10:
        settings.timer = (settings.timer + 1) % 3;
        break;
    case 11:
        effect.back = true;
        break;
    default:
        break;
    }
    return effect;
}

std::string titleEntryLabel(int entry, int savedLevel) {
    if (entry < 0 || entry >= TITLE_ENTRY_COUNT) {
        return {};
    }
    std::string label = TITLE_ENTRIES[static_cast<std::size_t>(entry)];
    if (entry == 0 && savedLevel < 0) {
        label += " (no save yet)";
    }
    return label;
}

std::string levelEntryLabel(int world) {
    const int w = std::clamp(world, 0, static_cast<int>(LEVEL_NAMES.size()) - 1);
    return worldNumber(w) + "  " + LEVEL_NAMES[static_cast<std::size_t>(w)];
}

std::string resolutionLabel(int index) {
    return RESOLUTION_LABELS[static_cast<std::size_t>(std::clamp(index, 0, RESOLUTION_COUNT - 1))];
}

std::string settingsEntryLabel(int entry, const Settings& settings, bool fullscreenNow) {
    switch (entry) {
    case 0:
        return "Window: " + resolutionLabel(settings.resolutionIndex);
    case 1:
        return std::string("Fullscreen now: ") + onOff(fullscreenNow);
    case 2:
        return std::string(checkBox(settings.autoFullscreen)) + "Fullscreen auto-commit on startup";
    case 3:
        return "Music: " + std::to_string(wholePercent(settings.musicVolume)) + "%";
    case 4:
        return "Sound effects: " + std::to_string(wholePercent(settings.effectsVolume)) + "%";
    case 5:
        return std::string("Grumbo voice clips: ") + onOff(settings.voiceClips);
    case 6:
        return std::string("Screen shake: ") + onOff(settings.screenShake);
    case 7:
        return std::string(checkBox(settings.ipJokes)) + "Occasional fake IP-address joke";
    case 8:
        return "VSYNC: does absolutely nothing (honest)";
    case 9:
        return std::string("Captions: ") + onOff(settings.captions);
    case 10: {
        static const char* const modes[] = {"OFF", "WORLD", "JOURNEY"};
        return std::string("Timer: ") + modes[std::clamp(settings.timer, 0, 2)];
    }
    case 11:
        return "Back";
    case ASSIST_ENTRY:
        return "Assist";
    default:
        return {};
    }
}

const char* menuFooter(bool gamepad) {
    return gamepad ? "CONTROLLER CONNECTED  |  A SELECT  B BACK"
                   : "ARROWS SELECT  |  ENTER CONFIRM  |  ESC BACK";
}

bool signClickHit(float mouseX, float mouseY, Vec2 signPos, float cameraX, float viewWidth) {
    const float sx = signPos.x - cameraX;
    const float top = (signPos.y - 62) * SIGN_BAND_SCALE + SIGN_BAND_OFFSET;
    const bool onSign = mouseX >= sx - 26 && mouseX < sx + 26 && mouseY >= top && mouseY < top + SIGN_HEIGHT;
    const float promptX = std::clamp(sx - 112, 8.0f, std::max(viewWidth - 232, 8.0f));
    const bool onPrompt = mouseX >= promptX && mouseX < promptX + 224 && mouseY >= 332 && mouseY < 364;
    return onSign || onPrompt;
}

void MousePlay::update(const MouseSample& sample, const MouseScene& scene, MenuState& menu,
                       Control& control) {
    mouseX = sample.x;
    mouseY = sample.y;
    inside = sample.active && mouseX >= 0 && mouseX < scene.viewWidth && mouseY >= 0 && mouseY < VIEW_HEIGHT;

    if (!sample.left) {
        leftConsumed = false;
        touchButton = -1;
    }
    if (scene.state != Playing && (sample.left || leftClickPending)) {
        leftConsumed = true;
    }

    const bool moved =
        std::fabs(mouseX - lastMouseX) > HOVER_MOVE || std::fabs(mouseY - lastMouseY) > HOVER_MOVE;
    if (moved) {
        lastMouseX = mouseX;
        lastMouseY = mouseY;
    }

    switch (scene.state) {
    case Title:
    case Paused:
        if (inside && scene.clickRegions != nullptr) {
            for (std::size_t i = 0; i < scene.clickRegions->size(); ++i) {
                if (!contains((*scene.clickRegions)[i], mouseX, mouseY)) {
                    continue;
                }
                if (moved) {
                    menu.selection = static_cast<int>(i);
                }
                if (leftClickPending) {
                    menu.clickedButton = static_cast<int>(i);
                }
            }
        }
        break;
    case SignCard:
    case WorldComplete:
    case Finale:
        if (leftClickPending && inside) {
            control.confirm = true;
        }
        break;
    case Playing: {
        const bool overHud = !inside || mouseY <= BAND_LIMIT_TOP || mouseY >= BAND_LIMIT_BOTTOM;
        const int hovered = inside ? playButtonAt(mouseX, mouseY, scene.viewWidth) : -1;
        if (leftClickPending && !leftConsumed && hovered >= 0) {
            touchButton = hovered;
        }
        int button = -1;
        if ((sample.left && !leftConsumed) || leftClickPending) {
            button = touchButton >= 0 ? touchButton : hovered;
        }
        switch (button) {
        case MoveLeftButton:
            control.left = true;
            break;
        case MoveRightButton:
            control.right = true;
            break;
        case JumpButton:
            control.jumpHeld = true;
            control.jumpPressed = control.jumpPressed || leftClickPending;
            break;
        case FireButton:
            control.fireHeld = true;
            break;
        case ReadButton:
            control.interact = control.interact || leftClickPending;
            break;
        case DashButton:
            control.dash = control.dash || leftClickPending;
            break;
        case PauseButton:
            control.pause = control.pause || leftClickPending;
            break;
        default:
            break;
        }
        const bool signClicked = button < 0 && scene.signNearby && leftClickPending && inside &&
                                 signClickHit(mouseX, mouseY, scene.signPos, scene.cameraX, scene.viewWidth);
        if (signClicked) {
            control.interact = true;
        } else if (button < 0 && sample.active && !overHud) {
            const Vec2 world{mouseX + scene.cameraX, (mouseY - SIGN_BAND_OFFSET) / SIGN_BAND_SCALE};
            if ((sample.left || leftClickPending) && !leftConsumed) {
                control.fireHeld = true;
                control.aiming = true;
                control.aim = world;
            }
            if (sample.right || rightClickPending) {
                control.jumpHeld = true;
            }
            if ((sample.right && !rightWasHeld) || rightClickPending) {
                control.jumpPressed = true;
            }
            if (sample.middle) {
                if (world.x < scene.playerCentreX - moveDeadZone) {
                    control.left = true;
                } else if (world.x > scene.playerCentreX + moveDeadZone) {
                    control.right = true;
                }
            }
        }
        if (sample.active && std::abs(wheelDelta) >= WHEEL_NOTCH) {
            control.nextWeapon = true;
        }
        rightWasHeld = sample.right;
        break;
    }
    default:
        break;
    }

    leftClickPending = false;
    rightClickPending = false;
    wheelDelta %= WHEEL_NOTCH;
}

} // namespace grumbo

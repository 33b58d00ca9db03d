// The flow between play and the screens around it: keyboard, controller and
// mouse on menus and in play, the menu entries' actions, starting a world
// fresh or continuing the saved journey, and drawing the title, pause,
// level select, controls sheet and settings pages and the cards over the world.
#include "app/app.h"
#include "app/hud_layout.h"
#include "app/palette.h"
#include "app/player_options.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace grumbo {

using namespace palette;

void App::mouseInput(Control& control) {
    const MouseState state = window.mouse();
    MouseSample sample;
    sample.x = static_cast<float>(state.x) / viewScale;
    sample.y = (static_cast<float>(state.y) - viewOffsetY) / viewScale;
    sample.active = active;
    sample.left = state.left;
    sample.right = state.right;
    sample.middle = state.middle;

    MouseScene scene;
    scene.state = game.state;
    scene.viewWidth = viewWidth;
    scene.cameraX = game.cameraX;
    scene.playerCentreX = game.player.pos.x + game.player.size.x / 2;
    const int sign = game.nearbySign();
    if (sign >= 0 && sign < static_cast<int>(game.level.signs.size())) {
        scene.signNearby = true;
        scene.signPos = game.level.signs[static_cast<std::size_t>(sign)].pos;
    }
    scene.clickRegions = &clickRegions;
    mouse.update(sample, scene, menu, control);
}

void App::controls(Control& control) {
    if (control.toggleFullscreen) {
        toggleFullscreen();
    }
    if (control.toggleMute) {
        settings.muted = !settings.muted;
        audio.setMuted(settings.muted);
        persist();
    }
    switch (game.state) {
    case Title:
    case Paused: {
        if (menu.listening >= 0) {
            listenForBinding(control);
            control.pause = false;
            break;
        }
        const bool paused = game.state == Paused;
        const MenuInput keys = menuKeys(menu, control, paused);
        for (int i = 0; i < keys.moves; ++i) {
            audio.play("ui_confirm", 0.4f, 0);
        }
        if (keys.act) {
            action();
        } else if (keys.resume) {
            game.state = Playing;
        }
        control.pause = false;
        break;
    }
    case SignCard:
        if (control.confirm || control.back || control.interact) {
            game.state = Playing;
            control.interact = false;
        }
        break;
    case WorldComplete:
        if (control.confirm) {
            game.assists = settings.assists;
            game.advanceLevel();
            if (game.state == Playing) {
                beginRecording();
            }
            resetLevelPresentation();
            audio.setMusic(game.world);
            progress.savedLevel = game.world;
            progress.savedSubscribers = game.subscribers;
            progress.highestLevel = std::max(progress.highestLevel, game.world);
            persist();
        }
        break;
    case Finale:
        if (control.confirm) {
            game.state = Title;
            menu = MenuState{};
            audio.setMusic(-1);
        }
        break;
    case Playing:
        if (control.restartCheckpoint) {
            game.restartCheckpoint();
            recorder.noteRestartCheckpoint();
            resetLevelPresentation();
        }
        if (control.weaponSlot >= 0 && control.weaponSlot < WEAPON_COUNT &&
            game.player.ownedWeapons[static_cast<std::size_t>(control.weaponSlot)]) {
            game.player.weapon = static_cast<Weapon>(control.weaponSlot);
            recorder.noteWeaponSlot(control.weaponSlot);
        }
        if (control.pause) {
            game.state = Paused;
            menu.screen = MainListScreen;
            menu.selection = 0;
        }
        break;
    default:
        break;
    }
}

void App::action() {
    audio.play("ui_confirm", 1, 0);
    int world = -1;
    const MenuCommand command = menuCommand(game.state == Paused, menu, world);
    if (applyMenuNavigation(menu, command)) {
        return;
    }
    switch (command) {
    case MenuCommand::ContinueJourney:
        if (progress.savedLevel >= 0) {
            start(std::min(progress.savedLevel, WORLD_COUNT - 1), true);
        }
        break;
    case MenuCommand::NewJourney:
        start(0, false);
        break;
    case MenuCommand::StartWorld:
        start(world, false);
        break;
    case MenuCommand::Quit:
        running = false;
        break;
    case MenuCommand::Resume:
        game.state = Playing;
        break;
    case MenuCommand::RestartCheckpoint:
        game.restartCheckpoint();
        recorder.noteRestartCheckpoint();
        game.state = Playing;
        resetLevelPresentation();
        break;
    case MenuCommand::MainMenu:
        persist();
        game.state = Title;
        menu = MenuState{};
        audio.setMusic(-1);
        break;
    default:
        if (menu.screen == SettingsScreen) {
            changeSetting(menu.selection);
        } else {
            optionAction(command);
        }
        break;
    }
}

void App::changeSetting(int entry) {
    const SettingsEffect effect = applySettingsEntry(entry, settings, fullscreen);
    if (effect.changeResolution) {
        changeResolution();
    }
    if (effect.toggleFullscreen) {
        toggleFullscreen();
    }
    if (effect.volumesChanged) {
        audio.setVolumes(settings.musicVolume, settings.effectsVolume);
    }
    if (effect.voiceChanged) {
        audio.setVoiceEnabled(settings.voiceClips);
    }
    if (effect.voiceSample) {
        playClip("grumbo_what", 0.85f, 0);
    }
    if (effect.restartIpJoke) {
        ipJokeTimer = 0;
    }
    if (effect.back) {
        menu.screen = MainListScreen;
        menu.selection = 0;
    }
    persist();
}

void App::start(int level, bool continuing) {
    const int w = std::clamp(level, 0, WORLD_COUNT - 1);
    if (!continuing) {
        // A new journey owns nothing yet, whatever the last one collected.
        game.subscribers = 0;
        game.deaths = 0;
        game.player.ownedWeapons.fill(false);
        game.player.ownedWeapons[0] = true;
        game.player.weapon = GiftedSubs;
        game.player.maxHealth = MIN_MAX_HEALTH;
    }
    game.assists = settings.assists;
    game.start(w);
    if (continuing) {
        game.subscribers = progress.savedSubscribers;
        IniSnapshot snapshot;
        snapshot.parse(saver.latestSnapshot());
        restoreJourney(game, snapshot);
    } else {
        applyCompletion(game, 0);
    }
    menu = MenuState{};
    beginRecording(!continuing && w == 0, !continuing && w > 0);
    progress.savedLevel = w;
    progress.savedSubscribers = game.subscribers;
    progress.highestLevel = std::max(progress.highestLevel, w);
    resetLevelPresentation();
    audio.setMusic(w);
    audio.play("ui_confirm", 1, 0);
    persist();
}

void App::menuRender() {
    const float cx = viewWidth / 2;
    if (game.state == Paused) {
        world();
        rect(0, 0, viewWidth, CANVAS_HEIGHT, NIGHT, 0.78f);
    } else {
        background(0, presentationClock * 15);
        rect(0, 0, viewWidth, CANVAS_HEIGHT, NIGHT, 0.45f);
    }
    clickRegions.clear();
    switch (menu.screen) {
    case LevelSelectScreen:
        levelSelectPage(cx);
        break;
    case ControlsScreen:
        controlsPage(cx);
        break;
    case SettingsScreen:
        settingsPage(cx);
        break;
    case RemapScreen:
        remapPage(cx);
        break;
    case AssistScreen:
        assistPage(cx);
        break;
    default:
        if (game.state == Paused) {
            panel(cx - 213, 78, 426, 382, VIOLET);
            text("STREAM PAUSED", cx - 190, 100, 380, 44, 3, GREEN, true);
            for (int i = 0; i < PAUSE_ENTRY_COUNT; ++i) {
                button(PAUSE_ENTRIES[static_cast<std::size_t>(i)], i, cx - 160,
                       164 + 47 * static_cast<float>(i), 320, 37);
            }
        } else {
            titlePage(cx);
        }
        break;
    }
    text(menuFooter(gamepadActive), 18, 519, viewWidth - 36, 17, 0, 0xC0B5D9, true);
}

void App::titlePage(float cx) {
    const float tx = cx - 394;
    const float clock = presentationClock;
    text("LANTERN FOX  /  UNOFFICIAL FAN ADVENTURE", tx, 34, 760, 20, 0, 0xB4AECB, false);
    text("GRUMBOS", tx + 4, 70, 620, 95, 5, VIOLET, false);
    text("GRUMBOS", tx, 66, 620, 95, 5, WHITE, false);
    text("MEGASTREAM", tx + 3, 148, 580, 40, 3, GREEN, false);
    text("Ten worlds. Ten bosses. Chat demands a harder journey.", tx + 3, 192, 540, 22, 0, 0xD8CCEA, false);
    for (int i = 0; i < TITLE_ENTRY_COUNT; ++i) {
        button(titleEntryLabel(i, progress.savedLevel), i, tx + 3, 229 + 42 * static_cast<float>(i), 320, 37);
    }
    rect(cx + 104, 436, 242, 9, 0x85DC6B, 0.4f);
    const int runFrame = static_cast<int>(std::trunc(clock * 5)) % 6;
    sprite("player_run_" + std::to_string(runFrame), cx + 93, 194, 252, 252, false, 1, 0);
    const int puffFrame = static_cast<int>(std::trunc(clock * 3)) % 5;
    sprite("fart_" + std::to_string(puffFrame), cx + 33, 335, 95, 80, false, 0.6f, 0);
    sprite("gift", cx + 58, 193, 68, 68, false, 1, -12);
    sprite("spinner", cx + 274, 259, 66, 66, false, 1, std::fmod(clock * 90, 360.0f));
    sprite("burger", cx + 265, 387, 68, 68, false, 1, 0);
    sprite("letter_W", cx + 221, 174, 54, 54, false, 0.85f, 0);
    text("10 WORLDS  /  10 WEAPONS", cx + 68, 476, 295, 22, 1, GOLD, true);
    text("FART-POWERED PLATFORMING", cx + 50, 501, 320, 18, 0, WHITE, true);
}

void App::levelSelectPage(float cx) {
    panel(cx - 440, 24, 880, 478, VIOLET);
    text("CHOOSE YOUR WORLD", cx - 380, 43, 760, 45, 3, GREEN, true);
    for (int i = 0; i < WORLD_COUNT; ++i) {
        const float x = cx - 420 + 432 * static_cast<float>(i / 5);
        const float y = 109 + 63 * static_cast<float>(i % 5);
        button(levelEntryLabel(i), i, x, y, 408, 37);
        text(LEVEL_TAGS[static_cast<std::size_t>(i)], x + 15, y + 40, 382, 18, 0, 0xB9B7D1, false);
    }
    button("Back", LEVEL_SELECT_ENTRY_COUNT - 1, cx - 160, 450, 320, 37);
    worldRecordsLine(cx);
}

void App::controlsPage(float cx) {
    panel(cx - 365, 24, 730, 480, VIOLET);
    text("HOW TO GO LIVE", cx - 330, 42, 660, 40, 3, GREEN, true);
    text("ACTION", cx - 325, 101, 165, 24, 1, GOLD, false);
    text("KEYBOARD", cx - 130, 101, 195, 24, 1, GOLD, false);
    text("CONTROLLER", cx + 100, 101, 220, 24, 1, GOLD, false);
    // The player's own keys and buttons; the game's own map reads as it always did.
    const std::array<SheetRow, CONTROLS_ROW_COUNT> sheet = controlsSheet(settings.controls);
    for (int row = 0; row < CONTROLS_ROW_COUNT; ++row) {
        const float y = 134 + 28 * static_cast<float>(row);
        const auto index = static_cast<std::size_t>(row);
        text(CONTROLS_ROWS[index].action, cx - 325, y, 182, 24, 0, WHITE, false);
        text(sheet[index].keyboard, cx - 130, y, 220, 24, 0, WHITE, false);
        text(sheet[index].controller, cx + 100, y, 230, 24, 0, WHITE, false);
        line(cx - 326, y + 22, cx + 326, y + 22, 0x655183, 1, 0.3f);
    }
    text(CONTROLS_MOUSE_HELP, cx - 325, 364, 650, 72, 0, 0xB9B7D1, false);
    button("Got it", 0, cx - 160, 444, 320, 37);
    button("Remap keys", REMAP_ENTRY, cx + 176, 444, 150, 37);
}

void App::settingsPage(float cx) {
    panel(cx - 305, 24, 610, 478, VIOLET);
    text("STREAM SETTINGS", cx - 280, 40, 560, 42, 3, GREEN, true);
    // Ten entries take 35 units each; more share the same space above the note, in whole units.
    const float step = std::min(35.0f, std::floor(352.0f / ASSIST_ENTRY));
    for (int i = 0; i < ASSIST_ENTRY; ++i) {
        button(settingsEntryLabel(i, settings, fullscreen), i, cx - 275, 101 + step * static_cast<float>(i),
               550, step - 4);
    }
    button(settingsEntryLabel(ASSIST_ENTRY, settings, fullscreen), ASSIST_ENTRY, cx + 135, 46, 140, 31);
    text(SETTINGS_NOTE, cx - 280, 459, 560, 32, 0, 0xC9BBDA, true);
}

void App::signCard() {
    const float cx = viewWidth / 2;
    rect(0, 0, viewWidth, CANVAS_HEIGHT, NIGHT, 0.48f);
    panel(cx - 345, 115, 690, 390, GOLD);
    text("THE MEGASTREAM", cx - 320, 133, 640, 24, 1, GOLD, false);
    text(game.signText, cx - 320, 176, 640, 274, 2, WHITE, false);
    text(signCardPrompt(gamepadActive, settings.controls), cx - 320, 477, 640, 20, 0, GREEN, false);
}

void App::completionCard() {
    const float cx = viewWidth / 2;
    const bool finale = game.state == Finale;
    rect(0, 0, viewWidth, CANVAS_HEIGHT, NIGHT, 0.7f);
    panel(cx - 312, 90, 624, 350, GREEN);
    text(finale ? "ONE BILLION!" : "SIGNAL RESTORED", cx - 280, 116, 560, 70, 4, GREEN, true);
    text(finale ? "The journey paid off. Chat is going wild."
                : "World " + std::to_string(game.world + 1) + " complete.",
         cx - 280, 197, 560, 28, 2, WHITE, true);
    text("Subscribers: " + std::to_string(game.subscribers), cx - 270, 243, 540, 32, 3, GOLD, true);
    text(finale ? "Zombies, cats, static, and spelling could not stop the stream."
                : "Your next audience is waiting beyond the portal.",
         cx - 260, 301, 520, 42, 1, 0xC9BADB, true);
    text(finale ? "CLICK / ENTER / A   RETURN TO MENU" : "CLICK / ENTER / A   NEXT WORLD", cx - 270, 378, 540,
         28, 2, GREEN, true);
    clearRecordsLines(cx);
}

} // namespace grumbo

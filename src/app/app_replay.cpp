// Replays in the app: the command-line options, recording the worlds played
// into last.replay and the file of `--record`, checking a replay without a
// window, watching one in it, and the title screen's demo.
#include "app/app.h"
#include "app/replay_options.h"
#include "platform/user_paths.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <sstream>

namespace grumbo {

namespace {

// The number keys 1, 2 and 4 pick the speed; Q steps through them.
int watchSpeedFor(const Control& control, int speed) {
    switch (control.weaponSlot) {
    case 0:
        return 1;
    case 1:
        return 2;
    case 3:
        return 4;
    default:
        break;
    }
    return control.nextWeapon ? (speed >= 4 ? 1 : speed * 2) : speed;
}

} // namespace

ReplayOptions parseReplayOptions(std::string_view commandLine) {
    ReplayOptions options;
    std::istringstream words{std::string(commandLine)};
    std::string word;
    while (words >> word) {
        if (word == "--verify") {
            options.verify = true;
        } else if (word == "--record" || word == "--replay") {
            std::string path;
            if (words >> path) {
                (word == "--record" ? options.recordPath : options.replayPath) = path;
            }
        }
    }
    return options;
}

int App::verifyReplay() {
    ReplayFile file;
    std::string error;
    if (replayOptions.replayPath.empty()) {
        std::fprintf(stderr, "--verify checks the replay named with --replay FILE\n");
        return 2;
    }
    if (!loadReplay(widenPath(replayOptions.replayPath), file, error)) {
        std::fprintf(stderr, "%s: %s\n", replayOptions.replayPath.c_str(), error.c_str());
        return 2;
    }
    const ReplayCheck check = checkReplay(file);
    // The same figures, formatted the same way, as the smoke run's results.
    std::ostringstream out;
    out << "steps=" << check.steps << "\nstate_hash=";
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016" PRIx64, check.stateHash);
    out << hash << "\nlevel=" << check.game.world << "\nhealth=" << check.game.player.health
        << "\nplayer_x=" << static_cast<double>(check.game.player.pos.x)
        << "\nsubscribers=" << check.game.subscribers << "\n";
    std::fputs(out.str().c_str(), stdout);
    if (!check.matches) {
        const ReplaySegment& parted = file.segments[static_cast<std::size_t>(check.segment)];
        std::fprintf(stderr,
                     "%s: the replay parts from its recording by step %lld of its world %d "
                     "(segment %d; digests are kept every %lld steps)\n",
                     replayOptions.replayPath.c_str(), static_cast<long long>(check.partsAtStep),
                     parted.start.world + 1, check.segment + 1, static_cast<long long>(REPLAY_HASH_INTERVAL));
        return 1;
    }
    return 0;
}

void App::beginRecording(bool newJourney, bool chosenWorld) {
    recorder.keepEverySegment(!replayOptions.recordPath.empty());
    recorder.beginWorld(game);
    const auto& pickups = game.level.pickups;
    const auto& enemies = game.level.enemies;
    worldFromStart =
        game.state == Playing && game.checkpoint < 0 &&
        std::none_of(pickups.begin(), pickups.end(), [](const Pickup& p) { return p.collected; }) &&
        std::all_of(enemies.begin(), enemies.end(), [](const Enemy& e) { return e.alive; });
    worldStartDeaths = game.deaths;
    lastClear = ClearResult{};
    if (newJourney) {
        records.journeyCentis = 0;
        records.journeyTimed = true;
    } else if (chosenWorld || !worldFromStart) {
        records.journeyTimed = false;
    }
}

void App::keepReplays() {
    if (recorder.takeClosed() == 0 || recorder.segments().empty()) {
        return;
    }
    // The smoke run never touches the player's folder.
    if (!smoke) {
        std::wstring folder = savePath;
        const std::size_t slash = folder.find_last_of(L"/\\");
        folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
        ReplayFile last;
        last.segments.push_back(recorder.segments().back());
        replayWriter.write(folder + L"last.replay", std::move(last));
    }
    if (!replayOptions.recordPath.empty()) {
        ReplayFile all;
        all.segments = recorder.segments();
        replayWriter.write(widenPath(replayOptions.recordPath), std::move(all));
    }
}

void App::watchReplay(ReplayFile file) {
    recorder.endWorld();
    keepReplays();
    watched = std::move(file);
    watching = !watched.segments.empty();
    watchPaused = false;
    watchSpeed = 1;
    watchSegment = 0;
    watchStep = 0;
    if (!watching) {
        return;
    }
    startReplayWorld(game, watched.segments[0].start);
    menu = MenuState{};
    resetLevelPresentation();
    audio.setMusic(game.world);
}

void App::stopWatching() {
    watching = false;
    attract = false;
    titleIdleSeconds = 0;
    watched = ReplayFile{};
    game = Game();
    menu = MenuState{};
    audio.setMusic(-1);
    resetLevelPresentation();
}

void App::watchFrame(const Control& control, float dt) {
    // Anything at all ends a demo, and does nothing else.
    if (attract && anyInput(control)) {
        stopWatching();
        return;
    }
    if (!attract && (control.back || control.pause)) {
        stopWatching();
        return;
    }
    if (!attract && (control.confirm || control.jumpPressed)) {
        watchPaused = !watchPaused;
    }
    watchSpeed = attract ? 1 : watchSpeedFor(control, watchSpeed);
    const int deathsBefore = game.deaths;
    pacer.runSteps(Control{}, dt, [this](const Input&, float) {
        for (int i = 0; i < watchSpeed && watching && !watchPaused; ++i) {
            if (watchStep >= watched.segments[watchSegment].steps.size()) {
                if (++watchSegment >= watched.segments.size()) {
                    stopWatching();
                    return;
                }
                watchStep = 0;
                startReplayWorld(game, watched.segments[watchSegment].start);
                resetLevelPresentation();
                audio.setMusic(game.world);
            }
            const ReplayStep& step = watched.segments[watchSegment].steps[watchStep++];
            // The recording's frames need not be this one's: what it had queued
            // is heard before the queue is emptied as it was.
            if (step.soundsDrained && !game.sounds.empty()) {
                soundEvents();
            }
            applyReplayStep(game, step);
        }
    });
    if (watching && game.deaths != deathsBefore) {
        resetLevelPresentation();
    }
}

void App::replayBadge() {
    // Inside the level band's top right corner, clear of the HUD's boxes.
    const float x = viewWidth - 216;
    panel(x, 82, 200, 40, 0xFF778A);
    std::string title = "REPLAY";
    if (watchPaused) {
        title += "  PAUSED";
    } else if (watchSpeed > 1) {
        title += "  x" + std::to_string(watchSpeed);
    }
    text(attract ? "DEMO" : title, x + 10, 86, 180, 16, 1, 0xFF778A, false);
    text(attract ? "PRESS ANY KEY" : "SPACE PAUSE  1 2 4 SPEED  ESC", x + 10, 105, 180, 12, 0, 0xD1CEE5,
         false);
}

bool App::anyInput(const Control& control) {
    const bool pressed = control.left || control.right || control.jumpHeld || control.jumpPressed ||
                         control.fireHeld || control.interact || control.pause || control.nextWeapon ||
                         control.dash || control.confirm || control.back || control.menuUp ||
                         control.menuDown || control.toggleFullscreen || control.restartCheckpoint ||
                         control.toggleMute || control.weaponSlot >= 0;
    const MouseState pointer = window.mouse();
    const bool moved = pointer.x != idleMouseX || pointer.y != idleMouseY;
    idleMouseX = pointer.x;
    idleMouseY = pointer.y;
    return pressed || moved || pointer.left || pointer.right || pointer.middle || mouse.leftClickPending ||
           mouse.rightClickPending || mouse.wheelDelta != 0;
}

void App::titleIdle(const Control& control, float dt) {
    const bool touched = anyInput(control);
    if (game.state != Title || smoke || touched) {
        titleIdleSeconds = 0;
        return;
    }
    titleIdleSeconds += dt;
    if (titleIdleSeconds < ATTRACT_IDLE_SECONDS) {
        return;
    }
    titleIdleSeconds = 0;
    // The demos are made at build time; without them the title simply waits.
    ReplayFile demos;
    std::string error;
    if (!loadReplay(widenPath(baseDirectory + "/assets/demo.replay"), demos, error) ||
        demos.segments.empty()) {
        return;
    }
    ReplayFile one;
    one.segments.push_back(std::move(demos.segments[nextDemo % demos.segments.size()]));
    ++nextDemo;
    watchReplay(std::move(one));
    attract = watching;
}

} // namespace grumbo

// The shell: start-up, the frame loop with its pacing, window events, frame
// set-up and presentation, full screen and window sizes, and the smoke run.
#include "app/app.h"
#include "app/asset_folder.h"
#include "app/hud_layout.h"
#include "app/screenshot.h"
#include "platform/audio_output.h"
#include "platform/clock.h"
#include "platform/input_devices.h"
#include "platform/user_paths.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace grumbo {

namespace {

constexpr std::array<int, 4> WINDOW_WIDTHS{1280, 1920, 2560, 3440};
constexpr std::array<int, 4> WINDOW_HEIGHTS{720, 1080, 1440, 1440};
constexpr int MIN_CLIENT_WIDTH = 960;
constexpr int MIN_CLIENT_HEIGHT = 570;
constexpr int IDLE_WAIT_MS = 100;
// Weapons from this index on are the rare ones the persona reacts to.
constexpr int FIRST_RARE_WEAPON = 4;

double ticksToMs(std::uint64_t from, std::uint64_t to, std::uint64_t frequency) {
    return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency);
}

} // namespace

App::App() : pacer(clockFrequency()) {}

App::App(std::unique_ptr<InputDevices> devices) : input(std::move(devices)), pacer(clockFrequency()) {}

App::App(std::unique_ptr<InputDevices> devices, std::unique_ptr<AudioOutput> sound)
    : input(std::move(devices)), audio(std::move(sound)), pacer(clockFrequency()) {}

App::~App() {
    // The last snapshot reaches the disk before anything else goes away.
    saver.flush();
    audio.close();
    window.setLiveRepaint(nullptr);
    releaseDeviceResources();
    renderer.destroy();
}

int App::launch(std::string_view commandLine) {
    replayOptions = parseReplayOptions(commandLine);
    if (replayOptions.verify) {
        return verifyReplay();
    }
    // A replay to watch is read before the window opens: one that cannot be read
    // is reported on the terminal it was asked for from.
    ReplayFile watchedFile;
    std::string replayError;
    if (!replayOptions.replayPath.empty() &&
        !loadReplay(widenPath(replayOptions.replayPath), watchedFile, replayError)) {
        std::fprintf(stderr, "%s: %s\n", replayOptions.replayPath.c_str(), replayError.c_str());
        return 2;
    }
    if (!startUp(commandLine)) {
        return 1;
    }
    if (!watchedFile.segments.empty()) {
        watchReplay(std::move(watchedFile));
    }
    while (running) {
        runPass();
    }
    shutdown();
    window.setLiveRepaint(nullptr);
    return artworkMissing ? 1 : 0;
}

void App::shutdown() {
    if (!smoke && game.state != Title) {
        persist();
    }
    recorder.endWorld();
    keepReplays();
}

bool App::startUp(std::string_view commandLine) {
    parseSmokeOption(commandLine, smoke, smokeLevel);
    baseDirectory = executableDirectory();
    assetDirectory = findAssetFolder(baseDirectory);
    WindowOptions options;
    options.title = WINDOW_TITLE;
    options.clientWidth = 1280;
    options.clientHeight = 720;
    options.minWidth = MIN_CLIENT_WIDTH;
    options.minHeight = MIN_CLIENT_HEIGHT;
    options.iconPath = assetDirectory + "/icon.png";
    const bool opened = window.open(options);
    if (!opened || !init()) {
        // An unattended smoke run must not wait on a dialog nobody will close.
        if (smoke) {
            std::fprintf(stderr, "%s: %s\n", LAUNCH_ERROR_CAPTION, launchErrorText().c_str());
        } else {
            showErrorBox(opened ? &window : nullptr, LAUNCH_ERROR_CAPTION, launchErrorText());
        }
        return false;
    }
    if (!smoke) {
        changeResolution();
        if (settings.autoFullscreen) {
            toggleFullscreen();
        }
    }
    window.setLiveRepaint([this] {
        int width = 0;
        int height = 0;
        window.clientSize(width, height);
        if (width > 0 && height > 0) {
            clientWidth = width;
            clientHeight = height;
            resizePending = true;
        }
        render();
    });
    window.show();
    pacer = FramePacer(clockFrequency());
    pacer.restart(clockTicks());
    return true;
}

bool App::init() {
    if (baseDirectory.empty()) {
        baseDirectory = executableDirectory();
    }
    if (assetDirectory.empty()) {
        assetDirectory = findAssetFolder(baseDirectory);
    }
    // The settings come first: they decide how the window and the sound start.
    loadSaved();
    input.setBindings(settings.controls);
    if (!renderer.create(window)) {
        return false;
    }
    renderer.openFont(assetDirectory + "/AnonymousPro-Bold.ttf");
    if (!createTarget()) {
        return false;
    }
    audio.setVolumes(settings.musicVolume, settings.effectsVolume);
    audio.setMuted(settings.muted);
    audio.setVoiceEnabled(settings.voiceClips);
    audio.open(widenPath(assetDirectory));
    audio.setMusic(-1);
    if (smoke) {
        game.start(smokeLevel);
        beginRecording();
        audio.setMusic(game.world);
        resetLevelPresentation();
    }
    return true;
}

void App::runPass() {
    WindowEvent events[MAX_EVENTS_PER_PASS];
    const int count = window.pollEvents(events, MAX_EVENTS_PER_PASS);
    for (int i = 0; i < count; ++i) {
        handleWindowEvent(events[i]);
    }
    if (!running) {
        return;
    }
    const std::uint64_t now = clockTicks();
    if (resetTiming) {
        resetTiming = false;
        pacer.restart(now);
    }
    if (minimized || !active) {
        input.poll(false);
        mouse.wheelDelta = 0;
        mouse.leftClickPending = false;
        mouse.rightClickPending = false;
        if (dirty && !minimized) {
            render();
        }
        pacer.restart(now);
        window.waitEvents(IDLE_WAIT_MS);
        return;
    }
    if (!pacer.frameDue(now)) {
        window.waitEventsUntil(pacer.deadlineTicks());
        return;
    }
    frame(now);
}

void App::frame(std::uint64_t now) {
    double unclamped = 0;
    const float dt = pacer.beginFrame(now, unclamped);
    presentationClock += dt;
    shakeTimer = std::max(shakeTimer - dt, 0.0f);
    toastTimer = std::max(toastTimer - dt, 0.0f);
    presentationTick(dt);

    Control control = input.poll(active);
    gamepadActive = control.controllerPresent;
    const int stateBefore = game.state;
    // A frame that stops watching runs no step of its own: its keys were the watcher's.
    const bool watchingFrame = watching;
    if (watching) {
        watchFrame(control, dt);
    } else {
        titleIdle(control, dt);
        mouseInput(control);
        controls(control);
    }
    const std::uint64_t tInput = clockTicks();

    static_cast<Input&>(control) = gateInput(control, stateBefore);
    if (smoke) {
        control.right = true;
        control.jumpHeld = true;
        control.fireHeld = true;
        control.jumpPressed = smokeFrames % 80 == 0;
        game.state = Playing;
    }
    pacer.latch(control, game.state == Playing);
    pacer.speed = game.assists.speedPercent / 100.0;
    const int deathsBefore = game.deaths;
    // Every step goes through the recorder, which plays it and keeps it for the replay.
    if (!watchingFrame) {
        pacer.runSteps(control, dt, [this](const Input& step, float) {
            const int before = game.state;
            recorder.update(game, step);
            if (before == Playing && (game.state == WorldComplete || game.state == Finale)) {
                clearedWorld();
            }
        });
    }
    noticePickups();
    announceWeapons();
    soundEvents();
    recorder.noteSoundsDrained();
    encounterReactions();
    // A death respawns the player at once: once the death's own sound and
    // voice line are handed on, the world's presentation starts over just as
    // it does for a restart from the pause menu.
    if (game.deaths != deathsBefore) {
        resetLevelPresentation();
    }

    const std::uint64_t tSimulation = clockTicks();
    captureRequested = smoke && smokeFrames + 1 >= SMOKE_FRAME_COUNT;
    render();
    const std::uint64_t tRender = clockTicks();

    const std::uint64_t frequency = pacer.frequency;
    if (timing.add(unclamped, ticksToMs(now, tInput, frequency), ticksToMs(tInput, tSimulation, frequency),
                   ticksToMs(tSimulation, tRender, frequency), graphicsCreates, lastCreateMs, timingText) &&
        showTimings) {
        dirty = true;
    }
    if (smoke && ++smokeFrames >= SMOKE_FRAME_COUNT) {
        capture();
        writeSmokeResults();
        running = false;
    }
    keepReplays();
    pacer.finishFrame(tRender);
}

void App::noticePickups() {
    const std::vector<Pickup>& pickups = game.level.pickups;
    if (pickupSeen.size() != pickups.size()) {
        pickupSeen.assign(pickups.size(), false);
        for (std::size_t i = 0; i < pickups.size(); ++i) {
            pickupSeen[i] = pickups[i].collected;
        }
    }
    for (std::size_t i = 0; i < pickups.size(); ++i) {
        if (!pickups[i].collected || pickupSeen[i]) {
            continue;
        }
        pickupSeen[i] = true;
        if (pickups[i].kind == PickupKind::SubscriberTokens) {
            continue;
        }
        pushToast(toastText, toastTimer, toastQueue, Game::pickupName(pickups[i].kind));
    }
}

void App::announceWeapons() {
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (!game.player.ownedWeapons[index] || weaponAnnounced[index]) {
            continue;
        }
        weaponAnnounced[index] = true;
        if (i >= FIRST_RARE_WEAPON) {
            reaction("rare_weapon", VoiceMoment::RareWeapon, 0.6f, 0.0f);
        }
    }
}

void App::pauseForDeactivation() {
    input.poll(false);
    if (game.state == Playing) {
        game.state = Paused;
        menu.screen = MainListScreen;
        menu.selection = 0;
    }
}

void App::handleWindowEvent(const WindowEvent& event) {
    switch (event.kind) {
    case WindowEventKind::Quit:
        running = false;
        break;
    case WindowEventKind::Resized:
        if (event.width > 0 && event.height > 0) {
            clientWidth = event.width;
            clientHeight = event.height;
            resizePending = true;
            dirty = true;
        }
        resetTiming = true;
        break;
    case WindowEventKind::Minimized:
        minimized = true;
        resetTiming = true;
        break;
    case WindowEventKind::Restored:
        minimized = false;
        dirty = true;
        resetTiming = true;
        break;
    case WindowEventKind::FocusGained:
        active = true;
        dirty = true;
        resetTiming = true;
        break;
    case WindowEventKind::FocusLost:
        active = false;
        dirty = true;
        resetTiming = true;
        pauseForDeactivation();
        break;
    case WindowEventKind::Exposed:
        dirty = true;
        break;
    // Dragging the window pauses play; when it ends, play resumes if it was
    // running and the game still has the focus, the clock restarts so the held
    // time is not caught up, and a button still down from the drag is no click.
    case WindowEventKind::SizeMoveBegan:
        input.poll(false);
        resumeAfterSizeMove = game.state == Playing;
        if (resumeAfterSizeMove) {
            game.state = Paused;
            menu.screen = MainListScreen;
            menu.selection = 0;
        }
        break;
    case WindowEventKind::SizeMoveEnded:
        input.poll(false);
        mouse.leftClickPending = false;
        mouse.rightClickPending = false;
        mouse.leftConsumed = true;
        mouse.touchButton = -1;
        mouse.wheelDelta = 0;
        mouse.rightWasHeld = window.mouse().right;
        if (resumeAfterSizeMove && active) {
            game.state = Playing;
        }
        resumeAfterSizeMove = false;
        dirty = true;
        resetTiming = true;
        break;
    case WindowEventKind::LeftDown:
        mouse.leftClickPending = true;
        window.captureMouse(true);
        break;
    case WindowEventKind::RightDown:
        mouse.rightClickPending = true;
        window.captureMouse(true);
        break;
    case WindowEventKind::MiddleDown:
        window.captureMouse(true);
        break;
    case WindowEventKind::ButtonUp: {
        const MouseState buttons = window.mouse();
        if (!buttons.left && !buttons.right && !buttons.middle) {
            window.captureMouse(false);
        }
        break;
    }
    case WindowEventKind::Wheel:
        mouse.wheelDelta += event.wheel;
        break;
    case WindowEventKind::TimingsKey:
        showTimings = !showTimings;
        dirty = true;
        break;
    }
}

void App::render() {
    if (minimized) {
        return;
    }
    if (renderer.takeDeviceLoss()) {
        releaseDeviceResources();
    }
    if (!deviceReady && !createTarget()) {
        running = running && !artworkMissing;
        return;
    }
    if (resizePending) {
        resizePending = false;
        int width = 0;
        int height = 0;
        renderer.outputSize(width, height);
        if (width > 0 && height > 0) {
            clientWidth = width;
            clientHeight = height;
        }
    }
    const ViewGeometry view = viewGeometry(clientWidth, clientHeight);
    viewScale = view.scale;
    viewWidth = view.width;
    viewOffsetY = view.offsetY;
    game.viewWidth = viewWidth;

    renderer.setTarget(nullptr);
    renderer.setClip(nullptr);
    renderer.clear(0x0A0C20, 1);
    transform = Affine{viewScale, viewScale, 0, viewOffsetY};
    setClip(FRect{0, 0, viewWidth, CANVAS_HEIGHT});

    if ((game.state == Title || game.state == Paused) && !watching) {
        menuRender();
    } else {
        clickRegions.clear();
        world();
        if (game.state == SignCard) {
            signCard();
        } else if (game.state == WorldComplete || game.state == Finale) {
            completionCard();
        }
        if (watching) {
            replayBadge();
        }
    }
    if (showTimings) {
        panel(16, 84, 350, 66, 0xFFCB66);
        text(timingText, 25, 91, 332, 58, 0, 0xFFCB66, false);
    }

    renderer.setClip(nullptr);
    if (captureRequested) {
        captureRequested = false;
        renderer.readPixels(capturePixels, captureWidth, captureHeight);
    }
    renderer.present();
    if (renderer.takeDeviceLoss()) {
        releaseDeviceResources();
    }
    dirty = false;
}

void App::toggleFullscreen() {
    fullscreen = !fullscreen;
    window.setFullscreen(fullscreen);
    fullscreen = window.fullscreen();
    dirty = true;
    resetTiming = true;
}

void App::changeResolution() {
    const auto index = static_cast<std::size_t>(std::clamp(settings.resolutionIndex, 0, 3));
    fullscreen = false;
    window.setClientSize(WINDOW_WIDTHS[index], WINDOW_HEIGHTS[index]);
    dirty = true;
}

void App::capture() {
    if (capturePixels.empty()) {
        captureWidth = clientWidth;
        captureHeight = clientHeight;
    }
    writeBmp("screenshot.bmp", captureWidth, captureHeight, capturePixels);
}

void App::writeSmokeResults() const {
    std::ofstream file("smoke-results.txt", std::ios::trunc);
    file << "rendered_frames=" << SMOKE_FRAME_COUNT << "\nlevel=" << game.world
         << "\nhealth=" << game.player.health << "\nplayer_x=" << static_cast<double>(game.player.pos.x)
         << "\n";
}

} // namespace grumbo

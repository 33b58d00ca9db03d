// A tour of every screen as a player meets it, drawn by the real game in a
// real window and saved as bitmaps: the title, level select, controls sheet,
// settings, the remap page (also while it listens), the assist page, a world
// in play (also with an assist on), the pause menu, a sign card, each world's
// first screen, a burning flame jet, a boss fight (also at 1080p), a voice
// line's caption and both completion cards. The journey is saved into
// the output folder, never into the user's data folder.
// Usage: app_screen_tour <game folder with assets> <output folder>.
#include "app/app.h"
#include "app/screenshot.h"
#include "platform/headless/headless_audio_output.h"
#include "platform/headless/headless_input.h"
#include "platform/user_paths.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

using namespace grumbo;

int failures = 0;

// Resident memory in MiB, from the kernel's view of this process.
double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0;
    double resident = 0;
    statm >> pages >> resident;
    return resident * 4096.0 / (1024.0 * 1024.0);
}

void shoot(App& app, const std::string& folder, const std::string& name) {
    // A few frames let the text cache and the animations settle.
    for (int i = 0; i < 3; ++i) {
        app.presentationTick(1.0f / 60);
        app.presentationClock += 1.0f / 60;
        app.captureRequested = true;
        app.render();
    }
    const std::string path = folder + "/" + name + ".bmp";
    if (app.capturePixels.empty() ||
        !writeBmp(path, app.captureWidth, app.captureHeight, app.capturePixels)) {
        std::fprintf(stderr, "FAILED: %s\n", path.c_str());
        ++failures;
    }
}

void play(App& app, Input input, int steps) {
    for (int i = 0; i < steps && app.game.state == Playing; ++i) {
        app.game.update(input, 1.0f / 120);
        input.jumpPressed = false;
        if (i % 2 == 1) {
            app.presentationTick(1.0f / 60);
            app.presentationClock += 1.0f / 60;
            app.soundEvents();
            app.encounterReactions();
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: app_screen_tour <game folder> <output folder>\n");
        return 2;
    }
    const auto launched = std::chrono::steady_clock::now();
    const std::string out = argv[2];
    App app(std::make_unique<HeadlessInputDevices>(std::make_shared<InputScript>()),
            std::make_unique<HeadlessAudioOutput>());
    app.baseDirectory = argv[1];
    app.savePath = widenPath(out + "/save.ini");
    WindowOptions options;
    options.title = WINDOW_TITLE;
    if (!app.window.open(options) || !app.init()) {
        std::fprintf(stderr, "FAILED: the game did not start\n");
        return 1;
    }
    app.window.show();
    app.render();
    const auto firstFrame = std::chrono::steady_clock::now();
    std::printf("first title frame after %.0f ms, resident %.1f MiB\n",
                std::chrono::duration<double, std::milli>(firstFrame - launched).count(), residentMiB());

    shoot(app, out, "title");
    for (const auto& [screen, name] :
         {std::pair{LevelSelectScreen, "level_select"}, std::pair{ControlsScreen, "controls"},
          std::pair{SettingsScreen, "settings"}, std::pair{RemapScreen, "remap"},
          std::pair{AssistScreen, "assist"}}) {
        app.menu.screen = screen;
        app.menu.selection = 1;
        shoot(app, out, name);
    }
    // The remap page while jump's second key waits for its new key.
    app.menu.screen = RemapScreen;
    app.menu.selection = app.menu.listening = 9;
    shoot(app, out, "remap_listening");
    app.menu = MenuState{};

    Input right;
    right.right = true;
    for (int w = 0; w < WORLD_COUNT; ++w) {
        app.start(w, false);
        play(app, right, 90);
        shoot(app, out, "world_" + std::string(w < 9 ? "0" : "") + std::to_string(w + 1));
    }

    app.start(0, false);
    right.fireHeld = true;
    play(app, right, 400);
    shoot(app, out, "play");
    app.game.assists.noDamage = true;
    shoot(app, out, "play_assisted");
    app.game.assists = Assists{};
    app.game.state = Paused;
    app.menu = MenuState{};
    app.menu.selection = 1;
    shoot(app, out, "pause");
    if (!app.game.level.signs.empty()) {
        app.game.state = SignCard;
        app.game.signText = app.game.level.signs[0].text;
        shoot(app, out, "sign");
    }

    // The first flame jet of the journey, caught while it burns.
    for (int w = 0; w < WORLD_COUNT; ++w) {
        app.start(w, false);
        const auto& hazards = app.game.level.hazards;
        const auto jet = std::find_if(hazards.begin(), hazards.end(),
                                      [](const Hazard& h) { return h.kind == HazardKind::Flame; });
        if (jet == hazards.end()) {
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(jet - hazards.begin());
        app.game.player.pos.x = jet->rect.x - 160;
        app.game.player.invulnerable = 100;
        for (int i = 0; i < 1200 && !(hazards[index].active && i > 60); ++i) {
            play(app, Input{}, 2);
        }
        shoot(app, out, "flames");
        break;
    }

    // The boss wakes when the player walks into its arena.
    app.start(2, false);
    app.game.player.pos.x = app.game.level.bossArenaX + 60;
    Input fight;
    fight.fireHeld = true;
    play(app, fight, 240);
    shoot(app, out, "boss");
    // The same fight on a 1080p window: the world is drawn at that resolution.
    app.window.setClientSize(1920, 1080);
    app.window.clientSize(app.clientWidth, app.clientHeight);
    app.resizePending = true;
    shoot(app, out, "boss_1080");
    app.window.setClientSize(1280, 720);
    app.window.clientSize(app.clientWidth, app.clientHeight);
    app.resizePending = true;
    // The boss falls silent for a moment, then the victory line plays with its caption.
    app.settings.captions = true;
    app.sounds = SoundPolicy{};
    app.presentationTime += 30;
    app.reaction("victory", VoiceMoment::BossDefeated, 1, 0);
    shoot(app, out, "caption");
    app.settings.captions = false;

    app.game.state = WorldComplete;
    shoot(app, out, "world_complete");
    app.start(9, false);
    app.game.state = Finale;
    app.game.subscribers = 1000000000;
    shoot(app, out, "finale");

    app.game.state = Title;
    app.menu = MenuState{};
    app.saver.flush();
    std::printf("after touring every world, resident %.1f MiB\n", residentMiB());
    return failures == 0 ? 0 : 1;
}

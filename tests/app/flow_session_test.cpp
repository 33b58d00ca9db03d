// A whole session as a player would have it, driven through scripted keys on
// the headless backend: the title, a new journey, a checkpoint, the pause
// menu, back to the title, continue, settings, and quitting, with the save
// file checked along the way.
#include "app/app.h"
#include "platform/clock.h"
#include "platform/headless/headless_audio_output.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/headless_video.h"
#include "save/ini_snapshot.h"
#include "save/save_text.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

namespace grumbo {
namespace {

namespace fs = std::filesystem;

void writePngHeader(const fs::path& path, std::uint32_t width, std::uint32_t height) {
    unsigned char bytes[24] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = static_cast<unsigned char>(width >> (24 - 8 * i));
        bytes[20 + i] = static_cast<unsigned char>(height >> (24 - 8 * i));
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class Session : public testing::Test {
  protected:
    void SetUp() override {
        std::random_device seed;
        folder = fs::path(testing::TempDir()) /
                 ("grumbo_session_" + std::to_string(seed()) + "_" + std::to_string(++serial));
        fs::remove_all(folder);
        fs::create_directories(folder / "assets");
        writePngHeader(folder / "assets" / "sprites.png", 1024, 832);
        std::ofstream(folder / "assets" / "DejaVuSansMono-Bold.ttf") << "font";
        headless::setTicks(1000000);
        savePath = folder / "save.ini";
        boot();
    }

    void boot() {
        app = std::make_unique<App>(std::make_unique<HeadlessInputDevices>(script),
                                    std::make_unique<HeadlessAudioOutput>());
        app->baseDirectory = folder.string();
        app->savePath = savePath.wstring();
        ASSERT_TRUE(app->window.open(WindowOptions{}));
        ASSERT_TRUE(app->init());
        app->pacer = FramePacer(clockFrequency());
        app->pacer.restart(clockTicks());
    }

    void TearDown() override {
        app.reset();
        fs::remove_all(folder);
    }

    void runFrames(int frames) {
        const int target = headless::presentCount(app->renderer) + frames;
        for (int pass = 0; pass < frames * 20 && headless::presentCount(app->renderer) < target; ++pass) {
            app->runPass();
        }
        ASSERT_EQ(headless::presentCount(app->renderer), target);
    }

    void press(Key key) {
        script->setKey(key, true);
        runFrames(1);
        script->setKey(key, false);
        runFrames(1);
    }

    // The file on disk once the writer has caught up.
    IniSnapshot saved() {
        app->saver.flush();
        std::ifstream in(savePath, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        std::wstring text;
        EXPECT_EQ(decodeSaveText(bytes.data(), bytes.size(), text), 0u);
        IniSnapshot snapshot;
        snapshot.parse(text);
        return snapshot;
    }

    static inline int serial = 0;
    fs::path folder;
    fs::path savePath;
    std::shared_ptr<InputScript> script = std::make_shared<InputScript>();
    std::unique_ptr<App> app;
};

TEST_F(Session, TitleNewJourneyCheckpointPauseContinueSettingsQuit) {
    // A first start opens on the title with nothing to continue.
    runFrames(2);
    EXPECT_EQ(app->game.state, Title);
    EXPECT_EQ(app->progress.savedLevel, -1);
    press(Key::Enter); // "Continue journey (no save yet)" does nothing
    EXPECT_EQ(app->game.state, Title);
    EXPECT_FALSE(fs::exists(savePath));

    press(Key::Down);
    press(Key::Enter); // New journey
    ASSERT_EQ(app->game.state, Playing);
    EXPECT_EQ(app->game.world, 0);
    EXPECT_EQ(saved().integer(L"Journey", L"Level", -1), 0);

    // Walk onto the first checkpoint.
    ASSERT_FALSE(app->game.level.checkpoints.empty());
    const float flagX = app->game.level.checkpoints[0].pos.x;
    app->game.player.pos = {flagX - 21, GROUND_Y - app->game.player.size.y};
    app->game.player.vel = {0, 0};
    runFrames(3);
    ASSERT_EQ(app->game.checkpoint, 0);
    EXPECT_EQ(app->toastText, "CHECKPOINT SAVED");
    app->game.subscribers = 37;
    EXPECT_EQ(saved().integer(L"Journey", L"Checkpoint", -1), 0);

    // Pause, then leave for the title: the journey is kept.
    press(Key::Escape);
    ASSERT_EQ(app->game.state, Paused);
    for (int i = 0; i < 4; ++i) {
        press(Key::Down);
    }
    press(Key::Enter); // Main menu
    ASSERT_EQ(app->game.state, Title);
    IniSnapshot atTitle = saved();
    EXPECT_EQ(atTitle.integer(L"Journey", L"Subscribers", -1), 37);
    EXPECT_EQ(atTitle.integer(L"Journey", L"Checkpoint", -1), 0);

    // Continue puts the player back at the checkpoint with the score.
    app->game.player.pos = {0, 0};
    press(Key::Enter);
    ASSERT_EQ(app->game.state, Playing);
    EXPECT_EQ(app->game.subscribers, 37);
    EXPECT_EQ(app->game.checkpoint, 0);
    EXPECT_NEAR(app->game.player.pos.x, flagX, 40);

    // Settings from the pause menu: the music volume steps and is saved at once.
    press(Key::Escape);
    press(Key::Down);
    press(Key::Down);
    press(Key::Down);
    press(Key::Enter); // Settings
    ASSERT_EQ(app->menu.screen, SettingsScreen);
    for (int i = 0; i < 3; ++i) {
        press(Key::Down);
    }
    press(Key::Enter); // Music
    EXPECT_EQ(saved().integer(L"Settings", L"Music", -1), 42);
    press(Key::Escape);
    EXPECT_EQ(app->menu.screen, MainListScreen);
    press(Key::Escape);
    EXPECT_EQ(app->game.state, Playing);

    // Closing the window saves the journey in progress.
    app->game.subscribers = 55;
    headless::pushEvent(app->window, WindowEvent{WindowEventKind::Quit, 0, 0, 0});
    app->runPass();
    EXPECT_FALSE(app->running);
    app->shutdown();
    EXPECT_EQ(saved().integer(L"Journey", L"Subscribers", -1), 55);

    // The next start reads the journey and the settings back.
    app.reset();
    boot();
    EXPECT_EQ(app->progress.savedLevel, 0);
    EXPECT_FLOAT_EQ(app->settings.musicVolume, 0.42f);
    EXPECT_EQ(app->game.state, Title);
}

} // namespace
} // namespace grumbo

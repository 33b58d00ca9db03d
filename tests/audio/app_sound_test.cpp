// The app's sound as the player hears and feels it: what reaches the mixer's
// output and the controller's motors when the app runs on the headless backend.
#include "../app/headless_app.h"
#include "temp_folder.h"
#include "wav_builder.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace grumbo {
namespace {

using test::TempFolder;
using test::WavBuilder;

std::vector<std::uint8_t> level(std::int16_t value, int frames) {
    return WavBuilder::pcm16(1, 44100, std::vector<std::int16_t>(static_cast<std::size_t>(frames), value));
}

TEST(AppSound, MusicFollowsTheWorldAndTheBossAndAHitIsHeardAndFelt) {
    TempFolder folder;
    test::writeStandInAssets(folder.path);
    folder.write("assets/audio/music_menu.wav", level(5000, 100));
    folder.write("assets/audio/music_4.wav", level(10000, 100));
    folder.write("assets/audio/boss_2.wav", level(15000, 100));
    folder.write("assets/audio/hurt.wav", level(20000, 4000));
    auto script = std::make_shared<InputScript>();
    script->setPad(0, PadState{});
    auto output = std::make_unique<HeadlessAudioOutput>();
    HeadlessAudioOutput* device = output.get();
    App app(std::make_unique<HeadlessInputDevices>(script), std::move(output));
    app.baseDirectory = folder.path.string();
    app.savePath = (folder.path / "save.ini").wstring();
    ASSERT_TRUE(app.window.open(WindowOptions{}));
    ASSERT_TRUE(app.init());
    app.input.poll(true);

    // Plays buffers until a change has faded in fully; returns the loudest sample of the last ones.
    const auto settle = [&](int buffers) {
        std::vector<std::int16_t> samples;
        for (int i = 0; i < buffers; ++i) {
            for (int wait = 0; wait < 20000 && device->queuedBuffers() == 0; ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            samples.clear();
            device->playNext(samples);
        }
        return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
    };
    const float music = app.settings.musicVolume * 0.72f;
    EXPECT_NEAR(settle(60), 5000 * music, 2) << "the title plays the menu music";
    app.start(3, false);
    EXPECT_NEAR(settle(60), 10000 * music, 2) << "world 3 plays music_4";
    // Worlds 2 and 3 share the second boss's music.
    app.game.player.pos.x = app.game.level.bossArenaX;
    app.encounterReactions();
    EXPECT_NEAR(settle(60), 15000 * music, 2);

    // A hit plays "hurt" at 0.8, centred, shakes the screen and runs the motors at 0.6.
    app.game.player.health = 80;
    app.game.sounds.push_back(
        {Sound::Hurt, 1, app.game.player.pos.x + app.game.player.size.x / 2, GiftedSubs});
    app.soundEvents();
    EXPECT_TRUE(app.game.sounds.empty());
    EXPECT_FLOAT_EQ(app.shakeTimer, 0.18f);
    int loudest = 0;
    for (int i = 0; i < 8; ++i) {
        loudest = std::max(loudest, static_cast<int>(settle(1)));
    }
    EXPECT_NEAR(loudest, 15000 * music + 20000 * 0.8f * app.settings.effectsVolume * 0.70710677f * 0.72f, 2);
    ASSERT_TRUE(script->waitForPasses(script->passes() + 3));
    const std::vector<RumbleCommand> rumbles = script->rumbles();
    ASSERT_FALSE(rumbles.empty());
    EXPECT_EQ(rumbles.back().left, 27000);
    EXPECT_EQ(rumbles.back().right, 33600);
}

} // namespace
} // namespace grumbo

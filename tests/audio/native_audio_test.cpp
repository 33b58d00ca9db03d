#include "../app/headless_app.h"
#include "audio/native_audio.h"
#include "temp_folder.h"
#include "wav_builder.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace grumbo {
namespace {

using test::TempFolder;
constexpr auto tone = test::WavBuilder::tone;

// Waits for a condition the other threads will bring about; gives up after a generous bound so a
// fault fails the test instead of hanging it.
bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 20000; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
}

// Plays `buffers` buffers, so that a music change has faded in fully; the loudest sample of the last,
// with its sign.
int settle(HeadlessAudioOutput& device, int buffers) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < buffers; ++i) {
        samples.clear();
        EXPECT_TRUE(eventually([&] { return device.playNext(samples); }));
    }
    const auto louder = [](int a, int b) { return std::abs(a) < std::abs(b); };
    return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end(), louder);
}

class NativeAudioTest : public testing::Test {
  protected:
    NativeAudioTest() {
        assets.write("audio/hit.wav", tone(20000, 4000));
        assets.write("audio/grumbo_yeah.wav", tone(20000, 4000));
        auto output = std::make_unique<HeadlessAudioOutput>();
        device = output.get();
        audio = std::make_unique<NativeAudio>(std::move(output));
    }

    // Plays device buffers until one holds sound or `limit` buffers went by; the loudest sample of
    // that buffer, 0 for silence.
    int hearSomething(int limit) {
        int loudest = 0;
        for (int i = 0; i < limit && loudest == 0; ++i) {
            loudest = settle(*device, 1);
        }
        return loudest;
    }

    TempFolder assets;
    HeadlessAudioOutput* device = nullptr;
    std::unique_ptr<NativeAudio> audio;
};

TEST_F(NativeAudioTest, PlaysRequestsThroughTheMixerThread) {
    audio->play("hit", 1.0f, 0.0f);
    ASSERT_TRUE(audio->open(assets.wide()));
    EXPECT_TRUE(audio->running());
    // The clips are loaded on the mixer thread, not by `open`.
    ASSERT_TRUE(eventually([&] { return audio->clipsLoaded(); }));
    EXPECT_EQ(audio->clipCount(), 2u);
    EXPECT_TRUE(audio->hasClip("HIT.WAV"));
    // The mixer keeps all four buffers queued, silent while nothing sounds.
    ASSERT_TRUE(eventually([&] { return device->queuedBuffers() == 4; }));
    EXPECT_FALSE(hearSomething(8));

    // At the effects volume the mixer starts with, centred, under the master gain.
    audio->play("Hit.wav", 1.0f, 0.0f);
    EXPECT_NEAR(hearSomething(16), 20000 * 0.85f * 0.70710677f * 0.72f, 1.0f);

    audio->close();
    EXPECT_FALSE(audio->running());
    EXPECT_EQ(audio->clipCount(), 0u);
    EXPECT_FALSE(device->isOpen());
    audio->play("hit", 1.0f, 0.0f);
    // Opening again rebuilds everything.
    ASSERT_TRUE(audio->open(assets.wide()));
    ASSERT_TRUE(eventually([&] { return audio->clipsLoaded(); }));
    EXPECT_EQ(audio->clipCount(), 2u);
}

TEST_F(NativeAudioTest, SettingsSurviveCloseAndSeedTheMixer) {
    audio->setMuted(true);
    ASSERT_TRUE(audio->open(assets.wide()));
    ASSERT_TRUE(eventually([&] { return audio->clipsLoaded(); }));
    audio->play("hit", 1.0f, 0.0f);
    EXPECT_FALSE(hearSomething(12));
    audio->setMuted(false);
    audio->play("grumbo_yeah", 1.0f, 0.0f);
    EXPECT_TRUE(hearSomething(16));

    // Voice clips switched off are refused before they reach the ring.
    audio->setVoiceEnabled(false);
    for (int i = 0; i < 20 && hearSomething(1); ++i) {
    }
    audio->play("grumbo_yeah", 1.0f, 0.0f);
    EXPECT_FALSE(hearSomething(12));
}

TEST_F(NativeAudioTest, TheMenuMusicStartsAtTheMixersOwnMusicVolume) {
    assets.write("music_menu.wav", tone(10000, 100));
    ASSERT_TRUE(audio->open(assets.wide()));
    EXPECT_NEAR(settle(*device, 60), 10000 * 0.45f * 0.72f, 1.0f);
}

TEST_F(NativeAudioTest, FailingDeviceLeavesTheGameSilent) {
    device->failOpen = true;
    ASSERT_TRUE(audio->open(assets.wide()));
    EXPECT_TRUE(eventually([&] { return !audio->running(); }));
    EXPECT_EQ(audio->clipCount(), 0u);
    audio->play("hit", 1.0f, 0.0f);
    audio->close();
}

TEST_F(NativeAudioTest, RefusedBufferEndsTheMixer) {
    device->acceptedSubmissions = 6;
    ASSERT_TRUE(audio->open(assets.wide()));
    ASSERT_TRUE(eventually([&] { return device->queuedBuffers() == 4; }));
    std::vector<std::int16_t> played;
    for (int i = 0; i < 3; ++i) {
        device->playNext(played);
    }
    EXPECT_TRUE(eventually([&] { return !audio->running(); }));
    audio->play("hit", 1.0f, 0.0f);
    // Opening again starts over with the device accepting nothing more, so it fails cleanly.
    audio->close();
    EXPECT_EQ(audio->clipCount(), 0u);
}

// The app's sound as the player hears and feels it, on the headless backend.
TEST(AppSound, MusicFollowsTheWorldAndTheBossAndAHitIsHeardAndFelt) {
    TempFolder folder;
    test::writeStandInAssets(folder.path);
    folder.write("assets/audio/music_menu.wav", tone(5000, 100));
    folder.write("assets/audio/music_4.wav", tone(10000, 100));
    folder.write("assets/audio/boss_2.wav", tone(15000, 100));
    folder.write("assets/audio/hurt.wav", tone(20000, 4000));
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

    const float music = app.settings.musicVolume * 0.72f;
    EXPECT_NEAR(settle(*device, 60), 5000 * music, 2) << "the title plays the menu music";
    app.start(3, false);
    EXPECT_NEAR(settle(*device, 60), 10000 * music, 2) << "world 3 plays music_4";
    // Worlds 2 and 3 share the second boss's music.
    app.game.player.pos.x = app.game.level.bossArenaX;
    app.encounterReactions();
    EXPECT_NEAR(settle(*device, 60), 15000 * music, 2);

    // A hit plays "hurt" at 0.8, centred, shakes the screen and runs the motors at 0.6.
    app.game.player.health = 80;
    app.game.sounds.push_back(
        {Sound::Hurt, 1, app.game.player.pos.x + app.game.player.size.x / 2, GiftedSubs});
    app.soundEvents();
    EXPECT_TRUE(app.game.sounds.empty());
    EXPECT_FLOAT_EQ(app.shakeTimer, 0.18f);
    int loudest = 0;
    for (int i = 0; i < 8; ++i) {
        loudest = std::max(loudest, settle(*device, 1));
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

#include "audio/native_audio.h"
#include "platform/headless/headless_audio_output.h"
#include "temp_folder.h"
#include "wav_builder.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace grumbo {
namespace {

using test::TempFolder;
using test::WavBuilder;

std::vector<std::uint8_t> tone(std::int16_t value, int frames) {
    return WavBuilder::pcm16(1, 44100, std::vector<std::int16_t>(static_cast<std::size_t>(frames), value));
}

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

bool anyNonZero(const std::vector<std::int16_t>& samples) {
    return std::any_of(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; });
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

    // Plays device buffers until one holds sound or `limit` buffers went by.
    bool hearSomething(int limit) {
        for (int i = 0; i < limit; ++i) {
            if (!eventually([&] { return device->queuedBuffers() > 0; })) {
                return false;
            }
            std::vector<std::int16_t> buffer;
            device->playNext(buffer);
            if (anyNonZero(buffer)) {
                return true;
            }
        }
        return false;
    }

    TempFolder assets;
    HeadlessAudioOutput* device = nullptr;
    std::unique_ptr<NativeAudio> audio;
};

TEST_F(NativeAudioTest, PlaysRequestsThroughTheMixerThread) {
    audio->play("hit", 1.0f, 0.0f);
    ASSERT_TRUE(audio->open(assets.wide()));
    EXPECT_TRUE(audio->running());
    EXPECT_EQ(audio->clipCount(), 2u);
    EXPECT_TRUE(audio->hasClip("HIT.WAV"));
    // The mixer keeps all four buffers queued, silent while nothing sounds.
    ASSERT_TRUE(eventually([&] { return device->queuedBuffers() == 4; }));
    EXPECT_FALSE(hearSomething(8));

    audio->play("Hit.wav", 1.0f, 0.0f);
    EXPECT_TRUE(hearSomething(16));

    audio->close();
    EXPECT_FALSE(audio->running());
    EXPECT_EQ(audio->clipCount(), 0u);
    EXPECT_FALSE(device->isOpen());
    audio->play("hit", 1.0f, 0.0f);
}

TEST_F(NativeAudioTest, SettingsSurviveCloseAndSeedTheMixer) {
    audio->setMuted(true);
    ASSERT_TRUE(audio->open(assets.wide()));
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

TEST_F(NativeAudioTest, FailingDeviceLeavesTheGameSilent) {
    device->failOpen = true;
    EXPECT_FALSE(audio->open(assets.wide()));
    EXPECT_FALSE(audio->running());
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

TEST_F(NativeAudioTest, WindowThreadAndDeviceThreadRunAgainstTheMixer) {
    ASSERT_TRUE(audio->open(assets.wide()));
    std::atomic<bool> stop{false};
    std::atomic<bool> heard{false};
    // The device plays on its own thread, as a real one does.
    std::thread player([&] {
        std::vector<std::int16_t> buffer;
        while (!stop.load()) {
            buffer.clear();
            if (device->playNext(buffer)) {
                if (anyNonZero(buffer)) {
                    heard.store(true);
                }
            } else {
                std::this_thread::yield();
            }
        }
    });
    for (int i = 0; i < 2000; ++i) {
        audio->play(i % 2 == 0 ? "hit" : "grumbo_yeah", 0.5f, static_cast<float>(i % 3) - 1.0f);
        audio->setMusic(i % 12 - 2);
        audio->setBattleMusic(i % 5 == 0, i % 7 == 0, i % 5);
        audio->setVolumes(0.5f, 0.9f);
        audio->setVoiceEnabled(i % 4 != 0);
        audio->setMuted(false);
        if (i % 100 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    EXPECT_TRUE(eventually([&] { return heard.load(); }));
    stop.store(true);
    player.join();
    audio->close();
    // Reopening rebuilds everything.
    ASSERT_TRUE(audio->open(assets.wide()));
    EXPECT_TRUE(audio->running());
}

} // namespace
} // namespace grumbo

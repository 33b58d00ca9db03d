#include "audio/native_audio.h"
#include "platform/audio_output.h"

#include <array>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace grumbo {
namespace {

// Run with SDL's disk driver writing to /dev/null: real-time cadence without sound hardware.
TEST(SdlAudioOutput, PlaysSubmittedBuffersInTurn) {
    std::unique_ptr<AudioOutput> output = createAudioOutput();
    std::atomic<int> completions{0};
    ASSERT_TRUE(output->open([&] { ++completions; }));
    output->raiseCallingThreadPriority();
    std::array<std::int16_t, AUDIO_OUTPUT_SAMPLES> buffer{};
    for (int slot = 0; slot < AUDIO_OUTPUT_SLOTS; ++slot) {
        buffer.fill(static_cast<std::int16_t>(slot * 100));
        ASSERT_TRUE(output->submit(slot, buffer));
        EXPECT_FALSE(output->done(slot));
    }
    for (int i = 0; i < 5000 && completions.load() < AUDIO_OUTPUT_SLOTS; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(completions.load(), AUDIO_OUTPUT_SLOTS);
    for (int slot = 0; slot < AUDIO_OUTPUT_SLOTS; ++slot) {
        EXPECT_TRUE(output->done(slot));
    }
    output->close();
    output->close();
    EXPECT_FALSE(output->submit(0, buffer));
}

TEST(SdlAudioOutput, NativeAudioOpensAndClosesRepeatedly) {
    NativeAudio audio;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(audio.open(L"no_such_folder"));
        EXPECT_TRUE(audio.running());
        audio.setMusic(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        audio.close();
        EXPECT_FALSE(audio.running());
    }
}

// Run with SDL's dummy driver, which plays nothing: the game must run silent.
TEST(SdlAudioOutputDummy, DummyDriverCountsAsNoDevice) {
    std::unique_ptr<AudioOutput> output = createAudioOutput();
    EXPECT_FALSE(output->open([] {}));
    output->close();
    NativeAudio audio;
    ASSERT_TRUE(audio.open(L"no_such_folder"));
    for (int i = 0; i < 5000 && audio.running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(audio.running());
    audio.play("anything", 1.0f, 0.0f);
}

} // namespace
} // namespace grumbo

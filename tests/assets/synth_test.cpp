#include "../audio/temp_folder.h"
#include "../audio/wav_builder.h"
#include "synth.h"
#include "voice.h"
#include "writers.h"

#include <cmath>
#include <gtest/gtest.h>

namespace grumbo::forge {
namespace {

Note plainNote(double start, double length, float freq) {
    return {.start = start,
            .length = length,
            .freq = freq,
            .wave = Wave::Sine,
            .volume = 0.5f,
            .env = {0.001f, 0.001f, 1.0f, 0.001f}};
}

TEST(Synth, ALoopingTrackCarriesTailsRoundToItsStart) {
    Rng noise{1};
    const double frame = 1.0 / SAMPLE_RATE;
    Track loop(1000, true);
    Track once(1000, false);
    addNote(loop, plainNote(900 * frame, 250 * frame, 441), noise);
    addNote(once, plainNote(900 * frame, 250 * frame, 441), noise);
    float loopHead = 0;
    float onceHead = 0;
    for (size_t i = 0; i < 100; ++i) {
        loopHead = std::max(loopHead, std::fabs(loop.left[i]));
        onceHead = std::max(onceHead, std::fabs(once.left[i]));
    }
    EXPECT_GT(loopHead, 0.1f);
    EXPECT_EQ(onceHead, 0.0f);
    // The one-shot track keeps what fits and drops the rest.
    EXPECT_NEAR(peakOf(once), peakOf(loop), 0.05f);
}

TEST(Synth, FilteringALoopMatchesTheSteadyStateOfTheRepeatedLoop) {
    // A square wave with a whole number of periods in the loop.
    const size_t n = 4410;
    Track loop(n, true);
    Track repeated(3 * n, false);
    for (size_t i = 0; i < 3 * n; ++i) {
        float v = (i / 147) % 2 ? 0.6f : -0.6f;
        if (i < n) {
            loop.left[i] = v;
            loop.right[i] = -v;
        }
        repeated.left[i] = v;
        repeated.right[i] = -v;
    }
    lowPass(loop, 800.0f);
    highPass(loop, 60.0f);
    lowPass(repeated, 800.0f);
    highPass(repeated, 60.0f);
    for (size_t i = 0; i < n; i += 7) {
        ASSERT_NEAR(loop.left[i], repeated.left[2 * n + i], 2e-3f) << i;
        ASSERT_NEAR(loop.right[i], repeated.right[2 * n + i], 2e-3f) << i;
    }
}

TEST(Synth, MusicBalanceReachesItsLoudnessWithoutPassingTheCeiling) {
    Track t(44100, true);
    Rng rng{5};
    for (size_t i = 0; i < t.frames(); ++i) {
        float spike = i % 5000 == 0 ? 8.0f : 1.0f;
        t.left[i] = (rng.unit() - 0.5f) * 0.2f * spike;
        t.right[i] = (rng.unit() - 0.5f) * 0.2f * spike;
    }
    balanceMusic(t, 0.19f, 0.89f);
    EXPECT_LE(peakOf(t), 0.89f);
    EXPECT_NEAR(rmsOf(t), 0.19f, 0.03f);
}

TEST(Synth, OneShotsStartAndEndAtRestAndPcmClamps) {
    Track t(2000);
    for (size_t i = 0; i < t.frames(); ++i) {
        t.left[i] = 0.9f;
        t.right[i] = -0.9f;
    }
    fadeEnds(t, 0.002f, 0.02f);
    EXPECT_EQ(t.left.front(), 0.0f);
    EXPECT_LT(std::fabs(t.right.back()), 0.05f);
    Track loud(2);
    loud.left = {1.5f, -2.0f};
    loud.right = {0.5f, 0.0f};
    std::vector<std::int16_t> pcm = toPcm(loud);
    EXPECT_EQ(pcm, (std::vector<std::int16_t>{32767, 16384, -32767, 0}));
}

// A mono WAV as a streaming speech program writes it: sizes left as placeholders.
std::vector<std::uint8_t> streamedWav(const std::vector<std::int16_t>& samples, std::uint32_t rate,
                                      int bits) {
    std::vector<std::uint8_t> bytes =
        grumbo::test::WavBuilder().format(1, 1, rate, bits).samples(samples).build();
    for (const std::size_t riffOrDataSize : {4, 40}) {
        std::copy_n("\xFF\xFF\xFF\x7F", 4, bytes.begin() + static_cast<std::ptrdiff_t>(riffOrDataSize));
    }
    return bytes;
}

TEST(Voice, ReadsSpeechOutputWithPlaceholderSizesAndRefusesOtherFormats) {
    const std::vector<std::int16_t> samples = {0, 1000, -1000, 32767, -32768};
    grumbo::test::TempFolder folder;
    folder.write("good.wav", streamedWav(samples, 22050, 16));
    folder.write("8bit.wav", streamedWav(samples, 22050, 8));
    std::vector<std::int16_t> read;
    int rate = 0;
    EXPECT_TRUE(readMonoWav((folder.path / "good.wav").string(), read, rate));
    EXPECT_EQ(rate, 22050);
    EXPECT_EQ(read, samples);
    std::vector<std::int16_t> refused;
    EXPECT_FALSE(readMonoWav((folder.path / "8bit.wav").string(), refused, rate));
    EXPECT_FALSE(readMonoWav((folder.path / "none.wav").string(), refused, rate));
}

TEST(Voice, ShapingTrimsSilenceNormalisesAndEndsAtRest) {
    const int rate = 22050;
    std::vector<std::int16_t> mono(static_cast<size_t>(rate) * 3 / 2, 0);
    // Half a second of a voiced buzz in the middle of a second of silence.
    for (int i = rate / 2; i < rate; ++i) {
        double t = static_cast<double>(i) / rate;
        mono[static_cast<size_t>(i)] = static_cast<std::int16_t>(
            6000 * (std::sin(2 * 3.14159265 * 180 * t) + 0.5 * std::sin(2 * 3.14159265 * 540 * t)));
    }
    Track shaped = shapeVoice(mono, rate);
    const double seconds = static_cast<double>(shaped.frames()) / SAMPLE_RATE;
    // 0.5 s read 7 % faster, plus a short breath either side.
    EXPECT_GT(seconds, 0.5 / 1.07);
    EXPECT_LT(seconds, 0.5 / 1.07 + 0.1);
    EXPECT_NEAR(peakOf(shaped), 0.708f, 0.01f);
    EXPECT_LT(std::fabs(shaped.left.front()), 0.01f);
    EXPECT_LT(std::fabs(shaped.left.back()), 0.01f);
    EXPECT_EQ(shaped.left, shaped.right);
}

} // namespace
} // namespace grumbo::forge

#include "audio/wav.h"
#include "wav_builder.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

using test::WavBuilder;

// A file decoded under the whole catalogue's budget.
std::optional<AudioClip> decode(const std::vector<std::uint8_t>& file) {
    return decodeWav(file, CATALOGUE_BUDGET_BYTES);
}

TEST(AudioName, NormalizesCaseAndExtension) {
    EXPECT_EQ(normalizeAudioName("Boss_1.WAV"), "boss_1");
    EXPECT_EQ(normalizeAudioName("Music_1.Wav"), "music_1");
    EXPECT_EQ(normalizeAudioName("ui_confirm"), "ui_confirm");
    EXPECT_EQ(normalizeAudioName("@AZ[.WAV"), "@az[");
    EXPECT_EQ(normalizeAudioName(".wav"), "");
    EXPECT_EQ(normalizeAudioName("wav"), "wav");
    // Only ASCII letters change; the bytes of other characters stay as they are.
    EXPECT_EQ(normalizeAudioName("\xC3\x84RGER.wav"), "\xC3\x84rger");
    // The extension is removed once, after lower-casing.
    EXPECT_EQ(normalizeAudioName("a.wav.WAV"), "a.wav");
}

TEST(WavDecode, AcceptsOnlySixteenBitPcmMonoOrStereoInRange) {
    const std::vector<std::int16_t> frames(64, 1000);
    const struct {
        int tag, channels;
        std::uint32_t rate;
        int bits;
        bool accepted;
    } formats[] = {
        {1, 1, 44100, 8, false},  {3, 1, 44100, 16, false}, {1, 3, 44100, 16, false},
        {1, 0, 44100, 16, false}, {1, 1, 7999, 16, false},  {1, 1, 192001, 16, false},
        {1, 1, 8000, 16, true},
    };
    for (const auto& f : formats) {
        EXPECT_EQ(decode(WavBuilder().format(f.tag, f.channels, f.rate, f.bits).samples(frames).build())
                      .has_value(),
                  f.accepted)
            << f.tag << " " << f.channels << " " << f.rate << " " << f.bits;
    }
    EXPECT_TRUE(decode(WavBuilder::pcm16(2, 192000, std::vector<std::int16_t>(2000, 5))));
    // No format, no data, or not a RIFF/WAVE file at all.
    EXPECT_FALSE(decode(WavBuilder().samples(frames).build()));
    EXPECT_FALSE(decode(WavBuilder().format(1, 1, 44100, 16).build()));
    std::vector<std::uint8_t> notWave = WavBuilder::pcm16(1, 44100, frames);
    notWave[8] = 'A';
    EXPECT_FALSE(decode(notWave));
    notWave[8] = 'W';
    notWave[0] = 'X';
    EXPECT_FALSE(decode(notWave));
}

TEST(WavDecode, WalksChunksStrictly) {
    const std::vector<std::int16_t> frames = {100, -200, 300};
    // An odd-length chunk is followed by one pad byte before the next chunk.
    const auto odd = WavBuilder()
                         .chunk("LIST", {1, 2, 3})
                         .format(1, 1, 44100, 16)
                         .chunk("junk", {9})
                         .samples(frames)
                         .build();
    const auto clip = decode(odd);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->samples, (std::vector<std::int16_t>{100, 100, -200, -200, 300, 300}));

    // A data chunk running past the end of the file refuses the whole file.
    const auto truncated = WavBuilder().format(1, 2, 44100, 16).truncatedChunk("data", 4000, 1000).build();
    EXPECT_FALSE(decode(truncated));
    // Even when an earlier data chunk was complete.
    const auto laterTruncated =
        WavBuilder().format(1, 1, 44100, 16).samples(frames).truncatedChunk("LIST", 100, 10).build();
    EXPECT_FALSE(decode(laterTruncated));

    // A header with an empty data chunk, or less than one whole frame, is nothing to play.
    EXPECT_FALSE(decode(WavBuilder().format(1, 1, 44100, 16).samples({}).build()));
    EXPECT_FALSE(decode(WavBuilder().format(1, 2, 44100, 16).samples({7}).build()));
    EXPECT_TRUE(decode(WavBuilder::pcm16(1, 44100, {7})));
    // An empty data chunk closing the file replaces the earlier one.
    EXPECT_FALSE(decode(WavBuilder().format(1, 1, 44100, 16).samples(frames).samples({}).build()));

    // Later chunks replace earlier ones; a fmt chunk shorter than 16 bytes, or a chunk whose id
    // only begins like "data", is not one of them.
    const auto replaced = WavBuilder()
                              .format(1, 1, 7000, 16)
                              .samples({1})
                              .format(1, 2, 44100, 16)
                              .chunk("fmt ", std::vector<std::uint8_t>(15, 1))
                              .samples({5, 6, 7, 8})
                              .chunk("datx", {9, 9, 9, 9})
                              .build();
    const auto later = decode(replaced);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->samples, (std::vector<std::int16_t>{5, 6, 7, 8}));

    // An odd final chunk without its pad byte still ends the walk cleanly.
    std::vector<std::uint8_t> unpadded =
        WavBuilder().format(1, 1, 44100, 16).samples(frames).chunk("note", {1}).build();
    unpadded.pop_back();
    EXPECT_TRUE(decode(unpadded));
}

TEST(WavDecode, ResamplesMonoToInterpolatedStereoAndKeepsStereoChannelsApart) {
    std::vector<std::int16_t> source(1000);
    for (int i = 0; i < 1000; ++i) {
        source[static_cast<std::size_t>(i)] = static_cast<std::int16_t>((i * 37) % 2001 - 1000);
    }
    const auto clip = decode(WavBuilder::pcm16(1, 22050, source));
    ASSERT_TRUE(clip);
    ASSERT_EQ(clip->frames(), 2000);
    for (int i = 0; i < 2000; ++i) {
        const int k = i / 2;
        const float s0 = source[static_cast<std::size_t>(k)];
        const float s1 = source[static_cast<std::size_t>(std::min(k + 1, 999))];
        const auto expected = static_cast<std::int16_t>(i % 2 == 0 ? s0 : s0 + (s1 - s0) * 0.5f);
        ASSERT_EQ(clip->samples[static_cast<std::size_t>(2 * i)], expected) << "frame " << i;
        ASSERT_EQ(clip->samples[static_cast<std::size_t>(2 * i + 1)], expected) << "frame " << i;
    }
    // 11025 Hz: four output frames per source frame, a quarter step each.
    const auto stereo = decode(WavBuilder::pcm16(2, 11025, {0, 1000, 400, -1000}));
    ASSERT_TRUE(stereo);
    EXPECT_EQ(stereo->samples, (std::vector<std::int16_t>{0, 1000, 100, 500, 200, 0, 300, -500, 400, -1000,
                                                          400, -1000, 400, -1000, 400, -1000}));
}

TEST(WavDecode, RefusesClipsPastLengthOrBudget) {
    const auto clip = WavBuilder::pcm16(2, 44100, std::vector<std::int16_t>(200, 1));
    EXPECT_TRUE(decodeWav(clip, 400));
    EXPECT_FALSE(decodeWav(clip, 399));
    // 8000 Hz grows 5.5125 times: 2,400,001 source frames make just over 300 s.
    EXPECT_TRUE(decode(WavBuilder::pcm16(1, 8000, std::vector<std::int16_t>(2400000, 1))));
    EXPECT_FALSE(decode(WavBuilder::pcm16(1, 8000, std::vector<std::int16_t>(2400001, 1))));
    // Downsampling a single frame leaves no frame at all.
    EXPECT_FALSE(decode(WavBuilder::pcm16(1, 48000, {5})));
}

} // namespace
} // namespace grumbo

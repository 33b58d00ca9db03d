#include "audio/audio_catalogue.h"
#include "temp_folder.h"
#include "wav_builder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

using test::TempFolder;
using test::WavBuilder;
constexpr auto tone = WavBuilder::tone;

AudioCatalogue loadFrom(const std::wstring& folder) {
    AudioCatalogue catalogue;
    loadAudioFiles(findAudioFiles(folder), catalogue);
    return catalogue;
}

std::vector<std::string> names(const std::vector<AudioFile>& files) {
    std::vector<std::string> out(files.size());
    std::transform(files.begin(), files.end(), out.begin(), [](const AudioFile& f) { return f.name; });
    return out;
}

TEST(AudioCatalogue, AudioFolderWinsNamesAreNormalizedAndTheSeparatorIsOptional) {
    TempFolder assets;
    assets.write("audio/hit.wav", tone(111, 10));
    assets.write("hit.wav", tone(222, 10));
    assets.write("Music_1.Wav", tone(333, 10));
    assets.write("readme.txt", tone(444, 10));
    assets.write("broken.wav", {1, 2, 3});
    // A folder that happens to end in .wav is not a sound.
    std::filesystem::create_directories(assets.path / "folder.wav");

    const AudioCatalogue catalogue = loadFrom(assets.wide());
    ASSERT_EQ(catalogue.size(), 2u);
    EXPECT_EQ(catalogue.at("hit").samples.front(), 111);
    EXPECT_EQ(catalogue.at("music_1").samples.front(), 333);

    const MusicTable music = buildMusicTable(catalogue);
    EXPECT_EQ(music.world[0], &catalogue.at("music_1"));
    EXPECT_EQ(music.menu, nullptr);
    EXPECT_EQ(music.ambient, nullptr);

    // The folder is named with or without a separator at its end; a missing one holds nothing.
    EXPECT_EQ(loadFrom(assets.wide() + L"/").size(), 2u);
    EXPECT_TRUE(loadFrom(assets.wide() + L"/nothing_here").empty());
    EXPECT_EQ(prepareAudioFolder(L""), L"");
    EXPECT_EQ(prepareAudioFolder(L"x\\"), L"x\\");
    EXPECT_EQ(prepareAudioFolder(L"x"), L"x/");
}

TEST(AudioCatalogue, ListCapsDeduplicatesAndPutsMusicLast) {
    std::vector<DirEntry> entries;
    for (int i = 0; i < 300; ++i) {
        entries.push_back({L"fx_" + std::to_wstring(i) + L".wav", false});
    }
    std::vector<AudioFile> list;
    // Only files ending in ".wav" in any case count, each name once.
    addAudioFiles(L"a/",
                  {{L"Hit.WAV", false},
                   {L"hit.wav", false},
                   {L".wav", false},
                   {L"sub.wav", true},
                   {L"hitxwav", false},
                   {L"hit.wax", false},
                   {L"hit.wa", false},
                   {L"wav", false},
                   {L"Zap.wAv", false}},
                  list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].path, L"a/Hit.WAV");
    EXPECT_EQ(list[1].name, "zap");
    addAudioFiles(L"b/", entries, list);
    EXPECT_EQ(list.size(), 256u);

    // Music is any name beginning with "music_", "boss_", "elite_" or "theme_".
    std::vector<AudioFile> mixed = {
        {"theme_cards", L""}, {"music_1", L""}, {"zap", L""},         {"boss_1", L""},   {"ambient", L""},
        {"elite_1", L""},     {"music", L""},   {"grumbo_yeah", L""}, {"music_10", L""}, {"a", L""}};
    orderAudioFiles(mixed);
    EXPECT_EQ(names(mixed), (std::vector<std::string>{"a", "ambient", "grumbo_yeah", "music", "zap", "boss_1",
                                                      "elite_1", "music_1", "music_10", "theme_cards"}));
}

TEST(AudioCatalogue, FileNamesBecomeUtf8AndNamesOutsideUnicodeAreSkipped) {
    const std::pair<char32_t, std::string> cases[] = {
        {0x01, "\x01"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xD7FF, "\xED\x9F\xBF"},
        {0xE000, "\xEE\x80\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x1F600, "\xF0\x9F\x98\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0xD800, ""},
        {0xDFFF, ""},
        {0x110000, ""},
    };
    for (const auto& [code, utf8] : cases) {
        const std::wstring name = L"a" + std::wstring(1, static_cast<wchar_t>(code)) + L".wav";
        EXPECT_EQ(fileNameToUtf8(name), utf8.empty() ? "" : "a" + utf8 + ".wav")
            << std::hex << static_cast<std::uint32_t>(code);
    }
    std::vector<AudioFile> list;
    addAudioFiles(L"", {{std::wstring(1, static_cast<wchar_t>(0x110000)) + L".wav", false}, {L"", false}},
                  list);
    EXPECT_TRUE(list.empty());
}

TEST(AudioCatalogue, TheWholeCatalogueHoldsAtMost256MiBOfSamples) {
    // Five clips of 300 s take 5 x 52,920,000 bytes; a sixth that fills the budget to the byte
    // still loads, and a seventh, later in the order, finds nothing left.
    TempFolder assets;
    const auto longest = WavBuilder::pcm16(1, 11025, std::vector<std::int16_t>(11025 * 300, 1));
    for (int i = 1; i < 5; ++i) {
        assets.write("audio/a" + std::to_string(i) + ".wav", longest);
    }
    // One of them has a data chunk longer than 16 MiB.
    assets.write("audio/a0.wav", WavBuilder::pcm16(2, 22050, std::vector<std::int16_t>(22050 * 600, 1)));
    const std::size_t left = 268435456 - 5 * 52920000;
    assets.write("audio/b.wav", WavBuilder::pcm16(2, 44100, std::vector<std::int16_t>(left / 2, 1)));
    assets.write("audio/c.wav", tone(1, 1));
    const AudioCatalogue catalogue = loadFrom(assets.wide());
    EXPECT_EQ(catalogue.size(), 6u);
    EXPECT_EQ(catalogue.count("b"), 1u);
    EXPECT_EQ(catalogue.count("c"), 0u);
}

TEST(AudioCatalogue, FilesOfMoreThan64MiBAreNotRead) {
    // One sample padded with a chunk the reader skips, to exactly 64 MiB and to two bytes more.
    const auto padded = [](std::size_t junk) {
        return WavBuilder()
            .format(1, 1, 44100, 16)
            .samples({7})
            .chunk("junk", std::vector<std::uint8_t>(junk))
            .build();
    };
    TempFolder assets;
    assets.write("audio/limit.wav", padded(67108864 - 54));
    assets.write("audio/over.wav", padded(67108864 - 52));
    const AudioCatalogue catalogue = loadFrom(assets.wide());
    EXPECT_EQ(catalogue.count("limit"), 1u);
    EXPECT_EQ(catalogue.count("over"), 0u);
}

TEST(AudioCatalogue, MusicTableFindsEveryRole) {
    const std::vector<std::string> world{"music_1", "music_2", "music_3", "music_4", "music_5",
                                         "music_6", "music_7", "music_8", "music_9", "music_10"};
    const std::vector<std::string> boss{"boss_1", "boss_2", "boss_3", "boss_4", "boss_5"};
    const std::vector<std::string> elite{"elite_1", "elite_2", "elite_3"};
    const std::vector<std::string> theme{"theme_grocery", "theme_horror", "theme_bunker", "theme_cards"};
    AudioCatalogue catalogue;
    for (const auto* names : {&world, &boss, &elite, &theme}) {
        for (const std::string& name : *names) {
            catalogue[name].samples = {1, 1};
        }
    }
    catalogue["music_menu"].samples = {1, 1};
    catalogue["ambient"].samples = {1, 1};
    const MusicTable music = buildMusicTable(catalogue);
    EXPECT_EQ(music.menu, &catalogue.at("music_menu"));
    EXPECT_EQ(music.ambient, &catalogue.at("ambient"));
    const auto expectRole = [&](const auto& slots, const std::vector<std::string>& role) {
        ASSERT_EQ(slots.size(), role.size());
        for (std::size_t i = 0; i < role.size(); ++i) {
            EXPECT_EQ(slots[i], &catalogue.at(role[i])) << role[i];
        }
    };
    expectRole(music.world, world);
    expectRole(music.boss, boss);
    expectRole(music.elite, elite);
    expectRole(music.theme, theme);
}

} // namespace
} // namespace grumbo

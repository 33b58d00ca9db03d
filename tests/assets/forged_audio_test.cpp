#include "audio/audio_catalogue.h"
#include "audio/wav.h"
#include "forge_run.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace grumbo::forge::test {
namespace {

// The words of a list, each with the prefix in front.
std::vector<std::string> words(const char* list, const std::string& prefix = "") {
    std::istringstream in(list);
    std::vector<std::string> out;
    for (std::string word; in >> word;) {
        out.push_back(prefix + word);
    }
    return out;
}

const std::vector<std::string> EFFECT_NAMES =
    words("fart_jump_1 fart_jump_2 fart_jump_3 shoot_gift shoot_ip shoot_water shoot_spinner shoot_hammer "
          "shoot_raid shoot_snack shoot_rgb shoot_receipt shoot_onebyone hurt pickup ui_confirm victory "
          "enemy_death boss_phase hazard_warn shield_break dash");

const std::vector<std::string> MUSIC_NAMES =
    words("music_menu ambient theme_grocery theme_horror theme_bunker theme_cards music_1 music_2 music_3 "
          "music_4 music_5 music_6 music_7 music_8 music_9 music_10 boss_1 boss_2 boss_3 boss_4 boss_5 "
          "elite_1 elite_2 elite_3");

// Every line of the reaction groups plus the extra "what?".
const std::vector<std::string> VOICE_NAMES =
    words("knuckle_sandwich watch_this well_ill_be one_by_one food what_is_this lets_go shots_fired "
          "didnt_do_nothing please_dont_kill ew help how_did_die im_done its_over no banned got_runner "
          "where_is_he granny spooky_time what_is_that oh_my_goodness got_kill gg_buddy good_night "
          "new_king too_easy yeah laugh health_department open_door what",
          "grumbo_");

bool haveVoice() {
    return !std::string(GRUMBO_ESPEAK_EXE).empty();
}

// The forged sound folder loaded the way the game loads it.
struct ForgedSound {
    ForgeFolder folder;
    AudioCatalogue catalogue;
    int status = -1;

    ForgedSound() {
        status = runForge(folder.path, "--sound-only " + espeakOption());
        loadAudioFiles(findAudioFiles(folder.path.wstring()), catalogue);
    }
    const AudioClip* clip(const std::string& name) const {
        auto it = catalogue.find(name);
        return it == catalogue.end() ? nullptr : &it->second;
    }
};

// One forge run serves every test of the sound.
const ForgedSound& forged() {
    static const ForgedSound SOUND;
    return SOUND;
}

float peakOf(const AudioClip& clip) {
    int peak = 0;
    for (std::int16_t s : clip.samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return static_cast<float>(peak) / 32768.0f;
}

// The offset of each channel, and the share of the clip's energy below about 30 Hz, both as
// fractions of full scale: a two-pole low-pass keeps what lies below the cut.
void lowEnd(const AudioClip& clip, float& offset, float& rumble) {
    const float a = 1.0f - std::exp(-6.2831853f * 30.0f / 44100.0f);
    offset = 0;
    double low = 0;
    double all = 0;
    for (int ch = 0; ch < 2; ++ch) {
        double sum = 0;
        float s1 = 0;
        float s2 = 0;
        for (std::size_t i = static_cast<std::size_t>(ch); i < clip.samples.size(); i += 2) {
            const float v = static_cast<float>(clip.samples[i]) / 32768.0f;
            sum += v;
            s1 += a * (v - s1);
            s2 += a * (s1 - s2);
            low += static_cast<double>(s2) * s2;
            all += static_cast<double>(v) * v;
        }
        offset = std::max(offset, static_cast<float>(std::abs(sum) / static_cast<double>(clip.frames())));
    }
    rumble = static_cast<float>(std::sqrt(low / std::max(all, 1e-12)));
}

float dbfs(float level) {
    return 20.0f * std::log10(std::max(level, 1e-9f));
}

TEST(ForgedSound, EveryClipTheGameAsksForLoadsThroughTheGameLoader) {
    const ForgedSound& sound = forged();
    ASSERT_EQ(sound.status, 0);
    std::vector<std::string> names = EFFECT_NAMES;
    names.insert(names.end(), MUSIC_NAMES.begin(), MUSIC_NAMES.end());
    names.insert(names.end(), VOICE_NAMES.begin(), haveVoice() ? VOICE_NAMES.end() : VOICE_NAMES.begin());
    std::uint64_t decodedBytes = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const AudioClip* clip = sound.clip(name);
        ASSERT_NE(clip, nullptr);
        EXPECT_GE(clip->frames(), 1);
        // No offset and no sub-bass thump: neither is heard, both cost headroom.
        float offset = 0;
        float rumble = 0;
        lowEnd(*clip, offset, rumble);
        EXPECT_LT(offset, 0.01f);
        EXPECT_LT(rumble, 0.3f);
        // The files are written in the output format itself, so loading never resamples.
        std::vector<std::uint8_t> bytes = readBytes(sound.folder.path / "audio" / (name + ".wav"));
        std::optional<WavInfo> info = parseWav(bytes);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->formatTag, 1);
        EXPECT_EQ(info->channels, 2);
        EXPECT_EQ(info->rate, 44100);
        EXPECT_EQ(info->bitsPerSample, 16);
        EXPECT_EQ(info->dataBytes, clip->samples.size() * 2);
    }
    for (const auto& [name, clip] : sound.catalogue) {
        decodedBytes += clip.samples.size() * 2;
    }
    EXPECT_LT(decodedBytes, 128ull * 1024 * 1024);

    MusicTable table = buildMusicTable(sound.catalogue);
    EXPECT_NE(table.menu, nullptr);
    EXPECT_NE(table.ambient, nullptr);
    const auto noneMissing = [](const auto& clips) {
        return std::count(clips.begin(), clips.end(), nullptr) == 0;
    };
    EXPECT_TRUE(noneMissing(table.world) && noneMissing(table.boss) && noneMissing(table.elite) &&
                noneMissing(table.theme));
}

TEST(ForgedSound, LevelsLoopsAndVoicesAreBalanced) {
    const ForgedSound& sound = forged();
    ASSERT_EQ(sound.status, 0);
    // Effects and voice lines peak at -3 dB, last under three seconds (voice lines at least a fifth
    // of one) and start and end at rest, so they never click.
    const auto expectOneShot = [&](const std::string& name, int shortest) {
        SCOPED_TRACE(name);
        const AudioClip* clip = sound.clip(name);
        ASSERT_NE(clip, nullptr);
        EXPECT_NEAR(dbfs(peakOf(*clip)), -3.0f, 1.0f);
        EXPECT_GT(clip->frames(), shortest);
        EXPECT_LT(clip->frames(), 3 * 44100);
        EXPECT_LT(std::abs(clip->samples.front()), 330);
        EXPECT_LT(std::abs(clip->samples.back()), 330);
    };
    for (const std::string& name : EFFECT_NAMES) {
        expectOneShot(name, 0);
    }
    for (const std::string& name : MUSIC_NAMES) {
        SCOPED_TRACE(name);
        const AudioClip* clip = sound.clip(name);
        ASSERT_NE(clip, nullptr);
        const auto& s = clip->samples;
        const size_t frames = s.size() / 2;
        // The step from the last frame back to the first must be no bigger than the music's own
        // ordinary steps, on both channels.
        for (size_t ch = 0; ch < 2; ++ch) {
            std::vector<int> steps;
            for (size_t i = 0; i + 1 < frames; i += 5) {
                steps.push_back(std::abs(s[2 * (i + 1) + ch] - s[2 * i + ch]));
            }
            std::sort(steps.begin(), steps.end());
            int typical = steps[steps.size() * 99 / 100];
            int seam = std::abs(s[ch] - s[2 * (frames - 1) + ch]);
            EXPECT_LE(seam, typical) << "channel " << ch;
            EXPECT_LT(seam, 4000) << "channel " << ch;
        }
        double sum = 0;
        for (std::int16_t v : s) {
            sum += static_cast<double>(v) * v;
        }
        const auto rms = static_cast<float>(std::sqrt(sum / static_cast<double>(s.size())) / 32768.0);
        EXPECT_NEAR(dbfs(rms), name == "ambient" ? -18.0f : -14.5f, 2.0f);
        EXPECT_LT(peakOf(*clip), 0.95f);
    }
    // A boss layer keeps the tempo of both worlds it stands in for, so its loop is as long as theirs.
    for (int boss = 0; boss < 5; ++boss) {
        const AudioClip* b = sound.clip("boss_" + std::to_string(boss + 1));
        const AudioClip* w0 = sound.clip("music_" + std::to_string(2 * boss + 1));
        const AudioClip* w1 = sound.clip("music_" + std::to_string(2 * boss + 2));
        ASSERT_TRUE(b && w0 && w1);
        EXPECT_EQ(b->frames(), w0->frames()) << "boss_" << boss + 1;
        EXPECT_EQ(b->frames(), w1->frames()) << "boss_" << boss + 1;
    }
    if (!haveVoice()) {
        GTEST_SKIP() << "espeak-ng not available: voice lines not forged";
    }
    for (const std::string& name : VOICE_NAMES) {
        expectOneShot(name, 44100 / 5);
    }
}

} // namespace
} // namespace grumbo::forge::test

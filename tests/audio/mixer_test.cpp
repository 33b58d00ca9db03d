#include "audio/command_ring.h"
#include "audio/mixer.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

using Buffer = std::array<std::int16_t, MIX_SAMPLES>;

AudioClip constantClip(std::int64_t frames, std::int16_t left, std::int16_t right) {
    AudioClip clip;
    clip.samples.resize(static_cast<std::size_t>(frames) * 2);
    for (std::size_t i = 0; i < clip.samples.size(); i += 2) {
        clip.samples[i] = left;
        clip.samples[i + 1] = right;
    }
    return clip;
}

// A music change cross-fades over 0.75 s, 33075 frames.
float smoothstep(int frames) {
    const float t = static_cast<float>(frames) / 33075;
    return (3.0f - 2.0f * t) * t * t;
}

// Mixes `count` buffers and returns them one after the other.
std::vector<std::int16_t> render(MixerState& state, const MusicTable& music, int count) {
    std::vector<std::int16_t> out;
    Buffer buffer{};
    for (int i = 0; i < count; ++i) {
        mixBuffer(state, music, buffer);
        out.insert(out.end(), buffer.begin(), buffer.end());
    }
    return out;
}

MixerSettings worldMusic(int world) {
    MixerSettings settings;
    settings.musicRequest = requestWithMusic(MUSIC_MENU_REQUEST, world);
    return settings;
}

// One mixer with its music table and settings, for the tests that follow a mix over time.
class Mixing : public testing::Test {
  protected:
    void apply() { applySettings(state, settings, music); }
    std::vector<std::int16_t> play(int count) { return render(state, music, count); }

    MusicTable music;
    MixerState state;
    MixerSettings settings;
};
using MixerMusic = Mixing;
using MixerLevels = Mixing;

TEST(MixerRequests, PanGainsVolumesAndBattleMusicRequests) {
    struct Case {
        float volume, pan, expectedVolume, left, right;
    };
    // cos and sin of (pan + 1) pi/4; past either side hard left or right; not finite centred.
    const Case cases[] = {{1, 0, 1, 0.70710677f, 0.70710677f},
                          {2, -1, 1, 1, 0},
                          {-1, -5, 0, 1, 0},
                          {0.5f, 5, 0.5f, 0, 1},
                          {1, 0.5f, 1, 0.38268343f, 0.92387953f},
                          {1, 0.75f, 1, 0.19509032f, 0.98078528f},
                          {1, 1.5f, 1, 0, 1},
                          {1, -1.5f, 1, 1, 0},
                          {NAN, INFINITY, 0, 0.70710677f, 0.70710677f},
                          {INFINITY, NAN, 0, 0.70710677f, 0.70710677f}};
    AudioClip clip = constantClip(4, 1, 1);
    for (const Case& c : cases) {
        const Voice voice = makeVoice(&clip, c.volume, c.pan, false);
        EXPECT_FLOAT_EQ(voice.volume, c.expectedVolume) << c.volume;
        EXPECT_NEAR(voice.leftGain, c.left, 1e-6f) << c.pan;
        EXPECT_NEAR(voice.rightGain, c.right, 1e-6f) << c.pan;
    }
    // The same world keeps its battle music; another piece clears it.
    const std::uint32_t boss = requestWithBattle(requestWithMusic(MUSIC_MENU_REQUEST, 3), true, true, 3);
    EXPECT_EQ(requestWithMusic(boss, 3), boss);
    EXPECT_EQ(requestWithMusic(boss, 4), requestWithMusic(MUSIC_MENU_REQUEST, 4));
}

TEST(MixerRequests, FullRingDropsNewRequests) {
    CommandRing ring;
    AudioClip clip = constantClip(1, 0, 0);
    int accepted = 0;
    for (int i = 0; i < 129; ++i) {
        Voice v = makeVoice(&clip, 1.0f, 0.0f, false);
        v.position = i;
        accepted += ring.push(v) ? 1 : 0;
    }
    EXPECT_EQ(accepted, 127);
    std::vector<std::int64_t> order;
    ring.drain([&](const Voice& v) { order.push_back(v.position); });
    ASSERT_EQ(order.size(), 127u);
    EXPECT_EQ(order.front(), 0);
    EXPECT_EQ(order.back(), 126);
    EXPECT_TRUE(ring.push(makeVoice(&clip, 1.0f, 0.0f, false)));
}

TEST(MixerVoices, VoiceLimits) {
    MusicTable music;
    // A 25th voice displaces the oldest.
    std::vector<AudioClip> clips(25, constantClip(10, 1, 1));
    MixerState crowd;
    for (AudioClip& c : clips) {
        addVoice(crowd, makeVoice(&c, 1.0f, 0.0f, false));
    }
    ASSERT_EQ(crowd.voices.size(), MAX_VOICES);
    EXPECT_EQ(crowd.voices.front().clip, &clips[1]);
    EXPECT_EQ(crowd.voices.back().clip, &clips[24]);

    // Switching voice clips off removes them at once and refuses new ones; effects keep playing.
    MixerState speaking;
    addVoice(speaking, makeVoice(&clips[0], 1.0f, 0.0f, true));
    addVoice(speaking, makeVoice(&clips[1], 1.0f, 0.0f, false));
    addVoice(speaking, makeVoice(&clips[2], 1.0f, 0.0f, true));
    addVoice(speaking, makeVoice(&clips[3], 1.0f, 0.0f, false));
    MixerSettings quiet;
    quiet.voiceEnabled = false;
    applySettings(speaking, quiet, music);
    ASSERT_EQ(speaking.voices.size(), 2u);
    EXPECT_EQ(speaking.voices[0].clip, &clips[1]);
    EXPECT_EQ(speaking.voices[1].clip, &clips[3]);
    addVoice(speaking, makeVoice(&clips[4], 1.0f, 0.0f, true));
    EXPECT_EQ(speaking.voices.size(), 2u);

    // Finished voices leave the list; they do not loop.
    AudioClip shortClip = constantClip(100, 5000, 5000);
    MixerState once;
    addVoice(once, makeVoice(&shortClip, 1.0f, 0.0f, false));
    const auto played = render(once, music, 1);
    EXPECT_TRUE(once.voices.empty());
    EXPECT_NE(played[2 * 99], 0);
    EXPECT_EQ(played[2 * 100], 0);
}

TEST_F(MixerMusic, CrossFadeFollowsSmoothstepAndResumes) {
    AudioClip world(constantClip(1'000'000, 10000, 10000));
    AudioClip boss(constantClip(1'000'000, -10000, -10000));
    music.world[0] = &world;
    music.boss[0] = &boss;
    settings = worldMusic(0);
    apply();
    ASSERT_EQ(state.currentMusic, &world);

    auto out = play(1);
    EXPECT_EQ(state.fadeProgress, MIX_FRAMES);
    EXPECT_NEAR(state.layers[0].gain, smoothstep(MIX_FRAMES), 1e-6f);
    const float expected = 10000.0f * std::sqrt(smoothstep(MIX_FRAMES)) * 0.45f * 0.72f;
    EXPECT_NEAR(out[2 * (MIX_FRAMES - 1)], expected, 1.0f);
    out = play(20);
    EXPECT_NEAR(state.layers[0].gain, smoothstep(21 * MIX_FRAMES), 1e-5f);
    play(24);
    EXPECT_FLOAT_EQ(state.layers[0].gain, 1.0f);
    EXPECT_EQ(state.layers[0].position, 45 * MIX_FRAMES);

    // To the boss: the world fades out while the boss fades in, with constant power.
    settings.musicRequest = requestWithBattle(settings.musicRequest, true, false, 0);
    apply();
    EXPECT_EQ(state.currentMusic, &boss);
    play(20);
    const float s = smoothstep(20 * MIX_FRAMES);
    EXPECT_NEAR(state.layers[0].gain, 1.0f - s, 1e-5f);
    EXPECT_NEAR(state.layers[1].gain, s, 1e-5f);
    play(24);
    // Once the fade is over the silent layer is given back and its place remembered.
    EXPECT_EQ(state.layers[0].clip, nullptr);
    EXPECT_EQ(state.resumeTable[0].clip, &world);
    const std::int64_t stopped = state.resumeTable[0].position;
    EXPECT_EQ(stopped, 45 * MIX_FRAMES + 33075);

    // Back to the world: it continues where it stopped.
    settings.musicRequest = requestWithBattle(settings.musicRequest, false, false, 0);
    apply();
    EXPECT_EQ(state.currentMusic, &world);
    EXPECT_EQ(state.layers[0].clip, &world);
    EXPECT_EQ(state.layers[0].position, stopped);
    EXPECT_FLOAT_EQ(state.layers[0].gain, 0.0f);
    play(1);
    EXPECT_EQ(state.layers[0].position, stopped + MIX_FRAMES);

    // Silence fades every layer out and frees them all.
    settings.musicRequest = requestWithMusic(settings.musicRequest, -2);
    apply();
    EXPECT_EQ(state.currentMusic, nullptr);
    play(43);
    EXPECT_EQ(state.fadeProgress, 43 * MIX_FRAMES);
    play(2);
    for (const MusicLayer& layer : state.layers) {
        EXPECT_EQ(layer.clip, nullptr);
    }
}

TEST_F(MixerMusic, EachRequestPicksItsPiece) {
    std::vector<AudioClip> clips(23, constantClip(10, 1, 1));
    music.menu = &clips[0];
    for (std::size_t i = 0; i < 10; ++i) {
        music.world[i] = &clips[1 + i];
        music.boss[i / 2] = &clips[11 + i / 2];
        music.elite[i % 3] = &clips[16 + i % 3];
        music.theme[i % 4] = &clips[19 + i % 4];
    }
    struct Case {
        int world;
        bool boss, chase;
        int theme;
        const AudioClip* piece;
    };
    // Boss music by pairs of worlds, chase music by world mod 3; the menu has no battle music.
    // Worlds and themes out of range are clamped; -2 and below is silence.
    const Case cases[] = {
        {-1, true, false, 0, music.menu},      {-2, false, false, 0, nullptr},
        {-7, false, false, 1, nullptr},        {42, false, false, 0, music.world[9]},
        {6, false, false, 99, music.theme[3]}, {6, false, false, -3, music.world[6]},
        {0, false, false, 0, music.world[0]},  {9, false, false, 0, music.world[9]},
        {1, true, true, 1, music.boss[0]},     {3, true, false, 0, music.boss[1]},
        {9, true, false, 0, music.boss[4]},    {4, false, true, 2, music.elite[1]},
        {2, false, true, 0, music.elite[2]},   {5, false, false, 1, music.theme[0]},
        {7, false, false, 2, music.theme[1]},  {6, false, false, 4, music.theme[3]},
    };
    // The piece a fresh mixer turns to for a request.
    const auto pieceFor = [&](std::uint32_t request) {
        MixerState fresh;
        MixerSettings asked;
        asked.musicRequest = request;
        applySettings(fresh, asked, music);
        return fresh.currentMusic;
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pieceFor(requestWithBattle(requestWithMusic(MUSIC_MENU_REQUEST, c.world), c.boss, c.chase,
                                             c.theme)),
                  c.piece)
            << c.world << " " << c.boss << c.chase << c.theme;
    }
    // Codes past the last world are silence.
    EXPECT_EQ(pieceFor(12), nullptr);
}

TEST_F(MixerMusic, MissingBattleClipKeepsWorldMusic) {
    AudioClip world(constantClip(10, 10000, 10000));
    music.world[2] = &world;
    settings = worldMusic(2);
    apply();
    play(50);
    // No boss_2 clip: nothing changes and no fade starts; short music loops instead of stopping.
    settings.musicRequest = requestWithBattle(settings.musicRequest, true, false, 0);
    apply();
    EXPECT_EQ(state.currentMusic, &world);
    EXPECT_EQ(state.fadeProgress, FADE_FRAMES);
    EXPECT_NE(play(1).back(), 0);
    // A missing world clip means silence; the last frame of the fade is already silent.
    settings.musicRequest = requestWithMusic(settings.musicRequest, 5);
    apply();
    EXPECT_EQ(state.currentMusic, nullptr);
    const auto faded = play(44);
    EXPECT_NE(faded[2 * (33075 - 200)], 0);
    EXPECT_EQ(faded[2 * (33075 - 1)], 0);
}

TEST_F(MixerMusic, BusyLayersGiveWayToTheQuietestOne) {
    std::vector<AudioClip> clips(9, constantClip(10, 1, 1));
    music.menu = &clips[8];
    for (std::size_t i = 0; i < MUSIC_LAYERS; ++i) {
        state.layers[i] = {&clips[i], static_cast<std::int64_t>(100 * i), 0.5f, 0.5f, 0.0f};
    }
    state.layers[3].gain = 0.1f;
    state.layers[5].gain = 0.1f;
    state.resumeTable[0] = {&clips[8], 777};
    apply();
    // The first of the quietest layers is taken over; where its piece was is remembered, and the
    // new piece starts where it last stopped.
    EXPECT_EQ(state.layers[3].clip, &clips[8]);
    EXPECT_EQ(state.layers[3].position, 777);
    EXPECT_EQ(state.layers[3].targetGain, 1.0f);
    EXPECT_EQ(state.layers[5].clip, &clips[5]);
    EXPECT_EQ(state.resumeTable[1].clip, &clips[3]);
    EXPECT_EQ(state.resumeTable[1].position, 300);
    EXPECT_EQ(state.fadeProgress, 0);
}

TEST_F(MixerLevels, LevelsDuckingAndLimiterMoveAtTheirRates) {
    // Music only on the right, an effect panned hard left, and a silent voice line.
    AudioClip world(constantClip(10, 0, 10000));
    AudioClip effect(constantClip(AUDIO_RATE, 1000, 3000));
    AudioClip line(constantClip(2 * MIX_FRAMES, 0, 0));
    music.world[0] = &world;
    settings = worldMusic(0);
    apply();
    play(44);
    EXPECT_FLOAT_EQ(state.duck, 1.0f);

    settings.musicVolume = 1.0f;
    settings.effectsVolume = 0.5f;
    apply();
    state.limiter = 0.5f;
    addVoice(state, makeVoice(&effect, 1.0f, -1.0f, false));
    addVoice(state, makeVoice(&line, 1.0f, 0.0f, true));
    const auto out = play(1);
    EXPECT_NEAR(state.musicLevel, 1 - 0.55 * std::pow(1 - 0.001, MIX_FRAMES), 1e-5);
    EXPECT_NEAR(state.effectsLevel, 0.5 + 0.35 * std::pow(1 - 0.001, MIX_FRAMES), 1e-5);
    EXPECT_NEAR(state.duck, 0.35 + 0.65 * std::pow(1 - 0.0012, MIX_FRAMES), 1e-5);
    EXPECT_NEAR(state.limiter, 1 - 0.5 * std::pow(1 - 0.00012, MIX_FRAMES), 1e-5);
    // The voice ducks the music but not the effects.
    const float scale = 0.72f * state.limiter;
    EXPECT_NEAR(out[MIX_SAMPLES - 1], 10000 * state.musicLevel * state.duck * scale, 1.0f);
    EXPECT_NEAR(out[MIX_SAMPLES - 2], 1000 * state.effectsLevel * scale, 1.0f);

    // Once the line has ended the music comes back slowly.
    play(1);
    const double ducked = state.duck;
    play(1);
    EXPECT_NEAR(state.duck, 1 - (1 - ducked) * std::pow(1 - 0.00018, MIX_FRAMES), 1e-5);
}

TEST_F(MixerLevels, MuteRampsWithoutAClick) {
    AudioClip tone(constantClip(AUDIO_RATE * 10, 20000, -20000));
    addVoice(state, makeVoice(&tone, 1.0f, 0.0f, false));
    apply();
    auto out = play(4);
    settings.muted = true;
    apply();
    const auto muted = play(2);
    out.insert(out.end(), muted.begin(), muted.end());
    settings.muted = false;
    apply();
    const auto back = play(2);
    out.insert(out.end(), back.begin(), back.end());

    int largestStep = 0;
    for (std::size_t i = 2; i < out.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(out[i] - out[i - 2]));
    }
    EXPECT_LE(largestStep, 16);
    // Fully silent at the end of the muting buffer and during the next one.
    const std::size_t mutedEnd = 5 * MIX_SAMPLES;
    EXPECT_EQ(out[mutedEnd - 2], 0);
    EXPECT_EQ(out[mutedEnd + MIX_SAMPLES - 1], 0);
    EXPECT_GT(out[out.size() - 2], 8000);
}

TEST_F(MixerLevels, LimiterKeepsTwentyFourLoudVoicesInRange) {
    AudioClip square;
    for (int i = 0; i < AUDIO_RATE; ++i) {
        const std::int16_t v = (i / 50) % 2 == 0 ? 32767 : -32767;
        square.samples.push_back(v);
        square.samples.push_back(v);
    }
    settings.effectsVolume = 1.0f;
    apply();
    for (int i = 0; i < 24; ++i) {
        addVoice(state, makeVoice(&square, 1.0f, 0.0f, false));
    }
    const auto out = play(8);
    int peak = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto frame = static_cast<int>(i / 2);
        const int sign = (frame / 50) % 2 == 0 ? 1 : -1;
        ASSERT_GE(out[i] * sign, 0) << "sample " << i << " wrapped around";
        peak = std::max(peak, std::abs(static_cast<int>(out[i])));
    }
    EXPECT_LE(peak, 29001);
    EXPECT_GE(peak, 28000);
}

TEST_F(MixerLevels, AmbientBedLoopsUnderEverything) {
    AudioClip ambient(constantClip(3, 10000, 10000));
    music.ambient = &ambient;
    settings.musicRequest = 0;
    apply();
    const auto out = play(2);
    EXPECT_NEAR(out[out.size() - 2], 10000.0f * 0.16f * 0.45f * 0.72f, 1.0f);
    EXPECT_NEAR(out.back(), 10000.0f * 0.16f * 0.45f * 0.72f, 1.0f);
    EXPECT_EQ(state.ambientPosition, (2 * MIX_FRAMES - 1) % 3 + 1);
}

} // namespace
} // namespace grumbo

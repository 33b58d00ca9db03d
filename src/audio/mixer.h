#pragma once

#include "audio/audio_catalogue.h"
#include "audio/audio_clip.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace grumbo {

// One output buffer: 768 frames (about 17.4 ms) of interleaved 16-bit stereo.
constexpr int MIX_FRAMES = 768;
constexpr int MIX_SAMPLES = MIX_FRAMES * AUDIO_CHANNELS;
constexpr std::size_t MAX_VOICES = 24;
constexpr std::size_t MUSIC_LAYERS = 8;
constexpr std::size_t RESUME_ENTRIES = 32;
// A music change cross-fades over 0.75 s.
constexpr int FADE_FRAMES = 33075;
// Gain of both sides for a centred sound: cos(pi/4).
constexpr float CENTRE_GAIN = 0.70710677f;

// One playing sound effect or voice clip, and also one request in the command ring.
struct Voice {
    const AudioClip* clip = nullptr;
    std::int64_t position = 0;
    float volume = 1.0f;
    float leftGain = CENTRE_GAIN;
    float rightGain = CENTRE_GAIN;
    bool isVoice = false;
};

struct MusicLayer {
    const AudioClip* clip = nullptr;
    std::int64_t position = 0;
    float gain = 0.0f;
    float startGain = 0.0f;
    float targetGain = 0.0f;
};

// Where a music clip stopped, so that it resumes there when it comes back.
struct ResumeEntry {
    const AudioClip* clip = nullptr;
    std::int64_t position = 0;
};

// Music request: bits 0 to 7 the music code (0 silence, 1 menu, 2 to 11 worlds 0 to 9),
// bits 8 to 11 the battle mode (0 none, 1 chase, 2 boss, 3 to 6 the four chapter themes).
constexpr std::uint32_t MUSIC_MENU_REQUEST = 1;
constexpr std::uint32_t musicCode(std::uint32_t request) {
    return request & 0xFF;
}
constexpr std::uint32_t battleMode(std::uint32_t request) {
    return (request >> 8) & 0xF;
}
// The request after asking for music `index` (-2 or less silence, -1 menu, 0 to 9 worlds);
// a different piece always clears the battle mode.
std::uint32_t requestWithMusic(std::uint32_t request, int index);
// The request after the battle state changed: boss wins over chase, chase over a chapter theme.
std::uint32_t requestWithBattle(std::uint32_t request, bool boss, bool chase, int theme);

// What the window thread asks for; the mixer takes a copy at every pass.
struct MixerSettings {
    bool muted = false;
    bool voiceEnabled = true;
    float musicVolume = 0.45f;
    float effectsVolume = 0.85f;
    std::uint32_t musicRequest = MUSIC_MENU_REQUEST;
};

// Volumes outside 0..1 are clamped; anything not finite or negative is silence.
float clampVolume(float volume);
// A request to play `clip`, panned with constant power from -1 (left) to 1 (right).
Voice makeVoice(const AudioClip* clip, float volume, float pan, bool isVoice);

// Everything the mixer thread owns; the mixing functions below only read the clips.
struct MixerState {
    std::vector<Voice> voices;
    std::array<MusicLayer, MUSIC_LAYERS> layers{};
    std::array<ResumeEntry, RESUME_ENTRIES> resumeTable{};
    const AudioClip* currentMusic = nullptr;
    std::int64_t ambientPosition = 0;
    int fadeProgress = FADE_FRAMES;
    int currentCode = -2;
    int currentMode = 0;
    bool muted = false;
    bool voiceEnabled = true;
    float musicTarget = 0.45f;
    float effectsTarget = 0.85f;
    float duck = 1.0f;
    float musicLevel = 0.45f;
    float effectsLevel = 0.85f;
    float master = 1.0f;
    float limiter = 1.0f;

    MixerState() { voices.reserve(MAX_VOICES); }
};

// Back to the state of a freshly opened mixer, seeded with the stored settings. The mode is
// invalid so that the next pass always selects music again.
void resetMixer(MixerState& state, const MixerSettings& settings);

// Takes the settings of one pass: levels, mute, the music selection and its cross-fade, and the
// removal of voice clips when they are switched off.
void applySettings(MixerState& state, const MixerSettings& settings, const MusicTable& music);

// Starts one requested sound; a 25th voice displaces the oldest.
void addVoice(MixerState& state, const Voice& request);

// Renders the next 768 frames into `out`.
void mixBuffer(MixerState& state, const MusicTable& music, std::span<std::int16_t, MIX_SAMPLES> out);

} // namespace grumbo

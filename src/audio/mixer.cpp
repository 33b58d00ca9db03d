#include "audio/mixer.h"

#include <algorithm>
#include <cmath>

namespace grumbo {

namespace {

constexpr float DUCK_LEVEL = 0.35f;
constexpr float DUCK_DOWN_RATE = 0.0012f;
constexpr float DUCK_UP_RATE = 0.00018f;
constexpr float LEVEL_RATE = 0.001f;
constexpr float AMBIENT_GAIN = 0.16f;
// Headroom so that a handful of full-scale sounds rarely reaches the limiter.
constexpr float MASTER_GAIN = 0.72f;
constexpr float LIMIT_PEAK = 29000.0f;
constexpr float LIMITER_RELEASE = 0.00012f;

void saveResume(MixerState& state, const AudioClip* clip, std::int64_t position) {
    for (ResumeEntry& entry : state.resumeTable) {
        if (entry.clip == clip || entry.clip == nullptr) {
            entry = {clip, position};
            return;
        }
    }
}

std::int64_t resumePosition(const MixerState& state, const AudioClip* clip) {
    for (const ResumeEntry& entry : state.resumeTable) {
        if (entry.clip == clip) {
            return entry.position;
        }
    }
    return 0;
}

void fadeAllOut(MixerState& state) {
    state.currentMusic = nullptr;
    for (MusicLayer& layer : state.layers) {
        layer.startGain = layer.gain;
        layer.targetGain = 0.0f;
    }
    state.fadeProgress = 0;
}

void startMusic(MixerState& state, const AudioClip* clip) {
    state.currentMusic = clip;
    MusicLayer* chosen = nullptr;
    for (MusicLayer& layer : state.layers) {
        if (layer.clip == clip) {
            chosen = &layer;
            break;
        }
    }
    if (chosen == nullptr) {
        for (MusicLayer& layer : state.layers) {
            if (layer.clip == nullptr) {
                chosen = &layer;
                break;
            }
        }
        // All eight layers busy: the quietest one gives way, remembering where it was.
        if (chosen == nullptr) {
            chosen = &state.layers[0];
            for (MusicLayer& layer : state.layers) {
                if (layer.gain < chosen->gain) {
                    chosen = &layer;
                }
            }
            saveResume(state, chosen->clip, chosen->position);
        }
        chosen->clip = clip;
        chosen->position = resumePosition(state, clip);
        chosen->gain = 0.0f;
    }
    for (MusicLayer& layer : state.layers) {
        layer.startGain = layer.gain;
        layer.targetGain = &layer == chosen ? 1.0f : 0.0f;
    }
    state.fadeProgress = 0;
}

const AudioClip* battleClip(const MusicTable& music, int world, int mode) {
    if (mode == 1) {
        return music.elite[static_cast<std::size_t>(world % 3)];
    }
    if (mode == 2) {
        return music.boss[static_cast<std::size_t>(world / 2)];
    }
    if (mode >= 3 && mode <= 6) {
        return music.theme[static_cast<std::size_t>(mode - 3)];
    }
    return nullptr;
}

void applyMusicRequest(MixerState& state, const MusicTable& music, std::uint32_t request) {
    const int code = static_cast<int>(musicCode(request));
    const int mode = static_cast<int>(battleMode(request));
    if (code - 2 == state.currentCode && mode == state.currentMode) {
        return;
    }
    state.currentCode = code - 2;
    state.currentMode = mode;
    if (code == 0 || code > 11) {
        if (state.currentMusic != nullptr) {
            fadeAllOut(state);
        }
        return;
    }
    const AudioClip* base = code == 1 ? music.menu : music.world[static_cast<std::size_t>(code - 2)];
    const AudioClip* battle = code == 1 ? nullptr : battleClip(music, code - 2, mode);
    if (battle != nullptr) {
        if (battle != state.currentMusic) {
            startMusic(state, battle);
        }
        return;
    }
    if (base == state.currentMusic) {
        return;
    }
    if (base == nullptr) {
        fadeAllOut(state);
    } else {
        startMusic(state, base);
    }
}

// Reads the frame at `position` and advances it; music and the ambient bed loop back to frame 0.
const std::int16_t* loopingFrame(const AudioClip& clip, std::int64_t& position) {
    if (position >= clip.frames()) {
        position = 0;
    }
    return clip.samples.data() + 2 * position++;
}

bool voiceFinished(const Voice& voice) {
    return voice.clip == nullptr || voice.position >= voice.clip->frames();
}

} // namespace

std::uint32_t requestWithMusic(std::uint32_t request, int index) {
    const auto code = static_cast<std::uint32_t>(std::clamp(index, -2, 9) + 2);
    return code == musicCode(request) ? request : code;
}

std::uint32_t requestWithBattle(std::uint32_t request, bool boss, bool chase, int theme) {
    std::uint32_t mode = 0;
    if (boss) {
        mode = 2;
    } else if (chase) {
        mode = 1;
    } else if (theme > 0) {
        mode = static_cast<std::uint32_t>(std::min(theme, 4) + 2);
    }
    return musicCode(request) | mode << 8;
}

float clampVolume(float volume) {
    if (!std::isfinite(volume) || volume < 0.0f) {
        return 0.0f;
    }
    return std::min(volume, 1.0f);
}

Voice makeVoice(const AudioClip* clip, float volume, float pan, bool isVoice) {
    Voice voice;
    voice.clip = clip;
    voice.volume = clampVolume(volume);
    voice.isVoice = isVoice;
    if (!std::isfinite(pan)) {
        voice.leftGain = CENTRE_GAIN;
        voice.rightGain = CENTRE_GAIN;
    } else if (pan < -1.0f) {
        voice.leftGain = 1.0f;
        voice.rightGain = 0.0f;
    } else if (pan > 1.0f) {
        voice.leftGain = 0.0f;
        voice.rightGain = 1.0f;
    } else {
        const float theta = (pan + 1.0f) * 0.7853982f;
        voice.leftGain = std::clamp(std::cos(theta), 0.0f, 1.0f);
        voice.rightGain = std::clamp(std::sin(theta), 0.0f, 1.0f);
    }
    return voice;
}

void resetMixer(MixerState& state, const MixerSettings& settings) {
    state.voices.clear();
    state.layers.fill({});
    state.resumeTable.fill({});
    state.currentMusic = nullptr;
    state.ambientPosition = 0;
    state.fadeProgress = FADE_FRAMES;
    state.currentCode = -2;
    state.currentMode = -1;
    state.muted = settings.muted;
    state.voiceEnabled = settings.voiceEnabled;
    state.musicTarget = clampVolume(settings.musicVolume);
    state.effectsTarget = clampVolume(settings.effectsVolume);
    state.duck = 1.0f;
    state.musicLevel = state.musicTarget;
    state.effectsLevel = state.effectsTarget;
    state.master = settings.muted ? 0.0f : 1.0f;
    state.limiter = 1.0f;
}

void applySettings(MixerState& state, const MixerSettings& settings, const MusicTable& music) {
    state.muted = settings.muted;
    state.voiceEnabled = settings.voiceEnabled;
    state.musicTarget = clampVolume(settings.musicVolume);
    state.effectsTarget = clampVolume(settings.effectsVolume);
    applyMusicRequest(state, music, settings.musicRequest);
    if (!state.voiceEnabled) {
        std::erase_if(state.voices, [](const Voice& v) { return v.isVoice; });
    }
}

void addVoice(MixerState& state, const Voice& request) {
    if (request.clip == nullptr || (request.isVoice && !state.voiceEnabled)) {
        return;
    }
    if (state.voices.size() >= MAX_VOICES) {
        state.voices.erase(state.voices.begin());
    }
    state.voices.push_back(request);
}

void mixBuffer(MixerState& state, const MusicTable& music, std::span<std::int16_t, MIX_SAMPLES> out) {
    const float masterTarget = state.muted ? 0.0f : 1.0f;
    const bool speaking = std::any_of(state.voices.begin(), state.voices.end(),
                                      [](const Voice& v) { return v.isVoice && !voiceFinished(v); });
    const float duckTarget = speaking ? DUCK_LEVEL : 1.0f;
    const float duckRate = speaking ? DUCK_DOWN_RATE : DUCK_UP_RATE;

    for (int i = 1; i <= MIX_FRAMES; ++i) {
        state.duck += (duckTarget - state.duck) * duckRate;
        state.musicLevel += (state.musicTarget - state.musicLevel) * LEVEL_RATE;
        state.effectsLevel += (state.effectsTarget - state.effectsLevel) * LEVEL_RATE;

        const bool fading = state.fadeProgress < FADE_FRAMES;
        float s = 1.0f;
        if (fading) {
            ++state.fadeProgress;
            const float t = static_cast<float>(state.fadeProgress) / static_cast<float>(FADE_FRAMES);
            s = (3.0f - 2.0f * t) * t * t;
        }

        float left = 0.0f;
        float right = 0.0f;
        const float musicGain = state.musicLevel * state.duck;
        for (MusicLayer& layer : state.layers) {
            if (layer.clip == nullptr) {
                continue;
            }
            if (fading) {
                layer.gain = layer.startGain + (layer.targetGain - layer.startGain) * s;
            } else {
                layer.gain = layer.targetGain;
                // A layer that has faded out gives its place back, remembering where its piece was.
                if (layer.targetGain <= 0.0f) {
                    saveResume(state, layer.clip, layer.position);
                    layer = {};
                    continue;
                }
            }
            const std::int16_t* frame = loopingFrame(*layer.clip, layer.position);
            const float g = (layer.gain > 0.0f ? std::sqrt(layer.gain) : 0.0f) * musicGain;
            left += frame[0] * g;
            right += frame[1] * g;
        }

        if (music.ambient != nullptr) {
            const std::int16_t* frame = loopingFrame(*music.ambient, state.ambientPosition);
            const float g = AMBIENT_GAIN * state.musicLevel;
            left += frame[0] * g;
            right += frame[1] * g;
        }

        for (Voice& voice : state.voices) {
            if (voiceFinished(voice)) {
                continue;
            }
            const std::int16_t* frame = voice.clip->samples.data() + 2 * voice.position++;
            const float g = voice.volume * state.effectsLevel;
            left += frame[0] * g * voice.leftGain;
            right += frame[1] * g * voice.rightGain;
        }

        // A mute change ramps linearly across the buffer instead of clicking.
        const float m =
            (state.master + (masterTarget - state.master) * static_cast<float>(i) / MIX_FRAMES) * MASTER_GAIN;
        left *= m;
        right *= m;

        // The limiter clamps down at once on a peak and lets go slowly, so loud mixes never wrap.
        const float peak = std::max(std::fabs(left), std::fabs(right));
        const float required = peak > LIMIT_PEAK ? LIMIT_PEAK / peak : 1.0f;
        if (state.limiter > required) {
            state.limiter = required;
        } else {
            state.limiter += (required - state.limiter) * LIMITER_RELEASE;
        }
        left *= state.limiter;
        right *= state.limiter;

        const auto index = static_cast<std::size_t>(2 * (i - 1));
        out[index] = static_cast<std::int16_t>(std::clamp(left, -32767.0f, 32767.0f));
        out[index + 1] = static_cast<std::int16_t>(std::clamp(right, -32767.0f, 32767.0f));
    }

    state.master = masterTarget;
    std::erase_if(state.voices, voiceFinished);
}

} // namespace grumbo

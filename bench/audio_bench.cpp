#include "audio/mixer.h"
#include "audio/wav.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace grumbo {
namespace {

constexpr double BUFFER_SECONDS = static_cast<double>(MIX_FRAMES) / AUDIO_RATE;

AudioClip noiseClip(std::int64_t frames, std::uint32_t seed) {
    AudioClip clip;
    clip.samples.resize(static_cast<std::size_t>(frames) * 2);
    for (std::int16_t& s : clip.samples) {
        seed = seed * 1664525u + 1013904223u;
        s = static_cast<std::int16_t>(seed >> 16);
    }
    return clip;
}

// 24 voices, the ambient bed and all eight music layers in the middle of a cross-fade: the most
// work one buffer can ever take. The counter "percent_of_buffer" is the CPU time spent per buffer
// as a percentage of the time the buffer lasts.
void BM_MixFullLoad(benchmark::State& state) {
    std::vector<AudioClip> musicClips;
    for (std::uint32_t i = 0; i < MUSIC_LAYERS; ++i) {
        musicClips.push_back(noiseClip(AUDIO_RATE * 4, i + 1));
    }
    const AudioClip ambient = noiseClip(AUDIO_RATE * 3, 99);
    const AudioClip effect = noiseClip(AUDIO_RATE * 10, 7);
    MusicTable music;
    for (std::size_t i = 0; i < MUSIC_LAYERS; ++i) {
        music.world[i] = &musicClips[i];
    }
    music.ambient = &ambient;

    MixerState mixer;
    MixerSettings settings;
    for (int world = 0; world < static_cast<int>(MUSIC_LAYERS); ++world) {
        settings.musicRequest = requestWithMusic(settings.musicRequest, world);
        applySettings(mixer, settings, music);
    }
    for (std::size_t i = 0; i < MAX_VOICES; ++i) {
        addVoice(mixer, makeVoice(&effect, 0.8f, static_cast<float>(i) / 12.0f - 1.0f, i == 0));
    }
    std::array<std::int16_t, MIX_SAMPLES> out{};
    for (auto _ : state) {
        mixBuffer(mixer, music, out);
        benchmark::DoNotOptimize(out.data());
        // Keep every layer fading and every voice playing.
        if (mixer.fadeProgress > FADE_FRAMES - 2 * MIX_FRAMES) {
            mixer.fadeProgress = 0;
        }
        while (mixer.voices.size() < MAX_VOICES) {
            addVoice(mixer, makeVoice(&effect, 0.8f, 0.0f, false));
        }
    }
    state.counters["percent_of_buffer"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * BUFFER_SECONDS / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixFullLoad);

// Start-up decoding of a 10 s 22050 Hz mono clip to 44100 Hz stereo.
void BM_DecodeResampled(benchmark::State& state) {
    const std::int64_t frames = 22050 * 10;
    std::vector<std::uint8_t> file(44 + static_cast<std::size_t>(frames) * 2);
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(file.data() + at, &v, 4); };
    auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(file.data() + at, &v, 2); };
    std::memcpy(file.data(), "RIFF", 4);
    put32(4, static_cast<std::uint32_t>(file.size() - 8));
    std::memcpy(file.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 1);
    put32(24, 22050);
    put32(28, 44100);
    put16(32, 2);
    put16(34, 16);
    std::memcpy(file.data() + 36, "data", 4);
    put32(40, static_cast<std::uint32_t>(frames * 2));
    for (auto _ : state) {
        auto clip = decodeWav(file, CATALOGUE_BUDGET_BYTES);
        benchmark::DoNotOptimize(clip);
    }
}
BENCHMARK(BM_DecodeResampled)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace grumbo

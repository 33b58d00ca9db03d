#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace grumbo {

// Every sound the mixer touches is already in the output format, so mixing never converts.
constexpr int AUDIO_RATE = 44100;
constexpr int AUDIO_CHANNELS = 2;

// A decoded sound: interleaved left/right 16-bit frames at 44100 Hz.
struct AudioClip {
    std::vector<std::int16_t> samples;

    std::int64_t frames() const { return static_cast<std::int64_t>(samples.size() / 2); }
};

} // namespace grumbo

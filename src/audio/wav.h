#pragma once

#include "audio/audio_clip.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace grumbo {

// Files outside these sizes are refused before they are read.
constexpr std::uint64_t WAV_MIN_FILE_BYTES = 44;
constexpr std::uint64_t WAV_MAX_FILE_BYTES = 64ull * 1024 * 1024;
// One clip may last at most 300 s; the whole catalogue holds at most 256 MiB of decoded samples.
constexpr std::int64_t CLIP_MAX_FRAMES = 300ll * AUDIO_RATE;
constexpr std::uint64_t CATALOGUE_BUDGET_BYTES = 256ull * 1024 * 1024;

// Lower-cases ASCII letters and drops a trailing ".wav": "Boss_1.WAV" is known as "boss_1".
std::string normalizeAudioName(std::string_view name);

// Music clips load after every other clip so that, when memory runs out, the effects survive.
bool isMusicName(std::string_view name);

// The fields of a RIFF/WAVE file that decide whether and how it can be played.
struct WavInfo {
    int formatTag = 0;
    int channels = 0;
    std::int64_t rate = 0;
    int bitsPerSample = 0;
    bool hasData = false;
    std::size_t dataOffset = 0;
    std::size_t dataBytes = 0;
};

// Walks the chunks of a whole file; nothing when the file is not RIFF/WAVE or a chunk runs past its end.
std::optional<WavInfo> parseWav(std::span<const std::uint8_t> file);

// Decodes a whole file to 16-bit stereo 44100 Hz. budgetBytesLeft is what the catalogue may still
// spend on samples; a clip that would not fit is refused like any other unplayable file.
std::optional<AudioClip> decodeWav(std::span<const std::uint8_t> file, std::uint64_t budgetBytesLeft);

} // namespace grumbo

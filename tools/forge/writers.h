#pragma once

// File encoders: PNG (via zlib), multi-size ICO and 16-bit PCM WAV.

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace grumbo::forge {

using Bytes = std::vector<std::uint8_t>;

Bytes encodePng(const Image& img);
// One entry per image; the 256-pixel one is stored as PNG, smaller ones as 32-bit DIBs.
Bytes encodeIco(const std::vector<Image>& images);
// Interleaved stereo 16-bit samples at 44100 Hz.
Bytes encodeWav(const std::vector<std::int16_t>& interleavedStereo);

bool writeFile(const std::string& path, const Bytes& bytes);

} // namespace grumbo::forge

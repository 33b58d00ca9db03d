// The smoke run's picture: an uncompressed 32-bit top-down bitmap file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grumbo {

inline constexpr int BMP_HEADER_BYTES = 54;

// The 54 header bytes of a `width` x `height` picture with rows running top to
// bottom (a negative height in the information header).
std::vector<std::uint8_t> bmpHeader(int width, int height);
// Writes header and pixels (blue, green, red, unused per pixel, rows top to
// bottom) to `path`, replacing the file. Missing pixels are written black.
bool writeBmp(const std::string& path, int width, int height, const std::vector<std::uint8_t>& bgra);

} // namespace grumbo

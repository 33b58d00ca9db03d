// The size a PNG file declares in its header, read before any decoding: a
// file of a few bytes may claim a picture of gigabytes, and the decoder would
// allocate all of it before finding out that the data is missing.
#pragma once

#include <filesystem>
#include <fstream>

namespace grumbo {

// Far beyond any of the game's own images (the sprite sheet is 1024 wide),
// and within what every drawing device accepts as one texture.
inline constexpr int MAX_IMAGE_SIDE = 8192;

// Width and height from the header chunk; false when the file cannot be read
// or is not a PNG.
inline bool readPngSize(const std::filesystem::path& path, int& width, int& height) {
    static constexpr unsigned char SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header)) {
        return false;
    }
    for (int i = 0; i < 8; ++i) {
        if (header[i] != SIGNATURE[i]) {
            return false;
        }
    }
    const auto read32 = [&](int at) {
        return (static_cast<unsigned>(header[at]) << 24) | (static_cast<unsigned>(header[at + 1]) << 16) |
               (static_cast<unsigned>(header[at + 2]) << 8) | static_cast<unsigned>(header[at + 3]);
    };
    const unsigned w = read32(16);
    const unsigned h = read32(20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) {
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// Whether a declared picture may be decoded at all; `deviceLimit` is the
// drawing device's largest texture side, or 0 when it states none.
inline bool imageSizeUsable(int width, int height, int deviceLimit = 0) {
    const int limit = deviceLimit > 0 && deviceLimit < MAX_IMAGE_SIDE ? deviceLimit : MAX_IMAGE_SIDE;
    return width > 0 && height > 0 && width <= limit && height <= limit;
}

} // namespace grumbo

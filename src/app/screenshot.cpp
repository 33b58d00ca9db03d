#include "app/screenshot.h"

#include <fstream>

namespace grumbo {

namespace {

void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value & 0xFFFF);
    put16(bytes, at + 2, value >> 16);
}

} // namespace

std::vector<std::uint8_t> bmpHeader(int width, int height) {
    std::vector<std::uint8_t> header(BMP_HEADER_BYTES, 0);
    const std::uint32_t pixelBytes =
        static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) * 4;
    header[0] = 'B';
    header[1] = 'M';
    put32(header, 2, BMP_HEADER_BYTES + pixelBytes);
    put32(header, 10, BMP_HEADER_BYTES);
    put32(header, 14, 40);
    put32(header, 18, static_cast<std::uint32_t>(width));
    put32(header, 22, static_cast<std::uint32_t>(-height));
    put16(header, 26, 1);
    put16(header, 28, 32);
    return header;
}

bool writeBmp(const std::string& path, int width, int height, const std::vector<std::uint8_t>& bgra) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::size_t pixelBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    std::vector<std::uint8_t> pixels = bgra;
    pixels.resize(pixelBytes, 0);
    const std::vector<std::uint8_t> header = bmpHeader(width, height);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(file);
}

} // namespace grumbo

#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace grumbo::test {

// Builds RIFF/WAVE files chunk by chunk, so tests can also write files the loader must refuse.
class WavBuilder {
  public:
    WavBuilder() { bytes = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}; }

    WavBuilder& format(int tag, int channels, std::uint32_t rate, int bits) {
        std::vector<std::uint8_t> body;
        put16(body, tag);
        put16(body, channels);
        put32(body, rate);
        put32(body, rate * static_cast<std::uint32_t>(channels * bits / 8));
        put16(body, channels * bits / 8);
        put16(body, bits);
        return chunk("fmt ", body);
    }

    WavBuilder& samples(const std::vector<std::int16_t>& values) {
        std::vector<std::uint8_t> body;
        for (const std::int16_t v : values) {
            put16(body, static_cast<std::uint16_t>(v));
        }
        return chunk("data", body);
    }

    // A chunk of any id; odd lengths get their pad byte.
    WavBuilder& chunk(const char* id, const std::vector<std::uint8_t>& body) {
        bytes.insert(bytes.end(), id, id + 4);
        put32(bytes, static_cast<std::uint32_t>(body.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
        if (body.size() % 2 == 1) {
            bytes.push_back(0);
        }
        return *this;
    }

    // A chunk header claiming more bytes than follow.
    WavBuilder& truncatedChunk(const char* id, std::uint32_t claimed, std::size_t present) {
        bytes.insert(bytes.end(), id, id + 4);
        put32(bytes, claimed);
        bytes.insert(bytes.end(), present, 0);
        return *this;
    }

    std::vector<std::uint8_t> build() const {
        std::vector<std::uint8_t> out = bytes;
        const auto riffSize = static_cast<std::uint32_t>(out.size() - 8);
        std::memcpy(out.data() + 4, &riffSize, 4);
        return out;
    }

    static std::vector<std::uint8_t> pcm16(int channels, std::uint32_t rate,
                                           const std::vector<std::int16_t>& values) {
        return WavBuilder().format(1, channels, rate, 16).samples(values).build();
    }

    // A mono clip at the mixer's own rate holding one value throughout.
    static std::vector<std::uint8_t> tone(std::int16_t value, int frames) {
        return pcm16(1, 44100, std::vector<std::int16_t>(static_cast<std::size_t>(frames), value));
    }

  private:
    static void put16(std::vector<std::uint8_t>& out, int v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    static void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
        }
    }

    std::vector<std::uint8_t> bytes;
};

} // namespace grumbo::test

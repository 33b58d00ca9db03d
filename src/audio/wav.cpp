#include "audio/wav.h"

#include <algorithm>
#include <cstring>

namespace grumbo {

namespace {

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::int16_t readS16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(readU16(p));
}

bool hasTag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

} // namespace

std::string normalizeAudioName(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (out.size() >= 4 && out.ends_with(".wav")) {
        out.resize(out.size() - 4);
    }
    return out;
}

bool isMusicName(std::string_view name) {
    return startsWith(name, "music_") || startsWith(name, "boss_") || startsWith(name, "elite_") ||
           startsWith(name, "theme_");
}

std::optional<WavInfo> parseWav(std::span<const std::uint8_t> file) {
    if (file.size() < 12 || !hasTag(file.data(), "RIFF") || !hasTag(file.data() + 8, "WAVE")) {
        return std::nullopt;
    }
    WavInfo info;
    std::size_t pos = 12;
    while (file.size() - pos >= 8) {
        const std::uint8_t* header = file.data() + pos;
        const std::uint64_t length = readU32(header + 4);
        const std::size_t bodyStart = pos + 8;
        if (length > file.size() - bodyStart) {
            return std::nullopt;
        }
        const std::uint8_t* body = file.data() + bodyStart;
        if (hasTag(header, "fmt ") && length >= 16) {
            info.formatTag = readU16(body);
            info.channels = readU16(body + 2);
            info.rate = readU32(body + 4);
            info.bitsPerSample = readU16(body + 14);
        } else if (hasTag(header, "data")) {
            info.hasData = true;
            info.dataOffset = bodyStart;
            info.dataBytes = static_cast<std::size_t>(length);
        }
        // Chunks are word-aligned: an odd length is followed by one pad byte. The pad may be missing
        // at the very end of the file, which simply ends the walk.
        const std::uint64_t advance = 8 + length + (length & 1);
        if (advance >= file.size() - pos) {
            break;
        }
        pos += static_cast<std::size_t>(advance);
    }
    return info;
}

std::optional<AudioClip> decodeWav(std::span<const std::uint8_t> file, std::uint64_t budgetBytesLeft) {
    const std::optional<WavInfo> parsed = parseWav(file);
    if (!parsed) {
        return std::nullopt;
    }
    const WavInfo& info = *parsed;
    if (info.formatTag != 1 || info.bitsPerSample != 16 || (info.channels != 1 && info.channels != 2) ||
        info.rate < 8000 || info.rate > 192000 || !info.hasData) {
        return std::nullopt;
    }
    const int channels = info.channels;
    const std::size_t frameBytes = 2 * static_cast<std::size_t>(channels);
    if (info.dataBytes < frameBytes) {
        return std::nullopt;
    }
    const std::int64_t n = static_cast<std::int64_t>(info.dataBytes / frameBytes);
    const std::int64_t m =
        static_cast<std::int64_t>(static_cast<double>(n) * (44100.0 / static_cast<double>(info.rate)));
    if (m < 1 || m > CLIP_MAX_FRAMES || static_cast<std::uint64_t>(m) > budgetBytesLeft / 4) {
        return std::nullopt;
    }

    const std::uint8_t* data = file.data() + info.dataOffset;
    // Sample of source frame `frame` for output channel `c`; a mono source feeds both channels.
    auto source = [&](std::int64_t frame, int c) {
        const int channel = channels == 1 ? 0 : c;
        return readS16(data + static_cast<std::size_t>(frame) * frameBytes +
                       2 * static_cast<std::size_t>(channel));
    };

    AudioClip clip;
    clip.samples.resize(static_cast<std::size_t>(m) * 2);
    std::int16_t* out = clip.samples.data();
    if (info.rate == AUDIO_RATE) {
        for (std::int64_t i = 0; i < m; ++i) {
            out[2 * i] = source(i, 0);
            out[2 * i + 1] = source(i, 1);
        }
        return clip;
    }
    const double r = static_cast<double>(info.rate) / 44100.0;
    for (std::int64_t i = 0; i < m; ++i) {
        const double p = static_cast<double>(i) * r;
        const std::int64_t whole = static_cast<std::int64_t>(p);
        const std::int64_t i0 = std::min(whole, n - 1);
        const std::int64_t i1 = std::min(i0 + 1, n - 1);
        const float f = static_cast<float>(p - static_cast<double>(whole));
        for (int c = 0; c < 2; ++c) {
            const float s0 = source(i0, c);
            const float s1 = source(i1, c);
            out[2 * i + c] = static_cast<std::int16_t>(s0 + (s1 - s0) * f);
        }
    }
    return clip;
}

} // namespace grumbo

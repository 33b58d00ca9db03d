#include "writers.h"

#include <fstream>
#include <zlib.h>

namespace grumbo::forge {

namespace {

void put32be(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void put16le(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32le(Bytes& out, std::uint32_t v) {
    put16le(out, v & 0xFFFF);
    put16le(out, v >> 16);
}

void putTag(Bytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

void pngChunk(Bytes& out, const char* type, const Bytes& data) {
    put32be(out, static_cast<std::uint32_t>(data.size()));
    size_t crcStart = out.size();
    putTag(out, type);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + crcStart, static_cast<uInt>(out.size() - crcStart));
    put32be(out, static_cast<std::uint32_t>(crc));
}

} // namespace

Bytes encodePng(const Image& img) {
    // Each row: filter byte, then RGBA. The "up" filter compresses smooth art noticeably better.
    const size_t stride = static_cast<size_t>(img.width) * 4;
    Bytes raw;
    raw.reserve((stride + 1) * static_cast<size_t>(img.height));
    Bytes prev(stride, 0);
    Bytes row(stride);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            Colour c = img.get(x, y);
            row[4 * x + 0] = static_cast<std::uint8_t>(c >> 16);
            row[4 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            row[4 * x + 2] = static_cast<std::uint8_t>(c);
            row[4 * x + 3] = static_cast<std::uint8_t>(c >> 24);
        }
        raw.push_back(2);
        for (size_t i = 0; i < stride; ++i) {
            raw.push_back(static_cast<std::uint8_t>(row[i] - prev[i]));
        }
        prev.swap(row);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6);
    packed.resize(packedSize);

    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    put32be(header, static_cast<std::uint32_t>(img.width));
    put32be(header, static_cast<std::uint32_t>(img.height));
    header.push_back(8); // bit depth
    header.push_back(6); // RGBA
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    pngChunk(out, "IHDR", header);
    pngChunk(out, "IDAT", packed);
    pngChunk(out, "IEND", {});
    return out;
}

namespace {

Bytes encodeDib(const Image& img) {
    Bytes out;
    put32le(out, 40);
    put32le(out, static_cast<std::uint32_t>(img.width));
    put32le(out, static_cast<std::uint32_t>(img.height * 2)); // colour rows plus the AND mask
    put16le(out, 1);
    put16le(out, 32);
    put32le(out, 0);
    put32le(out, 0);
    put32le(out, 0);
    put32le(out, 0);
    put32le(out, 0);
    put32le(out, 0);
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            put32le(out, img.get(x, y)); // BGRA in memory order
        }
    }
    const int maskStride = ((img.width + 31) / 32) * 4;
    for (int y = img.height - 1; y >= 0; --y) {
        Bytes maskRow(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < img.width; ++x) {
            if (alphaOf(img.get(x, y)) == 0) {
                maskRow[static_cast<size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), maskRow.begin(), maskRow.end());
    }
    return out;
}

} // namespace

Bytes encodeIco(const std::vector<Image>& images) {
    std::vector<Bytes> blobs;
    for (const Image& img : images) {
        blobs.push_back(img.width >= 256 ? encodePng(img) : encodeDib(img));
    }
    Bytes out;
    put16le(out, 0);
    put16le(out, 1);
    put16le(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].width >= 256 ? 0 : images[i].width));
        out.push_back(static_cast<std::uint8_t>(images[i].height >= 256 ? 0 : images[i].height));
        out.push_back(0);
        out.push_back(0);
        put16le(out, 1);
        put16le(out, 32);
        put32le(out, static_cast<std::uint32_t>(blobs[i].size()));
        put32le(out, offset);
        offset += static_cast<std::uint32_t>(blobs[i].size());
    }
    for (const Bytes& b : blobs) {
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

Bytes encodeWav(const std::vector<std::int16_t>& interleavedStereo) {
    const auto dataBytes = static_cast<std::uint32_t>(interleavedStereo.size() * 2);
    Bytes out;
    putTag(out, "RIFF");
    put32le(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32le(out, 16);
    put16le(out, 1);
    put16le(out, 2);
    put32le(out, 44100);
    put32le(out, 44100 * 4);
    put16le(out, 4);
    put16le(out, 16);
    putTag(out, "data");
    put32le(out, dataBytes);
    for (std::int16_t s : interleavedStereo) {
        put16le(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace grumbo::forge

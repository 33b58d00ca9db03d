#include "sprites.h"
#include "worlds.h"
#include "writers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <zlib.h>

namespace grumbo::forge {
namespace {

int channelDiff(Colour a, Colour b) {
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        d += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
    return d;
}

// The mean colour step across the wrap seam must look like a step the picture already takes
// somewhere inside: brick courses and building edges make some interior lines sharp (and may fall
// on the seam), but a seam that does not wrap is sharper than every one of them.
void expectSeamless(const Image& img, bool vertical, const std::string& what) {
    const int along = vertical ? img.width : img.height;
    const int across = vertical ? img.height : img.width;
    auto lineStep = [&](int k0, int k1) {
        double sum = 0;
        for (int i = 0; i < along; ++i) {
            sum += vertical ? channelDiff(img.get(i, k0), img.get(i, k1))
                            : channelDiff(img.get(k0, i), img.get(k1, i));
        }
        return sum / along;
    };
    double seam = lineStep(across - 1, 0);
    double sharpest = 0;
    for (int k = 0; k + 1 < across; ++k) {
        sharpest = std::max(sharpest, lineStep(k, k + 1));
    }
    EXPECT_LE(seam, sharpest * 1.05) << what << (vertical ? " (top/bottom)" : " (left/right)");
}

TEST(Backdrops, EveryWorldIsOpaqueSizedWrapsWithoutASeamAndLooksItsOwn) {
    std::vector<Image> all;
    for (int w = 0; w < WORLD_COUNT; ++w) {
        const Image& bg = all.emplace_back(buildBackground(w));
        ASSERT_EQ(bg.width, 960);
        ASSERT_EQ(bg.height, 540);
        for (Colour c : bg.pixels) {
            ASSERT_EQ(alphaOf(c), 255) << "bg_" << w + 1;
        }
        expectSeamless(bg, false, "bg_" + std::to_string(w + 1));
        for (int other = 0; other < w; ++other) {
            double d = 0;
            for (size_t i = 0; i < bg.pixels.size(); i += 97) {
                d += channelDiff(all[static_cast<size_t>(other)].pixels[i], bg.pixels[i]);
            }
            EXPECT_GT(d / (bg.pixels.size() / 97.0), 20.0) << "bg_" << other + 1 << " vs bg_" << w + 1;
        }
    }
}

TEST(Terrain, TilesOnBothAxesAndStaysNearTheWorldBodyColour) {
    for (int w = 0; w < WORLD_COUNT; ++w) {
        Image t = buildTerrain(w, 128);
        expectSeamless(t, false, "terrain_" + std::to_string(w + 1));
        expectSeamless(t, true, "terrain_" + std::to_string(w + 1));
        long sum[3] = {0, 0, 0};
        for (Colour c : t.pixels) {
            ASSERT_EQ(alphaOf(c), 255);
            for (int ch = 0; ch < 3; ++ch) {
                sum[ch] += (c >> (16 - 8 * ch)) & 0xFF;
            }
        }
        // Terrain sits behind the action, so on average it keeps the world's dark body tone.
        const long n = static_cast<long>(t.pixels.size());
        const Colour mean = rgb(static_cast<std::uint32_t>(sum[0] / n << 16 | sum[1] / n << 8 | sum[2] / n));
        EXPECT_LT(channelDiff(mean, worldLooks()[static_cast<size_t>(w)].body), 90) << "terrain_" << w + 1;
    }
}

std::uint32_t be32(const Bytes& b, size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | b[at + 3];
}

// A minimal PNG reader for what the encoder writes: 8-bit RGBA, filters none/sub/up.
Image decodePng(const Bytes& png) {
    const Bytes signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    size_t pos = 8;
    int width = 0;
    int height = 0;
    Bytes idat;
    bool ended = false;
    while (pos + 12 <= png.size()) {
        std::uint32_t length = be32(png, pos);
        std::string type(png.begin() + static_cast<long>(pos) + 4, png.begin() + static_cast<long>(pos) + 8);
        uLong crc = crc32(0L, Z_NULL, 0);
        crc = crc32(crc, png.data() + pos + 4, length + 4);
        EXPECT_EQ(crc, be32(png, pos + 8 + length)) << type << " CRC";
        if (type == "IHDR") {
            width = static_cast<int>(be32(png, pos + 8));
            height = static_cast<int>(be32(png, pos + 12));
            EXPECT_EQ(png[pos + 16], 8);
            EXPECT_EQ(png[pos + 17], 6);
        } else if (type == "IDAT") {
            idat.insert(idat.end(), png.begin() + static_cast<long>(pos) + 8,
                        png.begin() + static_cast<long>(pos + 8 + length));
        } else if (type == "IEND") {
            ended = true;
        }
        pos += 12 + length;
    }
    EXPECT_TRUE(ended);
    const size_t stride = static_cast<size_t>(width) * 4;
    Bytes raw((stride + 1) * static_cast<size_t>(height));
    uLongf rawSize = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &rawSize, idat.data(), static_cast<uLong>(idat.size())), Z_OK);
    EXPECT_EQ(rawSize, raw.size());
    Image img(width, height);
    Bytes prev(stride, 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t filter = raw[static_cast<size_t>(y) * (stride + 1)];
        Bytes row(raw.begin() + static_cast<long>(static_cast<size_t>(y) * (stride + 1) + 1),
                  raw.begin() + static_cast<long>(static_cast<size_t>(y + 1) * (stride + 1)));
        for (size_t i = 0; i < stride; ++i) {
            if (filter == 1 && i >= 4) {
                row[i] = static_cast<std::uint8_t>(row[i] + row[i - 4]);
            } else if (filter == 2) {
                row[i] = static_cast<std::uint8_t>(row[i] + prev[i]);
            }
        }
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &row[static_cast<size_t>(x) * 4];
            img.set(x, y,
                    (static_cast<Colour>(p[3]) << 24) | (static_cast<Colour>(p[0]) << 16) |
                        (static_cast<Colour>(p[1]) << 8) | p[2]);
        }
        prev = row;
    }
    return img;
}

TEST(Encoders, PngRoundTripsEveryPixelIncludingAlpha) {
    Image img(37, 21);
    Rng rng{99};
    for (Colour& c : img.pixels) {
        c = rng.next();
    }
    img.set(0, 0, 0);
    Image back = decodePng(encodePng(img));
    ASSERT_EQ(back.width, img.width);
    ASSERT_EQ(back.height, img.height);
    EXPECT_EQ(back.pixels, img.pixels);

    Image sheet = buildSpriteSheet();
    EXPECT_EQ(decodePng(encodePng(sheet)).pixels, sheet.pixels);
}

TEST(Encoders, IconHoldsTheFourSizesWithValidEntries) {
    std::vector<Image> icons;
    for (int size : {16, 32, 48, 256}) {
        icons.push_back(buildIcon(size));
        EXPECT_EQ(icons.back().width, size);
        EXPECT_GT(std::count_if(icons.back().pixels.begin(), icons.back().pixels.end(),
                                [](Colour c) { return alphaOf(c) == 255; }),
                  size * size / 2);
    }
    Bytes ico = encodeIco(icons);
    auto le16 = [&](size_t at) { return ico[at] | (ico[at + 1] << 8); };
    auto le32 = [&](size_t at) {
        return static_cast<std::uint32_t>(le16(at)) | (static_cast<std::uint32_t>(le16(at + 2)) << 16);
    };
    ASSERT_EQ(le16(0), 0);
    ASSERT_EQ(le16(2), 1);
    ASSERT_EQ(le16(4), 4);
    const int sizes[4] = {16, 32, 48, 0};
    for (size_t i = 0; i < 4; ++i) {
        size_t entry = 6 + 16 * i;
        EXPECT_EQ(ico[entry], sizes[i]);
        EXPECT_EQ(le16(entry + 6), 32);
        std::uint32_t bytes = le32(entry + 8);
        std::uint32_t offset = le32(entry + 12);
        EXPECT_LE(static_cast<size_t>(offset) + bytes, ico.size());
        if (i == 3) {
            Bytes png(ico.begin() + offset, ico.begin() + offset + bytes);
            EXPECT_EQ(decodePng(png).pixels, icons[3].pixels);
        } else {
            // A DIB header whose height counts the colour rows and the mask.
            EXPECT_EQ(le32(offset), 40u);
            EXPECT_EQ(le32(offset + 8), static_cast<std::uint32_t>(sizes[i] * 2));
        }
    }
}

} // namespace
} // namespace grumbo::forge

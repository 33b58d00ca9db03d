#include "worlds.h"

#include <cmath>

namespace grumbo::forge {

namespace {

// Periodic value noise: the lattice wraps at `cells`, so the texture tiles without a seam.
float latticeNoise(std::uint32_t seed, int x, int y, int cells) {
    x = ((x % cells) + cells) % cells;
    y = ((y % cells) + cells) % cells;
    std::uint32_t h =
        seed ^ (static_cast<std::uint32_t>(x) * 374761393u) ^ (static_cast<std::uint32_t>(y) * 668265263u);
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float smoothNoise(std::uint32_t seed, float x, float y, int cells) {
    int ix = static_cast<int>(std::floor(x));
    int iy = static_cast<int>(std::floor(y));
    float fx = x - ix;
    float fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = latticeNoise(seed, ix, iy, cells);
    float b = latticeNoise(seed, ix + 1, iy, cells);
    float c = latticeNoise(seed, ix, iy + 1, cells);
    float d = latticeNoise(seed, ix + 1, iy + 1, cells);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float fractal(std::uint32_t seed, int x, int y, int size) {
    float sum = 0;
    float amp = 0.5f;
    for (int cells = 4; cells <= 32; cells *= 2) {
        sum +=
            amp * smoothNoise(seed + static_cast<std::uint32_t>(cells), x * cells / static_cast<float>(size),
                              y * cells / static_cast<float>(size), cells);
        amp *= 0.5f;
    }
    return sum / 0.9375f;
}

// Brick courses: mortar lines and per-brick tone, wrapping on both axes.
void bricks(Image& img, int bw, int bh, Colour mortar, Rng& rng, float variation) {
    for (int row = 0; row < img.height / bh; ++row) {
        int offset = (row % 2) * bw / 2;
        for (int col = 0; col < img.width / bw; ++col) {
            float tone = 1.0f + rng.range(-variation, variation);
            for (int y = 0; y < bh; ++y) {
                for (int x = 0; x < bw; ++x) {
                    int px = col * bw + x + offset;
                    int py = row * bh + y;
                    Colour base = img.getWrapped(px, py);
                    Colour c = shade(base, tone);
                    if (y == 0 || x == 0) {
                        c = mortar;
                    } else if (y == 1 || x == 1) {
                        c = shade(base, tone * 1.12f);
                    } else if (y == bh - 1 || x == bw - 1) {
                        c = shade(base, tone * 0.82f);
                    }
                    img.blendWrapped(px, py, c);
                }
            }
        }
    }
}

void specks(Image& img, Rng& rng, int count, Colour c, int maxSize) {
    for (int i = 0; i < count; ++i) {
        int x = rng.below(img.width);
        int y = rng.below(img.height);
        int s = 1 + rng.below(maxSize);
        for (int yy = 0; yy < s; ++yy) {
            for (int xx = 0; xx < s; ++xx) {
                img.blendWrapped(x + xx, y + yy, c);
            }
        }
    }
}

void stones(Image& img, Rng& rng, int count, Colour base, float minR, float maxR) {
    const Ramp ramp = rampOf(base & 0xFFFFFF);
    for (int i = 0; i < count; ++i) {
        float cx = rng.range(0, static_cast<float>(img.width));
        float cy = rng.range(0, static_cast<float>(img.height));
        float rx = rng.range(minR, maxR);
        float ry = rx * rng.range(0.55f, 0.85f);
        for (int y = static_cast<int>(cy - ry - 1); y <= static_cast<int>(cy + ry + 1); ++y) {
            for (int x = static_cast<int>(cx - rx - 1); x <= static_cast<int>(cx + rx + 1); ++x) {
                float nx = (x + 0.5f - cx) / rx;
                float ny = (y + 0.5f - cy) / ry;
                float d = nx * nx + ny * ny;
                if (d > 1.25f) {
                    continue;
                }
                Colour c = d > 1.0f ? ramp.outline
                                    : (nx * 0.55f + ny * 0.8f < -0.3f
                                           ? ramp.light
                                           : (nx * 0.55f + ny * 0.8f > 0.4f ? ramp.dark : ramp.mid));
                img.blendWrapped(x, y, c);
            }
        }
    }
}

} // namespace

Image buildTerrain(int world, int size) {
    const WorldLook& look = worldLooks()[static_cast<size_t>(world)];
    Rng rng{0x51ED270Bu + static_cast<std::uint32_t>(world) * 2654435761u};
    Image img(size, size);
    const std::uint32_t seed = 1000u + static_cast<std::uint32_t>(world) * 77u;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float n = fractal(seed, x, y, size);
            img.set(x, y, shade(look.body, 0.78f + 0.42f * n));
        }
    }
    const Colour mortar = shade(look.body, 0.55f);
    switch (world) {
    case 0: // neon woodland: loam, pebbles, glowing spores
        stones(img, rng, size / 10, shade(look.body, 1.5f), 2.0f, 5.0f);
        specks(img, rng, size / 3, withAlpha(look.accent, 0.6f), 2);
        for (int i = 0; i < 4; ++i) {
            float y0 = rng.range(0, static_cast<float>(size));
            for (int x = 0; x < size; ++x) {
                float y = y0 + 5 * std::sin(x * 2 * 3.14159265f * (i + 1) / size);
                img.blendWrapped(x, static_cast<int>(y), withAlpha(rgb(0x3A2A1A), 0.7f));
            }
        }
        break;
    case 1: // dead signal city: cracked concrete slabs
        bricks(img, size / 2, size / 4, mortar, rng, 0.08f);
        for (int i = 0; i < 6; ++i) {
            float x = rng.range(0, static_cast<float>(size));
            float y = rng.range(0, static_cast<float>(size));
            for (int k = 0; k < 14; ++k) {
                img.blendWrapped(static_cast<int>(x), static_cast<int>(y), shade(look.body, 0.5f));
                x += rng.range(-1, 2);
                y += rng.range(0, 1.5f);
            }
        }
        specks(img, rng, size / 4, withAlpha(look.accent, 0.35f), 1);
        break;
    case 2: // static forest: mossy stone blocks
        bricks(img, size / 4, size / 8, mortar, rng, 0.12f);
        specks(img, rng, size, withAlpha(rgb(0x6A8A3A), 0.5f), 2);
        break;
    case 3: // splash zone: wet rock and bubbles
        stones(img, rng, size / 6, shade(look.body, 1.35f), 3.0f, 8.0f);
        for (int i = 0; i < size / 8; ++i) {
            float cx = rng.range(0, static_cast<float>(size));
            float cy = rng.range(0, static_cast<float>(size));
            float r = rng.range(1.5f, 3.5f);
            for (int a = 0; a < 16; ++a) {
                float t = a * 3.14159265f / 8;
                img.blendWrapped(static_cast<int>(cx + r * std::cos(t)),
                                 static_cast<int>(cy + r * std::sin(t)), withAlpha(rgb(0xA8F0FF), 0.55f));
            }
        }
        break;
    case 4: // alphabet citadel: dressed stone with carved letters
        bricks(img, size / 4, size / 8, mortar, rng, 0.1f);
        for (int i = 0; i < 6; ++i) {
            char letter = static_cast<char>('A' + rng.below(26));
            int gx = rng.below(size);
            int gy = rng.below(size);
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (glyphPixel(letter, col, row)) {
                        img.blendWrapped(gx + col, gy + row, withAlpha(look.accent, 0.35f));
                    }
                }
            }
        }
        break;
    case 5: // pixel peak: frozen rock with ice glints
        stones(img, rng, size / 8, shade(look.body, 1.45f), 3.0f, 7.0f);
        specks(img, rng, size / 2, withAlpha(rgb(0xE8F8FF), 0.7f), 2);
        break;
    case 6: // retro reactor: riveted plates
        bricks(img, size / 2, size / 2, mortar, rng, 0.05f);
        for (int y = 0; y < size; y += size / 2) {
            for (int x = 0; x < size; x += size / 2) {
                const int inset[4][2] = {
                    {4, 4}, {size / 2 - 5, 4}, {4, size / 2 - 5}, {size / 2 - 5, size / 2 - 5}};
                for (const auto& p : inset) {
                    img.blendWrapped(x + p[0], y + p[1], shade(look.body, 1.7f));
                    img.blendWrapped(x + p[0] + 1, y + p[1] + 1, shade(look.body, 0.5f));
                }
            }
        }
        for (int x = 0; x < size; ++x) {
            for (int y = size / 4 - 2; y < size / 4 + 2; ++y) {
                img.blendWrapped(x, y, withAlpha(look.accent, 0.18f));
            }
        }
        break;
    case 7: // snackworks: cracker dough with docking holes
        bricks(img, size / 4, size / 4, mortar, rng, 0.06f);
        for (int y = size / 16; y < size; y += size / 8) {
            for (int x = size / 16; x < size; x += size / 8) {
                img.blendWrapped(x, y, shade(look.body, 0.55f));
                img.blendWrapped(x + 1, y, shade(look.body, 0.7f));
            }
        }
        specks(img, rng, size / 3, withAlpha(rgb(0xFFE0A0), 0.35f), 1);
        break;
    case 8: // midnight arcade: dark panels with neon circuit traces
        bricks(img, size / 2, size / 4, mortar, rng, 0.05f);
        for (int i = 0; i < 8; ++i) {
            int x = rng.below(size);
            int y = rng.below(size);
            int len = 8 + rng.below(size / 3);
            bool horizontal = rng.below(2) == 0;
            for (int k = 0; k < len; ++k) {
                img.blendWrapped(horizontal ? x + k : x, horizontal ? y : y + k,
                                 withAlpha(look.accent, 0.45f));
            }
            img.blendWrapped(horizontal ? x + len : x, horizontal ? y : y + len, look.accent);
        }
        break;
    default: // subscriber summit: cloud marble with gold veins
        bricks(img, size / 4, size / 4, mortar, rng, 0.08f);
        for (int i = 0; i < 5; ++i) {
            float x = rng.range(0, static_cast<float>(size));
            float y = rng.range(0, static_cast<float>(size));
            for (int k = 0; k < 30; ++k) {
                img.blendWrapped(static_cast<int>(x), static_cast<int>(y), withAlpha(look.accent, 0.4f));
                x += 1;
                y += rng.range(-1, 1);
            }
        }
        break;
    }
    return img;
}

} // namespace grumbo::forge

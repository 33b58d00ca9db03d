#include "worlds.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace grumbo::forge {

namespace {

constexpr int BG_W = 960;
constexpr int BG_H = 540;
constexpr float TAU = 6.28318531f;

// Draws a shape three times, one period apart, so anything crossing an edge wraps around.
void wrapped(const std::function<void(float)>& draw) {
    for (float offset : {-static_cast<float>(BG_W), 0.0f, static_cast<float>(BG_W)}) {
        draw(offset);
    }
}

void skyGradient(Image& img, Colour top, Colour bottom) {
    for (int y = 0; y < BG_H; ++y) {
        float t = std::pow(y / static_cast<float>(BG_H - 1), 0.85f);
        // Ordered dither between bands keeps the gradient smooth in 8-bit.
        for (int x = 0; x < BG_W; ++x) {
            float d = ((x * 7 + y * 13) % 8) / 8.0f - 0.5f;
            img.set(x, y, mix(top, bottom, std::clamp(t + d * 0.012f, 0.0f, 1.0f)));
        }
    }
}

void stars(Image& img, Rng& rng, int count, float maxY, Colour tint) {
    for (int i = 0; i < count; ++i) {
        int x = rng.below(BG_W);
        int y = static_cast<int>(rng.range(0, maxY));
        float a = rng.range(0.3f, 1.0f) * (1.0f - y / maxY * 0.6f);
        img.blend(x, y, withAlpha(tint, a));
        if (rng.below(9) == 0) {
            img.blend(x - 1, y, withAlpha(tint, a * 0.4f));
            img.blend(x + 1, y, withAlpha(tint, a * 0.4f));
            img.blend(x, y - 1, withAlpha(tint, a * 0.4f));
            img.blend(x, y + 1, withAlpha(tint, a * 0.4f));
        }
    }
}

void glowDisc(Image& img, float cx, float cy, float r, Colour core, Colour glow) {
    for (int k = 6; k >= 1; --k) {
        fillEllipse(img, cx, cy, r + k * r * 0.35f, r + k * r * 0.35f, withAlpha(glow, 0.05f));
    }
    fillEllipse(img, cx, cy, r, r, core);
}

// A ridge line made of whole periods of sines, so it meets itself at the seam.
struct Ridge {
    float base;
    float amps[4];
    int freqs[4];
    float phases[4];
    float heightAt(float x) const {
        float y = base;
        for (int k = 0; k < 4; ++k) {
            y -= amps[k] * std::sin(TAU * freqs[k] * x / BG_W + phases[k]);
        }
        return y;
    }
};

void fillRidge(Image& img, const Ridge& ridge, Colour colour, Colour rim) {
    for (int x = 0; x < BG_W; ++x) {
        int top = static_cast<int>(ridge.heightAt(static_cast<float>(x)));
        for (int y = std::max(0, top); y < BG_H; ++y) {
            img.set(x, y, y == top ? rim : colour);
        }
    }
}

// Mountain range: sharp peaks from |sin| with a whole number of peaks across the width.
void mountains(Image& img, float base, float height, int peaks, float phase, Colour colour, Colour snow,
               float snowLine) {
    for (int x = 0; x < BG_W; ++x) {
        float s = std::fabs(std::sin(3.14159265f * peaks * x / BG_W + phase));
        float s2 = std::fabs(std::sin(3.14159265f * peaks * 3 * x / BG_W + phase * 2.0f));
        float top = base - height * (std::pow(s, 1.6f) * 0.85f + 0.15f * s2);
        for (int y = std::max(0, static_cast<int>(top)); y < BG_H; ++y) {
            bool capped = snowLine > 0 && y < top + (base - top) * snowLine && y < base - height * 0.45f;
            bool lit = std::fmod(x * peaks / static_cast<float>(BG_W) + phase / 3.14159265f, 1.0f) < 0.5f;
            Colour c = capped ? snow : colour;
            img.set(x, y, lit ? c : shade(c, 0.86f));
        }
    }
}

void haze(Image& img, float fromY, float toY, Colour colour, float strength) {
    for (int y = std::max(0, static_cast<int>(fromY)); y < std::min(BG_H, static_cast<int>(toY)); ++y) {
        float t = (y - fromY) / std::max(1.0f, toY - fromY);
        float a = strength * std::sin(t * 3.14159265f);
        for (int x = 0; x < BG_W; ++x) {
            img.blend(x, y, withAlpha(colour, a));
        }
    }
}

// A row of buildings filling exactly one period, with lit or dead windows.
void skyline(Image& img, Rng& rng, float base, float minH, float maxH, Colour body, Colour window,
             float litChance, int minW, int maxW) {
    int x = 0;
    while (x < BG_W) {
        int w = minW + rng.below(maxW - minW + 1);
        if (BG_W - (x + w) < minW) {
            w = BG_W - x;
        }
        int h = static_cast<int>(rng.range(minH, maxH));
        int top = static_cast<int>(base) - h;
        fillRect(img, x, top, w, BG_H - top, body);
        fillRect(img, x, top, w, 2, shade(body, 1.25f));
        if (rng.below(3) == 0) {
            // Antenna with a warning light.
            int ax = x + w / 2;
            fillRect(img, ax, top - 18, 2, 18, body);
            img.set(ax, top - 19, window);
            img.set(ax + 1, top - 19, window);
        }
        for (int wy = top + 8; wy < static_cast<int>(base) - 6; wy += 10) {
            for (int wx = x + 5; wx + 4 < x + w - 3; wx += 9) {
                if (rng.unit() < litChance) {
                    fillRect(img, wx, wy, 4, 5, window);
                } else {
                    fillRect(img, wx, wy, 4, 5, shade(body, 0.8f));
                }
            }
        }
        x += w + rng.below(3);
    }
}

void roundTree(Image& img, float x, float base, float h, Colour trunk, Colour crown, Colour glow) {
    fillRect(img, static_cast<int>(x - h * 0.05f), static_cast<int>(base - h * 0.55f),
             static_cast<int>(std::max(2.0f, h * 0.1f)), static_cast<int>(h * 0.55f) + 40, trunk);
    const float blobs[3][4] = {
        {0, 0.7f, 0.32f, 0.3f}, {-0.18f, 0.58f, 0.22f, 0.18f}, {0.2f, 0.6f, 0.22f, 0.2f}};
    for (const auto& b : blobs) {
        fillEllipse(img, x + b[0] * h, base - b[1] * h, b[2] * h, b[3] * h, shade(crown, 0.8f));
    }
    // A lighter cap on the side facing the moon gives the crowns their volume.
    for (const auto& b : blobs) {
        fillEllipse(img, x + b[0] * h - b[2] * h * 0.15f, base - b[1] * h - b[3] * h * 0.18f, b[2] * h * 0.8f,
                    b[3] * h * 0.75f, crown);
    }
    fillEllipse(img, x - h * 0.08f, base - h * 0.8f, h * 0.14f, h * 0.1f, shade(crown, 1.25f));
    if (alphaOf(glow) != 0) {
        for (int a = 0; a < 180; ++a) {
            float t = a * TAU / 180;
            if (std::sin(t) < 0.15f) {
                float gx = x + h * 0.32f * std::cos(t);
                float gy = base - h * 0.7f + h * 0.3f * std::sin(t);
                img.blend(static_cast<int>(gx), static_cast<int>(gy), glow);
                img.blend(static_cast<int>(gx), static_cast<int>(gy) - 1, withAlpha(glow, 0.35f));
            }
        }
    }
}

void pine(Image& img, float x, float base, float h, Colour colour, Colour snow) {
    fillRect(img, static_cast<int>(x - 2), static_cast<int>(base - h * 0.2f), 4,
             static_cast<int>(h * 0.2f) + 40, shade(colour, 0.7f));
    for (int tier = 0; tier < 3; ++tier) {
        float ty = base - h * (0.25f + tier * 0.25f);
        float tw = h * (0.36f - tier * 0.09f);
        fillPolygon(img, {x - tw, ty, x + tw, ty, x, ty - h * 0.38f}, colour);
        if (alphaOf(snow) != 0) {
            fillPolygon(
                img, {x - tw * 0.4f, ty - h * 0.22f, x + tw * 0.4f, ty - h * 0.22f, x, ty - h * 0.38f}, snow);
        }
    }
}

void cloud(Image& img, float x, float y, float s, Colour c) {
    fillEllipse(img, x, y, s, s * 0.45f, c);
    fillEllipse(img, x - s * 0.45f, y + s * 0.08f, s * 0.55f, s * 0.32f, c);
    fillEllipse(img, x + s * 0.5f, y + s * 0.05f, s * 0.6f, s * 0.35f, c);
    fillEllipse(img, x + s * 0.1f, y - s * 0.25f, s * 0.5f, s * 0.4f, c);
}

Colour depth(const WorldLook& look, Colour c, float distance) {
    return mix(c, look.haze, distance);
}

void neonWoodland(Image& img, const WorldLook& look, Rng& rng) {
    stars(img, rng, 260, 300, rgb(0xE8E0FF));
    glowDisc(img, 700, 110, 38, rgb(0xF0E8FF), rgb(0xC080FF));
    fillEllipse(img, 688, 100, 8, 6, rgb(0xD8D0F0));
    fillEllipse(img, 716, 124, 6, 5, rgb(0xD8D0F0));
    fillRidge(img, {300, {34, 16, 8, 0}, {2, 5, 11, 1}, {0.3f, 1.1f, 2.0f, 0}}, depth(look, look.far, 0.35f),
              depth(look, look.accent, 0.55f));
    haze(img, 250, 420, look.haze, 0.3f);
    const Colour neon[3] = {look.accent, rgb(0xFF5FD8), rgb(0x68E6FF)};
    for (int i = 0; i < 16; ++i) {
        float x = i * BG_W / 16.0f + rng.range(-15, 15);
        float h = rng.range(100, 140);
        Colour glow = withAlpha(depth(look, neon[i % 3], 0.3f), 0.7f);
        wrapped([&](float o) {
            roundTree(img, x + o, 420, h, depth(look, look.mid, 0.3f), depth(look, rgb(0x245A52), 0.35f),
                      glow);
        });
    }
    haze(img, 330, 470, look.haze, 0.3f);
    for (int i = 0; i < 9; ++i) {
        float x = i * BG_W / 9.0f + rng.range(-30, 30);
        float h = rng.range(190, 240);
        Colour glow = neon[(i + 1) % 3];
        wrapped([&](float o) { roundTree(img, x + o, 480, h, look.near, rgb(0x1C4A40), glow); });
    }
    fillRidge(img, {478, {6, 3, 0, 0}, {5, 13, 1, 1}, {0.5f, 1.2f, 0, 0}}, shade(look.near, 0.8f),
              look.accent);
    // Glowing mushrooms along the forest floor.
    for (int i = 0; i < 14; ++i) {
        float x = i * BG_W / 14.0f + rng.range(-20, 20);
        Colour cap = neon[i % 3];
        wrapped([&](float o) {
            fillEllipse(img, x + o, 478, 14, 8, withAlpha(cap, 0.15f));
            fillRect(img, static_cast<int>(x + o) - 1, 472, 3, 8, rgb(0xD8D0C0));
            fillEllipse(img, x + o, 472, 6, 3.5f, cap);
            img.set(static_cast<int>(x + o) - 2, 471, rgb(0xFFFFFF));
        });
    }
    for (int i = 0; i < 70; ++i) {
        float x = rng.range(0, BG_W);
        float y = rng.range(200, 460);
        Colour c = i % 3 ? look.accent : rgb(0xFF8AE0);
        fillEllipse(img, x, y, 2.5f, 2.5f, withAlpha(c, 0.25f));
        img.set(static_cast<int>(x), static_cast<int>(y), c);
    }
}

void deadSignalCity(Image& img, const WorldLook& look, Rng& rng) {
    stars(img, rng, 90, 200, rgb(0xC8B0D8));
    glowDisc(img, 220, 90, 26, rgb(0xE0C8E8), rgb(0xDD79FA));
    skyline(img, rng, 420, 120, 240, depth(look, look.far, 0.35f), withAlpha(rgb(0x9A7AB0), 0.6f), 0.08f, 40,
            90);
    haze(img, 220, 420, look.haze, 0.3f);
    skyline(img, rng, 470, 90, 200, look.mid, rgb(0xFFD890), 0.12f, 50, 110);
    // Radio masts blinking a dead signal.
    for (int i = 0; i < 3; ++i) {
        float x = 160 + i * 320.0f;
        wrapped([&](float o) {
            drawLine(img, x + o, 120, x + o - 30, 470, 3, look.near);
            drawLine(img, x + o, 120, x + o + 30, 470, 3, look.near);
            for (int k = 0; k < 8; ++k) {
                float y = 150 + k * 40.0f;
                float half = (y - 120) / 350 * 30;
                drawLine(img, x + o - half, y, x + o + half, y + 20, 1.5f, look.near);
            }
            fillEllipse(img, x + o, 118, 4, 4, rgb(0xFF3050));
            fillEllipse(img, x + o, 118, 10, 10, withAlpha(rgb(0xFF3050), 0.2f));
        });
    }
    fillRidge(img, {470, {10, 6, 3, 0}, {6, 13, 29, 1}, {0.0f, 0.7f, 1.3f, 0}}, look.near,
              shade(look.near, 1.4f));
}

void staticForest(Image& img, const WorldLook& look, Rng& rng) {
    for (int layer = 0; layer < 3; ++layer) {
        float dist = 0.65f - layer * 0.3f;
        Colour trunk = depth(look, layer == 2 ? look.near : (layer == 1 ? look.mid : look.far), dist);
        int count = 26 - layer * 6;
        for (int i = 0; i < count; ++i) {
            float x = (i + rng.range(0, 0.8f)) * BG_W / count;
            float w = 4.0f + layer * 4 + rng.range(0, 3);
            float branches[3][4];
            for (auto& b : branches) {
                b[0] = rng.range(60, 360);
                b[1] = rng.below(2) ? 1.0f : -1.0f;
                b[2] = rng.range(15, 40);
                b[3] = rng.range(10, 30);
            }
            wrapped([&](float o) {
                fillRect(img, static_cast<int>(x + o), 0, static_cast<int>(w), BG_H, trunk);
                fillRect(img, static_cast<int>(x + o), 0, 1, BG_H, shade(trunk, 1.2f));
                for (const auto& b : branches) {
                    drawLine(img, x + o + w / 2, b[0], x + o + w / 2 + b[1] * b[2], b[0] - b[3],
                             1 + layer * 0.5f, trunk);
                }
            });
        }
        haze(img, 150, 540, look.haze, 0.22f);
    }
    // Television static drifting between the trees.
    for (int y = 0; y < BG_H; y += 3) {
        float band = 0.05f + 0.05f * std::sin(y * 0.07f);
        for (int x = 0; x < BG_W; ++x) {
            if (rng.unit() < band) {
                img.blend(x, y, withAlpha(rgb(0xE0F0D0), rng.range(0.05f, 0.2f)));
            }
        }
    }
    fillRidge(img, {480, {8, 4, 0, 0}, {4, 15, 1, 1}, {0.2f, 0.9f, 0, 0}}, look.near, shade(look.near, 1.3f));
}

void splashZone(Image& img, const WorldLook& look, Rng& rng) {
    glowDisc(img, 760, 90, 34, rgb(0xFFF8D0), rgb(0xFFF0A0));
    for (int i = 0; i < 7; ++i) {
        float x = rng.range(0, BG_W);
        float y = rng.range(50, 180);
        float s = rng.range(30, 60);
        wrapped([&](float o) { cloud(img, x + o, y, s, withAlpha(rgb(0xFFFFFF), 0.85f)); });
    }
    fillRect(img, 0, 300, BG_W, BG_H - 300, depth(look, look.far, 0.2f));
    for (int y = 300; y < BG_H; y += 6) {
        for (int x = 0; x < BG_W; x += 2) {
            if (std::sin(x * TAU * 12 / BG_W + y * 0.3f) > 0.8f) {
                img.blend(x, y, withAlpha(rgb(0xE0F8FF), 0.5f));
            }
        }
    }
    // Water slide tubes looping over the bay.
    const Colour tubes[3] = {rgb(0xFF6A8A), rgb(0xFFD050), rgb(0x6AE08A)};
    for (int t = 0; t < 3; ++t) {
        Colour c = depth(look, tubes[t], 0.35f + t * 0.1f);
        auto tubeY = [t](int x) { return 250 + t * 40 + 60 * std::sin(TAU * (t + 1) * x / BG_W + t); };
        // The tube runs a little past both edges so its two ends are built alike.
        for (int x = -10; x < BG_W + 10; ++x) {
            fillEllipse(img, static_cast<float>(x), tubeY(x), 7, 7, c);
        }
        for (int x = 0; x < BG_W; ++x) {
            img.set(x, static_cast<int>(tubeY(x) - 5), shade(c, 1.3f));
        }
        for (int p = 0; p < 6; ++p) {
            float x = p * BG_W / 6.0f + t * 40;
            float y = 250 + t * 40 + 60 * std::sin(TAU * (t + 1) * x / BG_W + t);
            wrapped([&](float o) {
                fillRect(img, static_cast<int>(x + o), static_cast<int>(y), 4, BG_H, shade(c, 0.6f));
            });
        }
    }
    for (int x = 0; x < BG_W; ++x) {
        float top = 440 + 8 * std::sin(TAU * 8 * x / BG_W) + 4 * std::sin(TAU * 19 * x / BG_W);
        for (int y = static_cast<int>(top); y < BG_H; ++y) {
            img.set(x, y, y < top + 3 ? rgb(0xE8FCFF) : look.near);
        }
    }
}

void alphabetCitadel(Image& img, const WorldLook& look, Rng& rng) {
    stars(img, rng, 140, 260, rgb(0xFFE8C0));
    glowDisc(img, 480, 150, 60, rgb(0xFFD890), rgb(0xF5C26F));
    // Towers stacked from letter blocks.
    for (int layer = 0; layer < 2; ++layer) {
        Colour stone = depth(look, layer == 0 ? look.far : look.mid, layer == 0 ? 0.35f : 0.1f);
        int towers = layer == 0 ? 8 : 5;
        for (int i = 0; i < towers; ++i) {
            float x = (i + 0.5f) * BG_W / towers + rng.range(-20, 20);
            float h = rng.range(160, 280) - layer * 40;
            float w = layer == 0 ? 44 : 70;
            float base = layer == 0 ? 420.0f : 470.0f;
            char letters[16];
            for (char& letter : letters) {
                letter = static_cast<char>('A' + rng.below(26));
            }
            wrapped([&](float o) {
                int slot = 0;
                float tx = x + o - w / 2;
                fillRect(img, static_cast<int>(tx), static_cast<int>(base - h), static_cast<int>(w),
                         static_cast<int>(h) + 80, stone);
                for (int k = 0; k < 4; ++k) {
                    fillRect(img, static_cast<int>(tx + k * w / 4 + 1), static_cast<int>(base - h - 10),
                             static_cast<int>(w / 8), 10, stone);
                }
                fillPolygon(
                    img,
                    {tx + w / 2, base - h - 50, tx + w / 2 + 2, base - h - 10, tx + w / 2 - 2, base - h - 10},
                    shade(stone, 0.8f));
                fillPolygon(img,
                            {tx + w / 2 + 2, base - h - 48, tx + w / 2 + 22, base - h - 42, tx + w / 2 + 2,
                             base - h - 36},
                            depth(look, rgb(0xE04A5A), 0.3f - layer * 0.2f));
                for (float by = base - h + 12; by < base - 10; by += 26) {
                    char letter = letters[slot++ % 16];
                    int gx = static_cast<int>(tx + w / 2 - 7);
                    fillRect(img, gx - 3, static_cast<int>(by) - 3, 21, 20, shade(stone, 1.07f));
                    for (int row = 0; row < 7; ++row) {
                        for (int col = 0; col < 5; ++col) {
                            if (glyphPixel(letter, col, row)) {
                                fillRect(img, gx + col * 3, static_cast<int>(by) + row * 2, 3, 2,
                                         depth(look, look.accent, 0.62f));
                            }
                        }
                    }
                }
            });
        }
        haze(img, 260, 480, look.haze, 0.25f);
    }
    fillRidge(img, {470, {6, 3, 0, 0}, {5, 17, 1, 1}, {0.4f, 1.6f, 0, 0}}, look.near, shade(look.near, 1.4f));
}

void pixelPeak(Image& img, const WorldLook& look, Rng& rng) {
    glowDisc(img, 180, 100, 30, rgb(0xFFFFF0), rgb(0xFFFFFF));
    mountains(img, 360, 220, 3, 0.4f, depth(look, look.far, 0.3f), depth(look, rgb(0xFFFFFF), 0.25f), 0.45f);
    haze(img, 220, 380, look.haze, 0.35f);
    mountains(img, 430, 190, 5, 1.3f, look.mid, rgb(0xF4FAFF), 0.4f);
    haze(img, 330, 460, look.haze, 0.3f);
    for (int i = 0; i < 18; ++i) {
        float x = i * BG_W / 18.0f + rng.range(-15, 15);
        float h = rng.range(70, 120);
        wrapped([&](float o) { pine(img, x + o, 470, h, look.near, rgb(0xF0F8FF)); });
    }
    for (int i = 0; i < 260; ++i) {
        float x = rng.range(0, BG_W);
        float y = rng.range(0, 470);
        fillRect(img, static_cast<int>(x), static_cast<int>(y), 2, 2,
                 withAlpha(rgb(0xFFFFFF), rng.range(0.4f, 0.9f)));
    }
}

void retroReactor(Image& img, const WorldLook& look, Rng& rng) {
    stars(img, rng, 80, 200, rgb(0xB0FFC8));
    // Cooling towers with steam.
    for (int i = 0; i < 4; ++i) {
        float x = (i + 0.5f) * BG_W / 4;
        Colour c = depth(look, look.far, 0.3f);
        wrapped([&](float o) {
            float cx = x + o;
            fillPolygon(
                img, {cx - 60, 420, cx + 60, 420, cx + 38, 250, cx + 44, 200, cx - 44, 200, cx - 38, 250}, c);
            fillRect(img, static_cast<int>(cx - 44), 200, 88, 4, shade(c, 1.3f));
            for (int s = 0; s < 5; ++s) {
                fillEllipse(img, cx + s * 10 - 20, 180 - s * 25.0f, 40.0f + s * 8, 20.0f + s * 4,
                            withAlpha(rgb(0xC8E8D8), 0.18f));
            }
        });
    }
    haze(img, 250, 440, look.haze, 0.3f);
    // Pipe rack and tanks.
    for (int p = 0; p < 3; ++p) {
        int y = 340 + p * 22;
        fillRect(img, 0, y, BG_W, 9, look.mid);
        fillRect(img, 0, y, BG_W, 2, shade(look.mid, 1.4f));
        for (int x = (p * 37) % 60; x < BG_W; x += 60) {
            fillRect(img, x, y - 2, 5, 13, shade(look.mid, 0.7f));
        }
    }
    for (int i = 0; i < 6; ++i) {
        float x = (i + 0.3f) * BG_W / 6;
        wrapped([&](float o) {
            fillRect(img, static_cast<int>(x + o - 30), 360, 60, 120, look.near);
            fillEllipse(img, x + o, 360, 30, 10, shade(look.near, 1.2f));
            fillRect(img, static_cast<int>(x + o - 24), 400, 48, 5, withAlpha(look.accent, 0.8f));
            fillEllipse(img, x + o, 402, 34, 8, withAlpha(look.accent, 0.15f));
        });
    }
    fillRidge(img, {470, {4, 2, 0, 0}, {7, 23, 1, 1}, {0, 1, 0, 0}}, look.near, look.accent);
}

void snackFactory(Image& img, const WorldLook& look, Rng& rng) {
    glowDisc(img, 640, 130, 44, rgb(0xFFD8A0), rgb(0xFFAB70));
    // Sawtooth-roofed halls far away, smokestacks nearer.
    Colour far = depth(look, look.far, 0.3f);
    for (int x = 0; x < BG_W; ++x) {
        float t = std::fmod(x / 48.0f, 1.0f);
        int top = static_cast<int>(330 - 30 * t);
        fillRect(img, x, top, 1, BG_H - top, t > 0.85f ? shade(far, 0.8f) : far);
        // Skylights glow under each saw tooth.
        if (t > 0.1f && t < 0.7f) {
            fillRect(img, x, 340, 1, 8, depth(look, look.accent, 0.45f));
        }
    }
    for (int i = 0; i < 5; ++i) {
        float x = (i + 0.5f) * BG_W / 5 + rng.range(-30, 30);
        float h = rng.range(180, 260);
        wrapped([&](float o) {
            fillRect(img, static_cast<int>(x + o - 14), static_cast<int>(420 - h), 28, static_cast<int>(h),
                     look.mid);
            fillRect(img, static_cast<int>(x + o - 14), static_cast<int>(440 - h), 28, 6, rgb(0xE8503A));
            for (int s = 0; s < 6; ++s) {
                fillEllipse(img, x + o + s * 14, 400 - h - s * 22, 16.0f + s * 5, 10.0f + s * 3,
                            withAlpha(rgb(0xE8D0C0), 0.3f - s * 0.04f));
            }
        });
    }
    haze(img, 280, 440, look.haze, 0.25f);
    // A giant donut sign over the plant.
    for (int i = 0; i < 2; ++i) {
        float x = 240 + i * 480.0f;
        wrapped([&](float o) {
            fillRect(img, static_cast<int>(x + o - 3), 260, 6, 200, look.near);
            fillEllipse(img, x + o, 240, 46, 40, depth(look, rgb(0xE8A050), 0.35f));
            fillEllipse(img, x + o, 234, 42, 34, depth(look, rgb(0xFF7AB0), 0.35f));
            for (int k = 0; k < 10; ++k) {
                float a = k * TAU / 10;
                fillRect(img, static_cast<int>(x + o + 28 * std::cos(a)),
                         static_cast<int>(234 + 24 * std::sin(a)), 4, 2,
                         k % 2 ? rgb(0xFFF060) : rgb(0x60D0FF));
            }
            fillEllipse(img, x + o, 238, 14, 12, mix(look.skyBottom, look.haze, 0.5f));
        });
    }
    // Conveyor line along the bottom.
    fillRect(img, 0, 440, BG_W, 40, look.near);
    for (int x = 0; x < BG_W; x += 24) {
        fillEllipse(img, static_cast<float>(x + 12), 452, 8, 8, shade(look.near, 1.4f));
        fillRect(img, x + 4, 428, 16, 10, rgb(0xF2C040));
    }
}

void midnightArcade(Image& img, const WorldLook& look, Rng& rng) {
    stars(img, rng, 180, 240, rgb(0xE0D0FF));
    skyline(img, rng, 400, 100, 200, depth(look, look.far, 0.3f), withAlpha(rgb(0x7A5AD0), 0.7f), 0.2f, 50,
            100);
    haze(img, 230, 420, look.haze, 0.25f);
    // Neon signs.
    const char* signs[3] = {"ARCADE", "PLAY", "1UP"};
    const Colour neon[3] = {look.accent, rgb(0x68E6FF), rgb(0xB3FF67)};
    for (int i = 0; i < 3; ++i) {
        float x = 140 + i * 320.0f;
        wrapped([&](float o) {
            int w = textWidth(signs[i], 3) + 16;
            fillRect(img, static_cast<int>(x + o) - w / 2, 170 + i * 20, w, 36, rgb(0x140A24));
            blendRect(img, static_cast<int>(x + o) - w / 2 - 6, 164 + i * 20, w + 12, 48,
                      withAlpha(neon[i], 0.12f));
            drawText(img, static_cast<int>(x + o) - w / 2 + 8, 178 + i * 20, signs[i], 3, neon[i]);
        });
    }
    // Cabinet silhouettes with glowing screens.
    for (int i = 0; i < 12; ++i) {
        float x = (i + 0.5f) * BG_W / 12;
        wrapped([&](float o) {
            float cx = x + o;
            fillPolygon(img, {cx - 22, 470, cx + 22, 470, cx + 24, 360, cx - 20, 360}, look.near);
            fillRect(img, static_cast<int>(cx - 16), 372, 32, 24, withAlpha(neon[i % 3], 0.3f));
            fillRect(img, static_cast<int>(cx - 18), 362, 36, 6, depth(look, neon[(i + 1) % 3], 0.4f));
        });
    }
    // Perspective grid floor.
    for (int k = 0; k < 8; ++k) {
        int y = 470 + k * k * 2;
        if (y < BG_H) {
            fillRect(img, 0, y, BG_W, 1, withAlpha(look.accent, 0.4f));
        }
    }
}

void skySummit(Image& img, const WorldLook& look, Rng& rng) {
    glowDisc(img, 480, 300, 70, rgb(0xFFF0C0), rgb(0xFFE395));
    for (int r = 0; r < 16; ++r) {
        float a = r * TAU / 16;
        drawLine(img, 480, 300, 480 + 700 * std::cos(a), 300 + 700 * std::sin(a), 14,
                 withAlpha(rgb(0xFFF0C0), 0.05f));
    }
    for (int layer = 0; layer < 3; ++layer) {
        Colour c = depth(look, mix(rgb(0xFFFFFF), look.far, 0.3f + layer * 0.2f), 0.4f - layer * 0.15f);
        for (int i = 0; i < 9; ++i) {
            float x = rng.range(0, BG_W);
            float y = 200 + layer * 90 + rng.range(-30, 30);
            float s = 50 + layer * 25 + rng.range(0, 30);
            wrapped([&](float o) { cloud(img, x + o, y, s, c); });
        }
    }
    // Floating islands with golden pillars.
    for (int i = 0; i < 3; ++i) {
        float x = 150 + i * 320.0f;
        float y = 170 + (i % 2) * 60.0f;
        wrapped([&](float o) {
            fillPolygon(
                img,
                {x + o - 60, y, x + o + 60, y, x + o + 20, y + 50, x + o - 10, y + 70, x + o - 30, y + 40},
                look.mid);
            fillRect(img, static_cast<int>(x + o - 60), static_cast<int>(y) - 4, 120, 6, rgb(0xB0E890));
            for (int p = 0; p < 3; ++p) {
                fillRect(img, static_cast<int>(x + o - 36 + p * 30), static_cast<int>(y) - 44, 8, 40,
                         depth(look, look.accent, 0.3f));
            }
            fillRect(img, static_cast<int>(x + o - 42), static_cast<int>(y) - 50, 84, 6,
                     depth(look, look.accent, 0.3f));
        });
    }
    for (int x = 0; x < BG_W; ++x) {
        float top = 450 + 10 * std::sin(TAU * 6 * x / BG_W) + 6 * std::sin(TAU * 15 * x / BG_W + 1);
        for (int y = static_cast<int>(top); y < BG_H; ++y) {
            img.set(x, y, mix(rgb(0xFFFFFF), look.near, 0.55f));
        }
    }
}

} // namespace

Image buildBackground(int world) {
    const WorldLook& look = worldLooks()[static_cast<size_t>(world)];
    Image img(BG_W, BG_H);
    skyGradient(img, look.skyTop, look.skyBottom);
    Rng rng{0xB5297A4Du + static_cast<std::uint32_t>(world) * 0x68E31DA4u};
    using Painter = void (*)(Image&, const WorldLook&, Rng&);
    static constexpr Painter PAINTERS[WORLD_COUNT] = {
        neonWoodland, deadSignalCity, staticForest, splashZone,     alphabetCitadel,
        pixelPeak,    retroReactor,   snackFactory, midnightArcade, skySummit};
    PAINTERS[world](img, look, rng);
    // The whole backdrop is dimmed and partly desaturated so the lit, outlined foreground always
    // reads on top of it; bright daylight worlds get a little more of it.
    const float dim = (world == 3 || world == 5 || world == 9) ? 0.74f : 0.84f;
    for (Colour& c : img.pixels) {
        int r = static_cast<int>((c >> 16) & 0xFF);
        int g = static_cast<int>((c >> 8) & 0xFF);
        int b = static_cast<int>(c & 0xFF);
        Colour grey = rgb(static_cast<std::uint32_t>((r * 3 + g * 6 + b) / 10) * 0x010101u);
        c = shade(mix(c, grey, 0.22f), dim) | 0xFF000000u;
    }
    return img;
}

} // namespace grumbo::forge

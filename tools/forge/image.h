#pragma once

// Pixel canvas and the small set of shape primitives every painter shares.
// Colours are 0xAARRGGBB; a canvas starts fully transparent.

#include <cstdint>
#include <string_view>
#include <vector>

namespace grumbo::forge {

using Colour = std::uint32_t;

constexpr Colour rgb(std::uint32_t value) {
    return 0xFF000000u | (value & 0xFFFFFFu);
}
constexpr std::uint8_t alphaOf(Colour c) {
    return static_cast<std::uint8_t>(c >> 24);
}

Colour mix(Colour a, Colour b, float t);
Colour shade(Colour c, float factor);
Colour withAlpha(Colour c, float alpha);

// A three-tone ramp plus a near-black outline: the whole art style is built on it.
struct Ramp {
    Colour dark;
    Colour mid;
    Colour light;
    Colour outline;
};

Ramp rampOf(std::uint32_t midRgb);

// A tiny deterministic generator; every painter seeds its own so output never depends on call order.
struct Rng {
    std::uint32_t state;
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Image() = default;
    Image(int w, int h, Colour fill = 0);

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Colour get(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Colour getWrapped(int x, int y) const;
    void set(int x, int y, Colour c);
    void blend(int x, int y, Colour c);
    void blendWrapped(int x, int y, Colour c);
};

// Flat shapes. Coordinates are pixels; shapes clip to the canvas.
void fillRect(Image& img, int x, int y, int w, int h, Colour c);
void blendRect(Image& img, int x, int y, int w, int h, Colour c);
void fillEllipse(Image& img, float cx, float cy, float rx, float ry, Colour c);
void fillPolygon(Image& img, const std::vector<float>& xy, Colour c);
void drawLine(Image& img, float x0, float y0, float x1, float y1, float width, Colour c);

// Shaded shapes: lit from the upper left with the ramp's three tones.
void shadedEllipse(Image& img, float cx, float cy, float rx, float ry, const Ramp& ramp);
void shadedRect(Image& img, int x, int y, int w, int h, const Ramp& ramp);
void shadedRoundRect(Image& img, int x, int y, int w, int h, int radius, const Ramp& ramp);
void shadedPolygon(Image& img, const std::vector<float>& xy, const Ramp& ramp);
void shadedLimb(Image& img, float x0, float y0, float x1, float y1, float width, const Ramp& ramp);

// Every opaque shape gets a dark one-pixel outline on its transparent neighbours.
void outline(Image& img, Colour edge);

// Pastes src at (x, y) with alpha blending; flipX mirrors it.
void blit(Image& dst, const Image& src, int x, int y, bool flipX = false);
Image scaleNearest(const Image& src, int w, int h);
Image scaleBox(const Image& src, int w, int h);

// 5 x 7 block font: upper case, digits and a little punctuation.
void drawText(Image& img, int x, int y, std::string_view text, int scale, Colour c);
int textWidth(std::string_view text, int scale);
// True when the glyph has a pixel at (col, row) of its 5 x 7 grid.
bool glyphPixel(char ch, int col, int row);

} // namespace grumbo::forge

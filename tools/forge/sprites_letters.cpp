#include "sprites.h"

#include <string>

namespace grumbo::forge {

namespace {

// Word-game letter values, printed small in the tile's corner.
constexpr int LETTER_POINTS[26] = {1, 3, 3, 2,  1, 4, 2, 4, 1, 8, 5, 1, 3,
                                   1, 1, 3, 10, 1, 1, 1, 1, 4, 4, 8, 4, 10};

void paintLetterTile(Image& cell, char letter) {
    const int index = letter - 'A';
    // Tiles warm up from cream to angry orange through the alphabet so a row of them reads as a crowd.
    const Ramp tile = rampOf(index % 3 == 0 ? 0xF2D9A0 : (index % 3 == 1 ? 0xF0C98A : 0xF4D0A8));
    const Colour ink = rgb(0x4A1E1A);
    part(cell, [&](Image& l) {
        shadedLimb(l, 22, 54, 20, 61, 4, rampOf(0x4A2E22));
        shadedLimb(l, 42, 54, 44, 61, 4, rampOf(0x4A2E22));
    });
    part(cell, [&](Image& l) {
        shadedRoundRect(l, 8, 4, 48, 52, 5, tile);
        // Bevel: a light top lip and a deep bottom edge like a wooden game tile.
        fillRect(l, 10, 5, 44, 2, tile.light);
        fillRect(l, 9, 50, 46, 5, shade(tile.dark, 0.85f));
        drawEyes(l, 24, 14, 16, 3.6f, 32, true);
        const int scale = 4;
        const int gx = 32 - (5 * scale) / 2;
        for (int row = 0; row < 7; ++row) {
            for (int col = 0; col < 5; ++col) {
                if (glyphPixel(letter, col, row)) {
                    fillRect(l, gx + col * scale + 1, 25 + row * 3 + 1, scale, 3, shade(ink, 0.6f));
                    fillRect(l, gx + col * scale, 25 + row * 3, scale, 3, ink);
                }
            }
        }
        std::string points = std::to_string(LETTER_POINTS[index]);
        for (size_t i = 0; i < points.size(); ++i) {
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (glyphPixel(points[i], col, row) && row % 2 == 0) {
                        l.set(47 + static_cast<int>(i) * 4 + col * 3 / 4, 41 + row / 2 * 2 / 2, ink);
                    } else if (glyphPixel(points[i], col, row)) {
                        l.set(47 + static_cast<int>(i) * 4 + col * 3 / 4, 41 + row / 2, ink);
                    }
                }
            }
        }
    });
}

} // namespace

bool paintLetterSprite(std::string_view name, Image& cell) {
    if (name.size() == 8 && name.substr(0, 7) == "letter_" && name[7] >= 'A' && name[7] <= 'Z') {
        paintLetterTile(cell, name[7]);
        return true;
    }
    return false;
}

} // namespace grumbo::forge

#pragma once

// Sprite painters, one family per file, and the sheet they fill.

#include "image.h"

#include <string_view>

namespace grumbo::forge {

// Near-black violet used for every outline so the families share one look.
inline constexpr Colour INK = 0xFF180E26u;

// Draws one piece on its own layer, outlines it, then lays it over the cell, so overlapping
// body parts stay separated by a dark line.
template <typename Draw> void part(Image& cell, Draw&& draw, Colour edge = INK) {
    Image layer(cell.width, cell.height);
    draw(layer);
    outline(layer, edge);
    blit(cell, layer, 0, 0);
}

// Clears the outermost pixel ring so scaled drawing never samples a neighbouring cell.
void clearBorder(Image& cell);
void mirrorCell(Image& cell);
// Two white eyes with pupils looking toward lookX; angry adds slanted brows.
void drawEyes(Image& img, float x, float y, float spacing, float radius, float lookX, bool angry);

// Each painter returns false when the name is not one of its family.
bool paintPlayerSprite(std::string_view name, Image& cell);
bool paintEnemySprite(std::string_view name, Image& cell);
bool paintLetterSprite(std::string_view name, Image& cell);
bool paintBossSprite(std::string_view name, Image& cell);
bool paintItemSprite(std::string_view name, Image& cell);
bool paintSceneSprite(std::string_view name, Image& cell);

// The whole 1024 x 832 sheet, every atlas cell painted in place.
Image buildSpriteSheet();
// Every sprite enlarged with its name under it, then the backdrops, for a reviewer's eye.
Image buildContactSheet(const Image& sheet, const std::vector<Image>& backgrounds,
                        const std::vector<Image>& terrain);
// The window icon at the given size.
Image buildIcon(int size);
// A white soft round glow and a white flame tongue, tinted by the game.
Image buildGlow(int size);
Image buildFlame(int width, int height);

} // namespace grumbo::forge

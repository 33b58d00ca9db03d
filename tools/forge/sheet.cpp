#include "app/sprite_atlas.h"
#include "sprites.h"

#include <algorithm>
#include <cmath>

namespace grumbo::forge {

void clearBorder(Image& cell) {
    for (int x = 0; x < cell.width; ++x) {
        cell.set(x, 0, 0);
        cell.set(x, cell.height - 1, 0);
    }
    for (int y = 0; y < cell.height; ++y) {
        cell.set(0, y, 0);
        cell.set(cell.width - 1, y, 0);
    }
}

void mirrorCell(Image& cell) {
    for (int y = 0; y < cell.height; ++y) {
        std::reverse(cell.pixels.begin() + static_cast<long>(y) * cell.width,
                     cell.pixels.begin() + static_cast<long>(y + 1) * cell.width);
    }
}

void drawEyes(Image& img, float x, float y, float spacing, float radius, float lookX, bool angry) {
    for (int i = 0; i < 2; ++i) {
        float ex = x + i * spacing;
        fillEllipse(img, ex, y, radius, radius * 1.1f, rgb(0xFFFFFF));
        float px = ex + std::clamp(lookX - ex, -1.0f, 1.0f) * radius * 0.45f;
        fillEllipse(img, px, y + radius * 0.15f, radius * 0.5f, radius * 0.6f, INK);
        if (angry) {
            // Brows slant down toward the nose.
            float inner = i == 0 ? ex + radius : ex - radius;
            float outer = i == 0 ? ex - radius - 1 : ex + radius + 1;
            drawLine(img, outer, y - radius - 2.5f, inner, y - radius * 0.4f, std::max(1.5f, radius * 0.6f),
                     INK);
        }
    }
}

namespace {

bool paintAny(std::string_view name, Image& cell) {
    return paintPlayerSprite(name, cell) || paintLetterSprite(name, cell) || paintEnemySprite(name, cell) ||
           paintBossSprite(name, cell) || paintItemSprite(name, cell) || paintSceneSprite(name, cell);
}

} // namespace

Image buildSpriteSheet() {
    Image sheet(ATLAS_SHEET_WIDTH, ATLAS_SHEET_HEIGHT);
    for (const AtlasEntry& entry : ATLAS_ENTRIES) {
        Image cell(static_cast<int>(entry.rect.w), static_cast<int>(entry.rect.h));
        paintAny(entry.name, cell);
        clearBorder(cell);
        blit(sheet, cell, static_cast<int>(entry.rect.x), static_cast<int>(entry.rect.y));
    }
    return sheet;
}

} // namespace grumbo::forge

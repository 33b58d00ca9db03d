#include "app/sprite_atlas.h"
#include "sprites.h"

#include <algorithm>
#include <string>

namespace grumbo::forge {

namespace {

constexpr int SLOT_W = 144;
constexpr int SLOT_H = 150;
constexpr int COLUMNS = 10;

void checker(Image& img, int x, int y, int w, int h) {
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            img.set(xx, yy, ((xx - x) / 8 + (yy - y) / 8) % 2 ? rgb(0x3A4260) : rgb(0x30374F));
        }
    }
}

} // namespace

Image buildContactSheet(const Image& sheet, const std::vector<Image>& backgrounds,
                        const std::vector<Image>& terrain) {
    const int spriteRows = (ATLAS_SIZE + COLUMNS - 1) / COLUMNS;
    const int bgW = 480;
    const int bgH = 270;
    const int bgRows = (static_cast<int>(backgrounds.size()) + 2) / 3;
    const int width = COLUMNS * SLOT_W;
    const int terrainTop = 40 + spriteRows * SLOT_H + bgRows * (bgH + 24) + 30;
    const int height = terrainTop + 128 + 30;
    Image out(width, height, rgb(0x14121E));
    drawText(out, 12, 12, "GRUMBOS MEGASTREAM - ASSET FORGE CONTACT SHEET", 2, rgb(0xB3FF67));

    for (int i = 0; i < ATLAS_SIZE; ++i) {
        const AtlasEntry& entry = ATLAS_ENTRIES[static_cast<size_t>(i)];
        int sx = (i % COLUMNS) * SLOT_W + 8;
        int sy = 40 + (i / COLUMNS) * SLOT_H;
        checker(out, sx, sy, 128, 128);
        Image cell(static_cast<int>(entry.rect.w), static_cast<int>(entry.rect.h));
        for (int y = 0; y < cell.height; ++y) {
            for (int x = 0; x < cell.width; ++x) {
                cell.set(x, y,
                         sheet.get(static_cast<int>(entry.rect.x) + x, static_cast<int>(entry.rect.y) + y));
            }
        }
        blit(out, scaleNearest(cell, 128, 128), sx, sy);
        drawText(out, sx, sy + 132, entry.name, 1, rgb(0xE8E4F4));
    }

    int top = 40 + spriteRows * SLOT_H;
    for (size_t i = 0; i < backgrounds.size(); ++i) {
        int bx = static_cast<int>(i % 3) * bgW;
        int by = top + static_cast<int>(i / 3) * (bgH + 24);
        blit(out, scaleBox(backgrounds[i], bgW, bgH), bx, by);
        drawText(out, bx + 4, by + bgH + 6, "BG_" + std::to_string(i + 1), 2, rgb(0xFFCB66));
    }
    for (size_t i = 0; i < terrain.size(); ++i) {
        blit(out, terrain[i], static_cast<int>(i) * 140 + 8, terrainTop);
        drawText(out, static_cast<int>(i) * 140 + 8, terrainTop + 132, "TERRAIN_" + std::to_string(i + 1), 1,
                 rgb(0xFFCB66));
    }
    return out;
}

Image buildIcon(int size) {
    // Painted once at 256 and boxed down, so every size shows the same face.
    Image big(256, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            int dx = std::max({0, 28 - x, x - 227});
            int dy = std::max({0, 28 - y, y - 227});
            if (dx * dx + dy * dy > 28 * 28) {
                continue;
            }
            Colour body = mix(rgb(0x2A1A5A), rgb(0x0A0C20), y / 255.0f);
            bool rim = dx * dx + dy * dy > 20 * 20 || x < 8 || y < 8 || x > 247 || y > 247;
            big.set(x, y, rim ? rgb(0xB3FF67) : body);
        }
    }
    Image cell(64, 64);
    paintPlayerSprite("player_idle", cell);
    Image head(40, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            head.set(x, y, cell.get(x + 12, y + 1));
        }
    }
    blit(big, scaleNearest(head, 200, 200), 28, 34);
    drawText(big, 166, 196, "GM", 6, rgb(0xB3FF67));
    if (size == 256) {
        return big;
    }
    return scaleBox(big, size, size);
}

} // namespace grumbo::forge

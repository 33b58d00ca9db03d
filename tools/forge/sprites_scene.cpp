#include "sprites.h"
#include "worlds.h"

#include <cmath>
#include <string>

namespace grumbo::forge {

namespace {

constexpr std::string_view TILE_NAMES[WORLD_COUNT] = {
    "tile_forest", "tile_city",    "tile_crypt", "tile_water",  "tile_space",
    "tile_snow",   "tile_reactor", "tile_snack", "tile_arcade", "tile_summit"};

// A ground block of the world: its terrain under a top stripe in the world's colour.
void tile(Image& c, int world) {
    const WorldLook& look = worldLooks()[static_cast<size_t>(world)];
    Image terrain = buildTerrain(world, 64);
    part(c, [&](Image& l) {
        for (int y = 4; y < 60; ++y) {
            for (int x = 4; x < 60; ++x) {
                l.set(x, y, terrain.get(x, y));
            }
        }
        const Ramp top = rampOf(look.stripe & 0xFFFFFF);
        fillRect(l, 4, 4, 56, 7, top.mid);
        fillRect(l, 4, 4, 56, 2, top.light);
        fillRect(l, 4, 10, 56, 2, top.dark);
        // Drips and tufts break the stripe's straight edge.
        for (int x = 6; x < 58; x += 7) {
            fillRect(l, x, 12, 3, 2 + (x * 7) % 4, top.dark);
        }
        fillRect(l, 56, 12, 4, 48, withAlpha(rgb(0x000000), 0.25f));
        fillRect(l, 4, 56, 56, 4, withAlpha(rgb(0x000000), 0.25f));
    });
}

void groceryShelf(Image& c) {
    part(c, [](Image& l) {
        shadedRect(l, 6, 4, 52, 58, rampOf(0x8A96A8));
        fillRect(l, 10, 8, 44, 52, rgb(0x2A2A3A));
        const Colour goods[6] = {rgb(0xE84A4A), rgb(0xF2C040), rgb(0x4AA8E8),
                                 rgb(0x6AD050), rgb(0xF08AD0), rgb(0xF0F0F0)};
        for (int shelf = 0; shelf < 4; ++shelf) {
            int y = 8 + shelf * 13;
            for (int i = 0; i < 6; ++i) {
                int h = 6 + (i * 3 + shelf) % 5;
                Colour g = goods[(i + shelf * 2) % 6];
                fillRect(l, 11 + i * 7, y + 11 - h, 6, h, g);
                fillRect(l, 11 + i * 7, y + 11 - h, 6, 1, shade(g, 1.3f));
                fillRect(l, 16 + i * 7, y + 11 - h, 1, h, shade(g, 0.7f));
            }
            fillRect(l, 8, y + 11, 48, 2, rgb(0xC8D0DC));
        }
        fillRect(l, 16, 54, 10, 4, rgb(0xFFE060));
        fillRect(l, 36, 54, 10, 4, rgb(0xFFE060));
    });
}

void bunkerDoor(Image& c) {
    part(c, [](Image& l) {
        shadedRect(l, 4, 4, 56, 58, rampOf(0x4A5048));
        shadedEllipse(l, 32, 32, 24, 24, rampOf(0x6A7262));
        fillEllipse(l, 32, 32, 18, 18, rampOf(0x6A7262).dark);
        for (int i = 0; i < 12; ++i) {
            float a = i * 6.28318531f / 12;
            l.set(static_cast<int>(32 + 21 * std::cos(a)), static_cast<int>(32 + 21 * std::sin(a)),
                  rgb(0xC8C8B0));
        }
        // Locking wheel.
        for (int i = 0; i < 3; ++i) {
            float a = i * 3.14159265f / 3;
            drawLine(l, 32 - 12 * std::cos(a), 32 - 12 * std::sin(a), 32 + 12 * std::cos(a),
                     32 + 12 * std::sin(a), 2.5f, rgb(0xB8A060));
        }
        fillEllipse(l, 32, 32, 4, 4, rgb(0xD8C070));
        for (int i = 0; i < 7; ++i) {
            fillRect(l, 6 + i * 8, 56, 4, 4, i % 2 ? rgb(0x1A1A1A) : rgb(0xF2C040));
        }
    });
}

void cardRack(Image& c) {
    part(c, [](Image& l) {
        shadedRect(l, 8, 4, 48, 58, rampOf(0x6A3A8A));
        fillRect(l, 12, 8, 40, 50, rgb(0x1E1430));
        const Colour backs[4] = {rgb(0xE84A4A), rgb(0x4A8AE8), rgb(0xF2C040), rgb(0x6AD050)};
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                int x = 14 + col * 13;
                int y = 10 + row * 16;
                Colour b = backs[(row + col) % 4];
                fillRect(l, x, y, 11, 14, rgb(0xF4F0E8));
                fillRect(l, x + 1, y + 1, 9, 12, b);
                fillEllipse(l, x + 5.5f, y + 7, 2.5f, 3.5f, shade(b, 1.4f));
                l.set(x + 5, y + 7, rgb(0xFFFFFF));
            }
        }
        fillRect(l, 14, 58, 36, 3, rgb(0xF2C040));
    });
}

void edgeMarker(Image& c, bool left) {
    part(c, [&](Image& l) {
        int x = left ? 40 : 12;
        shadedRect(l, x, 6, 12, 56, rampOf(0xFFCB66));
        for (int i = 0; i < 7; ++i) {
            fillPolygon(l,
                        {static_cast<float>(x), 8.0f + i * 8, static_cast<float>(x + 12), 2.0f + i * 8,
                         static_cast<float>(x + 12), 6.0f + i * 8, static_cast<float>(x), 12.0f + i * 8},
                        rgb(0x1A1420));
        }
        fillEllipse(l, x + 6.0f, 6, 5, 4, rgb(0xFF5040));
        fillEllipse(l, x + 6.0f, 6, 9, 7, withAlpha(rgb(0xFF5040), 0.25f));
        // An arrow pointing at the drop.
        float ax = left ? 30.0f : 34.0f;
        float dir = left ? -1.0f : 1.0f;
        fillPolygon(l, {ax, 26, ax, 42, ax + dir * 12, 34}, rgb(0xFFCB66));
    });
}

void caution(Image& c) {
    part(c, [](Image& l) {
        shadedPolygon(l, {32, 4, 60, 56, 4, 56}, rampOf(0xFFCB66));
        fillPolygon(l, {32, 14, 52, 51, 12, 51}, rgb(0x1A1420));
        fillPolygon(l, {32, 18, 49, 49, 15, 49}, rgb(0xFFD870));
        fillRect(l, 30, 24, 5, 15, rgb(0x1A1420));
        fillRect(l, 30, 42, 5, 5, rgb(0x1A1420));
    });
}

} // namespace

bool paintSceneSprite(std::string_view name, Image& cell) {
    for (int w = 0; w < WORLD_COUNT; ++w) {
        if (name == TILE_NAMES[w]) {
            tile(cell, w);
            return true;
        }
    }
    if (name == "prop_grocery_shelf") {
        groceryShelf(cell);
    } else if (name == "prop_bunker_door") {
        bunkerDoor(cell);
    } else if (name == "prop_card_rack") {
        cardRack(cell);
    } else if (name == "hazard_edge_left") {
        edgeMarker(cell, true);
    } else if (name == "hazard_edge_right") {
        edgeMarker(cell, false);
    } else if (name == "hazard_caution") {
        caution(cell);
    } else {
        return false;
    }
    return true;
}

} // namespace grumbo::forge

#pragma once

// The look of each of the ten worlds: one palette feeds the backdrop, the terrain and the tile sprite.

#include "image.h"

#include <array>

namespace grumbo::forge {

struct WorldLook {
    const char* name;
    Colour skyTop;
    Colour skyBottom;
    Colour haze; // what distance fades toward
    Colour far;  // farthest silhouettes
    Colour mid;
    Colour near;
    Colour accent; // lights, neon, glints
    Colour body;   // terrain base, the platform body colour the game falls back to
    Colour stripe; // the platform top stripe the game draws
};

inline constexpr int WORLD_COUNT = 10;

inline const std::array<WorldLook, WORLD_COUNT>& worldLooks() {
    static const std::array<WorldLook, WORLD_COUNT> LOOKS = {{
        {"NEON WOODLAND", rgb(0x0E0A2A), rgb(0x2A1A5A), rgb(0x3A2A70), rgb(0x2C2660), rgb(0x1E3A4E),
         rgb(0x12302E), rgb(0x8AFA73), rgb(0x173A34), rgb(0x8AFA73)},
        {"DEAD SIGNAL CITY", rgb(0x140C1C), rgb(0x4A2A48), rgb(0x5A3A58), rgb(0x3A2A46), rgb(0x2C2036),
         rgb(0x1E1828), rgb(0xDD79FA), rgb(0x36283E), rgb(0xDD79FA)},
        {"SLENDER STATIC FOREST", rgb(0x101410), rgb(0x3A4438), rgb(0x4A5448), rgb(0x323C30), rgb(0x242C22),
         rgb(0x161C14), rgb(0xB2C66C), rgb(0x283326), rgb(0xB2C66C)},
        {"SPLASH ZONE", rgb(0x1A4A8A), rgb(0x7AC8F0), rgb(0x9AD8F4), rgb(0x5A9AC8), rgb(0x2A78A8),
         rgb(0x1A5A80), rgb(0x67E4FF), rgb(0x1B4F67), rgb(0x67E4FF)},
        {"ALPHABET CITADEL", rgb(0x1A1030), rgb(0x5A3A6A), rgb(0x6A4A78), rgb(0x4A3A68), rgb(0x3A2E58),
         rgb(0x2A2244), rgb(0xF5C26F), rgb(0x353153), rgb(0xF5C26F)},
        {"PIXEL PEAK", rgb(0x2A4A7A), rgb(0xA8C8E8), rgb(0xC0D8F0), rgb(0x8AA8D0), rgb(0x5A7AA8),
         rgb(0x3A5A80), rgb(0xA9EAFF), rgb(0x244754), rgb(0xA9EAFF)},
        {"RETRO REACTOR", rgb(0x08140E), rgb(0x1E3A2C), rgb(0x2A4A38), rgb(0x1E3430), rgb(0x182A2A),
         rgb(0x101E20), rgb(0x71FF9B), rgb(0x233746), rgb(0x71FF9B)},
        {"SNACKWORKS FACTORY", rgb(0x2A1410), rgb(0x8A4A2A), rgb(0x9A5A38), rgb(0x6A3A2A), rgb(0x4A2A22),
         rgb(0x321C18), rgb(0xFFAB70), rgb(0x50332D), rgb(0xFFAB70)},
        {"MIDNIGHT ARCADE", rgb(0x08061A), rgb(0x2A1250), rgb(0x3A1C60), rgb(0x2A1A50), rgb(0x1E1440),
         rgb(0x140E2C), rgb(0xFC76DB), rgb(0x30204F), rgb(0xFC76DB)},
        {"SUBSCRIBER SUMMIT", rgb(0x3A2A6A), rgb(0xF0B880), rgb(0xF4C8A0), rgb(0xC890A0), rgb(0x8A6A90),
         rgb(0x5A4870), rgb(0xFFE395), rgb(0x423949), rgb(0xFFE395)},
    }};
    return LOOKS;
}

// Seamless terrain texture of the world, size x size pixels, opaque.
Image buildTerrain(int world, int size);
// Seamless 960 x 540 backdrop of the world.
Image buildBackground(int world);

} // namespace grumbo::forge

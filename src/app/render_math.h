// The arithmetic of the presentation: how the window maps to the canvas, how
// the level band is squashed between the two HUD areas, and the rules that
// pick a sprite, a label or a backdrop offset. Pure functions, so the look of
// a frame can be checked without drawing it.
#pragma once

#include "game/game.h"

#include <string>
#include <string_view>

namespace grumbo {

inline constexpr float CANVAS_HEIGHT = 540;
inline constexpr float CANVAS_MIN_WIDTH = 960;
// The level band: world y 76..540 is squashed into canvas y 76..470.
inline constexpr float BAND_SCALE = 0.849138f;
inline constexpr float BAND_OFFSET = 11.4655f;
inline constexpr float BAND_TOP = 76;
inline constexpr float BAND_BOTTOM = 470;
// Sprites whose rectangle, grown by this margin, is off the canvas are skipped.
inline constexpr float SPRITE_CULL_MARGIN = 16;

// The virtual canvas inside a client area: 540 units high, 960 or more wide,
// scaled uniformly with equal bands above and below a window taller than 16:9.
struct ViewGeometry {
    float scale = 1;
    float width = CANVAS_MIN_WIDTH;
    float offsetY = 0;
};
ViewGeometry viewGeometry(int clientWidth, int clientHeight);

// A 2-D mapping of the form (x, y) -> (x * sx + tx, y * sy + ty).
struct Affine {
    float sx = 1;
    float sy = 1;
    float tx = 0;
    float ty = 0;

    float mapX(float x) const { return x * sx + tx; }
    float mapY(float y) const { return y * sy + ty; }
    // `inner` first, then this.
    Affine after(const Affine& inner) const {
        return {sx * inner.sx, sy * inner.sy, sx * inner.tx + tx, sy * inner.ty + ty};
    }
};

bool spriteCulled(float x, float y, float w, float h, float viewWidth);
float bandY(float worldY);
// How far the backdrop has scrolled, 0 up to (not including) one 960-wide tile.
float parallaxOffset(float cameraX);
// Screen shake of the level band; zero with the setting off or no shake left.
Vec2 shakeOffset(bool shakeSetting, float shakeTimer, float clock);
// A pit this wide on screen carries the word "DROP".
bool pitLabelShown(float visibleWidth);
const char* gateLabel(bool exitOpen);
const char* gateGlyph(bool exitOpen);
// The label an IP-address shot carries at world x.
std::string ipShotLabel(float x);

std::string playerSpriteName(const Player& player, float clock);
// The sprite of a non-boss enemy or a boss; `hiddenMimic` draws a card rack instead.
std::string enemySpriteName(const Enemy& enemy, float clock, bool hiddenMimic);
// Zombie, Slender and Cat art faces left, letters are symmetric, later kinds face right.
bool enemyMirrored(const Enemy& enemy);

// The smoke option as the command line gives it: `smoke` is set when the text
// holds "--smoke" anywhere, and the world index follows it, clamped to 0..9.
void parseSmokeOption(std::string_view commandLine, bool& smoke, int& smokeLevel);

} // namespace grumbo

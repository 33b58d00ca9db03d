// The drawing primitives every screen is built from, in canvas units: fills,
// lines, panels, buttons, cached text and sprites cut from the one sheet.
#include "app/app.h"
#include "app/sprite_atlas.h"
#include "platform/clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unordered_map>

namespace grumbo {

namespace {

// Sprite names resolve through a hash index over the atlas table, built once.
const SpriteRect* atlasRect(std::string_view name) {
    static const std::unordered_map<std::string_view, const SpriteRect*> index = [] {
        std::unordered_map<std::string_view, const SpriteRect*> built;
        built.reserve(ATLAS_ENTRIES.size());
        for (const AtlasEntry& entry : ATLAS_ENTRIES) {
            built.emplace(entry.name, &entry.rect);
        }
        return built;
    }();
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

FRect intersect(const FRect& a, const FRect& b) {
    const float left = std::max(a.x, b.x);
    const float top = std::max(a.y, b.y);
    const float right = std::min(a.x + a.w, b.x + b.w);
    const float bottom = std::min(a.y + a.h, b.y + b.h);
    return FRect{left, top, std::max(right - left, 0.0f), std::max(bottom - top, 0.0f)};
}

} // namespace

bool App::createTarget() {
    const std::uint64_t started = clockTicks();
    if (!renderer.ready() && !renderer.create(window)) {
        return false;
    }
    int width = 0;
    int height = 0;
    renderer.outputSize(width, height);
    clientWidth = std::max(width, 1);
    clientHeight = std::max(height, 1);
    spriteSheet = loadImage("sprites.png");
    glowImage = loadImage("glow.png");
    flameImage = loadImage("flame.png");
    // Each world's backdrop and terrain are decoded when the world is first
    // drawn, so the title does not wait for all ten.
    worldArtLoaded.fill(false);
    resizePending = false;
    ++graphicsCreates;
    lastCreateMs =
        static_cast<double>(clockTicks() - started) * 1000.0 / static_cast<double>(clockFrequency());
    if (!spriteSheet.valid()) {
        // Told once: the game cannot go on without its artwork, even after a
        // device loss, and what was loaded must not pile up with every retry.
        releaseDeviceResources();
        artworkMissing = true;
        if (smoke) {
            std::fprintf(stderr, "%s: %s\n", ARTWORK_ERROR_CAPTION, ARTWORK_ERROR_TEXT);
        } else {
            showErrorBox(&window, ARTWORK_ERROR_CAPTION, ARTWORK_ERROR_TEXT);
        }
        return false;
    }
    deviceReady = true;
    return true;
}

void App::releaseDeviceResources() {
    renderer.release(spriteSheet);
    renderer.release(glowImage);
    renderer.release(flameImage);
    for (Texture& texture : backgrounds) {
        renderer.release(texture);
    }
    for (Texture& texture : terrain) {
        renderer.release(texture);
    }
    worldArtLoaded.fill(false);
    // Rasterised texts are textures too, so they go with the device.
    textCache.clear([this](Texture& texture) { renderer.release(texture); });
    deviceReady = false;
}

Texture App::loadImage(const std::string& relativePath, bool opaque) {
    return renderer.loadImage(assetDirectory + "/" + relativePath, opaque);
}

void App::setClip(const FRect& canvasRect) {
    clipPixels = FRect{transform.mapX(canvasRect.x), transform.mapY(canvasRect.y),
                       canvasRect.w * transform.sx, canvasRect.h * transform.sy};
    renderer.setClip(&clipPixels);
}

void App::quad(const float* points, std::uint32_t colour, float opacity) {
    float mapped[8];
    for (int i = 0; i < 4; ++i) {
        mapped[2 * i] = transform.mapX(points[2 * i]);
        mapped[2 * i + 1] = transform.mapY(points[2 * i + 1]);
    }
    renderer.fillQuad(mapped, colour, opacity);
}

void App::rect(float x, float y, float w, float h, std::uint32_t colour, float opacity) {
    renderer.fillRect(FRect{transform.mapX(x), transform.mapY(y), w * transform.sx, h * transform.sy}, colour,
                      opacity);
}

void App::line(float x1, float y1, float x2, float y2, std::uint32_t colour, float width, float opacity) {
    if (width <= 0 || opacity <= 0) {
        return;
    }
    const float half = width * 0.5f;
    // Axis-aligned lines, by far the most common, are plain fills.
    if (y1 == y2) {
        rect(std::min(x1, x2), y1 - half, std::fabs(x2 - x1), width, colour, opacity);
        return;
    }
    if (x1 == x2) {
        rect(x1 - half, std::min(y1, y2), width, std::fabs(y2 - y1), colour, opacity);
        return;
    }
    const float length = std::hypot(x2 - x1, y2 - y1);
    const float nx = -(y2 - y1) / length * half;
    const float ny = (x2 - x1) / length * half;
    const float quad[8] = {transform.mapX(x1 + nx), transform.mapY(y1 + ny), transform.mapX(x2 + nx),
                           transform.mapY(y2 + ny), transform.mapX(x2 - nx), transform.mapY(y2 - ny),
                           transform.mapX(x1 - nx), transform.mapY(y1 - ny)};
    renderer.fillQuad(quad, colour, opacity);
}

void App::panel(float x, float y, float w, float h, std::uint32_t colour) {
    rect(x + 5, y + 5, w, h, 0x000000, 0.4f);
    rect(x, y, w, h, 0x0A0C20, 0.95f);
    rect(x, y, w, 2, colour, 1.0f);
    rect(x, y, 2, h, colour, 0.5f);
    rect(x + w - 2, y, 2, h, colour, 0.3f);
    rect(x, y + h - 2, w, 2, colour, 0.3f);
}

void App::button(std::string_view label, int index, float x, float y, float w, float h) {
    const bool selected = index == menu.selection;
    rect(x, y, w, h, selected ? 0x243B39u : 0x13172Fu, 0.96f);
    if (selected) {
        rect(x, y, 3, h, 0xB3FF67, 1.0f);
        rect(x + w - 3, y, 3, h, 0xB3FF67, 0.3f);
        text("> " + std::string(label), x + 17, y + 7, w - 30, h - 9, 1, 0xB3FF67, false);
    } else {
        text(label, x + 17, y + 7, w - 30, h - 9, 1, 0xF2F3FF, false);
    }
    clickRegions.push_back(FRect{x, y, w, h});
}

void App::text(std::string_view value, float x, float y, float w, float h, int size, std::uint32_t colour,
               bool centred) {
    if (w <= 0 || h <= 0 || size < 0 || size >= TEXT_SIZE_COUNT || value.empty()) {
        return;
    }
    // Text is rasterised at the window's resolution, so the pixel size and the
    // wrap width are part of the key: a resize draws new pictures, and the old
    // ones wait in the cache for the window to come back to their size.
    TextKey key = TextCache::makeKey(value, size, w, h, centred);
    const float boxWidth = static_cast<float>(key.width) * viewScale;
    const float boxHeight = static_cast<float>(key.height) * viewScale;
    key.pixelSize = static_cast<int>(std::lround(TEXT_SIZES[static_cast<std::size_t>(size)] * viewScale));
    key.wrapPixels = static_cast<int>(std::ceil(boxWidth));
    CachedText* entry = textCache.use(key);
    if (entry == nullptr) {
        if (std::optional<Texture> evicted = textCache.makeRoom()) {
            renderer.release(*evicted);
        }
        const Texture texture = renderer.renderText(key.text, key.pixelSize, key.wrapPixels, centred);
        if (!texture.valid()) {
            return;
        }
        entry = &textCache.insert(std::move(key), texture);
    }
    const Texture& texture = entry->texture;
    const float shown = std::min(static_cast<float>(texture.width), boxWidth);
    const float visible = std::min(static_cast<float>(texture.height), boxHeight);
    const float left = centred ? (boxWidth - shown) * 0.5f : 0.0f;
    const float sourceLeft = centred ? (static_cast<float>(texture.width) - shown) * 0.5f : 0.0f;
    // A label in the level band is squashed with everything else there; only
    // its left and top edges snap to whole pixels, so glyphs stay crisp.
    const float squashed = visible * transform.sy / viewScale;
    renderer.drawImage(
        texture, FRect{std::floor(sourceLeft), 0, shown, visible},
        FRect{std::round(transform.mapX(x) + left), std::round(transform.mapY(y)), shown, squashed}, false, 0,
        1, colour);
}

void App::sprite(std::string_view name, float x, float y, float w, float h, bool flipped, float opacity,
                 float rotation) {
    if (spriteCulled(x, y, w, h, viewWidth)) {
        return;
    }
    const SpriteRect* cell = atlasRect(name);
    if (cell == nullptr || !spriteSheet.valid()) {
        return;
    }
    renderer.drawImage(spriteSheet, FRect{cell->x, cell->y, cell->w, cell->h},
                       FRect{transform.mapX(x), transform.mapY(y), w * transform.sx, h * transform.sy},
                       flipped, rotation, opacity);
}

void App::light(const Texture& picture, float x, float y, float w, float h, std::uint32_t colour,
                float opacity, bool mirrored) {
    if (!picture.valid()) {
        rect(x, y, w, h, colour, opacity);
        return;
    }
    if (spriteCulled(x, y, w, h, viewWidth)) {
        return;
    }
    renderer.drawImage(picture,
                       FRect{0, 0, static_cast<float>(picture.width), static_cast<float>(picture.height)},
                       FRect{transform.mapX(x), transform.mapY(y), w * transform.sx, h * transform.sy},
                       mirrored, 0, opacity, colour);
}

void App::tile(const Texture& texture, float x, float y, float w, float h, float ox, float oy) {
    if (!texture.valid() || w <= 0 || h <= 0) {
        return;
    }
    const FRect area{transform.mapX(x), transform.mapY(y), w * transform.sx, h * transform.sy};
    const FRect clip = intersect(area, clipPixels);
    if (clip.w <= 0 || clip.h <= 0) {
        return;
    }
    // Whole tiles drawn under a clip keep the pattern anchored to the level.
    renderer.setClip(&clip);
    const float tileWidth = static_cast<float>(texture.width);
    const float tileHeight = static_cast<float>(texture.height);
    const float firstX = ox + std::floor((x - ox) / tileWidth) * tileWidth;
    const float firstY = oy + std::floor((y - oy) / tileHeight) * tileHeight;
    const FRect source{0, 0, tileWidth, tileHeight};
    for (float ty = firstY; ty < y + h; ty += tileHeight) {
        for (float tx = firstX; tx < x + w; tx += tileWidth) {
            renderer.drawImage(texture, source,
                               FRect{transform.mapX(tx), transform.mapY(ty), tileWidth * transform.sx,
                                     tileHeight * transform.sy},
                               false, 0, 1);
        }
    }
    renderer.setClip(&clipPixels);
}

const char* App::pickupSprite(PickupKind kind) {
    static const char* const names[PICKUP_KIND_COUNT] = {"gift",
                                                         "gift",
                                                         "ip",
                                                         "water",
                                                         "spinner",
                                                         "hotdog",
                                                         "burger",
                                                         "burrito",
                                                         "creatine",
                                                         "weapon_hammer",
                                                         "weapon_raid",
                                                         "weapon_snack",
                                                         "weapon_rgb",
                                                         "power_shield",
                                                         "power_energy",
                                                         "power_protein",
                                                         "power_magnet",
                                                         "power_nachos",
                                                         "weapon_receipt",
                                                         "weapon_onebyone",
                                                         "power_soup",
                                                         "power_flashlight"};
    return names[static_cast<int>(kind)];
}

const char* App::weaponSprite(Weapon weapon) {
    static const char* const names[WEAPON_COUNT] = {
        "gift",        "ip",           "water",      "spinner",        "weapon_hammer",
        "weapon_raid", "weapon_snack", "weapon_rgb", "weapon_receipt", "weapon_onebyone"};
    return names[static_cast<int>(weapon)];
}

} // namespace grumbo

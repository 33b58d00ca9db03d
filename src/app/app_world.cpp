// One frame of a level in play: the parallax backdrop, the squashed level band
// with screen shake, the sign prompt and the HUD; and the presentation state
// that lives beside the simulation (terrain textures, toasts, the IP joke).
#include "app/app.h"
#include "app/hud_layout.h"
#include "app/player_options.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace grumbo {

namespace {

constexpr std::array<std::uint32_t, WORLD_COUNT> TERRAIN_BODY{
    0x173A34, 0x36283E, 0x283326, 0x1B4F67, 0x353153, 0x244754, 0x233746, 0x50332D, 0x30204F, 0x423949};
constexpr int TILE_WIDTH = 64;
constexpr int TILE_HEIGHT = 36;
constexpr float IP_JOKE_SECONDS = 2.2f;

std::uint32_t scaleColour(std::uint32_t rgb, float factor) {
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const float channel = static_cast<float>((rgb >> shift) & 0xFF) * factor;
        out |= static_cast<std::uint32_t>(std::clamp(channel, 0.0f, 255.0f)) << shift;
    }
    return out;
}

// A 64 x 36 stand-in for a missing terrain picture: the world's body colour
// with a lighter band over the top rows, darker joints and scattered specks.
std::vector<std::uint32_t> fallbackTerrain(std::uint32_t body, std::uint32_t seed) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(TILE_WIDTH * TILE_HEIGHT),
                                      scaleColour(body, 1.0f));
    const std::uint32_t light = scaleColour(body, 1.35f);
    const std::uint32_t dark = scaleColour(body, 0.62f);
    const std::uint32_t speck = scaleColour(body, 1.7f);
    for (int y = 0; y < TILE_HEIGHT; ++y) {
        for (int x = 0; x < TILE_WIDTH; ++x) {
            std::uint32_t& pixel = pixels[static_cast<std::size_t>(y * TILE_WIDTH + x)];
            // Bricks in two courses, the lower one offset by half a brick.
            const int jointX = y < 18 ? x % 32 : (x + 16) % 32;
            if (y < 4) {
                pixel = light;
            } else if (y == 17 || y == 35 || jointX == 0) {
                pixel = dark;
            }
        }
    }
    for (int i = 0; i < 14; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const int x = static_cast<int>((seed >> 8) % TILE_WIDTH);
        const int y = 5 + static_cast<int>((seed >> 20) % (TILE_HEIGHT - 6));
        pixels[static_cast<std::size_t>(y * TILE_WIDTH + x)] = speck;
    }
    return pixels;
}

} // namespace

void App::world() {
    const float cameraX = game.cameraX;
    background(game.world, cameraX);

    // The level band sits between the HUD bars, squashed so the whole playable
    // height fits, and shakes as a whole.
    const Affine canvas = transform;
    const Vec2 shake = shakeOffset(settings.screenShake, shakeTimer, presentationClock);
    setClip(FRect{0, BAND_TOP, viewWidth, BAND_BOTTOM - BAND_TOP});
    transform = canvas.after(Affine{1, BAND_SCALE, shake.x, BAND_OFFSET + shake.y});
    worldLayers(cameraX);
    transform = canvas;
    setClip(FRect{0, 0, viewWidth, CANVAS_HEIGHT});

    signPrompt(cameraX);
    hud();
    caption();
}

void App::background(int worldIndex, float cameraX) {
    const auto index = static_cast<std::size_t>(std::clamp(worldIndex, 0, WORLD_COUNT - 1));
    loadWorldArt(index);
    const Texture& backdrop = backgrounds[index];
    if (backdrop.valid()) {
        const FRect source{0, 0, static_cast<float>(backdrop.width), static_cast<float>(backdrop.height)};
        for (float x = -parallaxOffset(cameraX); x < viewWidth; x += 960) {
            renderer.drawImage(
                backdrop, source,
                FRect{transform.mapX(x), transform.mapY(0), 960 * transform.sx, CANVAS_HEIGHT * transform.sy},
                false, 0, 1);
        }
    } else {
        rect(0, 0, viewWidth, CANVAS_HEIGHT, 0x181536, 1);
    }
    const std::uint32_t speckColour = index == 3 ? 0x9FDDFF : 0xB3FF67;
    const float clock = presentationClock;
    for (int i = 0; i < 38; ++i) {
        const float fi = static_cast<float>(i);
        const float x =
            std::fmod(static_cast<float>(i % 5 + 8) * clock + 157 * fi - 0.32f * cameraX + 90000, viewWidth);
        const float y = 100 + std::fmod(73 * fi + 12 * std::sin(0.3f * clock + fi), 310.0f);
        const float side = i % 2 == 0 ? 2.0f : 3.0f;
        rect(x, y, side, side, speckColour, 0.15f + 0.1f * std::sin(fi + clock));
    }
}

void App::loadWorldArt(std::size_t index) {
    if (worldArtLoaded[index]) {
        return;
    }
    worldArtLoaded[index] = true;
    const std::string n = std::to_string(index + 1);
    renderer.release(backgrounds[index]);
    backgrounds[index] = loadImage("bg_" + n + ".png", true);
    renderer.release(terrain[index]);
    terrain[index] = loadImage("terrain_" + n + ".png");
    if (!terrain[index].valid()) {
        const std::vector<std::uint32_t> pixels =
            fallbackTerrain(TERRAIN_BODY[index], 0x9E3779B9u * static_cast<std::uint32_t>(index + 1));
        terrain[index] = renderer.createImage(TILE_WIDTH, TILE_HEIGHT, pixels.data());
    }
}

void App::resetLevelPresentation() {
    pickupSeen.assign(game.level.pickups.size(), false);
    for (std::size_t i = 0; i < game.level.pickups.size(); ++i) {
        pickupSeen[i] = game.level.pickups[i].collected;
    }
    for (std::size_t i = 0; i < weaponAnnounced.size(); ++i) {
        weaponAnnounced[i] = game.player.ownedWeapons[i];
    }
    toastQueue.clear();
    toastTimer = 0;
    shakeTimer = 0;
    ipJokeTimer = 0;
    sounds.resetLevel(presentationTime);
    audio.setBattleMusic(false, false, 0);
}

void App::presentationTick(float dt) {
    if (dt > 0) {
        presentationTime += dt;
    }
    sounds.tick(dt);
    if (toastTimer <= 0 && !toastQueue.empty()) {
        toastText = toastQueue.front();
        toastQueue.pop_front();
        toastTimer = TOAST_SHOW_SECONDS;
    }
    ipJokeTimer = std::max(ipJokeTimer - dt, 0.0f);
    if (game.state != Playing || !settings.ipJokes) {
        return;
    }
    ipJokeCountdown -= dt;
    if (ipJokeCountdown > 0) {
        return;
    }
    ipText.clear();
    for (int part = 0; part < 4; ++part) {
        ipJokeRng = ipJokeRng * 1664525u + 1013904223u;
        if (part > 0) {
            ipText += '.';
        }
        ipText += std::to_string((ipJokeRng >> 16) % 700 + 300);
    }
    ipJokeTimer = IP_JOKE_SECONDS;
    ipJokeCountdown = static_cast<float>(ipJokeRng % 11 + 24);
}

void App::signPrompt(float cameraX) {
    const int index = game.nearbySign();
    if (index < 0 || index >= static_cast<int>(game.level.signs.size())) {
        return;
    }
    const float signX = game.level.signs[static_cast<std::size_t>(index)].pos.x - cameraX;
    const float x = std::clamp(signX - 112, 8.0f, std::max(viewWidth - 232, 8.0f));
    panel(x, 332, 224, 32, 0xFFCB66);
    text(signPromptText(gamepadActive, settings.controls), x + 8, 340, 208, 20, 1, 0xFFCB66, true);
}

} // namespace grumbo

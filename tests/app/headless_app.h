// A whole App on the headless backend, for tests that drive the real frame
// loop: a stand-in assets folder, the App opened on it, and frame stepping.
#pragma once

#include "app/app.h"
#include "app/sprite_atlas.h"
#include "platform/clock.h"
#include "platform/headless/headless_audio_output.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/headless_video.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace grumbo::test {

// A PNG header is all the headless renderer reads of a picture, and a font
// file only has to exist. The first world has a backdrop, the others none.
inline void writeStandInAssets(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "assets");
    unsigned char png[24] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    constexpr std::uint32_t width = 1024;
    constexpr std::uint32_t height = 832;
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<unsigned char>(width >> (24 - 8 * i));
        png[20 + i] = static_cast<unsigned char>(height >> (24 - 8 * i));
    }
    std::ofstream(folder / "assets" / "sprites.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png), sizeof png);
    std::ofstream(folder / "assets" / "AnonymousPro-Bold.ttf") << "font";
    std::filesystem::copy_file(folder / "assets" / "sprites.png", folder / "assets" / "bg_1.png",
                               std::filesystem::copy_options::overwrite_existing);
}

// An App on the folder, its window open and initialised, paced from now.
// The save path is set first, so no test ever touches the user's own save.
inline void openHeadlessApp(std::unique_ptr<App>& app, const std::filesystem::path& folder,
                            const std::filesystem::path& savePath,
                            const std::shared_ptr<InputScript>& script) {
    app = std::make_unique<App>(std::make_unique<HeadlessInputDevices>(script),
                                std::make_unique<HeadlessAudioOutput>());
    app->baseDirectory = folder.string();
    app->savePath = savePath.wstring();
    ASSERT_TRUE(app->window.open(WindowOptions{}));
    ASSERT_TRUE(app->init());
    // The mixer thread loads the clips; tests hear them from the first frame.
    for (int i = 0; i < 5000 && app->audio.running() && !app->audio.clipsLoaded(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    app->pacer = FramePacer(clockFrequency());
    app->pacer.restart(clockTicks());
}

// Runs loop passes until `frames` more frames were rendered.
inline void runFrames(App& app, int frames) {
    const int target = headless::presentCount(app.renderer) + frames;
    for (int pass = 0; pass < frames * 20 && headless::presentCount(app.renderer) < target; ++pass) {
        app.runPass();
    }
    ASSERT_EQ(headless::presentCount(app.renderer), target);
}

// A test with a whole App on a fresh folder of stand-in assets and its own save file.
class HeadlessAppTest : public testing::Test {
  protected:
    void SetUp() override {
        static std::atomic<int> serial{0};
        folder = std::filesystem::path(testing::TempDir()) /
                 ("grumbo_app_" + std::to_string(std::random_device{}()) + "_" + std::to_string(++serial));
        std::filesystem::remove_all(folder);
        writeStandInAssets(folder);
        headless::setTicks(1000000);
        headless::clearErrorBoxes();
        savePath = folder / "save.ini";
        boot();
    }
    void TearDown() override {
        app.reset();
        std::filesystem::remove_all(folder);
    }
    void boot() { openHeadlessApp(app, folder, savePath, script); }
    void runFrames(int frames) { test::runFrames(*app, frames); }

    std::filesystem::path folder, savePath;
    std::shared_ptr<InputScript> script = std::make_shared<InputScript>();
    std::unique_ptr<App> app;
};

// One draw call in canvas units: a sprite by its name, a text by its words
// (with its box width as w and its size index as h), a fill by its colour.
// A sprite may be mirrored and turned, a text centred in its box. In a wanted
// call, a NaN field or ANY_COLOUR matches whatever was drawn.
inline constexpr std::uint32_t ANY_COLOUR = 0xFFFFFFFF;
inline constexpr int MIRRORED = 1;
inline constexpr int CENTRED = 2;
struct Look {
    Look(std::string name, std::uint32_t rgb, float left, float top, float width, float height,
         float alpha = 1, int style = 0, float turn = 0)
        : what(std::move(name)), colour(rgb), x(left), y(top), w(width), h(height), opacity(alpha),
          mirror((style & MIRRORED) != 0), centred((style & CENTRED) != 0), degrees(turn) {}
    std::string what;
    std::uint32_t colour;
    float x, y, w, h, opacity;
    bool mirror, centred;
    float degrees;
    FRect clip{}; // in canvas units, when a clip was in force
};

// The level band squashes world y 76..540 into canvas y 76..470.
inline float band(float worldY) {
    return 11.4655f + 0.849138f * worldY;
}
inline float squash(float height) {
    return 0.849138f * height;
}

// Renders one frame and reads its draw calls back.
inline std::vector<Look> drawFrame(App& app) {
    headless::clearDrawLog(app.renderer);
    app.render();
    std::vector<Look> frame;
    const float scale = app.viewScale;
    for (const headless::DrawCall& call : headless::drawLog(app.renderer)) {
        const FRect& r = call.rect;
        Look& seen = frame.emplace_back("", call.colour, r.x / scale, (r.y - app.viewOffsetY) / scale,
                                        r.w / scale, r.h / scale, call.opacity);
        seen.mirror = call.mirror;
        seen.degrees = call.degrees;
        const FRect& c = call.clip;
        seen.clip = call.clipped
                        ? FRect{c.x / scale, (c.y - app.viewOffsetY) / scale, c.w / scale, c.h / scale}
                        : FRect{};
        for (const AtlasEntry& entry : ATLAS_ENTRIES) {
            if (call.texture == app.spriteSheet.id && entry.rect.x == call.source.x &&
                entry.rect.y == call.source.y) {
                seen.what = entry.name;
            }
        }
        if (!call.text.empty()) {
            // Boxes are laid out in whole canvas units, rounded up to whole pixels.
            seen.what = call.text;
            seen.centred = call.centred;
            seen.w = std::floor(static_cast<float>(call.wrapWidth) / scale + 0.001f);
            seen.x = (r.x - (call.centred ? (seen.w * scale - r.w) / 2 : 0)) / scale;
            for (int size = 0; size < TEXT_SIZE_COUNT; ++size) {
                seen.h = std::lround(TEXT_SIZES[size] * scale) == call.textPixels ? size : seen.h;
            }
        } else if (call.kind == headless::DrawKind::Image && seen.what.empty()) {
            seen.what = "#image";
        }
    }
    return frame;
}

// Whether a draw call looks as wanted: texts are placed to within their pixel
// rounding, sprites and fills exactly; a sprite's colour is not compared.
inline bool looksLike(const Look& got, const Look& want) {
    const bool sprite = findSprite(want.what) != nullptr;
    const bool text = !want.what.empty() && !sprite;
    const float near = text ? 0.5f : 0.02f;
    auto close = [](float a, float b, float limit) { return std::isnan(b) || std::fabs(a - b) < limit; };
    return got.what == want.what && (sprite || want.colour == ANY_COLOUR || got.colour == want.colour) &&
           (!sprite || (got.mirror == want.mirror && got.degrees == want.degrees)) &&
           (!text || got.centred == want.centred) && close(got.x, want.x, near) &&
           close(got.y, want.y, near) && close(got.w, want.w, text ? 0.02f : near) &&
           close(got.h, want.h, text ? 0.1f : near) && close(got.opacity, want.opacity, 0.002f);
}

// Index of the first call from `from` on that looks as wanted, or -1.
inline int find(const std::vector<Look>& frame, const Look& want, int from = 0) {
    for (int i = from; i < static_cast<int>(frame.size()); ++i) {
        if (looksLike(frame[static_cast<std::size_t>(i)], want)) {
            return i;
        }
    }
    return -1;
}

// Every wanted call is drawn, each after the one before it; their indices.
inline std::vector<int> expectInOrder(const std::vector<Look>& frame, const std::vector<Look>& wanted) {
    std::vector<int> found;
    int at = 0;
    for (const Look& want : wanted) {
        found.push_back(find(frame, want, at));
        EXPECT_GE(found.back(), 0) << "missing or out of order: '" << want.what << "' " << std::hex
                                   << want.colour << std::dec << " at " << want.x << ", " << want.y << " "
                                   << want.w << " x " << want.h << " opacity " << want.opacity;
        at = std::max(found.back() + 1, at);
    }
    return found;
}

} // namespace grumbo::test

// A whole App on the headless backend, for tests that drive the real frame
// loop: a stand-in assets folder, the App opened on it, and frame stepping.
#pragma once

#include "app/app.h"
#include "platform/clock.h"
#include "platform/headless/headless_audio_output.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/headless_video.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace grumbo::test {

// A PNG header is all the headless renderer reads of a picture, and a font
// file only has to exist.
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
    std::ofstream(folder / "assets" / "DejaVuSansMono-Bold.ttf") << "font";
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

} // namespace grumbo::test

// The SDL drawing device, offscreen with the software renderer: colours and
// opacity land in the right bytes, mirroring, drawable textures, clips, text,
// stale handles, the frame clock's deadline sleep, and the window's events.
#include "../audio/temp_folder.h"
#include "platform/clock.h"
#include "platform/image_header.h"
#include "platform/renderer.h"
#include "platform/window.h"
#include "sdl_test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace grumbo {
namespace {

class SdlVideo : public testing::Test {
  protected:
    void SetUp() override {
        useOffscreenVideo();
        WindowOptions options;
        options.title = "video test";
        options.clientWidth = 64;
        options.clientHeight = 48;
        ASSERT_TRUE(window.open(options));
        ASSERT_TRUE(renderer.create(window));
        renderer.clear(0x102030, 1);
    }

    // Red, green and blue of a window pixel as 0xRRGGBB.
    std::uint32_t pixel(int x, int y) {
        std::vector<std::uint8_t> bgra;
        int width = 0;
        int height = 0;
        EXPECT_TRUE(renderer.readPixels(bgra, width, height));
        const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4;
        return static_cast<std::uint32_t>(bgra[at + 2]) << 16 |
               static_cast<std::uint32_t>(bgra[at + 1]) << 8 | bgra[at];
    }

    Window window;
    Renderer renderer;
};

TEST_F(SdlVideo, FillsReadBackAsBlueGreenRedBytesAndBlendByOpacity) {
    int width = 0;
    int height = 0;
    renderer.outputSize(width, height);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 48);
    renderer.fillRect(FRect{10, 10, 5, 5}, 0xFF8000, 1);
    EXPECT_EQ(pixel(12, 12), 0xFF8000u);
    EXPECT_EQ(pixel(0, 0), 0x102030u);
    EXPECT_EQ(pixel(15, 15), 0x102030u);

    // Opacity blends over what is below.
    renderer.clear(0x000000, 1);
    renderer.fillRect(FRect{0, 0, 8, 8}, 0xFFFFFF, 0.5f);
    const std::uint32_t grey = pixel(4, 4) & 0xFF;
    EXPECT_NEAR(static_cast<int>(grey), 128, 2);
    renderer.fillRect(FRect{0, 0, 8, 8}, 0xFF0000, 0);
    EXPECT_EQ(pixel(4, 4) & 0xFF, grey);
}

TEST_F(SdlVideo, MirroredImagesSwapLeftAndRight) {
    const std::uint32_t pixels[2] = {0xFFFF0000u, 0xFF0000FFu};
    Texture image = renderer.createImage(2, 1, pixels);
    ASSERT_TRUE(image.valid());
    renderer.drawImage(image, FRect{0, 0, 2, 1}, FRect{0, 0, 2, 1}, false, 0, 1);
    renderer.drawImage(image, FRect{0, 0, 2, 1}, FRect{0, 2, 2, 1}, true, 0, 1);
    EXPECT_EQ(pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(pixel(1, 0), 0x0000FFu);
    EXPECT_EQ(pixel(0, 2), 0x0000FFu);
    EXPECT_EQ(pixel(1, 2), 0xFF0000u);
    // A half-turn of a symmetric placement mirrors too, about the centre.
    renderer.drawImage(image, FRect{0, 0, 2, 1}, FRect{0, 4, 2, 1}, false, 180, 1);
    EXPECT_EQ(pixel(0, 4), 0x0000FFu);
}

TEST_F(SdlVideo, DrawableTexturesCollectDrawingClipsConfineItAndStaleOnesDrawNothing) {
    Texture layer = renderer.createTarget(8, 8, true);
    ASSERT_TRUE(layer.valid());
    renderer.setTarget(&layer);
    renderer.clear(0x00FF00, 1);
    renderer.setTarget(nullptr);
    const FRect clip{0, 0, 4, 48};
    renderer.setClip(&clip);
    renderer.drawImage(layer, FRect{0, 0, 8, 8}, FRect{0, 0, 8, 8}, false, 0, 1);
    renderer.setClip(nullptr);
    EXPECT_EQ(pixel(2, 2), 0x00FF00u);
    EXPECT_EQ(pixel(6, 2), 0x102030u);

    // Released and missing textures draw nothing.
    renderer.clear(0x102030, 1);
    const std::uint32_t white = 0xFFFFFFFFu;
    Texture image = renderer.createImage(1, 1, &white);
    const Texture copy = image;
    renderer.release(image);
    EXPECT_FALSE(image.valid());
    renderer.drawImage(copy, FRect{0, 0, 1, 1}, FRect{0, 0, 8, 8}, false, 0, 1);
    EXPECT_EQ(pixel(3, 3), 0x102030u);
    EXPECT_FALSE(renderer.loadImage("no/such/picture.png").valid());
    EXPECT_FALSE(renderer.takeDeviceLoss());
}

// A few bytes that claim a picture of gigabytes are refused before decoding;
// a real picture with a damaged or foreign header is refused too.
TEST_F(SdlVideo, ImagesAreCheckedByTheSizeTheyDeclare) {
    const test::TempFolder scratch;
    const std::filesystem::path& folder = scratch.path;
    const auto pngClaiming = [&](const char* name, unsigned width, unsigned height) {
        unsigned char bytes[69] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                   0,    0,   0,   13,  'I',  'H',  'D',  'R'};
        for (int i = 0; i < 4; ++i) {
            bytes[16 + i] = static_cast<unsigned char>(width >> (24 - 8 * i));
            bytes[20 + i] = static_cast<unsigned char>(height >> (24 - 8 * i));
        }
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes), sizeof bytes);
        return (folder / name).string();
    };
    int width = 0;
    int height = 0;
    EXPECT_TRUE(readPngSize(pngClaiming("huge.png", 40000, 40000), width, height));
    EXPECT_EQ(width, 40000);
    EXPECT_FALSE(imageSizeUsable(width, height));
    EXPECT_FALSE(renderer.loadImage(pngClaiming("huge.png", 40000, 40000)).valid());
    EXPECT_FALSE(renderer.loadImage(pngClaiming("tall.png", 16, 8193)).valid());
    EXPECT_TRUE(imageSizeUsable(8192, 8192));
    EXPECT_FALSE(imageSizeUsable(4096, 4096, 2048));
    EXPECT_FALSE(imageSizeUsable(0, 5));

    const std::string sheet = "assets/sprites.png";
    if (std::filesystem::exists(sheet)) {
        EXPECT_TRUE(renderer.loadImage(sheet).valid());
        std::vector<std::uint8_t> torn = test::readBytes(sheet);
        torn[1] = 'Q';
        test::writeBytes(folder / "torn.png", torn);
        EXPECT_FALSE(renderer.loadImage((folder / "torn.png").string()).valid());
    }
}

TEST_F(SdlVideo, TextIsRasterisedWhiteAndWrapsAtTheBoxWidth) {
    const std::string font = "assets/AnonymousPro-Bold.ttf";
    if (!std::filesystem::exists(font)) {
        GTEST_SKIP() << "the generated assets are not built";
    }
    ASSERT_TRUE(renderer.openFont(font));
    // Seven characters of a 16-pixel monospaced face, about 10 pixels each.
    const Texture line = renderer.renderText("GO LIVE", 16, 0, false);
    ASSERT_TRUE(line.valid());
    EXPECT_GT(line.width, 40);
    EXPECT_LT(line.width, 100);
    const Texture centred = renderer.renderText("GO LIVE", 16, 400, true);
    ASSERT_TRUE(centred.valid());
    EXPECT_LE(centred.width, 400);
    EXPECT_EQ(centred.height, line.height);
    const Texture wrapped = renderer.renderText("GO LIVE GO LIVE GO LIVE", 16, 80, false);
    ASSERT_TRUE(wrapped.valid());
    EXPECT_LE(wrapped.width, 80);
    EXPECT_GE(wrapped.height, 2 * line.height);
    EXPECT_FALSE(renderer.renderText("", 16, 80, false).valid());
}

TEST(FrameClock, SleepReturnsAtOrAfterTheDeadline) {
    const std::uint64_t start = clockTicks();
    const std::uint64_t deadline = start + clockFrequency() / 1000;
    sleepUntilTicks(deadline);
    EXPECT_GE(clockTicks(), deadline);
    sleepUntilTicks(start);
    EXPECT_GE(clockTicks(), deadline);
}

// What the window system reports becomes the shell's own events: focus, minimise
// or hide and restore or show, sizes in drawable pixels, the frame-timing key without its auto-repeat, wheel
// notches either way round, and the mouse buttons; anything else is dropped.
TEST(SdlWindow, SystemEventsBecomeWindowEvents) {
    useOffscreenVideo();
    Window window;
    ASSERT_TRUE(window.open(WindowOptions{}));
    window.setClientSize(800, 450);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    using namespace sdl_testing;
    for (const auto id : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MINIMIZED,
                          SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_MAXIMIZED, SDL_WINDOWEVENT_MOVED,
                          SDL_WINDOWEVENT_HIDDEN, SDL_WINDOWEVENT_SHOWN}) {
        pushWindowEvent(id);
    }
    pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 400, 225);
    pushKey(SDL_SCANCODE_F3, true);
    pushKey(SDL_SCANCODE_F3, true, true);
    pushKey(SDL_SCANCODE_F3, false);
    pushKey(SDL_SCANCODE_F4, true);
    for (const auto& [y, flipped] : {std::pair{2, false}, {1, true}, {0, false}}) {
        SDL_Event wheel{SDL_MOUSEWHEEL};
        wheel.wheel.y = y;
        wheel.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        pushEvent(wheel);
    }
    for (const int button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1}) {
        SDL_Event click{SDL_MOUSEBUTTONDOWN};
        click.button.button = static_cast<Uint8>(button);
        pushEvent(click);
    }
    pushEvent(SDL_Event{SDL_MOUSEBUTTONUP});
    pushEvent(SDL_Event{SDL_QUIT});

    using K = WindowEventKind;
    const std::vector<std::tuple<K, int, int, int>> expected = {
        {K::FocusLost, 0, 0, 0}, {K::FocusGained, 0, 0, 0}, {K::Minimized, 0, 0, 0},
        {K::Restored, 0, 0, 0},  {K::Restored, 0, 0, 0},    {K::Minimized, 0, 0, 0},
        {K::Restored, 0, 0, 0},  {K::Resized, 800, 450, 0}, {K::TimingsKey, 0, 0, 0},
        {K::Wheel, 0, 0, 240},   {K::Wheel, 0, 0, -120},    {K::LeftDown, 0, 0, 0},
        {K::RightDown, 0, 0, 0}, {K::MiddleDown, 0, 0, 0},  {K::ButtonUp, 0, 0, 0},
        {K::Quit, 0, 0, 0}};
    WindowEvent events[32];
    std::vector<std::tuple<K, int, int, int>> got;
    for (int i = 0, n = window.pollEvents(events, 32); i < n; ++i) {
        got.emplace_back(events[i].kind, events[i].width, events[i].height, events[i].wheel);
    }
    EXPECT_EQ(got, expected);

    // Dropped events count against the limit too, so a flood cannot hold the pump.
    pushWindowEvent(SDL_WINDOWEVENT_MOVED);
    pushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    EXPECT_EQ(window.pollEvents(events, 1), 0);
    ASSERT_EQ(window.pollEvents(events, 1), 1);
    EXPECT_EQ(events[0].kind, K::Exposed);
}

} // namespace
} // namespace grumbo

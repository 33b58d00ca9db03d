// End to end through SDL's virtual joystick: hot-plug events reach the event
// pump, the controller thread reads the device under the joystick lock, and
// rumble reaches the device. The window thread is played by the test.
#include "../input/control_fields.h"
#include "input/native_input_impl.h"
#include "platform/sdl/sdl_input.h"
#include "sdl_test_support.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace grumbo {
namespace {

using sdl_testing::VirtualPad;

class SdlInput : public ::testing::Test {
  protected:
    NativeInput::Impl input{std::make_unique<sdl::SdlInputDevices>()};

    void SetUp() override { input.start(); }

    // Pumps events like the window does until the controller thread reports
    // what the test waits for; gives up after a generous limit.
    template <class Condition> bool waitUntil(Condition condition) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < limit) {
            sdl_testing::pumpInputEvents();
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    bool held(std::uint16_t buttons) {
        return waitUntil([&] { return input.heldButtons.load() == buttons; });
    }
    bool connectedIs(bool value) {
        return waitUntil([&] { return input.connected.load() == value; });
    }
};

TEST_F(SdlInput, ControllerPressAndReleaseBetweenFrames) {
    VirtualPad pad(VirtualPad::Kind::Controller);
    ASSERT_TRUE(pad.attached());
    ASSERT_TRUE(connectedIs(true));
    EXPECT_TRUE(input.poll(true).controllerPresent);

    pad.setButtons(pad::A);
    ASSERT_TRUE(held(pad::A));
    pad.setButtons(0);
    ASSERT_TRUE(held(0));
    EXPECT_EQ(setFields(input.poll(true)), "jumpHeld jumpPressed confirm present");
    EXPECT_EQ(setFields(input.poll(true)), "present");

    pad.setButtons(pad::X | pad::DpadLeft);
    ASSERT_TRUE(held(pad::X | pad::DpadLeft));
    EXPECT_EQ(setFields(input.poll(true)), "left fireHeld present");
}

TEST_F(SdlInput, HotPlugLosesAndFindsThePad) {
    {
        VirtualPad first(VirtualPad::Kind::Controller);
        ASSERT_TRUE(connectedIs(true));
        first.detach();
        ASSERT_TRUE(connectedIs(false));
        EXPECT_FALSE(input.poll(true).controllerPresent);
    }
    VirtualPad second(VirtualPad::Kind::Controller);
    second.setButtons(pad::B);
    ASSERT_TRUE(held(pad::B));
    EXPECT_EQ(setFields(input.poll(true)), "interact back present");
}

TEST_F(SdlInput, StickAndDirectionPadNavigateMenus) {
    VirtualPad pad(VirtualPad::Kind::Controller);
    ASSERT_TRUE(connectedIs(true));
    input.poll(true);
    pad.setStick(0, 32767);
    ASSERT_TRUE(waitUntil([&] { return input.stickY.load() < -0.5f; }));
    EXPECT_TRUE(input.poll(true).menuUp);
    EXPECT_FALSE(input.poll(true).menuUp);

    pad.setStick(-32768, 0);
    ASSERT_TRUE(waitUntil([&] { return input.stickX.load() == -1.0f && input.stickY.load() == 0.0f; }));
    EXPECT_TRUE(input.poll(true).left);

    pad.setStick(0, 0);
    pad.setButtons(pad::DpadDown);
    ASSERT_TRUE(held(pad::DpadDown));
    EXPECT_TRUE(input.poll(true).menuDown);
}

TEST_F(SdlInput, RumbleReachesTheDevice) {
    VirtualPad pad(VirtualPad::Kind::Controller);
    ASSERT_TRUE(connectedIs(true));
    input.rumble(0.5f, 2);
    ASSERT_TRUE(waitUntil([&] { return pad.motors().left.load() == 22500; }));
    EXPECT_EQ(pad.motors().right.load(), 28000);
    input.rumble(0, 0);
    ASSERT_TRUE(waitUntil([&] { return pad.motors().left.load() == 0 && pad.motors().right.load() == 0; }));
    input.rumble(1, 2);
    ASSERT_TRUE(waitUntil([&] { return pad.motors().left.load() == 45000; }));
    input.poll(false);
    ASSERT_TRUE(waitUntil([&] { return pad.motors().left.load() == 0; }));
}

TEST_F(SdlInput, PlainJoystickWithHat) {
    VirtualPad stick(VirtualPad::Kind::Joystick);
    ASSERT_TRUE(stick.attached());
    stick.setJoystick(0x01, -32768, 0, 13500);
    ASSERT_TRUE(held(pad::A | pad::DpadRight | pad::DpadDown));
    EXPECT_EQ(setFields(input.poll(true)), "left right jumpHeld jumpPressed confirm menuDown present");
}

TEST(SdlKeyboard, ATapShorterThanAFrameArrivesOnceAndRebindableKeysReadAsThemselves) {
    NativeInput::Impl input{std::make_unique<sdl::SdlInputDevices>()};
    input.start();
    // Down and up again before the frame samples the keyboard.
    sdl_testing::pushKey(SDL_SCANCODE_SPACE, true);
    sdl_testing::pushKey(SDL_SCANCODE_SPACE, false);
    sdl_testing::pumpInputEvents();
    EXPECT_TRUE(input.poll(true).jumpPressed);
    EXPECT_FALSE(input.poll(true).jumpPressed);

    // A tap made before focus was lost does not arrive after it returns.
    sdl_testing::pushKey(SDL_SCANCODE_SPACE, true);
    sdl_testing::pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    sdl_testing::pumpInputEvents();
    EXPECT_FALSE(input.poll(true).jumpPressed);

    // Keys a player may move an action onto read as themselves, both halves of a modifier alike.
    // (Letters follow the keyboard layout, which the test's video driver does not have.)
    input.poll(true);
    const std::pair<SDL_Scancode, Key> taps[] = {{SDL_SCANCODE_RCTRL, Key::Ctrl},
                                                 {SDL_SCANCODE_LALT, Key::Alt},
                                                 {SDL_SCANCODE_F1, Key::F1},
                                                 {SDL_SCANCODE_F9, Key::F9},
                                                 {SDL_SCANCODE_F12, Key::F12},
                                                 {SDL_SCANCODE_KP_0, Key::Keypad0},
                                                 {SDL_SCANCODE_KP_9, Key::Keypad9},
                                                 {SDL_SCANCODE_GRAVE, Key::Backquote},
                                                 {SDL_SCANCODE_PAGEDOWN, Key::PageDown}};
    for (const auto& [code, key] : taps) {
        sdl_testing::pushKey(code, true);
        sdl_testing::pushKey(code, false);
        sdl_testing::pumpInputEvents();
        EXPECT_EQ(input.poll(true).keyPressed, static_cast<int>(key)) << code;
    }
}

} // namespace
} // namespace grumbo

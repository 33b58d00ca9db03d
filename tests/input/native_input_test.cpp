// The controller protocol driven pass by pass on a scripted clock: the thread
// is not started, so each `pass` below is one 8 ms tick of the controller
// thread and each `poll` one frame.
#include "control_fields.h"
#include "input/native_input_impl.h"
#include "platform/headless/headless_input.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <tuple>

namespace grumbo {
namespace {

class NativeInputProtocol : public ::testing::Test {
  protected:
    std::shared_ptr<InputScript> script = std::make_shared<InputScript>();
    NativeInput::Impl input{std::make_unique<HeadlessInputDevices>(script)};

    void tick(std::uint64_t ms = 8) {
        script->advance(ms);
        input.pass();
    }
    // A pad at rest in the first slot, found by one pass.
    void plugIn() {
        pad(0);
        tick();
    }
    void pad(std::uint16_t buttons, std::int16_t x = 0, std::int16_t y = 0, int slot = 0) {
        script->setPad(slot, {buttons, x, y});
    }
    RumbleCommand lastRumble() {
        const auto log = script->rumbles();
        return log.empty() ? RumbleCommand{-1, 0, 0} : log.back();
    }
    std::pair<int, int> motors() { return {lastRumble().left, lastRumble().right}; }
};

TEST_F(NativeInputProtocol, PressShorterThanAFrameIsDeliveredOnce) {
    plugIn();
    EXPECT_EQ(setFields(input.poll(true)), "present");
    pad(pad::A);
    tick();
    plugIn();
    EXPECT_EQ(setFields(input.poll(true)), "jumpHeld jumpPressed confirm present");
    tick();
    EXPECT_EQ(setFields(input.poll(true)), "present");
}

TEST_F(NativeInputProtocol, HeldButtonIsNotRepeated) {
    // Held from the very first pass, also up and down: each is one press; the motors stay still.
    pad(pad::B | pad::A | pad::DpadUp | pad::DpadDown);
    tick();
    EXPECT_EQ(setFields(input.poll(true)),
              "jumpHeld jumpPressed interact confirm back menuUp menuDown present");
    EXPECT_TRUE(script->rumbles().empty());
    for (int frame = 0; frame < 5; ++frame) {
        tick();
        tick();
        EXPECT_EQ(setFields(input.poll(true)), "jumpHeld present");
    }
}

TEST_F(NativeInputProtocol, FocusLossDropsEdgesButKeepsPreviousState) {
    plugIn();
    input.poll(true);
    input.poll(false);
    // Pressed and held while inactive: no edge, and none after coming back.
    pad(pad::A);
    tick();
    EXPECT_EQ(setFields(input.poll(false)), "present");
    tick();
    EXPECT_EQ(setFields(input.poll(true)), "jumpHeld present");
    tick();
    EXPECT_EQ(setFields(input.poll(true)), "jumpHeld present");
}

TEST_F(NativeInputProtocol, PressesCollectedBeforeReactivationAreDiscarded) {
    plugIn();
    input.poll(false);
    // The thread still believes the window is active for this pass (it reads
    // `enabled` a pass late); the first enabled poll throws such presses away.
    input.enabled.store(true);
    pad(pad::B);
    tick();
    plugIn();
    EXPECT_FALSE(input.poll(true).interact);
}

TEST_F(NativeInputProtocol, DisabledFrameIsEmptyAndKeysStillTracked) {
    for (Key key : {Key::Up, Key::Digit5, Key::Enter, Key::Escape, Key::F11, Key::R, Key::M, Key::D}) {
        script->setKey(key, true);
    }
    pad(pad::B | pad::Start);
    tick();
    EXPECT_EQ(setFields(input.poll(false)), "present");
    // The keys were already down on the previous (disabled) poll.
    EXPECT_EQ(setFields(input.poll(true)), "right jumpHeld present");
}

TEST_F(NativeInputProtocol, StickDeadZoneOnBothAxesAndUpIsNegative) {
    const std::tuple<std::int16_t, std::int16_t, float, float> cases[] = {
        {7849, -7849, 0, 0}, {32767, 32767, 1, -1}, {-32768, -32768, -1, 1}};
    for (const auto& [x, y, stickX, stickY] : cases) {
        pad(0, x, y);
        tick();
        EXPECT_EQ(std::pair(input.stickX.load(), input.stickY.load()), std::pair(stickX, stickY)) << x;
    }
    EXPECT_TRUE(input.poll(true).left);
}

TEST_F(NativeInputProtocol, MenuEdgesFromStickAndDirectionPad) {
    plugIn();
    input.poll(true);
    // Stick pushed fully up and held over several frames: one step.
    pad(0, 0, 32767);
    tick();
    EXPECT_TRUE(input.poll(true).menuUp);
    tick();
    EXPECT_FALSE(input.poll(true).menuUp);
    // Back to the centre, then down on the direction pad.
    plugIn();
    pad(pad::DpadDown);
    tick();
    EXPECT_EQ(setFields(input.poll(true)), "menuDown present");
    // Pad held down while the stick also goes down: still the same push.
    pad(pad::DpadDown, 0, -32768);
    tick();
    EXPECT_FALSE(input.poll(true).menuDown);
    // Half-way up or down is no step; past half is.
    pad(0, 0, 7849 + 12459);
    tick();
    EXPECT_FALSE(input.poll(true).menuUp);
    pad(0, 0, -7849 - 12459);
    tick();
    EXPECT_FALSE(input.poll(true).menuDown);
    pad(0, 0, 7849 + 12460);
    tick();
    EXPECT_TRUE(input.poll(true).menuUp);
    // A rebind hears a press of the direction pad alone too.
    plugIn();
    pad(pad::DpadUp);
    tick();
    EXPECT_EQ(input.poll(true).buttonsPressed, pad::DpadUp);
}

TEST_F(NativeInputProtocol, PadLostAndFoundAgainAfterTheSearch) {
    plugIn();
    EXPECT_EQ(input.padIndex, 0);
    script->removePad(0);
    tick();
    EXPECT_EQ(input.padIndex, -1);
    EXPECT_FALSE(input.poll(true).controllerPresent);
    // Plugged back in at another index: not noticed before the next search.
    pad(pad::A, 0, 0, 2);
    tick(999);
    EXPECT_EQ(input.padIndex, -1);
    EXPECT_FALSE(input.poll(true).controllerPresent);
    tick(1);
    EXPECT_EQ(input.padIndex, 2);
    const Control found = input.poll(true);
    EXPECT_TRUE(found.controllerPresent);
    EXPECT_TRUE(found.jumpPressed);
}

TEST_F(NativeInputProtocol, FirstAnsweringPadIsUsedAndTheNextTakesOverAtOnce) {
    tick();
    EXPECT_EQ(setFields(input.poll(true)), "");
    pad(pad::A, 0, 0, 2);
    pad(pad::B | pad::DpadUp | pad::DpadDown, 0, 0, 0);
    tick(1000);
    EXPECT_EQ(input.padIndex, 0);
    EXPECT_EQ(setFields(input.poll(true)), "interact back menuUp menuDown present");
    script->removePad(0);
    tick();
    EXPECT_EQ(input.padIndex, 2);
    EXPECT_EQ(setFields(input.poll(true)), "jumpHeld jumpPressed confirm present");
    // Only the lost pad was told to stop; the idle one taking over is sent nothing.
    ASSERT_EQ(script->rumbles().size(), 1u);
    EXPECT_EQ(lastRumble().slot, 0);
}

TEST_F(NativeInputProtocol, StaleControllerIsIgnored) {
    pad(pad::A | pad::DpadLeft);
    tick();
    script->advance(250);
    EXPECT_EQ(setFields(input.poll(true)), "left jumpHeld jumpPressed confirm present");
    pad(pad::A | pad::DpadLeft | pad::B);
    tick();
    script->advance(251);
    EXPECT_EQ(setFields(input.poll(true)), "");
    // The stale press was thrown away, not kept for later.
    tick();
    EXPECT_EQ(setFields(input.poll(true)), "left jumpHeld present");
}

TEST_F(NativeInputProtocol, JoystickWithHatAndRanges) {
    script->setPadsAvailable(false, false);
    // The first search finds nothing; the joysticks plugged in after it are found by the next.
    tick();
    JoystickState state;
    state.x = 0;
    state.y = 1000;
    state.buttons = 0x01;
    state.hat = 13500;
    script->setJoystick(2, state, {0, 1000, 0, 1000});
    script->setJoystick(0, state, {0, 1000, 0, 1000});
    tick(999);
    EXPECT_EQ(input.joystickId, -1);
    tick(1);
    EXPECT_EQ(input.joystickId, 0);
    EXPECT_EQ(setFields(input.poll(true)), "left right jumpHeld jumpPressed confirm menuDown present");
    EXPECT_EQ(input.stickY.load(), 1.0f);
    // The joystick in use is read on every pass.
    state = {1000, 0, 0x02, HAT_CENTERED};
    script->setJoystick(0, state, {0, 1000, 0, 1000});
    tick();
    EXPECT_EQ(setFields(input.poll(true)), "right interact back menuUp present");
}

TEST_F(NativeInputProtocol, JoystickNeedsReadableRangesAndPadTakesPrecedence) {
    JoystickState state;
    script->setJoystick(0, state, {0, 100, 0, 100});
    script->breakJoystickRanges(0);
    script->setJoystick(1, state, {0, 100, 0, 100});
    tick();
    EXPECT_EQ(input.joystickId, 1);
    EXPECT_EQ(input.stickX.load(), -1.0f);
    pad(0);
    tick(1000);
    EXPECT_EQ(input.padIndex, 0);
    EXPECT_EQ(input.joystickId, -1);
    // Without the pad the joystick is found again at its next search.
    script->removePad(0);
    tick();
    EXPECT_EQ(input.joystickId, 1);
    // A joystick that stops answering is replaced at once by the next.
    script->removeJoystick(1);
    script->setJoystick(3, state, {0, 100, 0, 100});
    tick();
    EXPECT_EQ(input.joystickId, 3);
}

TEST_F(NativeInputProtocol, RumbleClampedTimedAndReplaced) {
    plugIn();
    input.rumble(2, 10);
    tick();
    EXPECT_EQ(motors(), (std::pair{45000, 56000}));
    const std::size_t sent = script->rumbles().size();
    tick(4900);
    EXPECT_EQ(script->rumbles().size(), sent);
    // Exactly five seconds after the request.
    tick(92);
    EXPECT_EQ(motors(), (std::pair{0, 0}));

    // A new request replaces the old one rather than adding to it.
    input.rumble(0.5f, 1);
    tick();
    input.rumble(0.25f, 0.1f);
    tick();
    EXPECT_EQ(lastRumble().left, 11250);
    tick(100);
    EXPECT_EQ(lastRumble().left, 0);

    input.rumble(1, 2);
    tick();
    input.rumble(1, 0);
    tick();
    EXPECT_EQ(lastRumble().left, 0);
    input.rumble(std::numeric_limits<float>::quiet_NaN(), 2);
    tick();
    EXPECT_EQ(lastRumble().left, 0);
}

TEST_F(NativeInputProtocol, VibrationStopsWhenThePadDisappears) {
    pad(0, 0, 0, 1);
    tick();
    input.rumble(1, 3);
    tick();
    EXPECT_EQ(lastRumble().slot, 1);
    EXPECT_EQ(lastRumble().left, 45000);
    script->removePad(1);
    tick();
    EXPECT_EQ(lastRumble().slot, 1);
    EXPECT_EQ(motors(), (std::pair{0, 0}));
    // Plugged back in: the old request does not resume.
    pad(0, 0, 0, 1);
    tick(1000);
    EXPECT_EQ(input.padIndex, 1);
    EXPECT_EQ(lastRumble().left, 0);
    EXPECT_EQ(input.rumbleUntil.load(), 0u);
}

TEST_F(NativeInputProtocol, NoMotorCommandsWithoutRumbleSupportOrPad) {
    script->setPadsAvailable(true, false);
    input.rumble(1, 1);
    tick();
    pad(0);
    tick(1000);
    input.rumble(1, 1);
    tick();
    EXPECT_TRUE(script->rumbles().empty());
}

} // namespace
} // namespace grumbo

#include "input/input_rules.h"

#include <gtest/gtest.h>
#include <limits>

namespace grumbo::input {
namespace {

TEST(PadAxis, DeadZoneAndFullTravelOnBothSides) {
    EXPECT_EQ(padAxis(0), 0.0f);
    EXPECT_EQ(padAxis(7849), 0.0f);
    EXPECT_EQ(padAxis(-7849), 0.0f);
    EXPECT_GT(padAxis(7850), 0.0f);
    EXPECT_LT(padAxis(-7850), 0.0f);
    EXPECT_FLOAT_EQ(padAxis(7850), 1.0f / 24918.0f);
    EXPECT_EQ(padAxis(32767), 1.0f);
    EXPECT_EQ(padAxis(-32768), -1.0f);
    EXPECT_FLOAT_EQ(padAxis(7849 + 12459), 0.5f);
}

TEST(JoystickAxis, RangeDeadZoneAndClamp) {
    EXPECT_EQ(joystickAxis(0, 0, 65535), -1.0f);
    EXPECT_EQ(joystickAxis(65535, 0, 65535), 1.0f);
    EXPECT_EQ(joystickAxis(32768, 0, 65535), 0.0f);
    // 2t - 1 just inside and just outside 0.24 of the centre.
    EXPECT_EQ(joystickAxis(61, 0, 100), 0.0f);
    EXPECT_EQ(joystickAxis(39, 0, 100), 0.0f);
    EXPECT_NEAR(joystickAxis(63, 0, 100), 0.26f, 1e-6);
    EXPECT_NEAR(joystickAxis(37, 0, 100), -0.26f, 1e-6);
    // Not rescaled: just past the dead zone it is already about 0.24.
    EXPECT_NEAR(joystickAxis(6200 + 1, 0, 10000), 0.2402f, 1e-4);
    // Positions outside the advertised range are clamped.
    EXPECT_EQ(joystickAxis(200, 0, 100), 1.0f);
    // A broken range reads as centred.
    EXPECT_EQ(joystickAxis(500, 100, 100), 0.0f);
    EXPECT_EQ(joystickAxis(500, 200, 100), 0.0f);
    // A full 32-bit range keeps its precision.
    EXPECT_EQ(
        joystickAxis(std::numeric_limits<std::uint32_t>::max(), 0, std::numeric_limits<std::uint32_t>::max()),
        1.0f);
}

TEST(HatButtons, EverySectorBoundary) {
    const std::uint16_t up = pad::DpadUp;
    const std::uint16_t down = pad::DpadDown;
    const std::uint16_t left = pad::DpadLeft;
    const std::uint16_t right = pad::DpadRight;
    const struct {
        std::uint32_t hat;
        std::uint16_t buttons;
    } cases[] = {
        {0, up},
        {4499, up},
        {4500, up | right},
        {4501, right},
        {9000, right},
        {13499, right},
        {13500, right | down},
        {13501, down},
        {22499, down},
        {22500, down | left},
        {22501, left},
        {31499, left},
        {31500, up | left},
        {31501, up},
        {35999, up},
        {36000, up},
        {36001, 0},
        {65535, 0},
        {HAT_CENTERED, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hatButtons(c.hat), c.buttons) << "hat " << c.hat;
    }
}

TEST(JoystickButtons, FirstEightMapToPadLayout) {
    EXPECT_EQ(joystickButtons(0x01), pad::A);
    EXPECT_EQ(joystickButtons(0x02), pad::B);
    EXPECT_EQ(joystickButtons(0x04), pad::X);
    EXPECT_EQ(joystickButtons(0x08), pad::Y);
    EXPECT_EQ(joystickButtons(0x10), pad::LeftShoulder);
    EXPECT_EQ(joystickButtons(0x20), pad::RightShoulder);
    EXPECT_EQ(joystickButtons(0x40), pad::Back);
    EXPECT_EQ(joystickButtons(0x80), pad::Start);
    EXPECT_EQ(joystickButtons(0xFFFFFF00u), 0);
}

TEST(Rumble, StrengthSpeedsAndDeadline) {
    EXPECT_EQ(rumbleStrength(2), 1.0f);
    EXPECT_EQ(rumbleStrength(-1), 0.0f);
    EXPECT_EQ(rumbleStrength(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(rumbleStrength(std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ(rumbleStrength(0.25f), 0.25f);

    EXPECT_EQ(motorSpeeds(1).left, 45000);
    EXPECT_EQ(motorSpeeds(1).right, 56000);
    EXPECT_EQ(motorSpeeds(0.5f).left, 22500);
    EXPECT_EQ(motorSpeeds(0.5f).right, 28000);
    EXPECT_EQ(motorSpeeds(3).left, 45000);
    EXPECT_EQ(motorSpeeds(-0.5f).right, 0);
    EXPECT_EQ(motorSpeeds(std::numeric_limits<float>::quiet_NaN()).left, 0);

    EXPECT_EQ(rumbleDeadline(1, 10, 1000), 6000u);
    EXPECT_EQ(rumbleDeadline(0.5f, 0.25f, 1000), 1250u);
    EXPECT_EQ(rumbleDeadline(1, 0, 1000), 0u);
    EXPECT_EQ(rumbleDeadline(1, -1, 1000), 0u);
    EXPECT_EQ(rumbleDeadline(0, 2, 1000), 0u);
    EXPECT_EQ(rumbleDeadline(1, std::numeric_limits<float>::infinity(), 1000), 0u);
    EXPECT_EQ(rumbleDeadline(std::numeric_limits<float>::quiet_NaN(), 1, 1000), 0u);
}

TEST(ControllerFresh, WindowAndClockOrder) {
    EXPECT_FALSE(controllerFresh(0, 10));
    EXPECT_TRUE(controllerFresh(1000, 1250));
    EXPECT_FALSE(controllerFresh(1000, 1251));
    // The thread read its clock after the caller did.
    EXPECT_TRUE(controllerFresh(1001, 1000));
}

KeyStates keysWith(std::initializer_list<Key> down) {
    KeyStates keys{};
    for (Key key : down) {
        keys[static_cast<std::size_t>(key)] = true;
    }
    return keys;
}

TEST(ControlFrom, KeysGiveHeldFieldsAndEdges) {
    const KeyStates none{};
    const Control first =
        controlFrom(keysWith({Key::Space, Key::A, Key::J, Key::Enter, Key::Escape}), none, {});
    EXPECT_TRUE(first.jumpHeld);
    EXPECT_TRUE(first.jumpPressed);
    EXPECT_TRUE(first.left);
    EXPECT_TRUE(first.fireHeld);
    EXPECT_TRUE(first.confirm);
    EXPECT_TRUE(first.pause);
    EXPECT_TRUE(first.back);
    EXPECT_EQ(first.weaponSlot, -1);

    const KeyStates held = keysWith({Key::Space, Key::A, Key::J, Key::Enter, Key::Escape});
    const Control second = controlFrom(held, held, {});
    EXPECT_TRUE(second.jumpHeld);
    EXPECT_FALSE(second.jumpPressed);
    EXPECT_FALSE(second.confirm);
    EXPECT_FALSE(second.pause);
    EXPECT_TRUE(second.left);
}

TEST(ControlFrom, EveryShellAndMenuKey) {
    const KeyStates none{};
    const Control c = controlFrom(
        keysWith({Key::Up, Key::Down, Key::F11, Key::R, Key::M, Key::E, Key::Q, Key::Tab}), none, {});
    EXPECT_TRUE(c.menuUp);
    EXPECT_TRUE(c.menuDown);
    EXPECT_TRUE(c.jumpPressed);
    EXPECT_TRUE(c.toggleFullscreen);
    EXPECT_TRUE(c.restartCheckpoint);
    EXPECT_TRUE(c.toggleMute);
    EXPECT_TRUE(c.interact);
    EXPECT_TRUE(c.nextWeapon);
    EXPECT_TRUE(c.dash);
    EXPECT_FALSE(c.aiming);
    EXPECT_FALSE(c.right);
    EXPECT_TRUE(controlFrom(keysWith({Key::Shift}), none, {}).dash);
    EXPECT_TRUE(controlFrom(keysWith({Key::W}), none, {}).menuUp);
    EXPECT_TRUE(controlFrom(keysWith({Key::S}), none, {}).menuDown);
    EXPECT_TRUE(controlFrom(keysWith({Key::D}), none, {}).right);
    EXPECT_TRUE(controlFrom(keysWith({Key::X}), none, {}).fireHeld);
}

TEST(ControlFrom, WeaponSlotTakesTheLastNumberKey) {
    const KeyStates none{};
    EXPECT_EQ(controlFrom(keysWith({Key::Digit3, Key::Digit7}), none, {}).weaponSlot, 6);
    EXPECT_EQ(controlFrom(keysWith({Key::Digit1}), none, {}).weaponSlot, 0);
    EXPECT_EQ(controlFrom(keysWith({Key::Digit0, Key::Digit9}), none, {}).weaponSlot, 9);
    // A number key already down last frame is no choice.
    EXPECT_EQ(controlFrom(keysWith({Key::Digit4, Key::Digit2}), keysWith({Key::Digit4}), {}).weaponSlot, 1);
    EXPECT_EQ(controlFrom(keysWith({Key::Digit4}), keysWith({Key::Digit4}), {}).weaponSlot, -1);
}

TEST(ControlFrom, ControllerButtonsAndStick) {
    const KeyStates none{};
    ControllerFrame pressedA;
    pressedA.pressed = pad::A;
    const Control tap = controlFrom(none, none, pressedA);
    EXPECT_TRUE(tap.jumpPressed);
    EXPECT_TRUE(tap.jumpHeld);
    EXPECT_TRUE(tap.confirm);

    ControllerFrame heldA;
    heldA.held = pad::A | pad::X | pad::DpadRight;
    const Control hold = controlFrom(none, none, heldA);
    EXPECT_TRUE(hold.jumpHeld);
    EXPECT_FALSE(hold.jumpPressed);
    EXPECT_FALSE(hold.confirm);
    EXPECT_TRUE(hold.fireHeld);
    EXPECT_TRUE(hold.right);

    ControllerFrame others;
    others.pressed = pad::B | pad::Start | pad::RightShoulder | pad::Back;
    const Control o = controlFrom(none, none, others);
    EXPECT_TRUE(o.interact);
    EXPECT_TRUE(o.back);
    EXPECT_TRUE(o.pause);
    EXPECT_TRUE(o.nextWeapon);
    EXPECT_TRUE(o.dash);

    ControllerFrame stick;
    stick.stickX = -0.22f;
    EXPECT_FALSE(controlFrom(none, none, stick).left);
    stick.stickX = -0.23f;
    EXPECT_TRUE(controlFrom(none, none, stick).left);
    stick.stickX = 0.23f;
    EXPECT_TRUE(controlFrom(none, none, stick).right);

    ControllerFrame nav;
    nav.nav = NAV_UP | NAV_DOWN;
    const Control n = controlFrom(none, none, nav);
    EXPECT_TRUE(n.menuUp);
    EXPECT_TRUE(n.menuDown);
    EXPECT_FALSE(n.jumpPressed);
}

} // namespace
} // namespace grumbo::input

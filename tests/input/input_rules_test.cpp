#include "control_fields.h"
#include "input/input_rules.h"

#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace grumbo::input {
namespace {

TEST(Axes, PadDeadZoneAndJoystickRangeOnBothSides) {
    EXPECT_EQ(padAxis(0), 0.0f);
    EXPECT_EQ(padAxis(7849), 0.0f);
    EXPECT_EQ(padAxis(-7849), 0.0f);
    EXPECT_LT(padAxis(-7850), 0.0f);
    EXPECT_FLOAT_EQ(padAxis(7850), 1.0f / 24918.0f);
    EXPECT_EQ(padAxis(32767), 1.0f);
    EXPECT_EQ(padAxis(-32768), -1.0f);
    EXPECT_FLOAT_EQ(padAxis(7849 + 12459), 0.5f);
    // Joystick axes: 2t - 1 of the advertised range.
    EXPECT_EQ(joystickAxis(0, 0, 65535), -1.0f);
    EXPECT_EQ(joystickAxis(65535, 0, 65535), 1.0f);
    EXPECT_EQ(joystickAxis(32768, 0, 65535), 0.0f);
    // 2t - 1 just inside and just outside 0.24 of the centre.
    EXPECT_EQ(joystickAxis(61, 0, 100), 0.0f);
    EXPECT_EQ(joystickAxis(39, 0, 100), 0.0f);
    EXPECT_EQ(joystickAxis(62, 0, 100), 0.24f);
    EXPECT_EQ(joystickAxis(38, 0, 100), -0.24f);
    EXPECT_NEAR(joystickAxis(63, 0, 100), 0.26f, 1e-6);
    EXPECT_NEAR(joystickAxis(37, 0, 100), -0.26f, 1e-6);
    // Not rescaled: just past the dead zone it is already about 0.24.
    EXPECT_NEAR(joystickAxis(6200 + 1, 0, 10000), 0.2402f, 1e-4);
    // Positions outside the advertised range are clamped.
    EXPECT_EQ(joystickAxis(200, 0, 100), 1.0f);
    EXPECT_EQ(joystickAxis(50, 100, 200), -1.0f);
    EXPECT_EQ(joystickAxis(175, 100, 200), 0.5f);
    // A broken range reads as centred.
    EXPECT_EQ(joystickAxis(500, 100, 100), 0.0f);
    EXPECT_EQ(joystickAxis(500, 200, 100), 0.0f);
    // A full 32-bit range keeps its precision.
    EXPECT_EQ(
        joystickAxis(std::numeric_limits<std::uint32_t>::max(), 0, std::numeric_limits<std::uint32_t>::max()),
        1.0f);
}

TEST(HatAndJoystickButtons, EverySectorBoundaryAndTheFirstEightButtons) {
    constexpr std::uint16_t U = pad::DpadUp, D = pad::DpadDown, L = pad::DpadLeft, R = pad::DpadRight;
    const std::pair<std::uint32_t, int> cases[] = {
        {0, U},     {4499, U},  {4500, U | R},  {4501, R},  {9000, R},        {13499, R},     {13500, D | R},
        {13501, D}, {22499, D}, {22500, D | L}, {22501, L}, {31499, L},       {31500, U | L}, {31501, U},
        {35999, U}, {36000, U}, {36001, 0},     {65535, 0}, {HAT_CENTERED, 0}};
    for (const auto& [hat, buttons] : cases) {
        EXPECT_EQ(hatButtons(hat), buttons) << "hat " << hat;
    }

    // A, B, X, Y, the left and right shoulder, Back and Start in the pad layout.
    const std::uint16_t expected[] = {0x1000, 0x2000, 0x4000, 0x8000, 0x0100, 0x0200, 0x0020, 0x0010};
    for (unsigned button = 0; button < 8; ++button) {
        EXPECT_EQ(joystickButtons(1u << button), expected[button]) << button;
    }
    EXPECT_EQ(joystickButtons(0xFFFFFF00u), 0);
}

TEST(Rumble, StrengthSpeedsAndDeadline) {
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float INF = std::numeric_limits<float>::infinity();
    // Strength asked, strength kept, and the two motors at that strength.
    const std::tuple<float, float, int, int> strengths[] = {{2, 1, 45000, 56000},
                                                            {1, 1, 45000, 56000},
                                                            {0.5f, 0.5f, 22500, 28000},
                                                            {0.25f, 0.25f, 11250, 14000},
                                                            {-1, 0, 0, 0},
                                                            {NaN, 0, 0, 0},
                                                            {INF, 0, 0, 0}};
    for (const auto& [asked, kept, left, right] : strengths) {
        EXPECT_EQ(rumbleStrength(asked), kept) << asked;
        EXPECT_EQ(motorSpeeds(asked).left, left) << asked;
        EXPECT_EQ(motorSpeeds(asked).right, right) << asked;
    }
    // Strength and seconds asked at 1000 ms: the deadline, 0 for none; at most five seconds.
    const std::tuple<float, float, std::uint64_t> deadlines[] = {
        {1, 10, 6000}, {0.5f, 0.25f, 1250}, {1, 0, 0}, {1, -1, 0}, {0, 2, 0}, {1, INF, 0}, {NaN, 1, 0}};
    for (const auto& [strength, seconds, deadline] : deadlines) {
        EXPECT_EQ(rumbleDeadline(strength, seconds, 1000), deadline) << strength << " " << seconds;
    }
}

TEST(ControllerFresh, WindowAndClockOrder) {
    EXPECT_FALSE(controllerFresh(0, 10));
    EXPECT_TRUE(controllerFresh(1000, 1250));
    EXPECT_FALSE(controllerFresh(1000, 1251));
    // The thread read its clock after the caller did.
    EXPECT_TRUE(controllerFresh(1001, 1000));
}

// Esc cancels a rebind; F3, F11, M and the number keys keep their fixed jobs.
TEST(Bindings, FixedKeysAreNeverTakenForAnAction) {
    const std::pair<Key, bool> keys[] = {{Key::Escape, false}, {Key::F3, false},     {Key::F11, false},
                                         {Key::M, false},      {Key::Digit1, false}, {Key::Digit0, false},
                                         {Key::R, true},       {Key::B, true},       {Key::F12, true}};
    for (const auto& [key, bindable] : keys) {
        EXPECT_EQ(keyBindable(static_cast<int>(key)), bindable) << static_cast<int>(key);
    }
    EXPECT_FALSE(keyBindable(-1) || keyBindable(KEY_COUNT));
}

KeyStates keysWith(std::initializer_list<Key> down) {
    KeyStates keys{};
    for (Key key : down) {
        keys[static_cast<std::size_t>(key)] = true;
    }
    return keys;
}

TEST(ControlFrom, KeysAndControllerMakeTheWholeFrame) {
    using enum Key;
    const KeyStates playKeys = keysWith({Space, A, J, Enter, Escape});
    const struct {
        KeyStates now;
        KeyStates before;
        ControllerFrame pad; // held, pressed, navigation, stick x
        const char* fields;
    } frames[] = {
        {playKeys, {}, {}, "left jumpHeld jumpPressed fireHeld pause confirm back"},
        {playKeys, playKeys, {}, "left jumpHeld fireHeld"},
        {keysWith({Up, Down, F11, R, M, E, Q, Tab}),
         {},
         {},
         "jumpHeld jumpPressed interact nextWeapon dash menuUp menuDown fullscreen restart mute"},
        {keysWith({W, Right}), {}, {}, "right jumpHeld jumpPressed menuUp"},
        {keysWith({S, D, X, Shift, Left}), {}, {}, "left right fireHeld dash menuDown"},
        {keysWith({Up, W, S, Shift, Tab}), keysWith({Up, W, S, Shift}), {}, "jumpHeld dash"},
        {keysWith({Digit3, Digit7}), {}, {}, "slot6"},
        {keysWith({Digit1}), {}, {}, "slot0"},
        {keysWith({Digit0, Digit9}), {}, {}, "slot9"},
        // A number key already down last frame is no choice.
        {keysWith({Digit4, Digit2}), keysWith({Digit4}), {}, "slot1"},
        {keysWith({Digit4}), keysWith({Digit4}), {}, ""},
        {keysWith({B}), {}, {}, ""},
        {{}, {}, {0, pad::A, 0, 0}, "jumpHeld jumpPressed confirm"},
        {{}, {}, {pad::A | pad::X | pad::DpadRight, 0, 0, 0}, "right jumpHeld fireHeld"},
        {{}, {}, {pad::DpadLeft, pad::X, 0, 0}, "left fireHeld"},
        {{}, {}, {0, pad::B, 0, 0}, "interact back"},
        {{}, {}, {0, pad::Start, 0, 0}, "pause back"},
        {{}, {}, {0, pad::Back, 0, 0}, "dash"},
        {{}, {}, {0, pad::Y, 0, 0}, "nextWeapon"},
        {{}, {}, {0, pad::LeftShoulder, 0, 0}, "nextWeapon"},
        {{}, {}, {0, pad::RightShoulder, 0, 0}, "nextWeapon"},
        // Buttons that act once count only when newly pressed, not while held.
        {{}, {}, {pad::B | pad::Start | pad::Back | pad::Y | pad::RightShoulder | pad::DpadUp, 0, 0, 0}, ""},
        {{}, {}, {0, 0, NAV_UP | NAV_DOWN, 0}, "menuUp menuDown"},
        {{}, {}, {0, 0, NAV_DOWN, 0}, "menuDown"},
        {{}, {}, {0, 0, 0, -0.22f}, ""},
        {{}, {}, {0, 0, 0, 0.22f}, ""},
        {{}, {}, {0, 0, 0, -0.23f}, "left"},
        {{}, {}, {0, 0, 0, 0.23f}, "right"},
    };
    for (const auto& frame : frames) {
        EXPECT_EQ(setFields(controlFrom(frame.now, frame.before, frame.pad, Bindings{})), frame.fields);
    }
    // What a rebind hears: the first key newly down, of all the keys, and every pad press.
    const Control heard = controlFrom(keysWith({Key::Keypad9, Key::B}), keysWith({Key::B}),
                                      {pad::X, pad::Y | pad::A, 0, 0}, {});
    EXPECT_EQ(heard.keyPressed, static_cast<int>(Key::Keypad9));
    EXPECT_EQ(heard.buttonsPressed, pad::Y | pad::A);
    EXPECT_EQ(controlFrom(keysWith({Key::Up, Key::Keypad9}), {}, {}, {}).keyPressed, 0);
    EXPECT_EQ(controlFrom({}, {}, {}, {}).keyPressed, -1);
}

} // namespace
} // namespace grumbo::input

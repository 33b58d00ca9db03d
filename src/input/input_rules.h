// The arithmetic of input, free of threads and devices: stick dead zones, the
// joystick axis and hat, motor speeds, rumble deadlines and the mapping from
// keys and controller state to one frame's `Control`.
#pragma once

#include "input/bindings.h"
#include "input/control.h"
#include "platform/input_devices.h"

#include <array>
#include <cstdint>

namespace grumbo::input {

// Milliseconds between controller passes, between searches for a missing
// device, and after which the controller thread's state counts as stale.
inline constexpr std::uint64_t PASS_MS = 8;
inline constexpr std::uint64_t SEARCH_MS = 1000;
inline constexpr std::uint64_t FRESH_MS = 250;

// The standard left-stick dead zone; past it the axis is rescaled to 0..1.
inline constexpr int PAD_DEAD_ZONE = 7849;
// A joystick axis closer to the centre than this reads as 0 (not rescaled).
inline constexpr float JOYSTICK_DEAD_ZONE = 0.24f;
// Stick travel that counts as pushing left or right in play, and as a menu
// step up or down.
inline constexpr float STICK_MOVE = 0.22f;
inline constexpr float STICK_NAVIGATE = 0.5f;

inline constexpr std::uint16_t MOTOR_LEFT_FULL = 45000;
inline constexpr std::uint16_t MOTOR_RIGHT_FULL = 56000;
inline constexpr float RUMBLE_MAX_SECONDS = 5;

inline constexpr std::uint32_t NAV_UP = 1;
inline constexpr std::uint32_t NAV_DOWN = 2;

using KeyStates = std::array<bool, KEY_COUNT>;

// One signed 16-bit pad axis to -1..1 with the dead zone removed.
float padAxis(std::int16_t value);

// A joystick axis within its range to -1..1; a range whose minimum is not
// below its maximum gives 0.
float joystickAxis(std::uint32_t position, std::uint32_t minimum, std::uint32_t maximum);

// The direction-pad bits for a hat value (hundredths of a degree; anything
// above 36000, such as the centred 65535, points nowhere).
std::uint16_t hatButtons(std::uint32_t hat);

// Joystick buttons 1 to 8 become A, B, X, Y, left and right shoulder, Back and
// Start.
std::uint16_t joystickButtons(std::uint32_t mask);

struct MotorSpeeds {
    std::uint16_t left = 0;
    std::uint16_t right = 0;
};
MotorSpeeds motorSpeeds(float target);

// A requested strength clamped to 0..1 (not finite counts as 0).
float rumbleStrength(float strength);
// The tick count at which a request ends, or 0 when it stops vibration now.
std::uint64_t rumbleDeadline(float strength, float seconds, std::uint64_t now);

// Whether the controller thread's last pass (0: never) is recent at `now`. A
// pass that read the clock after the caller did is recent too.
bool controllerFresh(std::uint64_t lastUpdate, std::uint64_t now);

// What the controller contributes to one frame.
struct ControllerFrame {
    std::uint16_t held = 0;
    std::uint16_t pressed = 0;
    std::uint32_t nav = 0;
    float stickX = 0;
};

// The play and menu fields of an enabled frame from the keys now, the keys of
// the previous frame and the controller. The play actions follow `bindings`;
// menu navigation, confirming, Esc and B for back, the shell keys and the
// weapon number keys stay where they are, so the menus always answer.
Control controlFrom(const KeyStates& keys, const KeyStates& previousKeys, const ControllerFrame& controller,
                    const Bindings& bindings);

} // namespace grumbo::input

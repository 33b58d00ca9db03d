// The input hardware as `NativeInput` sees it: the fixed set of keys, up to
// four pads in the XInput button layout with a signed 16-bit left stick and two
// rumble motors, legacy joysticks described by axis ranges and a hat, and a
// millisecond clock. The SDL backend implements it for the game; tests script
// it through the headless backend.
#pragma once

#include <cstdint>
#include <memory>

namespace grumbo {

// The keys the game reads, in the order `poll` samples them. The first thirty
// are the ones the default controls use; the rest are there so a player can
// move an action onto them.
enum class Key : std::uint8_t {
    Up,
    Down,
    Left,
    Right,
    Space,
    Escape,
    Enter,
    Shift,
    Tab,
    F11,
    A,
    D,
    W,
    S,
    J,
    X,
    E,
    Q,
    R,
    M,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Digit0,
    B,
    C,
    F,
    G,
    H,
    I,
    K,
    L,
    N,
    O,
    P,
    T,
    U,
    V,
    Y,
    Z,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F12,
    Ctrl,
    Alt,
    Backspace,
    Insert,
    Delete,
    Home,
    End,
    PageUp,
    PageDown,
    Comma,
    Period,
    Slash,
    Semicolon,
    Quote,
    LeftBracket,
    RightBracket,
    Minus,
    Equals,
    Backslash,
    Backquote,
    Keypad0,
    Keypad1,
    Keypad2,
    Keypad3,
    Keypad4,
    Keypad5,
    Keypad6,
    Keypad7,
    Keypad8,
    Keypad9,
};
inline constexpr int KEY_COUNT = 87;
static_assert(static_cast<int>(Key::Keypad9) + 1 == KEY_COUNT);

// Pad buttons in the XInput bit layout.
namespace pad {
inline constexpr std::uint16_t DpadUp = 0x0001;
inline constexpr std::uint16_t DpadDown = 0x0002;
inline constexpr std::uint16_t DpadLeft = 0x0004;
inline constexpr std::uint16_t DpadRight = 0x0008;
inline constexpr std::uint16_t Start = 0x0010;
inline constexpr std::uint16_t Back = 0x0020;
inline constexpr std::uint16_t LeftShoulder = 0x0100;
inline constexpr std::uint16_t RightShoulder = 0x0200;
inline constexpr std::uint16_t A = 0x1000;
inline constexpr std::uint16_t B = 0x2000;
inline constexpr std::uint16_t X = 0x4000;
inline constexpr std::uint16_t Y = 0x8000;
} // namespace pad

inline constexpr int PAD_SLOTS = 4;

struct PadState {
    std::uint16_t buttons = 0;
    std::int16_t thumbLX = 0;
    // Positive when the stick is pushed up.
    std::int16_t thumbLY = 0;
};

struct JoystickRanges {
    std::uint32_t xMin = 0;
    std::uint32_t xMax = 0;
    std::uint32_t yMin = 0;
    std::uint32_t yMax = 0;
};

// Hat value when it points nowhere; directions are hundredths of a degree
// clockwise from up (0 up, 9000 right, 18000 down, 27000 left).
inline constexpr std::uint32_t HAT_CENTERED = 65535;

struct JoystickState {
    // Positions within the axis ranges; y grows downward.
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    // Bit n is button n + 1.
    std::uint32_t buttons = 0;
    std::uint32_t hat = HAT_CENTERED;
};

// Keys are read on the window thread only; pads, joysticks and rumble on the
// controller thread only, between `beginPass` and `endPass` (the thread also
// silences the motors once after its last pass); the clock on either.
class InputDevices {
  public:
    virtual ~InputDevices() = default;

    // Monotonic milliseconds.
    virtual std::uint64_t nowMs() = 0;

    virtual bool keyDown(Key key) = 0;

    // Brackets one controller-thread pass, so a backend can lock and refresh
    // its device state once per pass.
    virtual void beginPass() {}
    virtual void endPass() {}

    // Whether pads can be read at all, and whether their motors can be set.
    virtual bool hasPads() = 0;
    virtual bool hasPadRumble() = 0;
    // False when no pad answers at `slot` (0 to 3).
    virtual bool readPad(int slot, PadState& state) = 0;
    // Motor speeds 0 to 65535: low frequency on the left, high on the right.
    virtual void setPadRumble(int slot, std::uint16_t left, std::uint16_t right) = 0;

    // Joystick ids run from 0 to below `joystickCount`.
    virtual int joystickCount() = 0;
    virtual bool readJoystick(int id, JoystickState& state) = 0;
    virtual bool readJoystickRanges(int id, JoystickRanges& ranges) = 0;
};

// The platform's devices. The SDL backend initialises its controller
// subsystems here; the window's event pump must hand it every event.
std::unique_ptr<InputDevices> createInputDevices();

} // namespace grumbo

#include "platform/sdl/sdl_input.h"

#include "platform/sdl/sdl_input_events.h"

#include <SDL.h>
#include <array>
#include <utility>

namespace grumbo::sdl {

namespace {

// The devices opened on the window thread. Both threads reach them only while
// holding SDL_LockJoysticks. They live at file level because the window's event
// pump reaches them through a free function.
struct OpenDevices {
    std::array<SDL_GameController*, PAD_SLOTS> pads{};
    std::array<SDL_Joystick*, JOYSTICK_SLOTS> joysticks{};
};
OpenDevices openDevices;

// Keys pressed since the keyboard was last sampled. A tap shorter than one
// frame is over before the frame samples SDL's keyboard state, so the key-down
// event is remembered here until the next sample reads it. Only the window
// thread touches it: the pump adds, `poll` consumes.
std::array<bool, SDL_NUM_SCANCODES> tappedKeys{};

SDL_JoystickID padInstanceLocked(SDL_GameController* controller) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
}

void openPadLocked(int deviceIndex) {
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (SDL_GameController* controller : openDevices.pads) {
        if (controller && padInstanceLocked(controller) == instance) {
            return;
        }
    }
    for (SDL_GameController*& slot : openDevices.pads) {
        if (!slot) {
            slot = SDL_GameControllerOpen(deviceIndex);
            return;
        }
    }
}

void closePadLocked(SDL_JoystickID instance) {
    for (SDL_GameController*& slot : openDevices.pads) {
        if (slot && padInstanceLocked(slot) == instance) {
            SDL_GameControllerClose(slot);
            slot = nullptr;
        }
    }
}

void openJoystickLocked(int deviceIndex) {
    // Game controllers are opened through their own event.
    if (SDL_IsGameController(deviceIndex)) {
        return;
    }
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (SDL_Joystick* joystick : openDevices.joysticks) {
        if (joystick && SDL_JoystickInstanceID(joystick) == instance) {
            return;
        }
    }
    for (SDL_Joystick*& slot : openDevices.joysticks) {
        if (!slot) {
            slot = SDL_JoystickOpen(deviceIndex);
            return;
        }
    }
}

void closeJoystickLocked(SDL_JoystickID instance) {
    for (SDL_Joystick*& slot : openDevices.joysticks) {
        if (slot && SDL_JoystickInstanceID(slot) == instance) {
            SDL_JoystickClose(slot);
            slot = nullptr;
        }
    }
}

void closeAllLocked() {
    for (SDL_GameController*& slot : openDevices.pads) {
        if (slot) {
            SDL_GameControllerClose(slot);
            slot = nullptr;
        }
    }
    for (SDL_Joystick*& slot : openDevices.joysticks) {
        if (slot) {
            SDL_JoystickClose(slot);
            slot = nullptr;
        }
    }
}

// Keys that follow the keyboard layout (as the letters do) are looked up by
// key code each time; the rest sit at fixed positions.
SDL_Scancode scancodeOf(Key key) {
    switch (key) {
    case Key::Up:
        return SDL_SCANCODE_UP;
    case Key::Down:
        return SDL_SCANCODE_DOWN;
    case Key::Left:
        return SDL_SCANCODE_LEFT;
    case Key::Right:
        return SDL_SCANCODE_RIGHT;
    case Key::Space:
        return SDL_SCANCODE_SPACE;
    case Key::Escape:
        return SDL_SCANCODE_ESCAPE;
    case Key::Enter:
        return SDL_SCANCODE_RETURN;
    case Key::Shift:
        return SDL_SCANCODE_LSHIFT;
    case Key::Tab:
        return SDL_SCANCODE_TAB;
    case Key::F11:
        return SDL_SCANCODE_F11;
    case Key::A:
        return SDL_GetScancodeFromKey(SDLK_a);
    case Key::D:
        return SDL_GetScancodeFromKey(SDLK_d);
    case Key::W:
        return SDL_GetScancodeFromKey(SDLK_w);
    case Key::S:
        return SDL_GetScancodeFromKey(SDLK_s);
    case Key::J:
        return SDL_GetScancodeFromKey(SDLK_j);
    case Key::X:
        return SDL_GetScancodeFromKey(SDLK_x);
    case Key::E:
        return SDL_GetScancodeFromKey(SDLK_e);
    case Key::Q:
        return SDL_GetScancodeFromKey(SDLK_q);
    case Key::R:
        return SDL_GetScancodeFromKey(SDLK_r);
    case Key::M:
        return SDL_GetScancodeFromKey(SDLK_m);
    case Key::Digit0:
        return SDL_SCANCODE_0;
    case Key::B:
        return SDL_GetScancodeFromKey(SDLK_b);
    case Key::C:
        return SDL_GetScancodeFromKey(SDLK_c);
    case Key::F:
        return SDL_GetScancodeFromKey(SDLK_f);
    case Key::G:
        return SDL_GetScancodeFromKey(SDLK_g);
    case Key::H:
        return SDL_GetScancodeFromKey(SDLK_h);
    case Key::I:
        return SDL_GetScancodeFromKey(SDLK_i);
    case Key::K:
        return SDL_GetScancodeFromKey(SDLK_k);
    case Key::L:
        return SDL_GetScancodeFromKey(SDLK_l);
    case Key::N:
        return SDL_GetScancodeFromKey(SDLK_n);
    case Key::O:
        return SDL_GetScancodeFromKey(SDLK_o);
    case Key::P:
        return SDL_GetScancodeFromKey(SDLK_p);
    case Key::T:
        return SDL_GetScancodeFromKey(SDLK_t);
    case Key::U:
        return SDL_GetScancodeFromKey(SDLK_u);
    case Key::V:
        return SDL_GetScancodeFromKey(SDLK_v);
    case Key::Y:
        return SDL_GetScancodeFromKey(SDLK_y);
    case Key::Z:
        return SDL_GetScancodeFromKey(SDLK_z);
    case Key::F10:
        return SDL_SCANCODE_F10;
    case Key::F12:
        return SDL_SCANCODE_F12;
    case Key::Ctrl:
        return SDL_SCANCODE_LCTRL;
    case Key::Alt:
        return SDL_SCANCODE_LALT;
    case Key::Backspace:
        return SDL_SCANCODE_BACKSPACE;
    case Key::Insert:
        return SDL_SCANCODE_INSERT;
    case Key::Delete:
        return SDL_SCANCODE_DELETE;
    case Key::Home:
        return SDL_SCANCODE_HOME;
    case Key::End:
        return SDL_SCANCODE_END;
    case Key::PageUp:
        return SDL_SCANCODE_PAGEUP;
    case Key::PageDown:
        return SDL_SCANCODE_PAGEDOWN;
    case Key::Comma:
        return SDL_SCANCODE_COMMA;
    case Key::Period:
        return SDL_SCANCODE_PERIOD;
    case Key::Slash:
        return SDL_SCANCODE_SLASH;
    case Key::Semicolon:
        return SDL_SCANCODE_SEMICOLON;
    case Key::Quote:
        return SDL_SCANCODE_APOSTROPHE;
    case Key::LeftBracket:
        return SDL_SCANCODE_LEFTBRACKET;
    case Key::RightBracket:
        return SDL_SCANCODE_RIGHTBRACKET;
    case Key::Minus:
        return SDL_SCANCODE_MINUS;
    case Key::Equals:
        return SDL_SCANCODE_EQUALS;
    case Key::Backslash:
        return SDL_SCANCODE_BACKSLASH;
    case Key::Backquote:
        return SDL_SCANCODE_GRAVE;
    case Key::Keypad0:
        return SDL_SCANCODE_KP_0;
    default:
        break;
    }
    const int index = static_cast<int>(key);
    // The runs below are in the same order in both enumerations.
    if (key >= Key::Digit1 && key <= Key::Digit9) {
        return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (index - static_cast<int>(Key::Digit1)));
    }
    if (key >= Key::F1 && key <= Key::F9) {
        return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (index - static_cast<int>(Key::F1)));
    }
    if (key >= Key::Keypad1 && key <= Key::Keypad9) {
        return static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (index - static_cast<int>(Key::Keypad1)));
    }
    return SDL_SCANCODE_UNKNOWN;
}

struct ButtonBit {
    SDL_GameControllerButton button;
    std::uint16_t bit;
};
constexpr std::array<ButtonBit, 14> PAD_BUTTONS = {{
    {SDL_CONTROLLER_BUTTON_DPAD_UP, pad::DpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, pad::DpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, pad::DpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, pad::DpadRight},
    {SDL_CONTROLLER_BUTTON_START, pad::Start},
    {SDL_CONTROLLER_BUTTON_BACK, pad::Back},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0x0040},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0x0080},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, pad::LeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, pad::RightShoulder},
    {SDL_CONTROLLER_BUTTON_A, pad::A},
    {SDL_CONTROLLER_BUTTON_B, pad::B},
    {SDL_CONTROLLER_BUTTON_X, pad::X},
    {SDL_CONTROLLER_BUTTON_Y, pad::Y},
}};

// Motor commands last until replaced; SDL caps a single command at this.
constexpr Uint32 RUMBLE_HOLD_MS = 0xFFFF;

SDL_GameController* padLocked(int slot) {
    if (slot < 0 || slot >= PAD_SLOTS) {
        return nullptr;
    }
    SDL_GameController* controller = openDevices.pads[static_cast<std::size_t>(slot)];
    return controller && SDL_GameControllerGetAttached(controller) ? controller : nullptr;
}

SDL_Joystick* joystickLocked(int id) {
    if (id < 0 || id >= JOYSTICK_SLOTS) {
        return nullptr;
    }
    SDL_Joystick* joystick = openDevices.joysticks[static_cast<std::size_t>(id)];
    return joystick && SDL_JoystickGetAttached(joystick) ? joystick : nullptr;
}

// SDL axes are signed 16-bit; the joystick interface wants an unsigned
// position within a range.
std::uint32_t axisPosition(Sint16 value) {
    return static_cast<std::uint32_t>(static_cast<int>(value) + 32768);
}

} // namespace

void handleInputEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        SDL_LockJoysticks();
        openPadLocked(event.cdevice.which);
        SDL_UnlockJoysticks();
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        SDL_LockJoysticks();
        closePadLocked(event.cdevice.which);
        SDL_UnlockJoysticks();
        break;
    case SDL_JOYDEVICEADDED:
        SDL_LockJoysticks();
        openJoystickLocked(event.jdevice.which);
        SDL_UnlockJoysticks();
        break;
    case SDL_JOYDEVICEREMOVED:
        SDL_LockJoysticks();
        closeJoystickLocked(event.jdevice.which);
        SDL_UnlockJoysticks();
        break;
    case SDL_KEYDOWN:
        if (!event.key.repeat && event.key.keysym.scancode > 0 &&
            event.key.keysym.scancode < SDL_NUM_SCANCODES) {
            tappedKeys[static_cast<std::size_t>(event.key.keysym.scancode)] = true;
        }
        break;
    case SDL_WINDOWEVENT:
        // Presses made before the window lost focus must not arrive after it returns.
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            tappedKeys.fill(false);
        }
        break;
    default:
        break;
    }
}

std::uint32_t hatAngle(std::uint8_t hat) {
    switch (hat) {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return HAT_CENTERED;
    }
}

SdlInputDevices::SdlInputDevices() {
    // The controller thread refreshes the devices itself, so the window's
    // event pump must not; and like the pads on the native platform, their
    // state keeps following the hardware while the window is in the
    // background (the game ignores it while inactive).
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ready = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlInputDevices::~SdlInputDevices() {
    if (ready) {
        SDL_LockJoysticks();
        closeAllLocked();
        SDL_UnlockJoysticks();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

std::uint64_t SdlInputDevices::nowMs() {
    return SDL_GetTicks64();
}

bool SdlInputDevices::keyDown(Key key) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    const SDL_Scancode scancode = scancodeOf(key);
    const auto downAt = [&](SDL_Scancode code) {
        if (code <= 0 || code >= SDL_NUM_SCANCODES) {
            return false;
        }
        const bool tapped = std::exchange(tappedKeys[static_cast<std::size_t>(code)], false);
        return tapped || (code < count && state[code] != 0);
    };
    switch (key) {
    // Both halves are read so that a tap of either one is consumed now.
    case Key::Shift: {
        const bool left = downAt(SDL_SCANCODE_LSHIFT);
        const bool right = downAt(SDL_SCANCODE_RSHIFT);
        return left || right;
    }
    case Key::Enter: {
        const bool main = downAt(SDL_SCANCODE_RETURN);
        const bool keypad = downAt(SDL_SCANCODE_KP_ENTER);
        return main || keypad;
    }
    case Key::Ctrl: {
        const bool left = downAt(SDL_SCANCODE_LCTRL);
        const bool right = downAt(SDL_SCANCODE_RCTRL);
        return left || right;
    }
    case Key::Alt: {
        const bool left = downAt(SDL_SCANCODE_LALT);
        const bool right = downAt(SDL_SCANCODE_RALT);
        return left || right;
    }
    default:
        return downAt(scancode);
    }
}

void SdlInputDevices::beginPass() {
    SDL_LockJoysticks();
    if (ready) {
        SDL_GameControllerUpdate();
    }
}

void SdlInputDevices::endPass() {
    SDL_UnlockJoysticks();
}

bool SdlInputDevices::hasPads() {
    return ready;
}

bool SdlInputDevices::hasPadRumble() {
    return ready;
}

bool SdlInputDevices::readPad(int slot, PadState& state) {
    SDL_GameController* controller = padLocked(slot);
    if (!controller) {
        return false;
    }
    state.buttons = 0;
    for (const ButtonBit& entry : PAD_BUTTONS) {
        if (SDL_GameControllerGetButton(controller, entry.button)) {
            state.buttons |= entry.bit;
        }
    }
    state.thumbLX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    // SDL's y grows downward; the pad layout's grows upward. Negating the
    // lowest value would overflow, so full up reads 32767.
    const int y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    state.thumbLY = static_cast<std::int16_t>(y == -32768 ? 32767 : -y);
    return true;
}

void SdlInputDevices::setPadRumble(int slot, std::uint16_t left, std::uint16_t right) {
    if (SDL_GameController* controller = padLocked(slot)) {
        SDL_GameControllerRumble(controller, left, right, left == 0 && right == 0 ? 0 : RUMBLE_HOLD_MS);
    }
}

int SdlInputDevices::joystickCount() {
    return JOYSTICK_SLOTS;
}

bool SdlInputDevices::readJoystick(int id, JoystickState& state) {
    SDL_Joystick* joystick = joystickLocked(id);
    if (!joystick) {
        return false;
    }
    state.x = axisPosition(SDL_JoystickGetAxis(joystick, 0));
    state.y = axisPosition(SDL_JoystickGetAxis(joystick, 1));
    state.buttons = 0;
    const int buttons = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < buttons && i < 32; ++i) {
        if (SDL_JoystickGetButton(joystick, i)) {
            state.buttons |= 1u << i;
        }
    }
    state.hat = SDL_JoystickNumHats(joystick) > 0 ? hatAngle(SDL_JoystickGetHat(joystick, 0)) : HAT_CENTERED;
    return true;
}

bool SdlInputDevices::readJoystickRanges(int id, JoystickRanges& ranges) {
    if (!joystickLocked(id)) {
        return false;
    }
    ranges = {0, 65535, 0, 65535};
    return true;
}

} // namespace grumbo::sdl

namespace grumbo {

std::unique_ptr<InputDevices> createInputDevices() {
    return std::make_unique<sdl::SdlInputDevices>();
}

} // namespace grumbo

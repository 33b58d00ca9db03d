#include "sdl_test_support.h"

#include "platform/sdl/sdl_input_events.h"

#include <array>

namespace grumbo::sdl_testing {

namespace {

// The XInput bit of each controller button in SDL's button order: A, B, X, Y,
// Back, Guide (none), Start, the two stick clicks, the shoulders, then the pad
// up, down, left and right.
constexpr std::array<std::uint16_t, 15> BUTTON_BITS = {0x1000, 0x2000, 0x4000, 0x8000, 0x0020,
                                                       0,      0x0010, 0x0040, 0x0080, 0x0100,
                                                       0x0200, 0x0001, 0x0002, 0x0004, 0x0008};

// SDL's hat bits for every 45 degrees clockwise from up.
constexpr std::array<Uint8, 8> HAT_BITS = {
    SDL_HAT_UP,   SDL_HAT_RIGHTUP,  SDL_HAT_RIGHT, SDL_HAT_RIGHTDOWN,
    SDL_HAT_DOWN, SDL_HAT_LEFTDOWN, SDL_HAT_LEFT,  SDL_HAT_LEFTUP,
};

int SDLCALL recordRumble(void* userdata, Uint16 low, Uint16 high) {
    auto* motors = static_cast<VirtualPad::Motors*>(userdata);
    motors->left.store(low);
    motors->right.store(high);
    return 0;
}

} // namespace

VirtualPad::VirtualPad(Kind padKind) : kind(padKind), received(std::make_unique<Motors>()) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    if (kind == Kind::Controller) {
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Virtual Pad";
    } else {
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = 2;
        desc.nbuttons = 8;
        desc.nhats = 1;
        desc.name = "Virtual Joystick";
    }
    desc.userdata = received.get();
    desc.Rumble = recordRumble;
    const int deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
    if (deviceIndex < 0) {
        return;
    }
    // A handle of our own to set the virtual state through; the event pump opens the device apart.
    joystick = SDL_JoystickOpen(deviceIndex);
    if (!joystick) {
        SDL_JoystickDetachVirtual(deviceIndex);
        return;
    }
    instance = SDL_JoystickInstanceID(joystick);
}

VirtualPad::~VirtualPad() {
    detach();
}

void VirtualPad::detach() {
    if (!joystick) {
        return;
    }
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == instance) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
}

void VirtualPad::setButtons(std::uint16_t buttons) {
    if (!joystick || kind != Kind::Controller) {
        return;
    }
    for (std::size_t i = 0; i < BUTTON_BITS.size(); ++i) {
        SDL_JoystickSetVirtualButton(joystick, static_cast<int>(i),
                                     (buttons & BUTTON_BITS[i]) ? SDL_PRESSED : SDL_RELEASED);
    }
}

void VirtualPad::setStick(std::int16_t x, std::int16_t yUp) {
    if (!joystick || kind != Kind::Controller) {
        return;
    }
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, x);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY,
                               static_cast<Sint16>(yUp == -32768 ? 32767 : -static_cast<int>(yUp)));
}

void VirtualPad::setJoystick(std::uint32_t buttons, std::int16_t x, std::int16_t y, std::uint32_t hat) {
    if (!joystick || kind != Kind::Joystick) {
        return;
    }
    for (int i = 0; i < 8; ++i) {
        SDL_JoystickSetVirtualButton(joystick, i, (buttons & (1u << i)) ? SDL_PRESSED : SDL_RELEASED);
    }
    SDL_JoystickSetVirtualAxis(joystick, 0, x);
    SDL_JoystickSetVirtualAxis(joystick, 1, y);
    SDL_JoystickSetVirtualHat(joystick, 0, hat == HAT_CENTERED ? SDL_HAT_CENTERED : HAT_BITS[hat / 4500 % 8]);
}

void pumpInputEvents() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        sdl::handleInputEvent(event);
    }
}

void pushKey(SDL_Scancode scancode, bool down, bool repeat) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    pushEvent(event);
}

void pushWindowEvent(SDL_WindowEventID id, int data1, int data2) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(id);
    event.window.data1 = data1;
    event.window.data2 = data2;
    pushEvent(event);
}

void pushEvent(SDL_Event event) {
    SDL_PushEvent(&event);
}

} // namespace grumbo::sdl_testing

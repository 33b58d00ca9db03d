// Devices and events that exist only in software, so SDL's path from the system to `Control`
// and `WindowEvent` runs without hardware or a desktop. Window thread only, like the event pump;
// SDL must be initialised (an `SdlInputDevices` or an open window exists).
#pragma once

#include "platform/input_devices.h"

#include <SDL.h>
#include <atomic>
#include <cstdint>
#include <memory>

namespace grumbo::sdl_testing {

// SDL's virtual joystick. As a game controller it gets a standard mapping,
// hot-plug events and rumble calls; as a plain joystick it has two axes,
// eight buttons and a hat.
class VirtualPad {
  public:
    enum class Kind { Controller, Joystick };

    explicit VirtualPad(Kind kind);
    ~VirtualPad();

    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool attached() const { return joystick != nullptr; }
    // Unplugs the device; SDL posts its removal events.
    void detach();

    // Controller: buttons in the XInput layout and the left stick, y positive
    // when pushed up.
    void setButtons(std::uint16_t buttons);
    void setStick(std::int16_t x, std::int16_t yUp);
    // Joystick: bit n is button n + 1; axes as SDL reports them (y grows
    // downward); the hat in hundredths of a degree or `HAT_CENTERED`.
    void setJoystick(std::uint32_t buttons, std::int16_t x, std::int16_t y, std::uint32_t hat);

    // The motor speeds of the last rumble call (from the controller thread).
    struct Motors {
        std::atomic<std::uint16_t> left{0};
        std::atomic<std::uint16_t> right{0};
    };
    const Motors& motors() const { return *received; }

  private:
    Kind kind;
    SDL_JoystickID instance = -1;
    std::unique_ptr<Motors> received;
    SDL_Joystick* joystick = nullptr;
};

// Hands every queued SDL event to the input layer, as the window's event pump
// does, for tests that run without a window.
void pumpInputEvents();

// Queues events as the system would deliver them, without touching SDL's
// sampled keyboard state.
void pushKey(SDL_Scancode scancode, bool down, bool repeat = false);
void pushWindowEvent(SDL_WindowEventID id, int data1 = 0, int data2 = 0);
void pushEvent(SDL_Event event);

} // namespace grumbo::sdl_testing

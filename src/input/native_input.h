// Keyboard, game controller and legacy joystick turned into one `Control` per
// frame. The window thread calls `poll` once per frame and `rumble` when a hit
// should shake the pad; a controller thread of its own polls the devices every
// 8 ms, so a button tapped between two frames still arrives exactly once.
#pragma once

#include "input/bindings.h"
#include "input/control.h"

#include <memory>

namespace grumbo {

class InputDevices;

class NativeInput {
  public:
    // Opens the platform's keyboard and controller devices and starts the
    // controller thread.
    NativeInput();
    // Runs on the given devices instead; tests hand in scripted ones.
    explicit NativeInput(std::unique_ptr<InputDevices> devices);
    // Stops and joins the controller thread, which silences the motors.
    ~NativeInput();

    NativeInput(const NativeInput&) = delete;
    NativeInput& operator=(const NativeInput&) = delete;

    // Window thread, once per frame. `enabled` is false while the window is
    // inactive, minimized or being moved: no edges are collected, vibration
    // stops and only `controllerPresent` is filled.
    Control poll(bool enabled);

    // Window thread. Shakes the pad at `strength` (0 to 1) for `seconds`
    // (at most 5); a new request replaces the previous one, and 0 seconds or
    // strength 0 stops vibration at once.
    void rumble(float strength, float seconds);

    // Window thread. The keys and buttons of the play actions from the next
    // `poll` on; until then the game's own map.
    void setBindings(const Bindings& bindings);

    struct Impl;

  private:
    std::unique_ptr<Impl> impl;
};

} // namespace grumbo

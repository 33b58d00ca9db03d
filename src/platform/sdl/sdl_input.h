// SDL2 input devices: the keyboard state for the game's keys, up to four game
// controllers in the XInput button layout with their rumble, and up to four
// plain joysticks with a hat. Devices are opened and closed by
// `sdl::handleInputEvent` on the window thread; the controller thread refreshes
// them itself (automatic joystick updates are switched off), holding
// `SDL_LockJoysticks` for each pass.
#pragma once

#include "platform/input_devices.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace grumbo::sdl {

inline constexpr int JOYSTICK_SLOTS = 4;

class SdlInputDevices : public InputDevices {
  public:
    SdlInputDevices();
    ~SdlInputDevices() override;

    SdlInputDevices(const SdlInputDevices&) = delete;
    SdlInputDevices& operator=(const SdlInputDevices&) = delete;

    std::uint64_t nowMs() override;
    bool keyDown(Key key) override;
    void beginPass() override;
    void endPass() override;
    bool hasPads() override;
    bool hasPadRumble() override;
    bool readPad(int slot, PadState& state) override;
    void setPadRumble(int slot, std::uint16_t left, std::uint16_t right) override;
    int joystickCount() override;
    bool readJoystick(int id, JoystickState& state) override;
    bool readJoystickRanges(int id, JoystickRanges& ranges) override;

  private:
    bool ready = false;
};

// A controller that exists only in software (SDL's virtual joystick), so the
// whole path from device to `Control` runs without hardware: as a game
// controller it gets a standard mapping, hot-plug events and rumble calls; as a
// plain joystick it has two axes, eight buttons and a hat. Window thread only,
// like the event pump; SDL must be initialised (an `SdlInputDevices` exists).
class VirtualPad {
  public:
    enum class Kind { Controller, Joystick };

    explicit VirtualPad(Kind kind);
    // Detaches the device if it is still attached.
    ~VirtualPad();

    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool attached() const;
    // Unplugs the device; SDL posts its removal events.
    void detach();

    // Controller: buttons in the XInput layout and the left stick, y positive
    // when pushed up.
    void setButtons(std::uint16_t buttons);
    void setStick(std::int16_t x, std::int16_t yUp);
    // Joystick: bit n is button n + 1; axes as SDL reports them (y grows
    // downward); the hat in hundredths of a degree or `HAT_CENTERED`.
    void setJoystick(std::uint32_t buttons, std::int16_t x, std::int16_t y, std::uint32_t hat);

    // The motor speeds of the last rumble call, and how many calls arrived
    // (from the controller thread).
    struct Motors {
        std::atomic<std::uint32_t> calls{0};
        std::atomic<std::uint16_t> left{0};
        std::atomic<std::uint16_t> right{0};
    };
    const Motors& motors() const { return *received; }

  private:
    Kind kind;
    int instance = -1;
    std::unique_ptr<Motors> received;
    void* joystick = nullptr;
};

// Hands every queued SDL event to `handleInputEvent`, as the window's event
// pump does. For tools and tests that run without a window.
void pumpInputEvents();

// Queues a key event or the window's focus loss as the system would deliver
// them, without touching SDL's sampled keyboard state. For tools and tests.
void pushKeyEvent(Key key, bool down);
void pushFocusLost();

// SDL's hat bits as hundredths of a degree clockwise from up, or the centred
// value.
std::uint32_t hatAngle(std::uint8_t hat);

} // namespace grumbo::sdl

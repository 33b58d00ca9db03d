// SDL2 input devices: the keyboard state for the game's keys, up to four game
// controllers in the XInput button layout with their rumble, and up to four
// plain joysticks with a hat. Devices are opened and closed by
// `sdl::handleInputEvent` on the window thread; the controller thread refreshes
// them itself (automatic joystick updates are switched off), holding
// `SDL_LockJoysticks` for each pass.
#pragma once

#include "platform/input_devices.h"

#include <cstdint>

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

// SDL's hat bits as hundredths of a degree clockwise from up, or the centred
// value.
std::uint32_t hatAngle(std::uint8_t hat);

} // namespace grumbo::sdl

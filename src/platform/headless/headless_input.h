// Input devices without hardware: a script that tests (and headless runs)
// fill with keys, pads, joysticks and a clock, and a record of every motor
// command. The script is shared, so a test keeps a handle to it after handing
// the devices to `NativeInput`, and may change it while the controller thread
// reads it.
#pragma once

#include "platform/input_devices.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace grumbo {

struct RumbleCommand {
    int slot = 0;
    std::uint16_t left = 0;
    std::uint16_t right = 0;
};

class InputScript {
  public:
    static constexpr int JOYSTICK_SLOTS = 4;

    // The clock starts at 1000 ms and moves only when advanced, unless it is
    // switched to the real monotonic clock.
    void advance(std::uint64_t ms);
    void useRealClock();
    std::uint64_t now();

    void setKey(Key key, bool down);
    bool key(Key key);

    void setPadsAvailable(bool pads, bool rumble);
    bool padsAvailable();
    bool padRumbleAvailable();
    void setPad(int slot, const PadState& state);
    void removePad(int slot);
    std::optional<PadState> pad(int slot);

    void setJoystick(int id, const JoystickState& state, const JoystickRanges& ranges);
    void removeJoystick(int id);
    // A joystick whose position reads but whose capabilities do not.
    void breakJoystickRanges(int id);
    bool joystick(int id, JoystickState& state);
    bool joystickRanges(int id, JoystickRanges& ranges);

    void recordRumble(const RumbleCommand& command);
    std::vector<RumbleCommand> rumbles();

    // Counts controller passes and lets a test wait for the thread to make
    // progress without sleeping for a guessed time.
    void countPass();
    std::uint64_t passes();
    // Waits until `passes()` reaches `count`, or gives up after `limitMs` of
    // real time; returns whether it got there.
    bool waitForPasses(std::uint64_t count, int limitMs = 5000);

  private:
    struct Joystick {
        bool present = false;
        bool rangesReadable = true;
        JoystickState state;
        JoystickRanges ranges;
    };

    std::mutex mutex;
    std::condition_variable passed;
    std::uint64_t clock = 1000;
    bool realClock = false;
    std::array<bool, KEY_COUNT> keys{};
    bool hasPads = true;
    bool hasRumble = true;
    std::array<std::optional<PadState>, PAD_SLOTS> pads{};
    std::array<Joystick, JOYSTICK_SLOTS> joysticks{};
    std::vector<RumbleCommand> rumbleLog;
    std::uint64_t passCount = 0;
};

class HeadlessInputDevices : public InputDevices {
  public:
    explicit HeadlessInputDevices(std::shared_ptr<InputScript> inputScript);

    std::uint64_t nowMs() override;
    bool keyDown(Key key) override;
    void endPass() override;
    bool hasPads() override;
    bool hasPadRumble() override;
    bool readPad(int slot, PadState& state) override;
    void setPadRumble(int slot, std::uint16_t left, std::uint16_t right) override;
    int joystickCount() override;
    bool readJoystick(int id, JoystickState& state) override;
    bool readJoystickRanges(int id, JoystickRanges& ranges) override;

  private:
    std::shared_ptr<InputScript> script;
};

} // namespace grumbo

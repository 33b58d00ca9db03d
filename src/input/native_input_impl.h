// The worker state behind `NativeInput`. The controller thread owns the device
// bookkeeping; the fields it shares with the window thread are atomics, and
// only the two accumulators are read-modify-written by both sides (OR by the
// thread, exchange with 0 by `poll`), so each press is delivered exactly once.
// Tests drive `pass` and `poll` directly without starting the thread.
#pragma once

#include "input/input_rules.h"
#include "input/native_input.h"
#include "platform/input_devices.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace grumbo {

struct NativeInput::Impl {
    explicit Impl(std::unique_ptr<InputDevices> inputDevices);
    // Stops the thread if it runs.
    ~Impl();

    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void start();
    void stop();

    Control poll(bool enable);
    void rumble(float strength, float seconds);

    // One controller pass: read the devices, collect edges, publish the state
    // and drive the motors.
    void pass();
    // Passes every 8 ms, sooner when woken, until stopped; then the motors are
    // silenced.
    void run();
    static void threadEntry(Impl* impl);
    void wake();

    std::unique_ptr<InputDevices> devices;
    std::thread thread;
    std::mutex signalMutex;
    std::condition_variable signal;
    bool stopRequested = false;
    bool wakeRequested = false;

    // Controller thread only.
    std::int32_t padIndex = -1;
    std::int32_t joystickId = -1;
    JoystickRanges joystickRanges;
    std::uint64_t nextPadScan = 0;
    std::uint64_t nextJoystickScan = 0;
    std::uint16_t previousButtons = 0;
    bool previousUp = false;
    bool previousDown = false;
    float vibrationSent = 0;

    // Shared between the two threads.
    std::atomic<std::uint16_t> heldButtons{0};
    std::atomic<std::uint16_t> pressedButtons{0};
    std::atomic<std::uint32_t> navEdges{0};
    std::atomic<float> stickX{0};
    std::atomic<float> stickY{0};
    std::atomic<float> rumbleStrength{0};
    std::atomic<std::uint64_t> rumbleUntil{0};
    std::atomic<std::uint64_t> lastUpdate{0};
    std::atomic<bool> connected{false};
    std::atomic<bool> enabled{true};

    // Window thread only.
    Bindings bindings;
    input::KeyStates previousKeys{};
    bool wasEnabled = true;

  private:
    // The pass's view of the device it reads. The `Locked` steps run between
    // the devices' `beginPass` and `endPass`, which hold the backend's device
    // lock.
    struct Reading {
        std::uint16_t buttons = 0;
        float stickX = 0;
        float stickY = 0;
        bool connected = false;
    };
    bool readPadLocked(std::uint64_t now, Reading& reading);
    bool readJoystickLocked(std::uint64_t now, Reading& reading);
    void driveMotorsLocked(std::uint64_t now);
};

} // namespace grumbo

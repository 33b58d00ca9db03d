#include "input/native_input.h"

#include "input/native_input_impl.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace grumbo {

NativeInput::NativeInput() : NativeInput(createInputDevices()) {}

NativeInput::NativeInput(std::unique_ptr<InputDevices> devices)
    : impl(std::make_unique<Impl>(std::move(devices))) {
    impl->start();
}

NativeInput::~NativeInput() = default;

Control NativeInput::poll(bool enabled) {
    return impl->poll(enabled);
}

void NativeInput::rumble(float strength, float seconds) {
    impl->rumble(strength, seconds);
}

void NativeInput::setBindings(const Bindings& bindings) {
    impl->bindings = bindings;
}

NativeInput::Impl::Impl(std::unique_ptr<InputDevices> inputDevices) : devices(std::move(inputDevices)) {}

NativeInput::Impl::~Impl() {
    stop();
}

void NativeInput::Impl::start() {
    if (devices && !thread.joinable()) {
        // Without a poller thread the game still runs on the keyboard and mouse, which the
        // window thread samples itself; controllers then never report fresh state.
        try {
            thread = std::thread(&Impl::threadEntry, this);
        } catch (const std::system_error&) {
            return;
        }
    }
}

void NativeInput::Impl::stop() {
    {
        std::lock_guard lock(signalMutex);
        stopRequested = true;
    }
    signal.notify_all();
    if (thread.joinable()) {
        thread.join();
    }
}

void NativeInput::Impl::wake() {
    {
        std::lock_guard lock(signalMutex);
        wakeRequested = true;
    }
    signal.notify_all();
}

void NativeInput::Impl::threadEntry(Impl* impl) {
    impl->run();
}

void NativeInput::Impl::run() {
    for (;;) {
        {
            std::lock_guard lock(signalMutex);
            if (stopRequested) {
                break;
            }
        }
        pass();
        std::unique_lock lock(signalMutex);
        signal.wait_for(lock, std::chrono::milliseconds(input::PASS_MS),
                        [this] { return stopRequested || wakeRequested; });
        wakeRequested = false;
        if (stopRequested) {
            break;
        }
    }
    devices->beginPass();
    if (padIndex >= 0 && devices->hasPadRumble()) {
        devices->setPadRumble(padIndex, 0, 0);
    }
    devices->endPass();
    connected.store(false);
}

bool NativeInput::Impl::readPadLocked(std::uint64_t now, Reading& reading) {
    if (!devices->hasPads()) {
        return false;
    }
    PadState state;
    bool search = padIndex < 0 && now >= nextPadScan;
    if (padIndex >= 0 && !devices->readPad(padIndex, state)) {
        // The pad is gone: silence whatever it was told last and look for
        // another one straight away.
        if (devices->hasPadRumble()) {
            devices->setPadRumble(padIndex, 0, 0);
        }
        padIndex = -1;
        vibrationSent = 0;
        rumbleUntil.store(0);
        nextPadScan = 0;
        search = true;
    }
    if (search) {
        nextPadScan = now + input::SEARCH_MS;
        for (int slot = 0; slot < PAD_SLOTS && padIndex < 0; ++slot) {
            if (devices->readPad(slot, state)) {
                padIndex = slot;
                joystickId = -1;
            }
        }
    }
    if (padIndex < 0) {
        return false;
    }
    reading.buttons = state.buttons;
    reading.stickX = input::padAxis(state.thumbLX);
    // Pads report up as positive; the game wants up negative.
    reading.stickY = -input::padAxis(state.thumbLY);
    reading.connected = true;
    return true;
}

bool NativeInput::Impl::readJoystickLocked(std::uint64_t now, Reading& reading) {
    JoystickState state;
    bool search = joystickId < 0 && now >= nextJoystickScan;
    if (joystickId >= 0 && !devices->readJoystick(joystickId, state)) {
        joystickId = -1;
        search = true;
    }
    if (search) {
        nextJoystickScan = now + input::SEARCH_MS;
        const int count = devices->joystickCount();
        for (int id = 0; id < count && joystickId < 0; ++id) {
            JoystickRanges ranges;
            if (devices->readJoystick(id, state) && devices->readJoystickRanges(id, ranges)) {
                joystickId = id;
                joystickRanges = ranges;
            }
        }
    }
    if (joystickId < 0) {
        return false;
    }
    reading.stickX = input::joystickAxis(state.x, joystickRanges.xMin, joystickRanges.xMax);
    reading.stickY = input::joystickAxis(state.y, joystickRanges.yMin, joystickRanges.yMax);
    reading.buttons = input::joystickButtons(state.buttons) | input::hatButtons(state.hat);
    reading.connected = true;
    return true;
}

void NativeInput::Impl::driveMotorsLocked(std::uint64_t now) {
    const bool vibrating = padIndex >= 0 && enabled.load() && now < rumbleUntil.load();
    const float target = vibrating ? rumbleStrength.load() : 0.0f;
    if (target == vibrationSent) {
        return;
    }
    if (padIndex >= 0 && devices->hasPadRumble()) {
        const input::MotorSpeeds speeds = input::motorSpeeds(target);
        devices->setPadRumble(padIndex, speeds.left, speeds.right);
    }
    vibrationSent = target;
}

void NativeInput::Impl::pass() {
    devices->beginPass();
    const std::uint64_t now = devices->nowMs();
    Reading reading;
    if (!readPadLocked(now, reading)) {
        readJoystickLocked(now, reading);
    }

    const bool up = (reading.buttons & pad::DpadUp) != 0 || reading.stickY < -input::STICK_NAVIGATE;
    const bool down = (reading.buttons & pad::DpadDown) != 0 || reading.stickY > input::STICK_NAVIGATE;
    // While disabled the previous state still follows the buttons, so one held
    // across a focus change is not a new press afterwards.
    if (enabled.load()) {
        const auto newlyPressed = static_cast<std::uint16_t>(reading.buttons & ~previousButtons);
        if (newlyPressed != 0) {
            pressedButtons.fetch_or(newlyPressed);
        }
        std::uint32_t nav = 0;
        if (up && !previousUp) {
            nav |= input::NAV_UP;
        }
        if (down && !previousDown) {
            nav |= input::NAV_DOWN;
        }
        if (nav != 0) {
            navEdges.fetch_or(nav);
        }
    }
    previousButtons = reading.buttons;
    previousUp = up;
    previousDown = down;
    heldButtons.store(reading.buttons);
    stickX.store(reading.stickX);
    stickY.store(reading.stickY);
    connected.store(reading.connected);
    lastUpdate.store(devices->nowMs());

    driveMotorsLocked(now);
    devices->endPass();
}

void NativeInput::Impl::rumble(float strength, float seconds) {
    const float clamped = input::rumbleStrength(strength);
    rumbleStrength.store(clamped);
    rumbleUntil.store(input::rumbleDeadline(clamped, seconds, devices->nowMs()));
    wake();
}

Control NativeInput::Impl::poll(bool enable) {
    const bool reenabled = enable && !wasEnabled;
    const bool changed = enable != wasEnabled;
    wasEnabled = enable;
    enabled.store(enable);
    if (!enable) {
        rumbleUntil.store(0);
    }
    if (changed) {
        wake();
    }

    input::KeyStates keys{};
    for (int i = 0; i < KEY_COUNT; ++i) {
        keys[static_cast<std::size_t>(i)] = devices->keyDown(static_cast<Key>(i));
    }

    // Both accumulators are emptied every frame, also when their contents are
    // stale or were collected before the window came back.
    input::ControllerFrame controller;
    const std::uint16_t pressed = pressedButtons.exchange(0);
    const std::uint32_t nav = navEdges.exchange(0);
    bool present = false;
    if (input::controllerFresh(lastUpdate.load(), devices->nowMs())) {
        controller.held = heldButtons.load();
        controller.stickX = stickX.load();
        present = connected.load();
        if (!reenabled) {
            controller.pressed = pressed;
            controller.nav = nav;
        }
    }

    Control control;
    if (enable) {
        control = input::controlFrom(keys, previousKeys, controller, bindings);
    }
    control.controllerPresent = present;
    previousKeys = keys;
    return control;
}

} // namespace grumbo

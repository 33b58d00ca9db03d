#include "platform/headless/headless_input.h"

#include <chrono>
#include <utility>

namespace grumbo {

namespace {

bool validSlot(int slot, int count) {
    return slot >= 0 && slot < count;
}

} // namespace

void InputScript::advance(std::uint64_t ms) {
    std::lock_guard lock(mutex);
    clock += ms;
}

void InputScript::useRealClock() {
    std::lock_guard lock(mutex);
    realClock = true;
}

std::uint64_t InputScript::now() {
    std::lock_guard lock(mutex);
    if (realClock) {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return clock + static_cast<std::uint64_t>(
                           std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
    return clock;
}

void InputScript::setKey(Key key, bool down) {
    std::lock_guard lock(mutex);
    keys[static_cast<std::size_t>(key)] = down;
}

bool InputScript::key(Key key) {
    std::lock_guard lock(mutex);
    return keys[static_cast<std::size_t>(key)];
}

void InputScript::setPadsAvailable(bool padsPresent, bool rumble) {
    std::lock_guard lock(mutex);
    hasPads = padsPresent;
    hasRumble = rumble;
}

bool InputScript::padsAvailable() {
    std::lock_guard lock(mutex);
    return hasPads;
}

bool InputScript::padRumbleAvailable() {
    std::lock_guard lock(mutex);
    return hasRumble;
}

void InputScript::setPad(int slot, const PadState& state) {
    std::lock_guard lock(mutex);
    if (validSlot(slot, PAD_SLOTS)) {
        pads[static_cast<std::size_t>(slot)] = state;
    }
}

void InputScript::removePad(int slot) {
    std::lock_guard lock(mutex);
    if (validSlot(slot, PAD_SLOTS)) {
        pads[static_cast<std::size_t>(slot)].reset();
    }
}

std::optional<PadState> InputScript::pad(int slot) {
    std::lock_guard lock(mutex);
    if (!validSlot(slot, PAD_SLOTS)) {
        return std::nullopt;
    }
    return pads[static_cast<std::size_t>(slot)];
}

void InputScript::setJoystick(int id, const JoystickState& state, const JoystickRanges& ranges) {
    std::lock_guard lock(mutex);
    if (validSlot(id, JOYSTICK_SLOTS)) {
        joysticks[static_cast<std::size_t>(id)] = {true, true, state, ranges};
    }
}

void InputScript::removeJoystick(int id) {
    std::lock_guard lock(mutex);
    if (validSlot(id, JOYSTICK_SLOTS)) {
        joysticks[static_cast<std::size_t>(id)].present = false;
    }
}

void InputScript::breakJoystickRanges(int id) {
    std::lock_guard lock(mutex);
    if (validSlot(id, JOYSTICK_SLOTS)) {
        joysticks[static_cast<std::size_t>(id)].rangesReadable = false;
    }
}

bool InputScript::joystick(int id, JoystickState& state) {
    std::lock_guard lock(mutex);
    if (!validSlot(id, JOYSTICK_SLOTS) || !joysticks[static_cast<std::size_t>(id)].present) {
        return false;
    }
    state = joysticks[static_cast<std::size_t>(id)].state;
    return true;
}

bool InputScript::joystickRanges(int id, JoystickRanges& ranges) {
    std::lock_guard lock(mutex);
    if (!validSlot(id, JOYSTICK_SLOTS)) {
        return false;
    }
    const Joystick& joystick = joysticks[static_cast<std::size_t>(id)];
    if (!joystick.present || !joystick.rangesReadable) {
        return false;
    }
    ranges = joystick.ranges;
    return true;
}

void InputScript::recordRumble(const RumbleCommand& command) {
    std::lock_guard lock(mutex);
    rumbleLog.push_back(command);
}

std::vector<RumbleCommand> InputScript::rumbles() {
    std::lock_guard lock(mutex);
    return rumbleLog;
}

void InputScript::countPass() {
    {
        std::lock_guard lock(mutex);
        ++passCount;
    }
    passed.notify_all();
}

std::uint64_t InputScript::passes() {
    std::lock_guard lock(mutex);
    return passCount;
}

bool InputScript::waitForPasses(std::uint64_t count, int limitMs) {
    std::unique_lock lock(mutex);
    return passed.wait_for(lock, std::chrono::milliseconds(limitMs), [&] { return passCount >= count; });
}

HeadlessInputDevices::HeadlessInputDevices(std::shared_ptr<InputScript> inputScript)
    : script(std::move(inputScript)) {}

std::uint64_t HeadlessInputDevices::nowMs() {
    return script->now();
}

bool HeadlessInputDevices::keyDown(Key key) {
    return script->key(key);
}

void HeadlessInputDevices::endPass() {
    script->countPass();
}

bool HeadlessInputDevices::hasPads() {
    return script->padsAvailable();
}

bool HeadlessInputDevices::hasPadRumble() {
    return script->padRumbleAvailable();
}

bool HeadlessInputDevices::readPad(int slot, PadState& state) {
    const std::optional<PadState> pad = script->pad(slot);
    if (!pad) {
        return false;
    }
    state = *pad;
    return true;
}

void HeadlessInputDevices::setPadRumble(int slot, std::uint16_t left, std::uint16_t right) {
    script->recordRumble({slot, left, right});
}

int HeadlessInputDevices::joystickCount() {
    return InputScript::JOYSTICK_SLOTS;
}

bool HeadlessInputDevices::readJoystick(int id, JoystickState& state) {
    return script->joystick(id, state);
}

bool HeadlessInputDevices::readJoystickRanges(int id, JoystickRanges& ranges) {
    return script->joystickRanges(id, ranges);
}

} // namespace grumbo

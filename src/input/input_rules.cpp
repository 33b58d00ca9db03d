#include "input/input_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace grumbo::input {

float padAxis(std::int16_t value) {
    const int magnitude = std::abs(static_cast<int>(value));
    if (magnitude <= PAD_DEAD_ZONE) {
        return 0;
    }
    const float scaled = std::fmin(1.0f, static_cast<float>(magnitude - PAD_DEAD_ZONE) / 24918.0f);
    return value < 0 ? -scaled : scaled;
}

float joystickAxis(std::uint32_t position, std::uint32_t minimum, std::uint32_t maximum) {
    if (minimum >= maximum) {
        return 0;
    }
    // In double so that a full 32-bit range keeps its precision; a position
    // outside the range is clamped below.
    const double t = (static_cast<double>(position) - minimum) / (static_cast<double>(maximum) - minimum);
    const float a = static_cast<float>(2 * t - 1);
    if (std::fabs(a) < JOYSTICK_DEAD_ZONE) {
        return 0;
    }
    return std::fmax(-1.0f, std::fmin(1.0f, a));
}

std::uint16_t hatButtons(std::uint32_t hat) {
    if (hat > 36000) {
        return 0;
    }
    const std::uint32_t a = hat % 36000;
    // The diagonals are exact values; the sectors between them are open.
    if (a < 4500 || a > 31500) {
        return pad::DpadUp;
    }
    if (a == 4500) {
        return pad::DpadUp | pad::DpadRight;
    }
    if (a < 13500) {
        return pad::DpadRight;
    }
    if (a == 13500) {
        return pad::DpadRight | pad::DpadDown;
    }
    if (a < 22500) {
        return pad::DpadDown;
    }
    if (a == 22500) {
        return pad::DpadDown | pad::DpadLeft;
    }
    if (a < 31500) {
        return pad::DpadLeft;
    }
    return pad::DpadUp | pad::DpadLeft;
}

std::uint16_t joystickButtons(std::uint32_t mask) {
    static constexpr std::array<std::uint16_t, 8> BUTTONS = {
        pad::A, pad::B, pad::X, pad::Y, pad::LeftShoulder, pad::RightShoulder, pad::Back, pad::Start,
    };
    std::uint16_t buttons = 0;
    for (std::size_t i = 0; i < BUTTONS.size(); ++i) {
        if (mask & (1u << i)) {
            buttons |= BUTTONS[i];
        }
    }
    return buttons;
}

MotorSpeeds motorSpeeds(float target) {
    if (!std::isfinite(target) || target < 0) {
        return {};
    }
    if (target > 1) {
        return {MOTOR_LEFT_FULL, MOTOR_RIGHT_FULL};
    }
    return {static_cast<std::uint16_t>(target * MOTOR_LEFT_FULL),
            static_cast<std::uint16_t>(target * MOTOR_RIGHT_FULL)};
}

float rumbleStrength(float strength) {
    if (!std::isfinite(strength) || strength < 0) {
        return 0;
    }
    return std::fmin(strength, 1.0f);
}

std::uint64_t rumbleDeadline(float strength, float seconds, std::uint64_t now) {
    if (!std::isfinite(seconds) || seconds <= 0 || !(rumbleStrength(strength) > 0)) {
        return 0;
    }
    const float limited = std::fmin(seconds, RUMBLE_MAX_SECONDS);
    return now + static_cast<std::uint64_t>(limited * 1000.0f);
}

bool controllerFresh(std::uint64_t lastUpdate, std::uint64_t now) {
    if (lastUpdate == 0) {
        return false;
    }
    return lastUpdate >= now || now - lastUpdate <= FRESH_MS;
}

namespace {

bool down(const KeyStates& keys, Key key) {
    return keys[static_cast<std::size_t>(key)];
}

bool edge(const KeyStates& keys, const KeyStates& previousKeys, Key key) {
    return down(keys, key) && !down(previousKeys, key);
}

} // namespace

Control controlFrom(const KeyStates& keys, const KeyStates& previousKeys, const ControllerFrame& controller,
                    const Bindings& bindings) {
    const auto isDown = [&](Key key) { return down(keys, key); };
    const auto isEdge = [&](Key key) { return edge(keys, previousKeys, key); };
    const std::uint16_t heldOrPressed = controller.held | controller.pressed;
    const auto pressed = [&](std::uint16_t button) { return (controller.pressed & button) != 0; };
    // An action's keys and buttons: any one held, or any one newly pressed.
    const auto keyHeld = [&](Action action) {
        return std::any_of(bindings[action].keys.begin(), bindings[action].keys.end(),
                           [&](int key) { return key != NO_KEY && isDown(static_cast<Key>(key)); });
    };
    const auto keyEdge = [&](Action action) {
        return std::any_of(bindings[action].keys.begin(), bindings[action].keys.end(),
                           [&](int key) { return key != NO_KEY && isEdge(static_cast<Key>(key)); });
    };
    const auto buttons = [&](Action action) {
        std::uint16_t mask = 0;
        for (const std::uint16_t button : bindings[action].buttons) {
            mask |= button;
        }
        return mask;
    };

    Control control;
    control.left = keyHeld(Action::MoveLeft) || (controller.held & buttons(Action::MoveLeft)) != 0 ||
                   controller.stickX < -STICK_MOVE;
    control.right = keyHeld(Action::MoveRight) || (controller.held & buttons(Action::MoveRight)) != 0 ||
                    controller.stickX > STICK_MOVE;
    control.jumpHeld = keyHeld(Action::Jump) || (heldOrPressed & buttons(Action::Jump)) != 0;
    control.jumpPressed = keyEdge(Action::Jump) || pressed(buttons(Action::Jump));
    control.fireHeld = keyHeld(Action::Fire) || (heldOrPressed & buttons(Action::Fire)) != 0;
    control.interact = keyEdge(Action::Read) || pressed(buttons(Action::Read));
    control.pause = keyEdge(Action::Pause) || pressed(buttons(Action::Pause));
    control.nextWeapon = keyEdge(Action::SwitchWeapon) || pressed(buttons(Action::SwitchWeapon));
    control.dash = keyEdge(Action::Dash) || pressed(buttons(Action::Dash));

    control.confirm = isEdge(Key::Enter) || pressed(pad::A);
    control.back = isEdge(Key::Escape) || pressed(pad::B) || control.pause;
    control.menuUp = isEdge(Key::Up) || isEdge(Key::W) || (controller.nav & NAV_UP) != 0;
    control.menuDown = isEdge(Key::Down) || isEdge(Key::S) || (controller.nav & NAV_DOWN) != 0;
    control.toggleFullscreen = isEdge(Key::F11);
    control.restartCheckpoint =
        keyEdge(Action::RestartCheckpoint) || pressed(buttons(Action::RestartCheckpoint));
    control.toggleMute = isEdge(Key::M);
    control.buttonsPressed = controller.pressed;
    for (int key = 0; key < KEY_COUNT && control.keyPressed < 0; ++key) {
        if (isEdge(static_cast<Key>(key))) {
            control.keyPressed = key;
        }
    }

    // Keys 1 to 9 then 0 pick slots 0 to 9; the last one pressed this frame wins.
    for (int slot = 0; slot < 10; ++slot) {
        if (isEdge(static_cast<Key>(static_cast<int>(Key::Digit1) + slot))) {
            control.weaponSlot = slot;
        }
    }
    return control;
}

} // namespace grumbo::input

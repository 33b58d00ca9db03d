#include "app/frame_loop.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace grumbo {

FramePacer::FramePacer(std::uint64_t ticksPerSecond)
    : frequency(std::max<std::uint64_t>(ticksPerSecond, 1)),
      ticksPerFrame(static_cast<double>(frequency) / FRAMES_PER_SECOND) {}

void FramePacer::restart(std::uint64_t now) {
    deadline = static_cast<double>(now);
    previous = now;
    accumulator = 0;
    latches = FrameLatches{};
}

std::uint64_t FramePacer::deadlineTicks() const {
    return static_cast<std::uint64_t>(std::ceil(deadline));
}

float FramePacer::beginFrame(std::uint64_t now, double& unclampedSeconds) {
    const std::uint64_t elapsed = now >= previous ? now - previous : 0;
    unclampedSeconds = static_cast<double>(elapsed) / static_cast<double>(frequency);
    previous = now;
    return std::clamp(static_cast<float>(unclampedSeconds), 0.0f, MAX_FRAME_SECONDS);
}

void FramePacer::latch(const Control& control, bool playing) {
    if (!playing) {
        latches = FrameLatches{};
        return;
    }
    latches.jumpPressed |= control.jumpPressed;
    latches.interact |= control.interact;
    latches.nextWeapon |= control.nextWeapon;
    latches.dash |= control.dash;
    latches.fire |= control.fireHeld;
    if (control.fireHeld && control.aiming) {
        latches.aim = true;
        latches.aimPoint = control.aim;
    }
}

Input FramePacer::stepInput(const Control& control) const {
    Input input = static_cast<const Input&>(control);
    input.jumpPressed = latches.jumpPressed;
    input.interact = latches.interact;
    input.nextWeapon = latches.nextWeapon;
    input.dash = latches.dash;
    input.pause = false;
    input.fireHeld = control.fireHeld || latches.fire;
    if (latches.fire && latches.aim) {
        input.aiming = true;
        input.aim = latches.aimPoint;
    } else if (!control.fireHeld) {
        input.aiming = false;
    }
    return input;
}

void FramePacer::finishFrame(std::uint64_t workEnd) {
    deadline += ticksPerFrame;
    const double end = static_cast<double>(workEnd);
    if (end > deadline) {
        deadline += std::ceil((end - deadline) / ticksPerFrame) * ticksPerFrame;
    }
}

Input gateInput(const Control& control, int stateBefore) {
    if (stateBefore != Playing) {
        return Input{};
    }
    return static_cast<const Input&>(control);
}

bool FrameStatistics::add(double frameSeconds, double input, double simulation, double render,
                          std::uint32_t graphicsCreates, double lastCreateMs, std::string& text) {
    seconds += frameSeconds;
    inputMs += input;
    simulationMs += simulation;
    renderMs += render;
    workMaxMs = std::max(workMaxMs, input + simulation + render);
    ++frames;
    if (seconds < 0.5) {
        return false;
    }
    char line[320];
    const double count = static_cast<double>(frames);
    std::snprintf(
        line, sizeof line,
        "%.1f FPS  |  work max %.2f ms\nInput %.2f  Simulation %.2f  Render %.2f ms\nGraphics creates %u "
        "(last %.1f ms)  F3 hide",
        count / seconds, workMaxMs, inputMs / count, simulationMs / count, renderMs / count, graphicsCreates,
        lastCreateMs);
    text = line;
    *this = FrameStatistics{};
    return true;
}

} // namespace grumbo

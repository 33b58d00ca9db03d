// Frame pacing and the fixed simulation step, free of any platform call so the
// loop's arithmetic can be driven by a substitute clock.
//
// The loop presents 60 frames per second against a tick deadline and runs the
// simulation in steps of 1/120 s. A frame's time is clamped to 0.05 s, so a
// stall costs at most six steps, and frames that overran are dropped rather
// than caught up. Presses are latched until a step consumes them, so a press
// in a frame that runs no step reaches the next step, and never two steps.
#pragma once

#include "game/game.h"
#include "input/control.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace grumbo {

inline constexpr float SIMULATION_STEP = 1.0f / 120.0f;
inline constexpr float MAX_FRAME_SECONDS = 0.05f;
inline constexpr int FRAMES_PER_SECOND = 60;
// A frame this close to 1/60 s counts as exactly two steps (see `runSteps`).
inline constexpr double FRAME_SNAP_SECONDS = 0.0005;

// Presses waiting for the next simulation step.
struct FrameLatches {
    bool jumpPressed = false;
    bool interact = false;
    bool nextWeapon = false;
    bool dash = false;
    bool fire = false;
    bool aim = false;
    Vec2 aimPoint;
};

class FramePacer {
  public:
    explicit FramePacer(std::uint64_t ticksPerSecond = 1);

    // Drops the accumulated time and the latches and starts pacing at `now`.
    void restart(std::uint64_t now);
    bool frameDue(std::uint64_t now) const { return static_cast<double>(now) >= deadline; }
    std::uint64_t deadlineTicks() const;

    // Starts a frame: returns the clamped frame time and reports the raw one.
    float beginFrame(std::uint64_t now, double& unclampedSeconds);
    // ORs this frame's presses into the latches while playing; clears them otherwise.
    void latch(const Control& control, bool playing);
    // The `Input` of one step: held buttons from `control`, presses from the latches.
    Input stepInput(const Control& control) const;
    // Adds `dt` and runs every whole step it covers through `step(input, SIMULATION_STEP)`;
    // returns how many ran.
    //
    // The step stored as a float is a little over 1/120 s, so a frame of exactly 1/60 s
    // would leave 0.87 ns less behind each time; after half an hour of play the leftover
    // meets the wake-up jitter and frames begin to run one or three steps. A frame within
    // half a millisecond of 1/60 s therefore counts as exactly two steps, and a stall
    // clamped to 0.05 s as exactly six. At a lower `speed` the frame counts for
    // that share of its time, so fewer steps run.
    template <typename Step> int runSteps(const Control& control, float dt, Step&& step) {
        const double frame = 1.0 / FRAMES_PER_SECOND;
        const double whole = static_cast<double>(SIMULATION_STEP);
        if (std::abs(static_cast<double>(dt) - frame) <= FRAME_SNAP_SECONDS) {
            accumulator += 2 * whole * speed;
        } else if (dt >= MAX_FRAME_SECONDS) {
            accumulator += 6 * whole * speed;
        } else {
            accumulator += static_cast<double>(dt) * speed;
        }
        int steps = 0;
        while (accumulator >= static_cast<double>(SIMULATION_STEP)) {
            step(stepInput(control), SIMULATION_STEP);
            accumulator -= static_cast<double>(SIMULATION_STEP);
            latches = FrameLatches{};
            ++steps;
        }
        return steps;
    }
    // Moves the deadline one frame on, or past every frame boundary the work overran.
    void finishFrame(std::uint64_t workEnd);

    std::uint64_t frequency;
    double ticksPerFrame;
    double deadline = 0;
    std::uint64_t previous = 0;
    double accumulator = 0;
    // Game time per real time: 1, or down to 0.5 with the speed assist.
    double speed = 1;
    FrameLatches latches;
};

// The simulation's view of a frame's controls: nothing reaches the game from a
// frame that began outside play, so a button that closed a menu does not also act.
Input gateInput(const Control& control, int stateBefore);

// Frame-time statistics shown by the F3 overlay, summed per half second.
struct FrameStatistics {
    double seconds = 0;
    double inputMs = 0;
    double simulationMs = 0;
    double renderMs = 0;
    double workMaxMs = 0;
    std::uint32_t frames = 0;

    // Adds one frame; when half a second has gathered, writes the overlay text
    // into `text` and starts a new window. True when the text changed.
    bool add(double frameSeconds, double input, double simulation, double render,
             std::uint32_t graphicsCreates, double lastCreateMs, std::string& text);
};

} // namespace grumbo

// The frame loop's arithmetic with a substitute clock: stepping,
// latching presses into exactly one step, dropping overrun frames, and the
// statistics text.
#include "app/frame_loop.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace grumbo {
namespace {

constexpr std::uint64_t HZ = 1000000;

std::vector<Input> runFrame(FramePacer& pacer, const Control& control, float dt) {
    std::vector<Input> steps;
    pacer.latch(control, true);
    pacer.runSteps(control, dt, [&](const Input& input, float seconds) {
        EXPECT_FLOAT_EQ(seconds, SIMULATION_STEP);
        steps.push_back(input);
    });
    return steps;
}

TEST(FramePacer, PressInAFrameWithoutStepReachesTheNextStepOnceOnly) {
    FramePacer pacer(HZ);
    pacer.restart(0);
    Control press;
    press.jumpPressed = true;
    press.dash = true;
    EXPECT_TRUE(runFrame(pacer, press, 0.004f).empty());

    const std::vector<Input> steps = runFrame(pacer, Control{}, 0.013f);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_TRUE(steps[0].jumpPressed);
    EXPECT_TRUE(steps[0].dash);
    EXPECT_FALSE(steps[1].jumpPressed);
    EXPECT_FALSE(steps[1].dash);
}

TEST(FramePacer, HeldButtonsReachEveryStepAndPauseNever) {
    FramePacer pacer(HZ);
    pacer.restart(0);
    Control held;
    held.right = true;
    held.fireHeld = true;
    held.aiming = true;
    held.aim = {300, 200};
    held.pause = true;
    for (const Input& input : runFrame(pacer, held, 0.05f)) {
        EXPECT_TRUE(input.right);
        EXPECT_TRUE(input.fireHeld);
        EXPECT_TRUE(input.aiming);
        EXPECT_FLOAT_EQ(input.aim.x, 300);
        EXPECT_FALSE(input.pause);
    }
}

TEST(FramePacer, ShortTapOfFireWithAimIsDeliveredAfterRelease) {
    FramePacer pacer(HZ);
    pacer.restart(0);
    Control tap;
    tap.fireHeld = true;
    tap.aiming = true;
    tap.aim = {50, 60};
    EXPECT_TRUE(runFrame(pacer, tap, 0.001f).empty());
    const std::vector<Input> steps = runFrame(pacer, Control{}, SIMULATION_STEP);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_TRUE(steps[0].fireHeld);
    EXPECT_TRUE(steps[0].aiming);
    EXPECT_FLOAT_EQ(steps[0].aim.y, 60);
}

TEST(FramePacer, LeavingPlayClearsLatchesAndInputOfAMenuFrameIsGated) {
    FramePacer pacer(HZ);
    pacer.restart(0);
    Control press;
    press.jumpPressed = true;
    press.right = true;
    pacer.latch(press, true);
    pacer.latch(press, false);
    EXPECT_FALSE(pacer.latches.jumpPressed);

    const Input gated = gateInput(press, Paused);
    EXPECT_FALSE(gated.jumpPressed);
    EXPECT_FALSE(gated.right);
    EXPECT_TRUE(gateInput(press, Playing).right);
}

TEST(FrameStatistics, FormatsEveryHalfSecondAndStartsAnewWindow) {
    FrameStatistics statistics;
    std::string text = "F3: collecting frame timings";
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(statistics.add(0.125, 0.25, 0.5, 2.0, 3, 12.25, text));
    }
    EXPECT_EQ(text, "F3: collecting frame timings");
    EXPECT_TRUE(statistics.add(0.125, 0.25, 0.5, 4.0, 3, 12.25, text));
    EXPECT_EQ(text, "8.0 FPS  |  work max 4.75 ms\nInput 0.25  Simulation 0.50  Render 2.50 ms\n"
                    "Graphics creates 3 (last 12.2 ms)  F3 hide");
    EXPECT_EQ(statistics.frames, 0u);
    EXPECT_EQ(statistics.workMaxMs, 0.0);
}

} // namespace
} // namespace grumbo

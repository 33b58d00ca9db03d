// Two hours of 60 Hz frames whose start wakes up to 0.4 ms late, as a real timer does:
// every frame but a rare late one must run exactly two simulation steps.
#include "app/frame_loop.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

TEST(FramePacerLongPlay, TwoHoursOfJitteryFramesRunTwoStepsEach) {
    const std::uint64_t hz = 10'000'000;
    FramePacer pacer(hz);
    pacer.restart(0);
    std::uint32_t noise = 12345;
    const auto wakeDelay = [&](std::uint64_t most) {
        noise = noise * 1664525u + 1013904223u;
        return static_cast<std::uint64_t>(noise >> 8) % most;
    };
    const int frames = 2 * 60 * 60 * 60;
    int irregular = 0;
    std::uint64_t steps = 0;
    Control control;
    for (int i = 0; i < frames; ++i) {
        // One frame in a thousand wakes 3 ms late, the rest up to 0.4 ms.
        const std::uint64_t now = pacer.deadlineTicks() + wakeDelay(i % 1000 == 999 ? 30'000 : 4'000);
        double raw = 0;
        const float dt = pacer.beginFrame(now, raw);
        const int ran = pacer.runSteps(control, dt, [](const Input&, float) {});
        irregular += ran != 2 ? 1 : 0;
        steps += static_cast<std::uint64_t>(ran);
        pacer.finishFrame(now + 20'000);
    }
    EXPECT_LT(irregular, frames / 1000);
    // The game keeps time with the clock: no step is lost or gained over the two hours.
    EXPECT_NEAR(static_cast<double>(steps), 2.0 * frames, 4);
}

// Frames off 1/60 s by more than half a millisecond still run on real time.
TEST(FramePacerLongPlay, OnlyFramesNearASixtiethCountAsTwoSteps) {
    const auto stepsOver = [](float dt) {
        FramePacer pacer(1000);
        Control control;
        int steps = 0;
        for (int i = 0; i < 100; ++i) {
            steps += pacer.runSteps(control, dt, [](const Input&, float) {});
        }
        return steps;
    };
    EXPECT_EQ(stepsOver(1.0f / 60 + 0.0004f), 200);
    EXPECT_EQ(stepsOver(1.0f / 60 - 0.0004f), 200);
    EXPECT_EQ(stepsOver(1.0f / 60 - 0.0006f), 192);
    EXPECT_EQ(stepsOver(1.0f / 60 + 0.0006f), 207);
    EXPECT_EQ(stepsOver(MAX_FRAME_SECONDS), 600);
}

// The speed assist: ten seconds of jittery 60 Hz frames run one step per frame on
// average at 50 %, two at 100 %, and 1.4 at 70 %, each step still 1/120 s of game time.
TEST(FramePacerSpeed, TenSecondsAtEachSpeed) {
    for (const auto& [percent, steps] : {std::pair{50, 600}, std::pair{70, 840}, std::pair{100, 1200}}) {
        FramePacer pacer(10'000'000);
        pacer.speed = percent / 100.0;
        pacer.restart(0);
        int ran = 0;
        // The first frame only starts the clock; 600 more make ten seconds.
        for (int frame = 0; frame <= 600; ++frame) {
            // Woken up to 0.4 ms late, and every tenth frame 3 ms late.
            const std::uint64_t now =
                pacer.deadlineTicks() + (frame % 10 == 9 ? 30'000 : frame * 7919 % 4'000);
            double raw = 0;
            ran += pacer.runSteps(Control{}, pacer.beginFrame(now, raw),
                                  [](const Input&, float seconds) { EXPECT_EQ(seconds, SIMULATION_STEP); });
            pacer.finishFrame(now + 20'000);
        }
        EXPECT_NEAR(ran, steps, 1) << percent << " %";
    }
}

} // namespace
} // namespace grumbo

// `NativeInput` with its controller thread running over scripted devices. The
// script counts passes so the tests wait for the thread's progress instead of
// guessing times.
#include "input/native_input.h"
#include "input/native_input_impl.h"
#include "platform/headless/headless_input.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace grumbo {
namespace {

class NativeInputThread : public ::testing::Test {
  protected:
    std::shared_ptr<InputScript> script = std::make_shared<InputScript>();

    // The pads are plugged in before each `NativeInput` starts, so its first
    // pass finds them; the real clock keeps the thread's state fresh.
    void SetUp() override { script->useRealClock(); }

    // Returns after at least one whole pass has run since the call.
    void settle() { ASSERT_TRUE(script->waitForPasses(script->passes() + 2)); }
    RumbleCommand lastRumble() {
        const auto log = script->rumbles();
        return log.empty() ? RumbleCommand{-1, 0, 0} : log.back();
    }
};

TEST_F(NativeInputThread, PollsRacingThePollerDeliverEachTapOnce) {
    script->setPad(0, {});
    NativeInput input(std::make_unique<HeadlessInputDevices>(script));
    settle();
    // The script thread taps B while this thread polls as fast as it can. After each release it
    // waits for two more polls, so no two taps share a frame and each must be counted once.
    constexpr int TAPS = 30;
    std::atomic<int> polls{0};
    std::atomic<bool> finished{false};
    std::thread tapper([&] {
        for (int tap = 0; tap < TAPS; ++tap) {
            script->setPad(0, {pad::B, 0, 0});
            script->waitForPasses(script->passes() + 2);
            script->setPad(0, {});
            script->waitForPasses(script->passes() + 2);
            for (const int seen = polls.load(); polls.load() < seen + 2;) {
                std::this_thread::yield();
            }
        }
        finished.store(true);
    });
    int delivered = 0;
    while (!finished.load()) {
        delivered += input.poll(true).interact ? 1 : 0;
        polls.fetch_add(1);
    }
    tapper.join();
    EXPECT_EQ(delivered, TAPS);
}

TEST_F(NativeInputThread, RumbleWakesThePollerAndShutdownSilencesThePad) {
    {
        script->setPad(0, {});
        NativeInput input(std::make_unique<HeadlessInputDevices>(script));
        settle();
        // A frame in play keeps the request; a frame without focus drops it.
        input.rumble(1, 5);
        input.poll(true);
        settle();
        EXPECT_EQ(lastRumble().left, 45000);
        input.poll(false);
        settle();
        EXPECT_EQ(lastRumble().left, 0);
        // The request was dropped, not paused.
        input.poll(true);
        settle();
        EXPECT_EQ(lastRumble().left, 0);
        input.rumble(0.5f, 5);
        settle();
        EXPECT_EQ(lastRumble().left, 22500);
    }
    EXPECT_EQ(lastRumble().left, 0);
    EXPECT_EQ(lastRumble().right, 0);
    // Without a pad there is nothing to silence.
    const std::size_t sent = script->rumbles().size();
    script->removePad(0);
    NativeInput(std::make_unique<HeadlessInputDevices>(script)).poll(true);
    EXPECT_EQ(script->rumbles().size(), sent);
}

TEST_F(NativeInputThread, AStoppedPollerReportsNoController) {
    script->setPad(0, {});
    NativeInput::Impl input{std::make_unique<HeadlessInputDevices>(script)};
    // Starting again keeps the one poller.
    input.start();
    input.start();
    settle();
    EXPECT_TRUE(input.poll(true).controllerPresent);
    input.stop();
    EXPECT_FALSE(input.poll(true).controllerPresent);
}

} // namespace
} // namespace grumbo

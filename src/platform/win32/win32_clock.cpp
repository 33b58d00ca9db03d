// The frame clock on the performance counter, and a deadline wait on the
// pacing timer: slept through, never spun.

#include "platform/clock.h"
#include "platform/win32/win32_timer.h"

namespace grumbo {
namespace {

std::uint64_t counterFrequency() {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<std::uint64_t>(frequency.QuadPart);
}

} // namespace

std::uint64_t clockTicks() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart);
}

std::uint64_t clockFrequency() {
    static const std::uint64_t frequency = counterFrequency();
    return frequency;
}

void sleepUntilTicks(std::uint64_t deadline) {
    win32::PacingTimer& timer = win32::threadPacingTimer();
    const std::uint64_t frequency = clockFrequency();
    for (std::uint64_t now = clockTicks(); now < deadline; now = clockTicks()) {
        if (timer.arm(now, deadline, frequency)) {
            ::WaitForSingleObject(timer.handle, INFINITE);
        } else {
            ::Sleep(win32::waitMilliseconds(now, deadline, frequency));
        }
    }
}

} // namespace grumbo

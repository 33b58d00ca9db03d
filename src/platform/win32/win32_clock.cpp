// The frame clock on the performance counter, and a deadline wait on a high-resolution
// waitable timer (with a 1 ms system timer period where that kind of timer is missing).

#include "platform/clock.h"
#include "platform/win32/win32_api.h"

namespace grumbo {
namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// One timer per waiting thread, closed when the thread ends.
struct PacingTimer {
    HANDLE handle = nullptr;
    bool highResolution = false;
    bool periodRaised = false;

    PacingTimer() {
        handle = ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
        highResolution = handle != nullptr;
        if (handle == nullptr) {
            handle = ::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
            periodRaised = ::timeBeginPeriod(1) == TIMERR_NOERROR;
        }
    }
    ~PacingTimer() {
        if (handle != nullptr) {
            ::CloseHandle(handle);
        }
        if (periodRaised) {
            ::timeEndPeriod(1);
        }
    }
    PacingTimer(const PacingTimer&) = delete;
    PacingTimer& operator=(const PacingTimer&) = delete;
};

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
    thread_local PacingTimer timer;
    const std::uint64_t frequency = clockFrequency();
    for (;;) {
        const std::uint64_t now = clockTicks();
        if (now >= deadline) {
            return;
        }
        const std::uint64_t remaining = deadline - now;
        // Timer due times are in 100 ns units, negative for "relative".
        const auto hundredNs = static_cast<LONGLONG>(remaining * 10'000'000ull / frequency);
        if (timer.handle == nullptr || hundredNs < 5'000) {
            // The last half millisecond is yielded away rather than slept through, which
            // a coarse timer could overshoot.
            ::Sleep(0);
            continue;
        }
        LARGE_INTEGER due{};
        due.QuadPart = -(timer.highResolution ? hundredNs : hundredNs - 10'000);
        if (due.QuadPart >= 0 || !::SetWaitableTimer(timer.handle, &due, 0, nullptr, nullptr, FALSE)) {
            ::Sleep(0);
            continue;
        }
        ::WaitForSingleObject(timer.handle, INFINITE);
    }
}

} // namespace grumbo

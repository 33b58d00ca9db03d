// The pacing timer the frame waits use: a high-resolution one-shot waitable
// timer, or an ordinary one with the system timer period raised to 1 ms where
// that kind is missing (without it an ordinary wait overshoots by up to 15.6 ms).
#pragma once

#include "platform/win32/win32_api.h"

#include <cstdint>

namespace grumbo::win32 {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// One timer per waiting thread, closed when the thread ends.
struct PacingTimer {
    HANDLE handle = nullptr;
    bool periodRaised = false;

    PacingTimer() {
        handle = ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
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

    // Arms the timer once, relative, for the time from `now` to `deadline` on a
    // counter of `frequency` ticks a second (at least one 100 ns unit); false
    // when there is no timer or it cannot be armed.
    bool arm(std::uint64_t now, std::uint64_t deadline, std::uint64_t frequency) {
        if (handle == nullptr) {
            return false;
        }
        const std::uint64_t remaining = deadline > now ? deadline - now : 0;
        const auto hundredNs = static_cast<LONGLONG>(remaining * 10'000'000ull / frequency);
        LARGE_INTEGER due{};
        due.QuadPart = -(hundredNs > 1 ? hundredNs : 1);
        return ::SetWaitableTimer(handle, &due, 0, nullptr, nullptr, FALSE) != FALSE;
    }
};

inline PacingTimer& threadPacingTimer() {
    thread_local PacingTimer timer;
    return timer;
}

// Whole milliseconds for a wait without a timer, rounded up and at least one.
inline DWORD waitMilliseconds(std::uint64_t now, std::uint64_t deadline, std::uint64_t frequency) {
    const std::uint64_t remaining = deadline > now ? deadline - now : 0;
    const std::uint64_t ms = (remaining * 1000 + frequency - 1) / frequency;
    return static_cast<DWORD>(ms > 1 ? ms : 1);
}

} // namespace grumbo::win32

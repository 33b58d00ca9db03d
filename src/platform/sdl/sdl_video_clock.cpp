// The frame clock on the monotonic system clock. An absolute sleep on the same
// clock wakes within a fraction of a millisecond and never drifts.
#include "platform/clock.h"

#include <cerrno>
#include <time.h>

namespace grumbo {

namespace {
constexpr std::uint64_t NANOS_PER_SECOND = 1000000000ULL;
}

std::uint64_t clockTicks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * NANOS_PER_SECOND +
           static_cast<std::uint64_t>(now.tv_nsec);
}

std::uint64_t clockFrequency() {
    return NANOS_PER_SECOND;
}

void sleepUntilTicks(std::uint64_t deadline) {
    timespec at{};
    at.tv_sec = static_cast<time_t>(deadline / NANOS_PER_SECOND);
    at.tv_nsec = static_cast<long>(deadline % NANOS_PER_SECOND);
    // A signal may cut the sleep short; the absolute deadline makes a retry exact.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

} // namespace grumbo

// The frame clock: a monotonic tick counter and a precise wait for a deadline.
#pragma once

#include <cstdint>

namespace grumbo {

std::uint64_t clockTicks();
std::uint64_t clockFrequency();
// Returns when the counter has reached `deadline`, sleeping rather than
// spinning, typically within a fraction of a millisecond.
void sleepUntilTicks(std::uint64_t deadline);

} // namespace grumbo

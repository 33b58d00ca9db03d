#pragma once

#include "audio/mixer.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace grumbo {

// Sound requests from the window thread (the only producer) to the mixer thread (the only
// consumer), without a lock. One slot always stays empty, so 127 requests fit between two passes.
class CommandRing {
  public:
    static constexpr std::uint32_t SIZE = 128;

    // Producer side; false when the ring is full and the request was dropped.
    bool push(const Voice& request) {
        const std::uint32_t write = writeIndex.load(std::memory_order_relaxed);
        const std::uint32_t next = (write + 1) % SIZE;
        if (next == readIndex.load(std::memory_order_acquire)) {
            return false;
        }
        slots[write] = request;
        // The slot must be complete before the consumer can see the new index.
        writeIndex.store(next, std::memory_order_release);
        return true;
    }

    // Consumer side: hands every published request to `take`, in order.
    template <typename Take> void drain(Take&& take) {
        std::uint32_t read = readIndex.load(std::memory_order_relaxed);
        const std::uint32_t write = writeIndex.load(std::memory_order_acquire);
        while (read != write) {
            take(slots[read]);
            read = (read + 1) % SIZE;
            // Only now may the producer reuse the slot just read.
            readIndex.store(read, std::memory_order_release);
        }
    }

    // Empties the ring; only while no consumer is running.
    void reset() {
        writeIndex.store(0, std::memory_order_relaxed);
        readIndex.store(0, std::memory_order_relaxed);
    }

  private:
    std::array<Voice, SIZE> slots{};
    std::atomic<std::uint32_t> writeIndex{0};
    std::atomic<std::uint32_t> readIndex{0};
};

} // namespace grumbo

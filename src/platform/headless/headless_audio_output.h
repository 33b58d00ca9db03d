#pragma once

#include "platform/audio_output.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace grumbo {

// A device without hardware: buffers wait until the owner "plays" them with playNext, which lets
// tests drive the mixer buffer by buffer and inspect every sample it produced.
class HeadlessAudioOutput : public AudioOutput {
  public:
    // Test switches, set before the device is used: refuse to open, or refuse every submission
    // after `acceptedSubmissions` buffers (negative: accept all).
    bool failOpen = false;
    int acceptedSubmissions = -1;

    bool open(std::function<void()> bufferDone) override;
    bool submit(int slot, std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> samples) override;
    bool done(int slot) const override;
    void close() override;
    void raiseCallingThreadPriority() override {}

    // Plays the oldest queued buffer: appends it to `out`, marks its slot done and signals the
    // mixer. Returns false when nothing is queued.
    bool playNext(std::vector<std::int16_t>& out);
    std::size_t queuedBuffers() const;
    int submissions() const;
    bool isOpen() const;

  private:
    struct Pending {
        int slot = 0;
        std::vector<std::int16_t> samples;
    };

    mutable std::mutex mutex;
    std::function<void()> onDone;
    std::deque<Pending> queue;
    std::array<std::atomic<bool>, AUDIO_OUTPUT_SLOTS> slotDone{true, true, true, true};
    int submitted = 0;
    bool opened = false;
};

} // namespace grumbo

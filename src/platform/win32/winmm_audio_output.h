// The sound device on WinMM wave-out in event mode: four prepared buffers, each
// queued only once the device has marked it done, and a small thread that waits
// on the device's event and tells the mixer a buffer came back.
#pragma once

#include "platform/audio_output.h"
#include "platform/win32/win32_api.h"

#include <array>
#include <atomic>
#include <thread>

namespace grumbo {

class WinmmAudioOutput final : public AudioOutput {
  public:
    WinmmAudioOutput() = default;
    ~WinmmAudioOutput() override;
    WinmmAudioOutput(const WinmmAudioOutput&) = delete;
    WinmmAudioOutput& operator=(const WinmmAudioOutput&) = delete;

    bool open(std::function<void()> bufferDone) override;
    bool submit(int slot, std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> samples) override;
    bool done(int slot) const override;
    void close() override;
    void raiseCallingThreadPriority() override;

    // How many buffers the device holds now, for tests of the buffer cycle.
    int inFlight() const;

  private:
    HWAVEOUT device = nullptr;
    // Auto-reset; the device sets it whenever it hands a buffer back.
    HANDLE deviceEvent = nullptr;
    std::thread watcher;
    std::atomic<bool> stopping{false};
    std::array<WAVEHDR, AUDIO_OUTPUT_SLOTS> headers{};
    std::array<std::array<std::int16_t, AUDIO_OUTPUT_SAMPLES>, AUDIO_OUTPUT_SLOTS> storage{};
    // Whether the slot was written and not yet seen done.
    std::array<std::atomic<bool>, AUDIO_OUTPUT_SLOTS> queued{};
};

} // namespace grumbo

// The sound device on WinMM wave-out: four prepared buffers, each queued only once the
// device has handed it back, and the device's callback telling the mixer a buffer is done.
#pragma once

#include "platform/audio_output.h"
#include "platform/win32/win32_api.h"

#include <array>
#include <atomic>
#include <mutex>

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
    static void CALLBACK deviceCallback(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                        DWORD_PTR param2);
    void finished(int slot);

    HWAVEOUT device = nullptr;
    std::array<WAVEHDR, AUDIO_OUTPUT_SLOTS> headers{};
    std::array<std::array<std::int16_t, AUDIO_OUTPUT_SAMPLES>, AUDIO_OUTPUT_SLOTS> storage{};
    std::array<std::atomic<bool>, AUDIO_OUTPUT_SLOTS> queued{};
    // Held while `onDone` runs, so `close` can wait out a callback already under way.
    std::mutex callbackLock;
    std::function<void()> onDone;
    bool accepting = false;
};

} // namespace grumbo

#pragma once

#include "platform/audio_output.h"

#include <SDL.h>
#include <array>
#include <atomic>
#include <cstddef>

namespace grumbo {

// SDL audio standing in for the native wave-out device. SDL's own thread asks for 768 frames at a
// time; the callback copies out the buffers the mixer finished, in order, and reports each one
// played. With nothing queued it plays silence.
class SdlAudioOutput : public AudioOutput {
  public:
    SdlAudioOutput() = default;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;
    ~SdlAudioOutput() override;

    bool open(std::function<void()> bufferDone) override;
    bool submit(int slot, std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> samples) override;
    bool done(int slot) const override;
    void close() override;
    void raiseCallingThreadPriority() override;
    void leaveCallingThread() override;

  private:
    static void SDLCALL fill(void* self, Uint8* stream, int length);
    // Runs on SDL's thread with the device lock held.
    void fillLocked(std::int16_t* out, std::size_t samples);

    SDL_AudioDeviceID device = 0;
    bool subsystemStarted = false;
    std::function<void()> onDone;
    // The slots in the order they were submitted; the front one may be partly played.
    std::array<std::array<std::int16_t, AUDIO_OUTPUT_SAMPLES>, AUDIO_OUTPUT_SLOTS> storage{};
    std::array<int, AUDIO_OUTPUT_SLOTS> order{};
    int orderHead = 0;
    int orderCount = 0;
    std::size_t frontOffset = 0;
    // Slots copied out whole by the last callback: SDL plays that copy from its own buffer,
    // so they count as done only when the next callback shows the device has consumed it.
    std::array<int, AUDIO_OUTPUT_SLOTS> copied{};
    int copiedCount = 0;
    std::array<std::atomic<bool>, AUDIO_OUTPUT_SLOTS> slotDone{true, true, true, true};
};

} // namespace grumbo

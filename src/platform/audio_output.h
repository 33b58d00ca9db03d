#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace grumbo {

// The sound device as the mixer sees it: 44100 Hz, 16-bit, stereo, fed with buffers of 768
// frames in up to four slots that are played in the order they were submitted.
constexpr int AUDIO_OUTPUT_RATE = 44100;
constexpr int AUDIO_OUTPUT_FRAMES = 768;
constexpr int AUDIO_OUTPUT_SAMPLES = AUDIO_OUTPUT_FRAMES * 2;
constexpr int AUDIO_OUTPUT_SLOTS = 4;

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;

    // Starts the device playing (silence until the first buffer arrives). `bufferDone` is called on
    // a thread of the device's own each time a submitted buffer has been played. Returns false when no
    // real device can be opened; the game then runs silent.
    virtual bool open(std::function<void()> bufferDone) = 0;
    // Queues a copy of one buffer in `slot` (0 to 3). The slot must be free: never submitted, or
    // reported done since. Returns false when the device refuses it.
    virtual bool submit(int slot, std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> samples) = 0;
    // Whether the buffer last submitted in `slot` has been played.
    virtual bool done(int slot) const = 0;
    // Stops playing, drops every queued buffer and closes the device; no `bufferDone` call runs or
    // follows once this returns. Closing a closed device does nothing.
    virtual void close() = 0;
    // Raises the priority of the calling thread (the mixer) where the system allows it; a refusal
    // is harmless, the mixer just runs at normal priority.
    virtual void raiseCallingThreadPriority() = 0;
    // Called by a thread that opened or fed the device just before it ends: frees what the sound
    // system kept for that thread alone. Nothing to do for most devices.
    virtual void leaveCallingThread() {}
};

// The system's sound device.
std::unique_ptr<AudioOutput> createAudioOutput();

} // namespace grumbo

#include "platform/sdl/sdl_audio_output.h"

#include <algorithm>
#include <cstring>

namespace grumbo {

std::unique_ptr<AudioOutput> createAudioOutput() {
    return std::make_unique<SdlAudioOutput>();
}

SdlAudioOutput::~SdlAudioOutput() {
    close();
}

bool SdlAudioOutput::open(std::function<void()> bufferDone) {
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    subsystemStarted = true;
    // The dummy driver plays nothing and does not keep time, so it counts as no device at all.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver == nullptr || std::strcmp(driver, "dummy") == 0) {
        close();
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = AUDIO_OUTPUT_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = AUDIO_OUTPUT_FRAMES;
    wanted.callback = &SdlAudioOutput::fill;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts if the hardware differs, and the callback always sees the
    // mixer's own format and 768-frame period.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        close();
        return false;
    }
    onDone = std::move(bufferDone);
    SDL_PauseAudioDevice(device, 0);
    return true;
}

bool SdlAudioOutput::submit(int slot, std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> samples) {
    if (device == 0 || slot < 0 || slot >= AUDIO_OUTPUT_SLOTS ||
        SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_PLAYING) {
        return false;
    }
    SDL_LockAudioDevice(device);
    const bool full = orderCount == AUDIO_OUTPUT_SLOTS;
    if (!full) {
        const auto index = static_cast<std::size_t>(slot);
        std::copy(samples.begin(), samples.end(), storage[index].begin());
        slotDone[index].store(false, std::memory_order_release);
        order[static_cast<std::size_t>((orderHead + orderCount) % AUDIO_OUTPUT_SLOTS)] = slot;
        ++orderCount;
    }
    SDL_UnlockAudioDevice(device);
    return !full;
}

bool SdlAudioOutput::done(int slot) const {
    return slotDone[static_cast<std::size_t>(slot)].load(std::memory_order_acquire);
}

void SdlAudioOutput::close() {
    if (device != 0) {
        // Returns only after the callback has finished for good.
        SDL_CloseAudioDevice(device);
        device = 0;
    }
    onDone = nullptr;
    orderHead = 0;
    orderCount = 0;
    frontOffset = 0;
    copiedCount = 0;
    for (auto& flag : slotDone) {
        flag.store(true, std::memory_order_release);
    }
    if (subsystemStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted = false;
    }
}

void SdlAudioOutput::raiseCallingThreadPriority() {
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
}

// SDL keeps per-thread data (its error text) for every thread that calls it,
// and frees it by itself only for threads it started.
void SdlAudioOutput::leaveCallingThread() {
    SDL_TLSCleanup();
}

void SDLCALL SdlAudioOutput::fill(void* self, Uint8* stream, int length) {
    static_cast<SdlAudioOutput*>(self)->fillLocked(reinterpret_cast<std::int16_t*>(stream),
                                                   static_cast<std::size_t>(length) / sizeof(std::int16_t));
}

void SdlAudioOutput::fillLocked(std::int16_t* out, std::size_t samples) {
    // The device asks for more once it has played what the last call gave it.
    const bool finished = copiedCount > 0;
    for (int i = 0; i < copiedCount; ++i) {
        slotDone[static_cast<std::size_t>(copied[static_cast<std::size_t>(i)])].store(
            true, std::memory_order_release);
    }
    copiedCount = 0;
    std::size_t written = 0;
    while (written < samples && orderCount > 0) {
        const auto slot = static_cast<std::size_t>(order[static_cast<std::size_t>(orderHead)]);
        const std::size_t n = std::min(samples - written, AUDIO_OUTPUT_SAMPLES - frontOffset);
        std::memcpy(out + written, storage[slot].data() + frontOffset, n * sizeof(std::int16_t));
        written += n;
        frontOffset += n;
        if (frontOffset == AUDIO_OUTPUT_SAMPLES) {
            frontOffset = 0;
            orderHead = (orderHead + 1) % AUDIO_OUTPUT_SLOTS;
            --orderCount;
            copied[static_cast<std::size_t>(copiedCount++)] = static_cast<int>(slot);
        }
    }
    // The mixer fell behind: fill the gap with silence rather than replaying stale samples.
    std::memset(out + written, 0, (samples - written) * sizeof(std::int16_t));
    if (finished && onDone) {
        onDone();
    }
}

} // namespace grumbo

#include "platform/win32/winmm_audio_output.h"

#include "platform/win32/win32_api.h"

#include <algorithm>

namespace grumbo {

std::unique_ptr<AudioOutput> createAudioOutput() {
    return std::make_unique<WinmmAudioOutput>();
}

WinmmAudioOutput::~WinmmAudioOutput() {
    close();
}

bool WinmmAudioOutput::open(std::function<void()> bufferDone) {
    close();
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = AUDIO_OUTPUT_RATE;
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    {
        std::lock_guard<std::mutex> lock(callbackLock);
        onDone = std::move(bufferDone);
        accepting = true;
    }
    if (::waveOutOpen(&device, WAVE_MAPPER, &format,
                      reinterpret_cast<DWORD_PTR>(&WinmmAudioOutput::deviceCallback),
                      reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        device = nullptr;
        close();
        return false;
    }
    // Headers are prepared once and reused for the whole life of the device.
    for (std::size_t i = 0; i < headers.size(); ++i) {
        WAVEHDR& header = headers[i];
        header = WAVEHDR{};
        header.lpData = reinterpret_cast<LPSTR>(storage[i].data());
        header.dwBufferLength = static_cast<DWORD>(sizeof(storage[i]));
        header.dwUser = i;
        if (::waveOutPrepareHeader(device, &header, sizeof(header)) != MMSYSERR_NOERROR) {
            close();
            return false;
        }
        queued[i].store(false, std::memory_order_release);
    }
    return true;
}

bool WinmmAudioOutput::submit(int slot, std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> samples) {
    if (device == nullptr || slot < 0 || slot >= AUDIO_OUTPUT_SLOTS) {
        return false;
    }
    const auto index = static_cast<std::size_t>(slot);
    // A buffer the device still holds is never rewritten or queued twice.
    if (queued[index].load(std::memory_order_acquire)) {
        return false;
    }
    std::copy(samples.begin(), samples.end(), storage[index].begin());
    queued[index].store(true, std::memory_order_release);
    if (::waveOutWrite(device, &headers[index], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        queued[index].store(false, std::memory_order_release);
        return false;
    }
    return true;
}

bool WinmmAudioOutput::done(int slot) const {
    if (slot < 0 || slot >= AUDIO_OUTPUT_SLOTS) {
        return true;
    }
    return !queued[static_cast<std::size_t>(slot)].load(std::memory_order_acquire);
}

int WinmmAudioOutput::inFlight() const {
    return static_cast<int>(std::count_if(queued.begin(), queued.end(),
                                          [](const std::atomic<bool>& flag) { return flag.load(); }));
}

void WinmmAudioOutput::close() {
    {
        std::lock_guard<std::mutex> lock(callbackLock);
        accepting = false;
        onDone = nullptr;
    }
    if (device != nullptr) {
        // Reset hands every queued buffer back at once, so each can be unprepared.
        ::waveOutReset(device);
        for (WAVEHDR& header : headers) {
            if ((header.dwFlags & WHDR_PREPARED) != 0) {
                ::waveOutUnprepareHeader(device, &header, sizeof(header));
            }
        }
        ::waveOutClose(device);
        device = nullptr;
    }
    for (auto& flag : queued) {
        flag.store(false, std::memory_order_release);
    }
}

void WinmmAudioOutput::raiseCallingThreadPriority() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
}

// Runs on the driver's thread, which may call no wave-out function: it only marks the
// buffer free and tells the mixer.
void CALLBACK WinmmAudioOutput::deviceCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                               DWORD_PTR) {
    if (message != WOM_DONE) {
        return;
    }
    auto* self = reinterpret_cast<WinmmAudioOutput*>(instance);
    const auto* header = reinterpret_cast<const WAVEHDR*>(param1);
    self->finished(static_cast<int>(header->dwUser));
}

void WinmmAudioOutput::finished(int slot) {
    if (slot < 0 || slot >= AUDIO_OUTPUT_SLOTS) {
        return;
    }
    queued[static_cast<std::size_t>(slot)].store(false, std::memory_order_release);
    std::lock_guard<std::mutex> lock(callbackLock);
    if (accepting && onDone) {
        onDone();
    }
}

} // namespace grumbo

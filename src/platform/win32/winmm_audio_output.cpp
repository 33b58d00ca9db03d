#include "platform/win32/winmm_audio_output.h"

#include "platform/win32/win32_api.h"

#include <algorithm>
#include <system_error>

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
    deviceEvent = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    // In event mode the driver only sets the event; every wave-out call stays on our threads,
    // where WinMM allows them.
    if (deviceEvent == nullptr ||
        ::waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(deviceEvent), 0,
                      CALLBACK_EVENT) != MMSYSERR_NOERROR) {
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
    stopping.store(false, std::memory_order_release);
    try {
        watcher = std::thread([this, onDone = std::move(bufferDone)] {
            while (::WaitForSingleObject(deviceEvent, INFINITE) == WAIT_OBJECT_0 &&
                   !stopping.load(std::memory_order_acquire)) {
                if (onDone) {
                    onDone();
                }
            }
        });
    } catch (const std::system_error&) {
        close();
        return false;
    }
    return true;
}

bool WinmmAudioOutput::submit(int slot, std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> samples) {
    if (device == nullptr || slot < 0 || slot >= AUDIO_OUTPUT_SLOTS || !done(slot)) {
        return false;
    }
    const auto index = static_cast<std::size_t>(slot);
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
    const auto index = static_cast<std::size_t>(slot);
    if (!queued[index].load(std::memory_order_acquire)) {
        return true;
    }
    // The driver sets the flag from its own thread once the buffer has played.
    auto& flags = const_cast<DWORD&>(headers[index].dwFlags);
    return (std::atomic_ref<DWORD>(flags).load(std::memory_order_acquire) & WHDR_DONE) != 0;
}

int WinmmAudioOutput::inFlight() const {
    int held = 0;
    for (int slot = 0; slot < AUDIO_OUTPUT_SLOTS; ++slot) {
        held += done(slot) ? 0 : 1;
    }
    return held;
}

void WinmmAudioOutput::close() {
    if (watcher.joinable()) {
        stopping.store(true, std::memory_order_release);
        ::SetEvent(deviceEvent);
        watcher.join();
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
    if (deviceEvent != nullptr) {
        ::CloseHandle(deviceEvent);
        deviceEvent = nullptr;
    }
    for (auto& flag : queued) {
        flag.store(false, std::memory_order_release);
    }
}

void WinmmAudioOutput::raiseCallingThreadPriority() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
}

} // namespace grumbo

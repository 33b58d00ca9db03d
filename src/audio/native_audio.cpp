#include "audio/native_audio.h"

#include "audio/audio_catalogue.h"
#include "audio/command_ring.h"
#include "audio/mixer.h"
#include "audio/wav.h"
#include "platform/audio_output.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace grumbo {

namespace {

static_assert(MIX_FRAMES == AUDIO_OUTPUT_FRAMES && AUDIO_RATE == AUDIO_OUTPUT_RATE,
              "the mixer renders exactly what the device plays");

// Even with no completion the mixer looks at its buffers and requests this often.
constexpr auto MIXER_WAKE_BOUND = std::chrono::milliseconds(20);

// Wakes the mixer thread: a device completion or a settings change signals it (and the first
// wait after consumes the signal); stop ends the thread's loop for good.
class MixerWake {
  public:
    void signal() {
        {
            std::lock_guard lock(mutex);
            signalled = true;
        }
        changed.notify_one();
    }

    void stop() {
        {
            std::lock_guard lock(mutex);
            stopped = true;
        }
        changed.notify_one();
    }

    void rearm() {
        std::lock_guard lock(mutex);
        stopped = false;
        signalled = false;
    }

    bool stopRequested() {
        std::lock_guard lock(mutex);
        return stopped;
    }

    // Returns true when stop was requested.
    bool wait(std::chrono::milliseconds bound) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, bound, [this] { return stopped || signalled; });
        signalled = false;
        return stopped;
    }

  private:
    std::mutex mutex;
    std::condition_variable changed;
    bool signalled = false;
    bool stopped = false;
};

bool isVoiceName(std::string_view name) {
    return name.starts_with("grumbo_");
}

} // namespace

struct NativeAudio::Impl {
    explicit Impl(std::unique_ptr<AudioOutput> device) : output(std::move(device)) {}

    ~Impl() { close(); }

    bool open(const std::wstring& folder) {
        close();
        wake.rearm();
        if (!output) {
            return false;
        }
        running.store(true, std::memory_order_release);
        try {
            thread = std::thread([this, folder] {
                // Opening the device and decoding every clip take far longer
                // than opening a window, so both happen here, off the window
                // thread; until they are done requests are dropped.
                if (!output->open([this] { wake.signal(); })) {
                    running.store(false, std::memory_order_release);
                    output->leaveCallingThread();
                    return;
                }
                loadAudioFiles(findAudioFiles(folder), catalogue);
                musicTable = buildMusicTable(catalogue);
                loaded.store(true, std::memory_order_release);
                mixerLoop();
                output->leaveCallingThread();
            });
        } catch (const std::system_error&) {
            close();
            return false;
        }
        return true;
    }

    void close() {
        running.store(false, std::memory_order_release);
        wake.stop();
        if (thread.joinable()) {
            thread.join();
        }
        loaded.store(false, std::memory_order_release);
        if (output) {
            output->close();
        }
        resetMixer(mixer, settings());
        ring.reset();
        musicRequest.store(MUSIC_MENU_REQUEST, std::memory_order_relaxed);
        queued.fill(false);
        nextBuffer = 0;
        musicTable = {};
        catalogue.clear();
    }

    MixerSettings settings() const {
        MixerSettings s;
        s.muted = muted.load(std::memory_order_relaxed);
        s.voiceEnabled = voiceEnabled.load(std::memory_order_relaxed);
        s.musicVolume = musicVolume.load(std::memory_order_relaxed);
        s.effectsVolume = effectsVolume.load(std::memory_order_relaxed);
        s.musicRequest = musicRequest.load(std::memory_order_relaxed);
        return s;
    }

    void applyCommands() {
        applySettings(mixer, settings(), musicTable);
        ring.drain([this](const Voice& request) { addVoice(mixer, request); });
    }

    void mixerLoop() {
        output->raiseCallingThreadPriority();
        if (wake.stopRequested()) {
            return;
        }
        for (;;) {
            applyCommands();
            // Refill every buffer the device has finished with, in turn, before sleeping again.
            for (int k = 0; k < AUDIO_OUTPUT_SLOTS; ++k) {
                const int slot = nextBuffer;
                if (queued[static_cast<std::size_t>(slot)] && !output->done(slot)) {
                    break;
                }
                mixBuffer(mixer, musicTable, scratch);
                if (!output->submit(slot, scratch)) {
                    running.store(false, std::memory_order_release);
                    return;
                }
                queued[static_cast<std::size_t>(slot)] = true;
                nextBuffer = (slot + 1) % AUDIO_OUTPUT_SLOTS;
            }
            if (wake.wait(MIXER_WAKE_BOUND) || wake.stopRequested()) {
                return;
            }
        }
    }

    const AudioClip* findClip(const std::string& normalizedName) const {
        const auto it = catalogue.find(normalizedName);
        return it == catalogue.end() || it->second.samples.empty() ? nullptr : &it->second;
    }

    std::unique_ptr<AudioOutput> output;
    std::thread thread;
    MixerWake wake;

    // Written by the mixer thread before it sets `loaded`, read by the window
    // thread only after it saw `loaded` set, and cleared once the thread is gone.
    AudioCatalogue catalogue;
    MusicTable musicTable;
    std::atomic<bool> loaded{false};

    // Requests: written by the window thread, read by the mixer once per pass.
    CommandRing ring;
    std::atomic<bool> running{false};
    std::atomic<bool> muted{false};
    std::atomic<bool> voiceEnabled{true};
    std::atomic<float> musicVolume{0.45f};
    std::atomic<float> effectsVolume{0.85f};
    std::atomic<std::uint32_t> musicRequest{MUSIC_MENU_REQUEST};

    // The mixer thread's own state.
    MixerState mixer;
    std::array<bool, AUDIO_OUTPUT_SLOTS> queued{};
    int nextBuffer = 0;
    std::array<std::int16_t, MIX_SAMPLES> scratch{};
};

NativeAudio::NativeAudio() : NativeAudio(createAudioOutput()) {}

NativeAudio::NativeAudio(std::unique_ptr<AudioOutput> output)
    : impl(std::make_unique<Impl>(std::move(output))) {}

NativeAudio::~NativeAudio() = default;

bool NativeAudio::open(const std::wstring& folder) {
    return impl->open(folder);
}

double NativeAudio::play(std::string_view name, float volume, float pan) {
    if (!impl->running.load(std::memory_order_acquire) || !impl->loaded.load(std::memory_order_acquire)) {
        return 0;
    }
    const std::string normalized = normalizeAudioName(name);
    const bool voice = isVoiceName(normalized);
    if (voice && !impl->voiceEnabled.load(std::memory_order_relaxed)) {
        return 0;
    }
    const AudioClip* clip = impl->findClip(normalized);
    if (clip == nullptr) {
        return 0;
    }
    if (!impl->ring.push(makeVoice(clip, volume, pan, voice))) {
        return 0;
    }
    impl->wake.signal();
    return static_cast<double>(clip->frames()) / AUDIO_RATE;
}

void NativeAudio::setMusic(int index) {
    const std::uint32_t current = impl->musicRequest.load(std::memory_order_relaxed);
    const std::uint32_t next = requestWithMusic(current, index);
    if (next != current) {
        impl->musicRequest.store(next, std::memory_order_relaxed);
        impl->wake.signal();
    }
}

void NativeAudio::setBattleMusic(bool boss, bool chase, int theme) {
    const std::uint32_t current = impl->musicRequest.load(std::memory_order_relaxed);
    const std::uint32_t next = requestWithBattle(current, boss, chase, theme);
    if (next != current) {
        impl->musicRequest.store(next, std::memory_order_relaxed);
        impl->wake.signal();
    }
}

void NativeAudio::setMuted(bool muted) {
    impl->muted.store(muted, std::memory_order_relaxed);
    impl->wake.signal();
}

void NativeAudio::setVolumes(float music, float effects) {
    impl->musicVolume.store(clampVolume(music), std::memory_order_relaxed);
    impl->effectsVolume.store(clampVolume(effects), std::memory_order_relaxed);
}

void NativeAudio::setVoiceEnabled(bool enabled) {
    impl->voiceEnabled.store(enabled, std::memory_order_relaxed);
    impl->wake.signal();
}

void NativeAudio::close() {
    impl->close();
}

bool NativeAudio::running() const {
    return impl->running.load(std::memory_order_acquire);
}

bool NativeAudio::clipsLoaded() const {
    return impl->loaded.load(std::memory_order_acquire);
}

bool NativeAudio::hasClip(std::string_view name) const {
    return clipsLoaded() && impl->findClip(normalizeAudioName(name)) != nullptr;
}

std::size_t NativeAudio::clipCount() const {
    return clipsLoaded() ? impl->catalogue.size() : 0;
}

} // namespace grumbo

#include "platform/headless/headless_audio_output.h"

namespace grumbo {

bool HeadlessAudioOutput::open(std::function<void()> bufferDone) {
    std::lock_guard lock(mutex);
    if (failOpen) {
        return false;
    }
    onDone = std::move(bufferDone);
    opened = true;
    return true;
}

bool HeadlessAudioOutput::submit(int slot, std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> samples) {
    std::lock_guard lock(mutex);
    if (!opened || slot < 0 || slot >= AUDIO_OUTPUT_SLOTS ||
        (acceptedSubmissions >= 0 && submitted >= acceptedSubmissions)) {
        return false;
    }
    ++submitted;
    slotDone[static_cast<std::size_t>(slot)].store(false, std::memory_order_release);
    queue.push_back({slot, std::vector<std::int16_t>(samples.begin(), samples.end())});
    return true;
}

bool HeadlessAudioOutput::done(int slot) const {
    return slotDone[static_cast<std::size_t>(slot)].load(std::memory_order_acquire);
}

void HeadlessAudioOutput::close() {
    std::lock_guard lock(mutex);
    queue.clear();
    for (auto& flag : slotDone) {
        flag.store(true, std::memory_order_release);
    }
    onDone = nullptr;
    opened = false;
}

bool HeadlessAudioOutput::playNext(std::vector<std::int16_t>& out) {
    std::lock_guard lock(mutex);
    if (queue.empty()) {
        return false;
    }
    const Pending& front = queue.front();
    out.insert(out.end(), front.samples.begin(), front.samples.end());
    slotDone[static_cast<std::size_t>(front.slot)].store(true, std::memory_order_release);
    queue.pop_front();
    // Signalled under the lock so that close cannot return while the mixer is being woken.
    if (onDone) {
        onDone();
    }
    return true;
}

std::size_t HeadlessAudioOutput::queuedBuffers() const {
    std::lock_guard lock(mutex);
    return queue.size();
}

int HeadlessAudioOutput::submissions() const {
    std::lock_guard lock(mutex);
    return submitted;
}

bool HeadlessAudioOutput::isOpen() const {
    std::lock_guard lock(mutex);
    return opened;
}

} // namespace grumbo

// Fuzz target: any file content is either refused or decoded to a well-formed clip within the
// length and memory limits, and never read past its end.

#include "audio/wav.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(const std::optional<grumbo::AudioClip>& clip, std::uint64_t budget) {
    if (!clip) {
        return;
    }
    const std::int64_t frames = clip->frames();
    if (clip->samples.size() % 2 != 0 || frames < 1 || frames > grumbo::CLIP_MAX_FRAMES ||
        static_cast<std::uint64_t>(frames) * 4 > budget) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    check(grumbo::decodeWav(file, grumbo::CATALOGUE_BUDGET_BYTES), grumbo::CATALOGUE_BUDGET_BYTES);
    // A nearly spent budget must refuse rather than overrun.
    check(grumbo::decodeWav(file, 4096), 4096);
    return 0;
}

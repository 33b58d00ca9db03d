// Bounded fuzzing that runs in every build: the seed corpus and deterministic mutations of it go
// through the same checks as the libFuzzer target.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace grumbo {
namespace {

std::vector<std::vector<std::uint8_t>> readCorpus() {
    std::vector<std::vector<std::uint8_t>> corpus;
    for (const auto& entry : std::filesystem::directory_iterator(WAV_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return corpus;
}

void putU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// One random edit of the kinds that break parsers: bit flips, hostile length and rate fields,
// truncation, and duplicated or inserted ranges.
void mutate(std::vector<std::uint8_t>& bytes, std::mt19937& rng) {
    auto pick = [&](std::size_t bound) { return bound == 0 ? 0 : static_cast<std::size_t>(rng() % bound); };
    switch (rng() % 6) {
    case 0:
        if (!bytes.empty()) {
            bytes[pick(bytes.size())] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        }
        break;
    case 1: {
        static constexpr std::uint32_t INTERESTING[] = {
            0, 1, 2, 7999, 8000, 44100, 192000, 192001, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0xFFFFFFF8};
        putU32(bytes, pick(bytes.size()), INTERESTING[rng() % std::size(INTERESTING)]);
        break;
    }
    case 2:
        bytes.resize(pick(bytes.size() + 1));
        break;
    case 3: {
        const std::size_t from = pick(bytes.size());
        const std::size_t length = pick(std::min<std::size_t>(bytes.size() - from, 64) + 1);
        const std::vector<std::uint8_t> range(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(from + length));
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size() + 1)), range.begin(),
                     range.end());
        break;
    }
    case 4:
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size() + 1)),
                     static_cast<std::uint8_t>(rng()));
        break;
    default:
        if (bytes.size() > 1) {
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size())));
        }
        break;
    }
}

TEST(WavFuzz, CorpusAndMutationsDecodeSafely) {
    const auto corpus = readCorpus();
    ASSERT_FALSE(corpus.empty());
    for (const auto& file : corpus) {
        LLVMFuzzerTestOneInput(file.data(), file.size());
    }
    std::mt19937 rng(20240611u);
    for (int i = 0; i < 200000; ++i) {
        std::vector<std::uint8_t> bytes = corpus[rng() % corpus.size()];
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            mutate(bytes, rng);
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
}

} // namespace
} // namespace grumbo

// Fuzz target: any file content decodes without fault, and decoded text written back the way
// the game writes it decodes to the same text.

#include "save/save_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    if (grumbo::decodeSaveText(data, size, text) != 0) {
        if (!text.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::vector<std::uint8_t> bytes = grumbo::encodeSaveText(text);
    std::wstring again;
    if (grumbo::decodeSaveText(bytes.data(), bytes.size(), again) != 0 || again != text) {
        std::abort();
    }
    return 0;
}

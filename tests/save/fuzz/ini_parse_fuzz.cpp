// Fuzz target: any text parses without fault, and what parse keeps survives a serialize and a
// second parse unchanged.

#include "save/ini_snapshot.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two bytes per character, little-endian, so every character the parser treats specially
    // (brackets, quotes, line breaks, the byte-order mark) is within easy reach.
    std::wstring text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    }
    grumbo::IniSnapshot first;
    first.parse(text);
    const std::wstring serialized = first.serialize();
    grumbo::IniSnapshot second;
    second.parse(serialized);
    if (second.serialize() != serialized || first.sections.size() != second.sections.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < first.sections.size(); ++i) {
        if (first.sections[i].name != second.sections[i].name ||
            first.sections[i].entries != second.sections[i].entries) {
            std::abort();
        }
    }
    for (const auto& section : first.sections) {
        for (const auto& entry : section.entries) {
            if (first.get(section.name, entry.first, L"") != entry.second) {
                std::abort();
            }
            (void)first.integer(section.name, entry.first, 0);
        }
    }
    return 0;
}

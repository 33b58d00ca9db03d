#pragma once

// Scratch folders and raw file access for the save tests.

#include "../audio/temp_folder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace grumbo::testing_support {

using ScratchFolder = test::TempFolder;
using test::readBytes;
using test::writeBytes;

// What the writer puts on disk for ASCII text: FF FE, then each character as two bytes.
inline std::vector<std::uint8_t> utf16le(const std::string& ascii) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char c : ascii) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

} // namespace grumbo::testing_support

#pragma once

#include "../audio/temp_folder.h"

#include <cstdlib>
#include <string>

namespace grumbo::forge::test {

using grumbo::test::readBytes;
using ForgeFolder = grumbo::test::TempFolder;

// Runs the real forge program into folder; returns its exit status.
inline int runForge(const std::filesystem::path& folder, const std::string& options) {
    const std::string command =
        std::string("\"") + GRUMBO_FORGE_EXE + "\" \"" + folder.string() + "\" " + options;
    return std::system(command.c_str());
}

inline std::string espeakOption() {
    const std::string espeak = GRUMBO_ESPEAK_EXE;
    return espeak.empty() ? std::string() : "--espeak \"" + espeak + "\"";
}

} // namespace grumbo::forge::test

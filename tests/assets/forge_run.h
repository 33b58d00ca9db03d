#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace grumbo::forge::test {

// A fresh folder under the system's temporary folder for one forge run, removed afterwards.
class ForgeFolder {
  public:
    explicit ForgeFolder(const std::string& tag) {
        std::random_device seed;
        path =
            std::filesystem::temp_directory_path() / ("grumbo_forge_" + tag + "_" + std::to_string(seed()));
        std::filesystem::create_directories(path);
    }
    ~ForgeFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ForgeFolder(const ForgeFolder&) = delete;
    ForgeFolder& operator=(const ForgeFolder&) = delete;

    std::filesystem::path path;
};

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

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace grumbo::forge::test

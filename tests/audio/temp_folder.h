#pragma once

// A scratch folder and whole-file access, shared by the tests that touch the disk.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace grumbo::test {

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// What the save writer puts on disk for ASCII text: FF FE, then each character as two bytes.
inline std::vector<std::uint8_t> utf16le(const std::string& ascii) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char c : ascii) {
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
    }
    return bytes;
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::random_device seed;
        static std::atomic<int> counter{0};
        path = std::filesystem::temp_directory_path() /
               ("grumbo_test_" + std::to_string(seed()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes a file below the folder, making the folders on its way.
    void write(const std::filesystem::path& relative, const std::vector<std::uint8_t>& bytes) const {
        std::filesystem::create_directories((path / relative).parent_path());
        writeBytes(path / relative, bytes);
    }

    std::wstring wide() const { return path.wstring(); }
    std::wstring file(const std::string& name) const { return (path / name).wstring(); }

    // Everything in the folder except the named files: leftover temporary files.
    std::vector<std::string> othersThan(const std::vector<std::string>& expected) const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
                found.push_back(name);
            }
        }
        return found;
    }

    std::filesystem::path path;
};

} // namespace grumbo::test

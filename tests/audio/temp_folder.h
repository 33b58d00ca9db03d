#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace grumbo::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::random_device seed;
        static std::atomic<int> counter{0};
        path = std::filesystem::temp_directory_path() /
               ("grumbo_audio_" + std::to_string(seed()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    void write(const std::filesystem::path& relative, const std::vector<std::uint8_t>& bytes) const {
        const std::filesystem::path full = path / relative;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream out(full, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::wstring wide() const { return path.wstring(); }

    std::filesystem::path path;
};

} // namespace grumbo::test

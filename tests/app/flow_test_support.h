// Helpers for the app flow tests: a temporary folder and file bytes.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace grumbo::test {

class FlowTempFolder {
  public:
    FlowTempFolder() {
        std::random_device seed;
        static std::atomic<int> counter{0};
        path = std::filesystem::temp_directory_path() /
               ("grumbo_flow_" + std::to_string(seed()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path);
    }
    ~FlowTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    FlowTempFolder(const FlowTempFolder&) = delete;
    FlowTempFolder& operator=(const FlowTempFolder&) = delete;

    std::filesystem::path path;
};

inline void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace grumbo::test

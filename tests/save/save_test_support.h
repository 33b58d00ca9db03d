#pragma once

// Scratch folders and raw file access for the save tests.

#include "platform/files.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace grumbo::testing_support {

// A fresh folder under the test framework's temporary directory, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "grumbo_save_" + std::to_string(currentProcessId());
        if (info != nullptr) {
            name += std::string("_") + info->test_suite_name() + "_" + info->name();
        }
        root = std::filesystem::path(::testing::TempDir()) / name;
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path root;

    std::wstring file(const std::string& name) const { return (root / name).wstring(); }

    // Everything in the folder except the named files: leftover temporary files.
    std::vector<std::string> othersThan(const std::vector<std::string>& expected) const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(root)) {
            std::string name = entry.path().filename().string();
            bool known = false;
            for (const auto& e : expected) {
                known = known || e == name;
            }
            if (!known) {
                found.push_back(name);
            }
        }
        return found;
    }
};

inline std::vector<std::uint8_t> readBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

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

#include "forge_run.h"

#include <gtest/gtest.h>
#include <map>

namespace grumbo::forge::test {
namespace {

std::map<std::string, std::vector<std::uint8_t>> snapshot(const std::filesystem::path& root) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), root).string()] = readBytes(entry.path());
        }
    }
    return files;
}

TEST(ForgeDeterminism, TwoRunsWriteTheSameBytes) {
    ForgeFolder first;
    ForgeFolder second;
    for (const ForgeFolder* run : {&first, &second}) {
        const std::string contact = " --contact \"" + (run->path / "contact.png").string() + "\"";
        ASSERT_EQ(runForge(run->path / "assets", espeakOption() + contact), 0);
    }
    auto a = snapshot(first.path);
    auto b = snapshot(second.path);
    // Sheet, icon pair, 10 backdrops, 10 terrains, contact sheet, 19 effects, 24 music clips.
    EXPECT_GE(a.size(), 66u);
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        auto other = b.find(name);
        ASSERT_NE(other, b.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }
    EXPECT_EQ(a.count("assets/audio/voice_work.tmp"), 0u);
}

} // namespace
} // namespace grumbo::forge::test

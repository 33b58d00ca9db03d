// Where the save goes on Linux: the per-user folder even when it cannot be made yet, folder
// names that are not UTF-8 kept byte for byte, and a private save staying private.
#include "app/save_schema.h"
#include "platform/user_paths.h"
#include "save/native_save.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

namespace fs = std::filesystem;

struct Scratch {
    fs::path root = fs::temp_directory_path() / ("grumbo_place_" + std::to_string(::getpid()));
    Scratch() { fs::create_directories(root); }
    ~Scratch() { fs::remove_all(root); }
};

void save(const std::wstring& path, const std::wstring& text) {
    AsyncSave writer;
    ASSERT_TRUE(writer.open(path));
    writer.enqueue(text);
    writer.flush();
}

TEST(SavePlace, TheUserFolderStaysThePlaceEvenWhenItCannotBeMade) {
    Scratch scratch;
    const std::wstring data = scratch.root.wstring();
    EXPECT_EQ(saveFilePath(data, L"/opt/game"), data + L"/LanternFox/GrumboMegastream/save.ini");
    EXPECT_TRUE(fs::is_directory(scratch.root / "LanternFox" / "GrumboMegastream"));

    // A plain file in the way: the save fails, but it never moves beside the game.
    fs::remove_all(scratch.root / "LanternFox");
    std::ofstream(scratch.root / "LanternFox") << "in the way";
    EXPECT_EQ(saveFilePath(data, L"/opt/game"), data + L"/LanternFox/GrumboMegastream/save.ini");
    EXPECT_EQ(saveFilePath(L"", L"/opt/game"), L"/opt/game/save.ini");
}

TEST(SavePlace, AFolderNameThatIsNotUtf8IsKeptByteForByte) {
    Scratch scratch;
    const std::string home = scratch.root.string() + "/caf\xE9";
    ASSERT_EQ(::setenv("XDG_DATA_HOME", home.c_str(), 1), 0);
    const std::wstring path = saveFilePath(userDataFolder(), L"/opt/game");
    ::unsetenv("XDG_DATA_HOME");
    save(path, L"[Journey]\r\nLevel=2\r\n");
    EXPECT_TRUE(fs::exists(fs::path(home) / "LanternFox" / "GrumboMegastream" / "save.ini"));
    EXPECT_FALSE(fs::exists(scratch.root / "caf\xC3\xA9"));
}

TEST(SavePlace, ASaveKeepsTheModeItHad) {
    Scratch scratch;
    const fs::path file = scratch.root / "save.ini";
    save(file.wstring(), L"[Journey]\r\nLevel=1\r\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    save(file.wstring(), L"[Journey]\r\nLevel=2\r\n");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
} // namespace grumbo

// Where the save goes on Linux: the per-user folder even when it cannot be made yet, folder
// names that are not UTF-8 kept byte for byte, and a private save staying private; and how
// start-up reads it: whatever can be decoded, from a file of any size. And where the artwork is
// found: beside the executable, else in the installed data folder.
#include "../audio/temp_folder.h"
#include "app/asset_folder.h"
#include "app/save_schema.h"
#include "platform/user_paths.h"
#include "save/native_save.h"
#include "save/save_text.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace grumbo {
namespace {

namespace fs = std::filesystem;

using Scratch = test::TempFolder;

void save(const std::wstring& path, const std::wstring& text) {
    AsyncSave writer;
    ASSERT_TRUE(writer.open(path));
    writer.enqueue(text);
    writer.flush();
}

TEST(SavePlace, TheUserFolderStaysThePlaceEvenWhenItCannotBeMade) {
    Scratch scratch;
    const std::wstring data = scratch.path.wstring();
    EXPECT_EQ(saveFilePath(data, L"/opt/game"), data + L"/LanternFox/GrumboMegastream/save.ini");
    EXPECT_TRUE(fs::is_directory(scratch.path / "LanternFox" / "GrumboMegastream"));

    // A plain file in the way: the save fails, but it never moves beside the game.
    fs::remove_all(scratch.path / "LanternFox");
    std::ofstream(scratch.path / "LanternFox") << "in the way";
    EXPECT_EQ(saveFilePath(data, L"/opt/game"), data + L"/LanternFox/GrumboMegastream/save.ini");
    EXPECT_EQ(saveFilePath(L"", L"/opt/game"), L"/opt/game/save.ini");
}

TEST(SavePlace, AFolderNameThatIsNotUtf8IsKeptByteForByte) {
    Scratch scratch;
    const std::string home = scratch.path.string() + "/caf\xE9";
    ASSERT_EQ(::setenv("XDG_DATA_HOME", home.c_str(), 1), 0);
    const std::wstring path = saveFilePath(userDataFolder(), L"/opt/game");
    ::unsetenv("XDG_DATA_HOME");
    save(path, L"[Journey]\r\nLevel=2\r\n");
    EXPECT_TRUE(fs::exists(fs::path(home) / "LanternFox" / "GrumboMegastream" / "save.ini"));
    EXPECT_FALSE(fs::exists(scratch.path / "caf\xC3\xA9"));
}

TEST(SavePlace, ASaveKeepsTheModeItHad) {
    Scratch scratch;
    const fs::path file = scratch.path / "save.ini";
    save(file.wstring(), L"[Journey]\r\nLevel=1\r\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    save(file.wstring(), L"[Journey]\r\nLevel=2\r\n");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(SaveStartup, ReadsWhatItCanFromDamagedAndHugeFiles) {
    Scratch scratch;
    const fs::path file = scratch.path / "save.ini";
    const auto startWith = [&](std::vector<std::uint8_t> bytes) {
        test::writeBytes(file, bytes);
        Progress progress;
        Settings settings;
        loadSaveFile(file.wstring(), progress, settings);
        return std::pair{progress.savedLevel, settings.musicVolume};
    };
    const std::wstring text = L"[Journey]\r\nLevel=4\r\n[Settings]\r\nMusic=40\r\n";
    // UTF-16 with one stray byte at the end.
    std::vector<std::uint8_t> odd = encodeSaveText(text);
    odd.push_back('x');
    EXPECT_EQ(startWith(odd), (std::pair{4, 0.4f}));
    // UTF-8 after its mark, with an invalid byte in a line of its own.
    std::string utf8 = "\xEF\xBB\xBF[Journey]\nName=\xC3\x28\nlevel = \"4\"\n[SETTINGS]\nMusic=40\n";
    EXPECT_EQ(startWith({utf8.begin(), utf8.end()}), (std::pair{4, 0.4f}));
    // 80 MiB of comment after the keys, and a key after them too.
    std::vector<std::uint8_t> huge = encodeSaveText(text + L"; ");
    huge.resize(huge.size() + (80u << 20), 'x');
    const std::vector<std::uint8_t> tail = encodeSaveText(L"\r\n[Journey]\r\nLevel=6\r\n");
    huge.insert(huge.end(), tail.begin() + 2, tail.end());
    EXPECT_EQ(startWith(huge), (std::pair{6, 0.4f}));
    // Missing: the defaults.
    fs::remove(file);
    Progress progress;
    Settings settings;
    loadSaveFile(file.wstring(), progress, settings);
    EXPECT_EQ(progress.savedLevel, -1);
}

TEST(AssetPlace, BesideTheExecutableElseTheInstalledDataFolder) {
    Scratch scratch;
    const fs::path games = scratch.path / "usr" / "games";
    const fs::path installed = scratch.path / "usr" / "share" / "games" / "grumbos-megastream";
    fs::create_directories(games);
    // Neither: the folder beside the executable, so a failure names it.
    EXPECT_EQ(findAssetFolder(games.string()), games.string() + "/assets");
    fs::create_directories(installed);
    EXPECT_TRUE(fs::equivalent(findAssetFolder(games.string()), installed));
    // A build tree or an unpacked zip keeps its own assets even beside an installed copy.
    fs::create_directories(games / "assets");
    EXPECT_EQ(findAssetFolder(games.string()), games.string() + "/assets");
}

} // namespace
} // namespace grumbo

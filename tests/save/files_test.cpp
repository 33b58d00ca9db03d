// The POSIX file operations behind the save writer, checked against real folders.

#include "../audio/temp_folder.h"
#include "platform/files.h"

#include <gtest/gtest.h>

// The file layer's fsync calls land here instead of in the C library: each records the path its
// descriptor names and succeeds at once, as the scratch files need no durability.
namespace {
std::vector<std::filesystem::path> synced;
}
extern "C" int fsync(int fd) {
    synced.push_back(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)));
    return 0;
}

namespace grumbo {
namespace {

using test::TempFolder;
using test::writeBytes;

TEST(PlatformFiles, ReadWholeFileHonoursTheLimitAndRefusesFolders) {
    TempFolder dir;
    std::vector<std::uint8_t> bytes = {1, 2, 3};
    writeBytes(dir.file("three"), {7, 8, 9});
    EXPECT_EQ(readWholeFile(dir.file("three"), bytes, 3), 0u);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{7, 8, 9}));
    EXPECT_EQ(readWholeFile(dir.file("three"), bytes, 2), syserror::FileTooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(readWholeFile(dir.file("absent"), bytes, 10), syserror::FileNotFound);
    EXPECT_EQ(readWholeFile(dir.path.wstring(), bytes, 10), syserror::AccessDenied);
    EXPECT_EQ(readWholeFile(dir.file("three") + L"/below", bytes, 10), syserror::PathNotFound);
}

TEST(PlatformFiles, CreateNewIsExclusiveAndReplaceIsAtomic) {
    TempFolder dir;
    auto files = makeNativeFileSystem();
    FileHandle file = INVALID_FILE;
    ASSERT_EQ(files->createNew(dir.file("a"), file), 0u);
    std::size_t done = 0;
    EXPECT_EQ(files->write(file, "hey", 3, done), 0u);
    EXPECT_EQ(done, 3u);
    synced.clear();
    EXPECT_EQ(files->flush(file), 0u);
    const auto folder = std::filesystem::canonical(dir.path);
    EXPECT_EQ(synced, (std::vector<std::filesystem::path>{folder / "a"}));
    EXPECT_EQ(files->close(file), 0u);

    FileHandle again = INVALID_FILE;
    EXPECT_EQ(files->createNew(dir.file("a"), again), syserror::FileExists);
    EXPECT_EQ(again, INVALID_FILE);
    EXPECT_EQ(files->createNew(dir.file("none/a"), again), syserror::PathNotFound);

    writeBytes(dir.file("b"), {'o', 'l', 'd'});
    EXPECT_EQ(files->replace(dir.file("a"), dir.file("b")), 0u);
    // The rename lives in the folder, so the folder is synced after it.
    EXPECT_EQ(synced, (std::vector<std::filesystem::path>{folder / "a", folder}));
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(readWholeFile(dir.file("b"), bytes, 10), 0u);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'h', 'e', 'y'}));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "a"));
    EXPECT_EQ(files->replace(dir.file("a"), dir.file("b")), syserror::FileNotFound);
    files->remove(dir.file("b"));
    files->remove(dir.file("b"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "b"));

    // Other names reach the disk as UTF-8; a folder in the target's place is not replaced.
    const std::wstring wide = dir.path.wstring() + L"/s\u00E4ve \U0001F4A8";
    ASSERT_EQ(files->createNew(wide, file), 0u);
    EXPECT_EQ(files->close(file), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir.path / u8"s\u00E4ve \U0001F4A8"));
    std::filesystem::create_directories(dir.path / "folder" / "inside");
    EXPECT_EQ(files->replace(wide, dir.file("folder")), syserror::AccessDenied);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path / "folder" / "inside"));
}

TEST(PlatformFiles, FoldersOneAtATimeOrAllAtOnce) {
    TempFolder dir;
    EXPECT_EQ(createFolder(dir.file("one")), 0u);
    EXPECT_EQ(createFolder(dir.file("one")), syserror::AlreadyExists);
    EXPECT_EQ(createFolder(dir.file("x/y")), syserror::PathNotFound);
    EXPECT_EQ(createFolders(dir.file("x/y/z")), 0u);
    EXPECT_EQ(createFolders(dir.file("x/y/z")), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path / "x" / "y" / "z"));
    writeBytes(dir.file("file"), {});
    EXPECT_EQ(createFolders(dir.file("file")), syserror::AlreadyExists);
    EXPECT_EQ(createFolders(dir.file("file/below")), syserror::PathNotFound);
    EXPECT_EQ(createFolder(std::wstring(L"a\0b", 3)), syserror::InvalidName);
    // An embedded NUL would otherwise quietly name a different file.
    FileHandle file = INVALID_FILE;
    EXPECT_EQ(makeNativeFileSystem()->openRead(dir.file("file") + std::wstring(1, L'\0') + L"x", file),
              syserror::InvalidName);
}

} // namespace
} // namespace grumbo

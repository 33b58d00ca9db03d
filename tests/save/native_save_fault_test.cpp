#include "save/native_save.h"
#include "save_test_support.h"
#include "scripted_files.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

using testing_support::readBytes;
using testing_support::ScratchFolder;
using testing_support::ScriptedFiles;
using testing_support::utf16le;
using testing_support::writeBytes;

const std::string OLD_TEXT = "[Journey]\r\nLevel=2\r\n";
const std::wstring NEW_TEXT = L"[Journey]\r\nLevel=3\r\n";

// A writer over an existing save file, with failures injected on cue.
struct FaultySave {
    explicit FaultySave(const ScratchFolder& dir) : path(dir.file("save.ini")) {
        writeBytes(path, utf16le(OLD_TEXT));
        auto owned = std::make_unique<ScriptedFiles>();
        files = owned.get();
        save = std::make_unique<AsyncSave>(std::move(owned));
        EXPECT_TRUE(save->open(path));
    }
    std::uint32_t attempt(const std::wstring& text) {
        save->enqueue(text);
        save->flush();
        return save->lastError();
    }
    std::wstring path;
    ScriptedFiles* files = nullptr;
    std::unique_ptr<AsyncSave> save;
};

TEST(AsyncSaveFaults, EachFailingStepKeepsTheOldFileAndRemovesTheTemporary) {
    struct Case {
        const char* name;
        ScriptedFiles::Script script;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"denied", {.createError = syserror::AccessDenied}, syserror::AccessDenied},
        {"disk full", {.writeBudget = 7, .writeError = syserror::DiskFull}, syserror::DiskFull},
        {"nothing written", {.writeNothing = true}, syserror::WriteFault},
        {"flush", {.flushError = syserror::IoDevice}, syserror::IoDevice},
        {"close", {.closeError = syserror::IoDevice}, syserror::IoDevice},
        {"rename", {.replaceError = syserror::SharingViolation}, syserror::SharingViolation},
        {"names taken", {.createExisting = 8}, syserror::FileExists},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder dir;
        FaultySave s(dir);
        s.files->setScript(c.script);
        EXPECT_EQ(s.attempt(NEW_TEXT), c.expected);
        EXPECT_EQ(readBytes(s.path), utf16le(OLD_TEXT));
        EXPECT_TRUE(dir.othersThan({"save.ini"}).empty());
        EXPECT_EQ(s.save->latestSnapshot(), NEW_TEXT);
    }
}

TEST(AsyncSaveFaults, HandingTheSameTextAgainRetries) {
    ScratchFolder dir;
    FaultySave s(dir);
    s.files->setScript({.createError = syserror::AccessDenied});
    EXPECT_EQ(s.attempt(NEW_TEXT), syserror::AccessDenied);
    EXPECT_EQ(s.attempt(NEW_TEXT), syserror::AccessDenied);
    EXPECT_EQ(s.files->creations(), 2);
    s.files->setScript({});
    EXPECT_EQ(s.attempt(NEW_TEXT), 0u);
    EXPECT_EQ(readBytes(s.path), utf16le("[Journey]\r\nLevel=3\r\n"));
    // Now on disk, beside the earlier run's file: no further write.
    EXPECT_EQ(s.attempt(NEW_TEXT), 0u);
    EXPECT_EQ(s.files->creations(), 4);
}

// The rename went through but the folder could not be synced: the error is
// kept, yet the disk holds the new text, so going back to the old text is a
// real change that must be written, not dropped as already saved.
TEST(AsyncSaveFaults, AFailedSyncAfterTheRenameStillCountsTheNewTextAsWritten) {
    ScratchFolder dir;
    FaultySave s(dir);
    s.files->setScript({.replaceError = syserror::IoDevice, .renameThenFail = true});
    EXPECT_EQ(s.attempt(NEW_TEXT), syserror::IoDevice);
    EXPECT_EQ(readBytes(s.path), utf16le("[Journey]\r\nLevel=3\r\n"));
    EXPECT_TRUE(dir.othersThan({"save.ini", "save.ini.bak"}).empty());
    s.files->setScript({});
    EXPECT_EQ(s.attempt(NEW_TEXT), syserror::IoDevice) << "already on disk: nothing to write";
    EXPECT_EQ(s.attempt(std::wstring(OLD_TEXT.begin(), OLD_TEXT.end())), 0u);
    EXPECT_EQ(readBytes(s.path), utf16le(OLD_TEXT));
}

// Temporaries a crashed run left beside the save are removed on open; files
// that only look alike, and this process's own names, are left alone.
TEST(AsyncSaveFaults, OpeningRemovesTheTemporariesACrashLeftBehind) {
    ScratchFolder dir;
    const std::string own = "save.ini.tmp." + std::to_string(currentProcessId()) + ".999";
    const std::vector<std::string> stale = {"save.ini.tmp.1.0", "save.ini.tmp.4242.17"};
    const std::vector<std::string> kept = {"save.ini.tmp.12",   "save.ini.tmp.1.2.3", "save.ini.tmp.x.1",
                                           "other.ini.tmp.1.0", "save.ini.bak",       own};
    for (const auto& name : stale) {
        writeBytes(dir.file(name), utf16le(OLD_TEXT));
    }
    for (const auto& name : kept) {
        writeBytes(dir.file(name), utf16le(OLD_TEXT));
    }
    FaultySave s(dir);
    for (const auto& name : stale) {
        EXPECT_FALSE(std::filesystem::exists(dir.root / name)) << name;
    }
    for (const auto& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(dir.root / name)) << name;
    }
}

// Before a run first replaces a file an earlier run left, it keeps that file once as
// save.ini.bak, so a save this run could not read is never simply wiped.
TEST(AsyncSaveFaults, TheEarlierRunsFileIsKeptOnceBeforeItIsFirstReplaced) {
    ScratchFolder dir;
    const std::wstring backup = dir.file("save.ini.bak");
    {
        FaultySave s(dir);
        s.files->setScript({.writeBudget = 0, .writeError = syserror::DiskFull});
        EXPECT_EQ(s.attempt(NEW_TEXT), syserror::DiskFull);
        EXPECT_FALSE(std::filesystem::exists(backup));
        EXPECT_EQ(readBytes(s.path), utf16le(OLD_TEXT)) << "no backup, no replacement";
        s.files->setScript({});
        EXPECT_EQ(s.attempt(L"[Journey]\r\nLevel=4\r\n"), 0u);
        EXPECT_EQ(readBytes(backup), utf16le(OLD_TEXT));
        EXPECT_EQ(s.attempt(L"[Journey]\r\nLevel=5\r\n"), 0u);
        EXPECT_EQ(readBytes(backup), utf16le(OLD_TEXT)) << "once a run";
    }
    AsyncSave next;
    ASSERT_TRUE(next.open(dir.file("save.ini")));
    next.enqueue(L"[Journey]\r\nLevel=6\r\n");
    next.flush();
    EXPECT_EQ(readBytes(backup), utf16le("[Journey]\r\nLevel=5\r\n"));
    // A save this run created from nothing has nothing to keep.
    ScratchFolder fresh;
    AsyncSave first;
    ASSERT_TRUE(first.open(fresh.file("save.ini")));
    first.enqueue(NEW_TEXT);
    first.flush();
    EXPECT_TRUE(fresh.othersThan({"save.ini"}).empty());
}

TEST(AsyncSaveFaults, ADifferentSnapshotAfterAFailureIsWrittenNormally) {
    ScratchFolder dir;
    FaultySave s(dir);
    s.files->setScript({.writeBudget = 0, .writeError = syserror::DiskFull});
    EXPECT_EQ(s.attempt(NEW_TEXT), syserror::DiskFull);
    s.files->setScript({});
    EXPECT_EQ(s.attempt(L"[Journey]\r\nLevel=4\r\n"), 0u);
    EXPECT_EQ(readBytes(s.path), utf16le("[Journey]\r\nLevel=4\r\n"));
    // The old text is what open read; going back to it is a real change again.
    EXPECT_EQ(s.attempt(std::wstring(OLD_TEXT.begin(), OLD_TEXT.end())), 0u);
    EXPECT_EQ(readBytes(s.path), utf16le(OLD_TEXT));
}

TEST(AsyncSaveFaults, SevenTakenNamesStillLeaveAnEighth) {
    ScratchFolder dir;
    FaultySave s(dir);
    s.files->setScript({.createExisting = 7});
    EXPECT_EQ(s.attempt(NEW_TEXT), 0u);
    // The eighth name holds the earlier run's file, the ninth the new text.
    EXPECT_EQ(s.files->creations(), 9);
    EXPECT_EQ(readBytes(s.path), utf16le("[Journey]\r\nLevel=3\r\n"));
}

TEST(AsyncSaveFaults, MissingFolderFailsUntilItExists) {
    ScratchFolder dir;
    const std::wstring path = (dir.root / "missing" / "save.ini").wstring();
    AsyncSave save;
    ASSERT_TRUE(save.open(path));
    save.enqueue(NEW_TEXT);
    save.flush();
    EXPECT_EQ(save.lastError(), syserror::PathNotFound);
    EXPECT_FALSE(std::filesystem::exists(dir.root / "missing"));

    ASSERT_EQ(createFolders((dir.root / "missing").wstring()), 0u);
    save.enqueue(NEW_TEXT);
    save.flush();
    EXPECT_EQ(save.lastError(), 0u);
    EXPECT_EQ(readBytes(path), utf16le("[Journey]\r\nLevel=3\r\n"));
}

TEST(AsyncSaveFaults, AFolderInTheTargetsPlaceIsNotReplaced) {
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    AsyncSave save;
    ASSERT_TRUE(save.open(path));
    std::filesystem::create_directory(dir.root / "save.ini");
    std::filesystem::create_directory(dir.root / "save.ini" / "inside");
    save.enqueue(NEW_TEXT);
    save.flush();
    EXPECT_EQ(save.lastError(), syserror::AccessDenied);
    EXPECT_TRUE(std::filesystem::is_directory(dir.root / "save.ini" / "inside"));
    EXPECT_TRUE(dir.othersThan({"save.ini"}).empty());
}

TEST(AsyncSaveFaults, WideAndInvalidPaths) {
    ScratchFolder dir;
    // Non-ASCII names reach the disk as UTF-8.
    const std::wstring path = dir.root.wstring() + L"/s\u00E4ve \U0001F4A8.ini";
    {
        AsyncSave save;
        ASSERT_TRUE(save.open(path));
        save.enqueue(NEW_TEXT);
    }
    EXPECT_TRUE(std::filesystem::exists(dir.root / u8"s\u00E4ve \U0001F4A8.ini"));

    // An embedded NUL would otherwise quietly name a different file.
    AsyncSave nul;
    EXPECT_FALSE(nul.open(dir.file("save.ini") + std::wstring(1, L'\0') + L"x"));
    EXPECT_EQ(nul.lastError(), syserror::InvalidName);
}

} // namespace
} // namespace grumbo

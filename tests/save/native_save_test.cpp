#include "../audio/temp_folder.h"
#include "save/native_save.h"
#include "scripted_files.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

using namespace test;

const std::string OLD_TEXT = "[Journey]\r\nLevel=2\r\n";
const std::wstring NEW_TEXT = L"[Journey]\r\nLevel=3\r\n";

// Hands the writer one snapshot and waits for it: the error of the last write, 0 when it is on disk.
std::uint32_t attempt(AsyncSave& save, const std::wstring& text) {
    save.enqueue(text);
    save.flush();
    return save.lastError();
}

// A writer over the scripted file system; files points into it while it lives. Given a folder,
// it is opened on a save.ini there that holds OLD_TEXT (or onDisk; none when null).
struct ScriptedSave {
    ScriptedSave() {
        auto owned = std::make_unique<ScriptedFiles>();
        files = owned.get();
        save = std::make_unique<AsyncSave>(std::move(owned));
    }
    explicit ScriptedSave(const TempFolder& dir, const char* onDisk = OLD_TEXT.c_str()) : ScriptedSave() {
        path = dir.file("save.ini");
        if (onDisk != nullptr) {
            writeBytes(path, utf16le(onDisk));
        }
        EXPECT_TRUE(save->open(path));
    }
    std::uint32_t attempt(const std::wstring& text) { return grumbo::attempt(*save, text); }
    // Enqueues text and runs meanwhile while its write is held; then lets every write finish.
    template <class Meanwhile> void whileWriting(const std::wstring& text, Meanwhile meanwhile) {
        files->hold();
        save->enqueue(text);
        files->waitUntilHeld();
        meanwhile();
        files->release();
        save->flush();
    }
    std::wstring path;
    ScriptedFiles* files = nullptr;
    std::unique_ptr<AsyncSave> save;
};

TEST(AsyncSaveOpen, MissingFileStartsEmptyAndTheFirstSaveCreatesIt) {
    TempFolder dir;
    const std::wstring path = dir.file("save.ini");
    {
        AsyncSave save;
        ASSERT_TRUE(save.open(path));
        EXPECT_EQ(save.lastError(), 0u);
        EXPECT_EQ(save.latestSnapshot(), L"");
        save.enqueue(L"[A]\r\nk=1\r\n");
        EXPECT_EQ(save.latestSnapshot(), L"[A]\r\nk=1\r\n");
        save.flush();
        EXPECT_EQ(save.lastError(), 0u);
        EXPECT_EQ(readBytes(path), utf16le("[A]\r\nk=1\r\n"));
    }
    AsyncSave again;
    ASSERT_TRUE(again.open(path));
    EXPECT_EQ(again.latestSnapshot(), L"[A]\r\nk=1\r\n");
    EXPECT_TRUE(dir.othersThan({"save.ini"}).empty());
    // Without a file even empty text is news: it is written.
    AsyncSave empty;
    ASSERT_TRUE(empty.open(dir.file("new.ini")));
    attempt(empty, L"");
    EXPECT_EQ(readBytes(dir.file("new.ini")), utf16le(""));
}

TEST(AsyncSaveOpen, RefusesASecondOpenAnEmptyPathAndWorkBeforeOpen) {
    TempFolder dir;
    AsyncSave save;
    save.flush();
    EXPECT_EQ(save.lastError(), 0u);
    save.enqueue(L"early");
    EXPECT_EQ(save.lastError(), syserror::InvalidHandle);
    EXPECT_EQ(save.latestSnapshot(), L"");

    EXPECT_FALSE(save.open(L""));
    EXPECT_EQ(save.lastError(), syserror::InvalidParameter);
    ASSERT_TRUE(save.open(dir.file("save.ini")));
    EXPECT_FALSE(save.open(dir.file("other.ini")));
    EXPECT_EQ(save.lastError(), syserror::InvalidOperation);
}

TEST(AsyncSaveOpen, SizeLimitIsExactlyEightMebibytes) {
    TempFolder dir;
    const std::wstring path = dir.file("save.ini");
    std::vector<std::uint8_t> bytes(8 * 1024 * 1024, 'a');
    bytes[0] = 0xFF;
    bytes[1] = 0xFE;
    for (std::size_t i = 3; i < bytes.size(); i += 2) {
        bytes[i] = 0;
    }
    writeBytes(path, bytes);
    {
        AsyncSave save;
        ASSERT_TRUE(save.open(path));
        EXPECT_EQ(save.latestSnapshot().size(), 4u * 1024 * 1024 - 1);
    }
    bytes.push_back(0);
    writeBytes(path, bytes);
    AsyncSave save;
    EXPECT_FALSE(save.open(path));
    EXPECT_EQ(save.lastError(), syserror::FileTooLarge);
    EXPECT_EQ(save.latestSnapshot(), L"");
    save.enqueue(L"x");
    EXPECT_EQ(save.lastError(), syserror::InvalidHandle);
}

TEST(AsyncSaveOpen, ReadFailuresAreReported) {
    TempFolder dir;
    const std::wstring path = dir.file("save.ini");
    writeBytes(path, utf16le("[A]\r\nk=1\r\n"));
    const std::pair<ScriptedFiles::Script, std::uint32_t> cases[] = {
        {{.readChunk = 3}, 0},                                   // short reads are read on
        {{.readLimit = 6}, syserror::HandleEof},                 // the file ends before its size
        {{.readError = syserror::IoDevice}, syserror::IoDevice}, // and each failing step
        {{.sizeError = syserror::InvalidHandle}, syserror::InvalidHandle},
        {{.openReadError = syserror::AccessDenied}, syserror::AccessDenied},
    };
    for (const auto& [script, error] : cases) {
        ScriptedSave s;
        s.files->setScript(script);
        EXPECT_EQ(s.save->open(path), error == 0) << error;
        EXPECT_EQ(s.save->lastError(), error);
        // After a failed open the writer may still be opened.
        s.files->setScript({});
        EXPECT_TRUE(s.save->open(path) == (error != 0)) << error;
        EXPECT_EQ(s.save->latestSnapshot(), L"[A]\r\nk=1\r\n");
    }
}

TEST(AsyncSaveProtocol, UnchangedTextIsNeverWritten) {
    TempFolder dir;
    ScriptedSave s(dir, "[A]\r\nk=1\r\n");
    s.attempt(L"[A]\r\nk=1\r\n");
    EXPECT_EQ(s.files->creations(), 0);
    s.attempt(L"[A]\r\nk=2\r\n");
    s.attempt(L"[A]\r\nk=2\r\n");
    // One for the earlier run's file kept as save.ini.bak, one for the new text.
    EXPECT_EQ(s.files->creations(), 2);

    // An existing empty file is accepted, and empty text is then already on disk.
    writeBytes(dir.file("empty.ini"), {});
    ScriptedSave empty;
    ASSERT_TRUE(empty.save->open(dir.file("empty.ini")));
    empty.attempt(L"");
    EXPECT_EQ(empty.files->creations(), 0);
}

TEST(AsyncSaveProtocol, SnapshotsDuringOneWriteCoalesceIntoOneMoreOrNone) {
    TempFolder dir;
    ScriptedSave s(dir, nullptr);
    // Returning to the text in flight writes it once.
    s.whileWriting(L"A", [&] {
        s.save->enqueue(L"B");
        s.save->enqueue(L"A");
        EXPECT_EQ(s.save->latestSnapshot(), L"A");
    });
    EXPECT_EQ(s.files->creations(), 1);
    EXPECT_EQ(readBytes(s.path), utf16le("A"));
    s.whileWriting(L"first", [&] {
        for (int i = 0; i < 50; ++i) {
            s.save->enqueue(L"snapshot " + std::to_wstring(i));
        }
    });
    EXPECT_EQ(s.files->creations(), 3);
    EXPECT_EQ(readBytes(s.path), utf16le("snapshot 49"));
    EXPECT_TRUE(dir.othersThan({"save.ini"}).empty());
}

TEST(AsyncSaveProtocol, BackToTheDiskTextDropsThePendingSnapshot) {
    TempFolder dir;
    ScriptedSave s(dir, "disk");
    s.whileWriting(L"one", [&] { s.save->enqueue(L"two"); });
    // "two" is on disk and "three" is being written: returning to "two" must still be saved.
    s.whileWriting(L"three", [&] { s.save->enqueue(L"two"); });
    EXPECT_EQ(readBytes(s.path), utf16le("two"));
    EXPECT_EQ(s.files->creations(), 5);
}

TEST(AsyncSaveProtocol, DestructorWritesWhatIsPending) {
    TempFolder dir;
    const std::wstring path = dir.file("save.ini");
    for (int round = 0; round < 20; ++round) {
        std::string text = "[Journey]\r\nRound=" + std::to_string(round) + "\r\n";
        {
            AsyncSave save;
            ASSERT_TRUE(save.open(path));
            save.enqueue(std::wstring(text.begin(), text.end()));
        }
        ASSERT_EQ(readBytes(path), utf16le(text)) << round;
    }
}

TEST(AsyncSaveProtocol, TemporaryNamesSitBesideTheTargetAndNeverRepeat) {
    TempFolder dir;
    ScriptedSave s(dir, nullptr);
    s.attempt(L"1");
    s.attempt(L"2");
    std::vector<std::wstring> names = s.files->createdNames();
    ASSERT_EQ(names.size(), 2u);
    const std::wstring prefix = s.path + L".tmp." + std::to_wstring(currentProcessId()) + L".";
    for (const auto& name : names) {
        ASSERT_EQ(name.compare(0, prefix.size(), prefix), 0);
        EXPECT_EQ(name.find_first_not_of(L"0123456789", prefix.size()), std::wstring::npos);
    }
    EXPECT_NE(names[0], names[1]);
}

TEST(AsyncSaveProtocol, LargeSnapshotsGoOutInBlocksAndSurviveShortWrites) {
    TempFolder dir;
    // 3,000,170 bytes: short writes of 4093 bytes leave a single byte for the last one.
    std::wstring big(1'500'084, L'x');
    for (std::size_t i = 0; i < big.size(); i += 97) {
        big[i] = static_cast<wchar_t>(L'a' + i % 26);
    }
    ScriptedSave s(dir, nullptr);
    EXPECT_EQ(s.attempt(big), 0u);
    EXPECT_EQ(s.files->largestWrite(), 1024u * 1024);
    s.files->setScript({.writeChunk = 4093});
    big[1] = L'!';
    EXPECT_EQ(s.attempt(big), 0u);
    AsyncSave check;
    ASSERT_TRUE(check.open(s.path));
    EXPECT_EQ(check.latestSnapshot(), big);
}

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
        TempFolder dir;
        ScriptedSave s(dir);
        s.files->setScript(c.script);
        EXPECT_EQ(s.attempt(NEW_TEXT), c.expected);
        EXPECT_EQ(readBytes(s.path), utf16le(OLD_TEXT));
        EXPECT_TRUE(dir.othersThan({"save.ini"}).empty());
        EXPECT_EQ(s.save->latestSnapshot(), NEW_TEXT);
        EXPECT_EQ(s.files->openHandles(), 0);
    }
}

TEST(AsyncSaveFaults, HandingTheSameTextAgainRetries) {
    TempFolder dir;
    ScriptedSave s(dir);
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
    TempFolder dir;
    ScriptedSave s(dir);
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
    TempFolder dir;
    const std::string own = "save.ini.tmp." + std::to_string(currentProcessId()) + ".999";
    const std::vector<std::string> stale = {"save.ini.tmp.1.0", "save.ini.tmp.4242.179"};
    const std::vector<std::string> kept = {"save.ini.tmp.12",   "save.ini.tmp.1.2.3", "save.ini.tmp.x.1",
                                           "other.ini.tmp.1.0", "save.ini.bak",       own};
    for (const auto* names : {&stale, &kept}) {
        for (const auto& name : *names) {
            writeBytes(dir.file(name), utf16le(OLD_TEXT));
        }
    }
    ScriptedSave s(dir);
    for (const auto* names : {&stale, &kept}) {
        for (const auto& name : *names) {
            EXPECT_EQ(std::filesystem::exists(dir.path / name), names == &kept) << name;
        }
    }
}

// Before a run first replaces a file an earlier run left, it keeps that file once as
// save.ini.bak, so a save this run could not read is never simply wiped.
TEST(AsyncSaveFaults, TheEarlierRunsFileIsKeptOnceBeforeItIsFirstReplaced) {
    TempFolder dir;
    const std::wstring backup = dir.file("save.ini.bak");
    {
        ScriptedSave s(dir);
        s.files->setScript({.writeBudget = 0, .writeError = syserror::DiskFull});
        EXPECT_EQ(s.attempt(NEW_TEXT), syserror::DiskFull);
        EXPECT_FALSE(std::filesystem::exists(backup));
        EXPECT_EQ(readBytes(s.path), utf16le(OLD_TEXT)) << "no backup, no replacement";
        s.files->setScript({});
        EXPECT_EQ(s.attempt(L"[Journey]\r\nLevel=4\r\n"), 0u) << "a different text after a failure";
        EXPECT_EQ(readBytes(s.path), utf16le("[Journey]\r\nLevel=4\r\n"));
        EXPECT_EQ(readBytes(backup), utf16le(OLD_TEXT));
        // The old text is what open read; going back to it is a real change again.
        EXPECT_EQ(s.attempt(std::wstring(OLD_TEXT.begin(), OLD_TEXT.end())), 0u);
        EXPECT_EQ(readBytes(s.path), utf16le(OLD_TEXT));
        EXPECT_EQ(s.attempt(L"[Journey]\r\nLevel=5\r\n"), 0u);
        EXPECT_EQ(readBytes(backup), utf16le(OLD_TEXT)) << "once a run";
    }
    AsyncSave next;
    ASSERT_TRUE(next.open(dir.file("save.ini")));
    attempt(next, L"[Journey]\r\nLevel=6\r\n");
    EXPECT_EQ(readBytes(backup), utf16le("[Journey]\r\nLevel=5\r\n"));
    // A save this run created from nothing has nothing to keep.
    TempFolder fresh;
    AsyncSave first;
    ASSERT_TRUE(first.open(fresh.file("save.ini")));
    attempt(first, NEW_TEXT);
    EXPECT_TRUE(fresh.othersThan({"save.ini"}).empty());
}

TEST(AsyncSaveFaults, SevenTakenNamesStillLeaveAnEighth) {
    TempFolder dir;
    ScriptedSave s(dir);
    s.files->setScript({.createExisting = 7});
    EXPECT_EQ(s.attempt(NEW_TEXT), 0u);
    // The eighth name holds the earlier run's file, the ninth the new text.
    EXPECT_EQ(s.files->creations(), 9);
    EXPECT_EQ(readBytes(s.path), utf16le("[Journey]\r\nLevel=3\r\n"));
}

} // namespace
} // namespace grumbo

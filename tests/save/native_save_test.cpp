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

// A writer over the scripted file system; files points into it while it lives.
struct ScriptedSave {
    ScriptedSave() {
        auto owned = std::make_unique<ScriptedFiles>();
        files = owned.get();
        save = std::make_unique<AsyncSave>(std::move(owned));
    }
    ScriptedFiles* files = nullptr;
    std::unique_ptr<AsyncSave> save;
};

TEST(AsyncSaveOpen, MissingFileStartsEmptyAndTheFirstSaveCreatesIt) {
    ScratchFolder dir;
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
    empty.enqueue(L"");
    empty.flush();
    EXPECT_EQ(readBytes(dir.file("new.ini")), utf16le(""));
}

TEST(AsyncSaveOpen, RefusesASecondOpenAnEmptyPathAndWorkBeforeOpen) {
    ScratchFolder dir;
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
    ScratchFolder dir;
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

TEST(AsyncSaveOpen, BigEndianIsReadAndWrittenBackLittleEndian) {
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    writeBytes(path, {0xFE, 0xFF, 0, '[', 0, 'A', 0, ']', 0x20, 0xAC});
    AsyncSave save;
    ASSERT_TRUE(save.open(path));
    EXPECT_EQ(save.latestSnapshot(), L"[A]\u20AC");
    save.enqueue(L"[A]\u20AC!");
    save.flush();
    EXPECT_EQ(readBytes(path),
              (std::vector<std::uint8_t>{0xFF, 0xFE, '[', 0, 'A', 0, ']', 0, 0xAC, 0x20, '!', 0}));
}

TEST(AsyncSaveOpen, ReadFailuresAreReported) {
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    writeBytes(path, utf16le("[A]\r\nk=1\r\n"));

    ScriptedSave chunked;
    chunked.files->setScript({.readChunk = 3});
    EXPECT_TRUE(chunked.save->open(path));
    EXPECT_EQ(chunked.save->latestSnapshot(), L"[A]\r\nk=1\r\n");

    ScriptedSave shortRead;
    shortRead.files->setScript({.readLimit = 6});
    EXPECT_FALSE(shortRead.save->open(path));
    EXPECT_EQ(shortRead.save->lastError(), syserror::HandleEof);

    ScriptedSave readError;
    readError.files->setScript({.readError = syserror::IoDevice});
    EXPECT_FALSE(readError.save->open(path));
    EXPECT_EQ(readError.save->lastError(), syserror::IoDevice);

    ScriptedSave sizeError;
    sizeError.files->setScript({.sizeError = syserror::InvalidHandle});
    EXPECT_FALSE(sizeError.save->open(path));
    EXPECT_EQ(sizeError.save->lastError(), syserror::InvalidHandle);

    ScriptedSave denied;
    denied.files->setScript({.openReadError = syserror::AccessDenied});
    EXPECT_FALSE(denied.save->open(path));
    EXPECT_EQ(denied.save->lastError(), syserror::AccessDenied);
    // After a failed open the writer may still be opened.
    denied.files->setScript({});
    EXPECT_TRUE(denied.save->open(path));
    EXPECT_EQ(denied.save->latestSnapshot(), L"[A]\r\nk=1\r\n");
}

TEST(AsyncSaveProtocol, UnchangedTextIsNeverWritten) {
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    writeBytes(path, utf16le("[A]\r\nk=1\r\n"));
    ScriptedSave s;
    ASSERT_TRUE(s.save->open(path));
    s.save->enqueue(L"[A]\r\nk=1\r\n");
    s.save->flush();
    EXPECT_EQ(s.files->creations(), 0);

    s.save->enqueue(L"[A]\r\nk=2\r\n");
    s.save->flush();
    s.save->enqueue(L"[A]\r\nk=2\r\n");
    s.save->flush();
    // One for the earlier run's file kept as save.ini.bak, one for the new text.
    EXPECT_EQ(s.files->creations(), 2);

    // An existing empty file is accepted, and empty text is then already on disk.
    writeBytes(dir.file("empty.ini"), {});
    ScriptedSave empty;
    ASSERT_TRUE(empty.save->open(dir.file("empty.ini")));
    empty.save->enqueue(L"");
    empty.save->flush();
    EXPECT_EQ(empty.files->creations(), 0);
}

TEST(AsyncSaveProtocol, ReturningToTheTextInFlightWritesItOnce) {
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    ScriptedSave s;
    ASSERT_TRUE(s.save->open(path));
    s.files->hold();
    s.save->enqueue(L"A");
    s.files->waitUntilHeld();
    s.save->enqueue(L"B");
    s.save->enqueue(L"A");
    EXPECT_EQ(s.save->latestSnapshot(), L"A");
    s.files->release();
    s.save->flush();
    EXPECT_EQ(s.files->creations(), 1);
    EXPECT_EQ(readBytes(path), utf16le("A"));
}

TEST(AsyncSaveProtocol, SnapshotsDuringOneWriteCoalesceIntoOneMore) {
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    ScriptedSave s;
    ASSERT_TRUE(s.save->open(path));
    s.files->hold();
    s.save->enqueue(L"first");
    s.files->waitUntilHeld();
    for (int i = 0; i < 50; ++i) {
        s.save->enqueue(L"snapshot " + std::to_wstring(i));
    }
    s.files->release();
    s.save->flush();
    EXPECT_EQ(s.files->creations(), 2);
    EXPECT_EQ(readBytes(path), utf16le("snapshot 49"));
    EXPECT_TRUE(dir.othersThan({"save.ini"}).empty());
}

TEST(AsyncSaveProtocol, BackToTheDiskTextDropsThePendingSnapshot) {
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    writeBytes(path, utf16le("disk"));
    ScriptedSave s;
    ASSERT_TRUE(s.save->open(path));
    s.files->hold();
    s.save->enqueue(L"one");
    s.files->waitUntilHeld();
    s.save->enqueue(L"two");
    s.files->release();
    s.save->flush();
    s.files->hold();
    s.save->enqueue(L"three");
    s.files->waitUntilHeld();
    // "two" is on disk and "three" is being written: returning to "two" must still be saved.
    s.save->enqueue(L"two");
    s.files->release();
    s.save->flush();
    EXPECT_EQ(readBytes(path), utf16le("two"));
    EXPECT_EQ(s.files->creations(), 5);
}

TEST(AsyncSaveProtocol, DestructorWritesWhatIsPending) {
    ScratchFolder dir;
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
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    ScriptedSave s;
    ASSERT_TRUE(s.save->open(path));
    s.save->enqueue(L"1");
    s.save->flush();
    s.save->enqueue(L"2");
    s.save->flush();
    std::vector<std::wstring> names = s.files->createdNames();
    ASSERT_EQ(names.size(), 2u);
    const std::wstring prefix = path + L".tmp." + std::to_wstring(currentProcessId()) + L".";
    for (const auto& name : names) {
        ASSERT_EQ(name.compare(0, prefix.size(), prefix), 0);
        EXPECT_EQ(name.find_first_not_of(L"0123456789", prefix.size()), std::wstring::npos);
    }
    EXPECT_NE(names[0], names[1]);
}

TEST(AsyncSaveProtocol, LargeSnapshotsGoOutInBlocksAndSurviveShortWrites) {
    ScratchFolder dir;
    const std::wstring path = dir.file("save.ini");
    // 3,000,170 bytes: short writes of 4093 bytes leave a single byte for the last one.
    std::wstring big(1'500'084, L'x');
    for (std::size_t i = 0; i < big.size(); i += 97) {
        big[i] = static_cast<wchar_t>(L'a' + i % 26);
    }
    ScriptedSave s;
    ASSERT_TRUE(s.save->open(path));
    s.save->enqueue(big);
    s.save->flush();
    EXPECT_EQ(s.files->largestWrite(), 1024u * 1024);
    EXPECT_EQ(s.save->lastError(), 0u);

    s.files->setScript({.writeChunk = 4093});
    big[1] = L'!';
    s.save->enqueue(big);
    s.save->flush();
    EXPECT_EQ(s.save->lastError(), 0u);
    AsyncSave check;
    ASSERT_TRUE(check.open(path));
    EXPECT_EQ(check.latestSnapshot(), big);
}

} // namespace
} // namespace grumbo

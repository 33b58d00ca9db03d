#pragma once

// AsyncSave keeps the save file in step with the newest text the game hands it, on a worker
// thread of its own, so the window thread never waits for the disk. Each snapshot goes to a
// fresh temporary file beside the target, is forced to disk and atomically renamed over the
// target: a crash or power cut leaves either the old or the new complete file, never a mix.
//
// Failures are Windows system error codes kept in lastError (see platform/files.h). The codes
// the writer sets itself:
//    0  the last write (or open) succeeded
//    6  enqueue on a writer that is not open or is stopping
//    8  out of memory in open or while preparing a write
//   13  the existing file has a UTF-16 byte-order mark but an odd size
//   29  a write call reported success with 0 bytes written
//   31  any other failure of the thread or string machinery
//   38  the existing file ended before its reported size was read
//   80  eight temporary names in a row already existed
//   87  open with an empty path
//  223  the existing file is larger than 8 MiB
// 1113  the existing file has a UTF-8 mark but is not valid UTF-8
// 1247  open called twice, or while stopping
// Any other code comes from the failing file operation.

#include "platform/files.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace grumbo {

class AsyncSave {
  public:
    // Larger existing files are refused at open: a save is a few hundred bytes.
    static constexpr std::uint64_t MAX_FILE_BYTES = 8u * 1024u * 1024u;
    // Writes go out in blocks of at most this many bytes.
    static constexpr std::size_t WRITE_BLOCK_BYTES = 1024u * 1024u;
    // Temporary names tried before giving up with 80.
    static constexpr int TEMP_NAME_ATTEMPTS = 8;

    AsyncSave();
    // Tests hand in a file system that fails on cue.
    explicit AsyncSave(std::unique_ptr<FileSystem> files);
    // Writes whatever is still pending, then stops the worker.
    ~AsyncSave();

    AsyncSave(const AsyncSave&) = delete;
    AsyncSave& operator=(const AsyncSave&) = delete;

    // Reads the existing file (a missing one starts empty) and starts the worker. Once only.
    bool open(const std::wstring& path);
    // Hands over a complete document; it replaces any snapshot still waiting to be written.
    void enqueue(std::wstring text);
    // Waits until nothing is pending and no write is running.
    void flush();
    std::wstring latestSnapshot() const;
    std::uint32_t lastError() const;

  private:
    void run();
    std::uint32_t openLocked(const std::wstring& path);
    std::uint32_t readExisting(FileHandle file, std::wstring& text, std::vector<std::uint8_t>& bytes);
    void dropPendingLocked();
    void removeStaleTemporaries(const std::wstring& path);
    // Called without the lock: touches only the file system and its arguments. `replaced`
    // tells whether the target now holds the text, which a failure after the rename (the
    // folder could not be synced) does not undo.
    std::uint32_t writeSnapshot(const std::wstring& target, const std::wstring& text, bool& replaced);
    // Creates a fresh temporary file, writes it whole, forces it to disk and renames it over
    // `target`; `replaced` as above.
    std::uint32_t replaceFile(const std::wstring& target, const std::vector<std::uint8_t>& bytes,
                              bool& replaced);
    std::uint32_t writeAll(FileHandle file, const std::uint8_t* bytes, std::size_t count);

    std::unique_ptr<FileSystem> files_;

    mutable std::mutex lock_;
    std::condition_variable workSignal_;
    std::condition_variable idleSignal_;
    std::thread worker_;
    // Written only by open before the worker starts; the worker reads it without the lock.
    std::wstring path_;
    std::wstring latest_;
    std::wstring pending_;
    std::wstring written_;
    std::uint32_t lastError_ = 0;
    bool opened_ = false;
    bool stopping_ = false;
    bool hasPending_ = false;
    bool writing_ = false;
    bool writtenValid_ = false;
    // The file as an earlier run left it, kept once as "<save>.bak" before this run first
    // replaces it: a save that decodes as nonsense is then still there to recover. Set by
    // open before the worker starts; only the worker touches them afterwards.
    std::vector<std::uint8_t> original_;
    bool backupPending_ = false;

    // Numbers temporary files across every writer in the process, so names never repeat.
    static std::atomic<std::uint64_t> tempSequence;
};

} // namespace grumbo

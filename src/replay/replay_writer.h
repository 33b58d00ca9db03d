// Writes replay files on a worker thread of its own, the way the save writer
// keeps save.ini: each file goes to a fresh temporary name beside it, is forced
// to disk and renamed over the old one, so a crash leaves the old or the new
// file whole. The window thread only hands over the replay: it is encoded and
// compressed on the worker too.
#pragma once

#include "platform/files.h"
#include "replay/replay.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace grumbo {

class ReplayWriter {
  public:
    ReplayWriter();
    explicit ReplayWriter(std::unique_ptr<FileSystem> files);
    // Writes whatever is still waiting, then stops the worker.
    ~ReplayWriter();
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;

    // Replaces `path` with `replay` soon; a newer replay for the same path
    // replaces one still waiting.
    void write(const std::wstring& path, ReplayFile replay);
    // Waits until nothing is waiting or being written.
    void flush();
    // The error code of the last write (0 when it succeeded).
    std::uint32_t lastError() const;

  private:
    void run();
    std::uint32_t replaceFile(const std::wstring& target, const std::vector<std::uint8_t>& bytes);

    std::unique_ptr<FileSystem> files_;
    mutable std::mutex lock_;
    std::condition_variable workSignal_;
    std::condition_variable idleSignal_;
    std::thread worker_;
    std::map<std::wstring, ReplayFile> pending_;
    bool writing_ = false;
    bool stopping_ = false;
    std::uint32_t lastError_ = 0;
    std::uint64_t sequence_ = 0;
};

} // namespace grumbo

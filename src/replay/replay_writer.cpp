#include "replay/replay_writer.h"

#include <utility>

namespace grumbo {
namespace {

// Temporary names tried before a write gives up.
constexpr int TEMP_NAME_ATTEMPTS = 8;

} // namespace

ReplayWriter::ReplayWriter() : ReplayWriter(makeNativeFileSystem()) {}

ReplayWriter::ReplayWriter(std::unique_ptr<FileSystem> files) : files_(std::move(files)) {}

ReplayWriter::~ReplayWriter() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    workSignal_.notify_one();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void ReplayWriter::write(const std::wstring& path, ReplayFile replay) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (stopping_) {
            return;
        }
        pending_[path] = std::move(replay);
        // The worker starts with the first file: most runs never write one.
        if (!worker_.joinable()) {
            worker_ = std::thread([this] { run(); });
        }
    }
    workSignal_.notify_one();
}

void ReplayWriter::flush() {
    std::unique_lock<std::mutex> guard(lock_);
    idleSignal_.wait(guard, [this] { return pending_.empty() && !writing_; });
}

std::uint32_t ReplayWriter::lastError() const {
    std::lock_guard<std::mutex> guard(lock_);
    return lastError_;
}

void ReplayWriter::run() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        workSignal_.wait(guard, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) {
            break;
        }
        auto next = pending_.extract(pending_.begin());
        writing_ = true;
        guard.unlock();
        // The disk is touched without the lock, so the window thread never waits on it.
        const std::uint32_t code = replaceFile(next.key(), encodeReplay(next.mapped()));
        guard.lock();
        writing_ = false;
        lastError_ = code;
        if (pending_.empty()) {
            idleSignal_.notify_all();
        }
    }
    idleSignal_.notify_all();
}

std::uint32_t ReplayWriter::replaceFile(const std::wstring& target, const std::vector<std::uint8_t>& bytes) {
    std::wstring tempPath;
    FileHandle file = INVALID_FILE;
    std::uint32_t code = syserror::FileExists;
    const std::wstring prefix = target + L".tmp." + std::to_wstring(currentProcessId()) + L".";
    for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
        tempPath = prefix + std::to_wstring(sequence_++);
        code = files_->createNew(tempPath, file);
        if (code != syserror::FileExists && code != syserror::AlreadyExists) {
            break;
        }
    }
    if (code != syserror::Success) {
        return code;
    }
    std::size_t at = 0;
    while (code == syserror::Success && at < bytes.size()) {
        std::size_t done = 0;
        code = files_->write(file, bytes.data() + at, bytes.size() - at, done);
        if (code == syserror::Success && done == 0) {
            code = syserror::WriteFault;
        }
        at += done;
    }
    if (code == syserror::Success) {
        code = files_->flush(file);
    }
    const std::uint32_t closed = files_->close(file);
    if (code == syserror::Success) {
        code = closed;
    }
    if (code == syserror::Success) {
        code = files_->replace(tempPath, target);
    }
    if (code != syserror::Success) {
        files_->remove(tempPath);
    }
    return code;
}

} // namespace grumbo

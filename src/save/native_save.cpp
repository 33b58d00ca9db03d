#include "save/native_save.h"

#include "platform/dir_list.h"
#include "save/save_text.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace grumbo {

std::atomic<std::uint64_t> AsyncSave::tempSequence{0};

AsyncSave::AsyncSave() : AsyncSave(makeNativeFileSystem()) {}

AsyncSave::AsyncSave(std::unique_ptr<FileSystem> files) : files_(std::move(files)) {}

AsyncSave::~AsyncSave() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    workSignal_.notify_one();
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool AsyncSave::open(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(lock_);
    try {
        lastError_ = openLocked(path);
    } catch (const std::bad_alloc&) {
        lastError_ = syserror::NotEnoughMemory;
    } catch (...) {
        lastError_ = syserror::GenFailure;
    }
    if (lastError_ != syserror::Success) {
        // A failure after the fields were set (the thread would not start) must not leave a
        // writer that looks open.
        if (!worker_.joinable()) {
            opened_ = false;
            writtenValid_ = false;
            path_.clear();
            latest_.clear();
            written_.clear();
        }
        return false;
    }
    return true;
}

std::uint32_t AsyncSave::openLocked(const std::wstring& path) {
    if (opened_ || worker_.joinable() || stopping_) {
        return syserror::InvalidOperation;
    }
    if (path.empty()) {
        return syserror::InvalidParameter;
    }
    if (files_ == nullptr) {
        return syserror::GenFailure;
    }

    std::wstring text;
    bool found = false;
    FileHandle file = INVALID_FILE;
    std::uint32_t code = files_->openRead(path, file);
    if (code == syserror::Success) {
        found = true;
        try {
            code = readExisting(file, text, original_);
        } catch (...) {
            files_->close(file);
            throw;
        }
        files_->close(file);
        if (code != syserror::Success) {
            return code;
        }
    } else if (code != syserror::FileNotFound) {
        return code;
    }

    removeStaleTemporaries(path);
    backupPending_ = found;
    path_ = path;
    latest_ = text;
    written_ = std::move(text);
    writtenValid_ = found;
    opened_ = true;
    worker_ = std::thread([this] { run(); });
    return syserror::Success;
}

std::uint32_t AsyncSave::readExisting(FileHandle file, std::wstring& text, std::vector<std::uint8_t>& bytes) {
    std::uint64_t size = 0;
    if (std::uint32_t code = files_->size(file, size); code != syserror::Success) {
        return code;
    }
    if (size > MAX_FILE_BYTES) {
        return syserror::FileTooLarge;
    }
    bytes.assign(static_cast<std::size_t>(size), 0);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        std::size_t got = 0;
        if (std::uint32_t code = files_->read(file, bytes.data() + filled, bytes.size() - filled, got);
            code != syserror::Success) {
            return code;
        }
        if (got == 0) {
            return syserror::HandleEof;
        }
        filled += got;
    }
    return decodeSaveText(bytes.data(), bytes.size(), text);
}

// A crash between creating a temporary file and renaming it leaves the file behind. Ours are
// named "<save>.tmp.<process>.<number>"; those of other processes are removed, while this
// process never reuses a name, so nothing of its own writes is touched.
void AsyncSave::removeStaleTemporaries(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"/\\");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    const std::wstring prefix = path.substr(folder.size()) + L".tmp.";
    const std::wstring ownProcess = std::to_wstring(currentProcessId());
    const auto number = [](const std::wstring& s) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    };
    std::vector<DirEntry> entries;
    if (!listFolder(folder, entries)) {
        return;
    }
    for (const DirEntry& entry : entries) {
        if (entry.isDirectory || entry.name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::wstring tail = entry.name.substr(prefix.size());
        const std::size_t dot = tail.find(L'.');
        if (dot != std::wstring::npos && number(tail.substr(0, dot)) && number(tail.substr(dot + 1)) &&
            tail.substr(0, dot) != ownProcess) {
            files_->remove(folder + entry.name);
        }
    }
}

void AsyncSave::enqueue(std::wstring text) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!opened_ || stopping_) {
        lastError_ = syserror::InvalidHandle;
        return;
    }
    if (text == latest_) {
        // Already on its way, or already on disk. After a failed write it is neither, and
        // handing the same text in again is how the caller retries.
        if (hasPending_ || writing_ || (writtenValid_ && text == written_)) {
            return;
        }
    }
    try {
        latest_ = text;
    } catch (const std::bad_alloc&) {
        lastError_ = syserror::NotEnoughMemory;
        return;
    }
    if (!writing_ && writtenValid_ && text == written_) {
        // Back to what the disk holds: whatever was queued is no longer worth writing.
        dropPendingLocked();
        idleSignal_.notify_all();
        return;
    }
    pending_ = std::move(text);
    hasPending_ = true;
    workSignal_.notify_one();
}

void AsyncSave::flush() {
    std::unique_lock<std::mutex> guard(lock_);
    idleSignal_.wait(guard, [this] { return !hasPending_ && !writing_; });
}

std::wstring AsyncSave::latestSnapshot() const {
    std::lock_guard<std::mutex> guard(lock_);
    return latest_;
}

std::uint32_t AsyncSave::lastError() const {
    std::lock_guard<std::mutex> guard(lock_);
    return lastError_;
}

void AsyncSave::dropPendingLocked() {
    pending_.clear();
    hasPending_ = false;
}

void AsyncSave::run() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        // A pending snapshot is always written before a stop request is honoured.
        while (!hasPending_) {
            if (stopping_) {
                opened_ = false;
                idleSignal_.notify_all();
                return;
            }
            workSignal_.wait(guard);
        }
        std::wstring snapshot = std::move(pending_);
        pending_.clear();
        hasPending_ = false;
        writing_ = true;
        guard.unlock();

        // path_ is set before the worker starts and never changes while it runs, so it may be
        // read here without the lock.
        // Nothing thrown may end the worker: the path conversions of the file calls
        // allocate too.
        bool replaced = false;
        std::uint32_t code = syserror::GenFailure;
        try {
            code = writeSnapshot(path_, snapshot, replaced);
        } catch (const std::bad_alloc&) {
            code = syserror::NotEnoughMemory;
        } catch (...) {
            code = syserror::GenFailure;
        }

        guard.lock();
        lastError_ = code;
        if (replaced) {
            written_ = std::move(snapshot);
            writtenValid_ = true;
        }
        writing_ = false;
        if (!hasPending_) {
            idleSignal_.notify_all();
        } else if (writtenValid_ && pending_ == written_) {
            // The same text arrived again while it was being written.
            dropPendingLocked();
            idleSignal_.notify_all();
        }
    }
}

std::uint32_t AsyncSave::writeSnapshot(const std::wstring& target, const std::wstring& text, bool& replaced) {
    replaced = false;
    if (backupPending_) {
        // Without its backup the earlier run's file is not replaced: it may be the only copy
        // of a journey this run could not read.
        bool backedUp = false;
        if (std::uint32_t code = replaceFile(target + L".bak", original_, backedUp); !backedUp) {
            return code;
        }
        backupPending_ = false;
        std::vector<std::uint8_t>().swap(original_);
    }
    return replaceFile(target, encodeSaveText(text), replaced);
}

std::uint32_t AsyncSave::replaceFile(const std::wstring& target, const std::vector<std::uint8_t>& bytes,
                                     bool& replaced) {
    replaced = false;
    std::wstring tempPath;
    FileHandle file = INVALID_FILE;
    std::uint32_t code = syserror::FileExists;
    const std::wstring prefix = target + L".tmp." + std::to_wstring(currentProcessId()) + L".";
    for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
        tempPath = prefix + std::to_wstring(tempSequence.fetch_add(1));
        code = files_->createNew(tempPath, file);
        if (code != syserror::FileExists && code != syserror::AlreadyExists) {
            break;
        }
    }
    if (code == syserror::AlreadyExists) {
        code = syserror::FileExists;
    }
    if (code != syserror::Success) {
        return code;
    }

    code = writeAll(file, bytes.data(), bytes.size());
    if (code == syserror::Success) {
        code = files_->flush(file);
    }
    std::uint32_t closed = files_->close(file);
    if (code == syserror::Success) {
        code = closed;
    }
    if (code == syserror::Success) {
        code = files_->replace(tempPath, target);
        replaced = code == syserror::Success;
        // The rename may have happened before the folder sync failed: then the temporary
        // name is gone and the target holds the new bytes, whatever the code says.
        FileHandle leftover = INVALID_FILE;
        if (!replaced && files_->openRead(tempPath, leftover) == syserror::FileNotFound) {
            replaced = true;
        } else if (!replaced && leftover != INVALID_FILE) {
            files_->close(leftover);
        }
    }
    if (!replaced) {
        files_->remove(tempPath);
    }
    return code;
}

std::uint32_t AsyncSave::writeAll(FileHandle file, const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        std::size_t done = 0;
        std::uint32_t code = files_->write(file, bytes, std::min(count, WRITE_BLOCK_BYTES), done);
        if (code != syserror::Success) {
            return code;
        }
        if (done == 0) {
            return syserror::WriteFault;
        }
        done = std::min(done, count);
        bytes += done;
        count -= done;
    }
    return syserror::Success;
}

} // namespace grumbo

#pragma once

// A file system for the writer tests: it passes every call to the real one, counts them, and
// on request fails a call, cuts writes short, or holds a write until the test lets it go.

#include "platform/files.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace grumbo::test {

class ScriptedFiles final : public FileSystem {
  public:
    // Failures to inject; 0 means "behave normally".
    struct Script {
        std::uint32_t openReadError = 0;
        std::uint32_t sizeError = 0;
        std::uint32_t readError = 0;
        // Reads report the end of the file after this many bytes.
        std::size_t readLimit = SIZE_MAX;
        // Each read call returns at most this many bytes.
        std::size_t readChunk = SIZE_MAX;
        std::uint32_t createError = 0;
        // The first this many creations report that the name exists.
        int createExisting = 0;
        // Writes fail with writeError once this many bytes have gone out.
        std::size_t writeBudget = SIZE_MAX;
        std::uint32_t writeError = 0;
        // Writes report success with nothing written.
        bool writeNothing = false;
        // Each write call takes at most this many bytes.
        std::size_t writeChunk = SIZE_MAX;
        std::uint32_t flushError = 0;
        std::uint32_t closeError = 0;
        std::uint32_t replaceError = 0;
        // The rename happens before replace reports replaceError (the folder sync failed).
        bool renameThenFail = false;
    };

    ScriptedFiles() : real(makeNativeFileSystem()) {}

    void setScript(const Script& s) {
        std::lock_guard<std::mutex> guard(lock);
        script = s;
    }

    // Makes the next writes wait inside write() until release().
    void hold() {
        std::lock_guard<std::mutex> guard(lock);
        holding = true;
    }
    // Blocks until a write is waiting at the hold.
    void waitUntilHeld() {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [this] { return held; });
    }
    void release() {
        std::lock_guard<std::mutex> guard(lock);
        holding = false;
        changed.notify_all();
    }

    int creations() const {
        std::lock_guard<std::mutex> guard(lock);
        return createCalls;
    }
    std::vector<std::wstring> createdNames() const {
        std::lock_guard<std::mutex> guard(lock);
        return names;
    }
    std::size_t largestWrite() const {
        std::lock_guard<std::mutex> guard(lock);
        return largestBlock;
    }
    // Handles opened and not closed again.
    int openHandles() const {
        std::lock_guard<std::mutex> guard(lock);
        return handles;
    }

    std::uint32_t openRead(const std::wstring& path, FileHandle& file) override {
        const std::uint32_t error = scripted(&Script::openReadError, true);
        return error != 0 ? error : counted(real->openRead(path, file));
    }

    std::uint32_t size(FileHandle file, std::uint64_t& bytes) override {
        const std::uint32_t error = scripted(&Script::sizeError);
        return error != 0 ? error : real->size(file, bytes);
    }

    std::uint32_t read(FileHandle file, void* buffer, std::size_t count, std::size_t& done) override {
        std::lock_guard<std::mutex> guard(lock);
        done = 0;
        if (script.readError != 0) {
            return script.readError;
        }
        if (readSoFar >= script.readLimit) {
            return 0;
        }
        std::uint32_t code =
            real->read(file, buffer, std::min({count, script.readChunk, script.readLimit - readSoFar}), done);
        readSoFar += done;
        return code;
    }

    std::uint32_t createNew(const std::wstring& path, FileHandle& file) override {
        {
            std::lock_guard<std::mutex> guard(lock);
            ++createCalls;
            names.push_back(path);
            written = 0;
            if (script.createExisting > 0) {
                --script.createExisting;
                return syserror::FileExists;
            }
            if (script.createError != 0) {
                return script.createError;
            }
        }
        return counted(real->createNew(path, file));
    }

    std::uint32_t write(FileHandle file, const void* data, std::size_t count, std::size_t& done) override {
        std::unique_lock<std::mutex> guard(lock);
        held = true;
        changed.notify_all();
        changed.wait(guard, [this] { return !holding; });
        held = false;
        done = 0;
        largestBlock = std::max(largestBlock, count);
        if (script.writeNothing) {
            return 0;
        }
        if (written >= script.writeBudget) {
            return script.writeError;
        }
        std::size_t allowed = std::min({count, script.writeChunk, script.writeBudget - written});
        std::uint32_t code = real->write(file, data, allowed, done);
        written += done;
        return code;
    }

    // The real step runs either way, so a scripted failure leaves no handle open.
    std::uint32_t flush(FileHandle file) override {
        const std::uint32_t code = real->flush(file);
        const std::uint32_t error = scripted(&Script::flushError);
        return error != 0 ? error : code;
    }

    std::uint32_t close(FileHandle file) override {
        const std::uint32_t code = real->close(file);
        counted(1, -1);
        const std::uint32_t error = scripted(&Script::closeError);
        return error != 0 ? error : code;
    }

    std::uint32_t replace(const std::wstring& from, const std::wstring& to) override {
        {
            std::lock_guard<std::mutex> guard(lock);
            if (script.replaceError != 0 && !script.renameThenFail) {
                return script.replaceError;
            }
        }
        const std::uint32_t code = real->replace(from, to);
        std::lock_guard<std::mutex> guard(lock);
        return code == 0 && script.renameThenFail ? script.replaceError : code;
    }

    void remove(const std::wstring& path) override { real->remove(path); }

  private:
    // The failure scripted for one step, 0 for none; opening a file also restarts its read count.
    std::uint32_t scripted(std::uint32_t Script::*error, bool opening = false) {
        std::lock_guard<std::mutex> guard(lock);
        readSoFar = opening ? 0 : readSoFar;
        return script.*error;
    }

    // Counts a handle opened (by a call that answered 0) or closed, and passes the answer on.
    std::uint32_t counted(std::uint32_t code, int change = 1) {
        std::lock_guard<std::mutex> guard(lock);
        handles += code == 0 || change < 0 ? change : 0;
        return code;
    }

    std::unique_ptr<FileSystem> real;
    mutable std::mutex lock;
    std::condition_variable changed;
    Script script;
    bool holding = false;
    bool held = false;
    int createCalls = 0;
    std::vector<std::wstring> names;
    std::size_t written = 0;
    std::size_t readSoFar = 0;
    std::size_t largestBlock = 0;
    int handles = 0;
};

} // namespace grumbo::test

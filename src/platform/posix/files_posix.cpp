// POSIX file operations. Wide paths become UTF-8 here; errno becomes a Windows system error
// code through the table documented in platform/files.h.

#include "platform/files.h"
#include "platform/posix/native_path.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grumbo {
namespace {

std::uint32_t errorFromErrno(int error) {
    switch (error) {
    case 0:
        return syserror::Success;
    case ENOENT:
        return syserror::FileNotFound;
    case ENOTDIR:
        return syserror::PathNotFound;
    case EMFILE:
    case ENFILE:
        return syserror::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
        return syserror::AccessDenied;
    case EBADF:
        return syserror::InvalidHandle;
    case ENOMEM:
        return syserror::NotEnoughMemory;
    case EXDEV:
        return syserror::NotSameDevice;
    case EROFS:
        return syserror::WriteProtect;
    case ETXTBSY:
        return syserror::SharingViolation;
    case EEXIST:
        return syserror::FileExists;
    case EINVAL:
        return syserror::InvalidParameter;
    case ENOSPC:
        return syserror::DiskFull;
    case ENOTEMPTY:
        return syserror::DirNotEmpty;
    case EBUSY:
        return syserror::Busy;
    case ENAMETOOLONG:
        return syserror::FilenameTooLong;
    case EFBIG:
        return syserror::FileTooLarge;
    case EIO:
        return syserror::IoDevice;
    case EDQUOT:
        return syserror::DiskQuotaExceeded;
    case ELOOP:
        return syserror::CantResolveFilename;
    default:
        return syserror::GenFailure;
    }
}

std::uint32_t lastErrno() {
    return errorFromErrno(errno);
}

std::string parentFolder(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

int toFd(FileHandle file) {
    return static_cast<int>(file);
}

// Opens a regular file read-only. O_NONBLOCK keeps a FIFO planted under the save's name from
// stalling start-up; folders and devices are refused the way CreateFileW refuses a folder.
std::uint32_t openRegularForRead(const std::string& path, int& fd) {
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return lastErrno();
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        std::uint32_t code = lastErrno();
        ::close(fd);
        fd = -1;
        return code;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        fd = -1;
        return syserror::AccessDenied;
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return syserror::Success;
}

class PosixFileSystem final : public FileSystem {
  public:
    std::uint32_t openRead(const std::wstring& path, FileHandle& file) override {
        file = INVALID_FILE;
        std::string native;
        if (std::uint32_t code = nativePath(path, native); code != 0) {
            return code;
        }
        int fd = -1;
        if (std::uint32_t code = openRegularForRead(native, fd); code != 0) {
            return code;
        }
        file = fd;
        return syserror::Success;
    }

    std::uint32_t size(FileHandle file, std::uint64_t& bytes) override {
        struct stat info {};
        if (::fstat(toFd(file), &info) != 0) {
            return lastErrno();
        }
        bytes = static_cast<std::uint64_t>(info.st_size);
        return syserror::Success;
    }

    std::uint32_t read(FileHandle file, void* buffer, std::size_t count, std::size_t& done) override {
        done = 0;
        ssize_t got = 0;
        do {
            got = ::read(toFd(file), buffer, count);
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            return lastErrno();
        }
        done = static_cast<std::size_t>(got);
        return syserror::Success;
    }

    std::uint32_t createNew(const std::wstring& path, FileHandle& file) override {
        file = INVALID_FILE;
        std::string native;
        if (std::uint32_t code = nativePath(path, native); code != 0) {
            return code;
        }
        int fd = -1;
        // O_EXCL also refuses a symbolic link planted under the name, so the new file is
        // always one this process made.
        do {
            fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            return errno == ENOENT ? syserror::PathNotFound : lastErrno();
        }
        file = fd;
        return syserror::Success;
    }

    std::uint32_t write(FileHandle file, const void* data, std::size_t count, std::size_t& done) override {
        done = 0;
        ssize_t put = 0;
        do {
            put = ::write(toFd(file), data, count);
        } while (put < 0 && errno == EINTR);
        if (put < 0) {
            return lastErrno();
        }
        done = static_cast<std::size_t>(put);
        return syserror::Success;
    }

    std::uint32_t flush(FileHandle file) override {
        int result = 0;
        do {
            result = ::fsync(toFd(file));
        } while (result != 0 && errno == EINTR);
        return result == 0 ? syserror::Success : lastErrno();
    }

    std::uint32_t close(FileHandle file) override {
        // Linux releases the descriptor even when close reports EINTR, so that is no failure
        // and must not be retried (the number may already belong to another thread's file).
        if (::close(toFd(file)) != 0 && errno != EINTR) {
            return lastErrno();
        }
        return syserror::Success;
    }

    std::uint32_t replace(const std::wstring& from, const std::wstring& to) override {
        std::string source;
        std::string target;
        if (std::uint32_t code = nativePath(from, source); code != 0) {
            return code;
        }
        if (std::uint32_t code = nativePath(to, target); code != 0) {
            return code;
        }
        // The new file takes the old one's permissions: a save the player made private
        // stays private.
        struct stat existing {};
        if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
            ::chmod(source.c_str(), existing.st_mode & 07777);
        }
        if (::rename(source.c_str(), target.c_str()) != 0) {
            return lastErrno();
        }
        return syncFolder(parentFolder(target));
    }

    void remove(const std::wstring& path) override {
        std::string native;
        if (nativePath(path, native) == 0) {
            ::unlink(native.c_str());
        }
    }

  private:
    // The rename lives in the folder's own data: without this fsync a power cut may bring
    // back the old file even though rename returned. Some file systems cannot sync a folder
    // at all (EINVAL); for them the rename is as durable as it can be made.
    static std::uint32_t syncFolder(const std::string& folder) {
        int fd = -1;
        do {
            fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            return lastErrno();
        }
        int result = 0;
        do {
            result = ::fsync(fd);
        } while (result != 0 && errno == EINTR);
        std::uint32_t code = (result == 0 || errno == EINVAL) ? syserror::Success : lastErrno();
        ::close(fd);
        return code;
    }
};

} // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

std::uint32_t currentProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

std::uint32_t readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, std::uint64_t limit) {
    bytes.clear();
    std::string native;
    if (std::uint32_t code = nativePath(path, native); code != 0) {
        return code;
    }
    int fd = -1;
    if (std::uint32_t code = openRegularForRead(native, fd); code != 0) {
        return code;
    }
    std::uint32_t code = syserror::Success;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        code = lastErrno();
    } else if (static_cast<std::uint64_t>(info.st_size) > limit) {
        code = syserror::FileTooLarge;
    } else {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t filled = 0;
        while (filled < bytes.size()) {
            ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                code = lastErrno();
                break;
            }
            if (got == 0) {
                code = syserror::HandleEof;
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    if (code != syserror::Success) {
        bytes.clear();
    }
    return code;
}

std::uint32_t createFolder(const std::wstring& path) {
    std::string native;
    if (std::uint32_t code = nativePath(path, native); code != 0) {
        return code;
    }
    if (::mkdir(native.c_str(), 0777) != 0) {
        if (errno == EEXIST) {
            return syserror::AlreadyExists;
        }
        return errno == ENOENT ? syserror::PathNotFound : lastErrno();
    }
    return syserror::Success;
}

std::uint32_t createFolders(const std::wstring& path) {
    std::string native;
    if (std::uint32_t code = nativePath(path, native); code != 0) {
        return code;
    }
    if (native.empty()) {
        return syserror::InvalidParameter;
    }
    // Walk the path one component at a time so each missing parent is made first.
    std::size_t next = 0;
    while (next != std::string::npos) {
        next = native.find('/', next + 1);
        std::string prefix = native.substr(0, next);
        if (prefix.empty() || prefix.back() == '/') {
            continue;
        }
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
            return errno == ENOENT ? syserror::PathNotFound : lastErrno();
        }
    }
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) {
        return lastErrno();
    }
    return S_ISDIR(info.st_mode) ? syserror::Success : syserror::AlreadyExists;
}

} // namespace grumbo

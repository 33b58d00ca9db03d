// Win32 file operations. Every failure is GetLastError() passed through unchanged, so the
// codes the save writer stores are the system's own.

#include "platform/files.h"
#include "platform/win32/win32_api.h"

#include <algorithm>
#include <limits>

namespace grumbo {
namespace {

HANDLE toHandle(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

std::uint32_t lastError() {
    const DWORD code = ::GetLastError();
    return code == 0 ? syserror::GenFailure : static_cast<std::uint32_t>(code);
}

// A path with an embedded NUL would silently name a shorter path.
bool hasNul(const std::wstring& path) {
    return path.find(L'\0') != std::wstring::npos;
}

std::uint32_t openRegularForRead(const std::wstring& path, HANDLE& handle) {
    if (hasNul(path) || path.empty()) {
        return syserror::InvalidName;
    }
    handle =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    // Opening a folder succeeds only with backup semantics, so this is a device or pipe.
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        return syserror::AccessDenied;
    }
    return syserror::Success;
}

class Win32FileSystem final : public FileSystem {
  public:
    std::uint32_t openRead(const std::wstring& path, FileHandle& file) override {
        HANDLE handle = INVALID_HANDLE_VALUE;
        const std::uint32_t code = openRegularForRead(path, handle);
        file = code == syserror::Success ? reinterpret_cast<FileHandle>(handle) : INVALID_FILE;
        return code;
    }

    std::uint32_t size(FileHandle file, std::uint64_t& bytes) override {
        LARGE_INTEGER value{};
        if (!::GetFileSizeEx(toHandle(file), &value)) {
            return lastError();
        }
        bytes = static_cast<std::uint64_t>(value.QuadPart);
        return syserror::Success;
    }

    std::uint32_t read(FileHandle file, void* buffer, std::size_t count, std::size_t& done) override {
        DWORD got = 0;
        const auto ask = static_cast<DWORD>(std::min<std::size_t>(count, std::numeric_limits<DWORD>::max()));
        if (!::ReadFile(toHandle(file), buffer, ask, &got, nullptr)) {
            done = 0;
            return lastError();
        }
        done = got;
        return syserror::Success;
    }

    // CREATE_NEW fails with ERROR_FILE_EXISTS when anything already has the name, so two
    // writers can never share a temporary file.
    std::uint32_t createNew(const std::wstring& path, FileHandle& file) override {
        file = INVALID_FILE;
        if (hasNul(path) || path.empty()) {
            return syserror::InvalidName;
        }
        HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return lastError();
        }
        file = reinterpret_cast<FileHandle>(handle);
        return syserror::Success;
    }

    std::uint32_t write(FileHandle file, const void* data, std::size_t count, std::size_t& done) override {
        DWORD wrote = 0;
        const auto ask = static_cast<DWORD>(std::min<std::size_t>(count, std::numeric_limits<DWORD>::max()));
        if (!::WriteFile(toHandle(file), data, ask, &wrote, nullptr)) {
            done = wrote;
            return lastError();
        }
        done = wrote;
        return syserror::Success;
    }

    std::uint32_t flush(FileHandle file) override {
        return ::FlushFileBuffers(toHandle(file)) ? syserror::Success : lastError();
    }

    std::uint32_t close(FileHandle file) override {
        return ::CloseHandle(toHandle(file)) ? syserror::Success : lastError();
    }

    // Write-through makes the call return only once the new name is on the device.
    std::uint32_t replace(const std::wstring& from, const std::wstring& to) override {
        if (hasNul(from) || hasNul(to)) {
            return syserror::InvalidName;
        }
        if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return lastError();
        }
        return syserror::Success;
    }

    void remove(const std::wstring& path) override {
        if (!hasNul(path)) {
            ::DeleteFileW(path.c_str());
        }
    }
};

} // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

std::uint32_t currentProcessId() {
    return static_cast<std::uint32_t>(::GetCurrentProcessId());
}

std::uint32_t readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, std::uint64_t limit) {
    bytes.clear();
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (std::uint32_t code = openRegularForRead(path, handle); code != syserror::Success) {
        return code;
    }
    std::uint32_t code = syserror::Success;
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(handle, &length)) {
        code = lastError();
    } else if (static_cast<std::uint64_t>(length.QuadPart) > limit) {
        code = syserror::FileTooLarge;
    } else {
        bytes.resize(static_cast<std::size_t>(length.QuadPart));
        std::size_t filled = 0;
        while (filled < bytes.size()) {
            const auto ask = static_cast<DWORD>(
                std::min<std::size_t>(bytes.size() - filled, std::numeric_limits<DWORD>::max()));
            DWORD got = 0;
            if (!::ReadFile(handle, bytes.data() + filled, ask, &got, nullptr)) {
                code = lastError();
                break;
            }
            if (got == 0) {
                code = syserror::HandleEof;
                break;
            }
            filled += got;
        }
    }
    ::CloseHandle(handle);
    if (code != syserror::Success) {
        bytes.clear();
    }
    return code;
}

std::uint32_t createFolder(const std::wstring& path) {
    if (hasNul(path) || path.empty()) {
        return syserror::InvalidName;
    }
    return ::CreateDirectoryW(path.c_str(), nullptr) ? syserror::Success : lastError();
}

std::uint32_t createFolders(const std::wstring& path) {
    if (hasNul(path)) {
        return syserror::InvalidName;
    }
    if (path.empty()) {
        return syserror::InvalidParameter;
    }
    // Walk the path one component at a time so each missing parent is made first; a drive or
    // an existing parent answers "already exists" or "access denied" and is stepped over.
    std::size_t next = 0;
    while (next != std::wstring::npos) {
        next = path.find_first_of(L"/\\", next + 1);
        const std::wstring prefix = path.substr(0, next);
        if (prefix.empty() || prefix.back() == L'/' || prefix.back() == L'\\' || prefix.back() == L':') {
            continue;
        }
        if (!::CreateDirectoryW(prefix.c_str(), nullptr)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
                return static_cast<std::uint32_t>(error);
            }
        }
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return lastError();
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? syserror::Success : syserror::AlreadyExists;
}

} // namespace grumbo

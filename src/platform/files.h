#pragma once

// File operations for the save writer and the asset loaders.
//
// Every call reports failure as a Windows system error code (0 = success), so a stored error
// value means the same thing on every platform. The POSIX backend translates errno with the
// table below; the native Windows backend passes GetLastError() through unchanged.
//
//   errno                      code  Windows name
//   -------------------------  ----  ------------------------------
//   (success)                     0  ERROR_SUCCESS
//   ENOENT                        2  ERROR_FILE_NOT_FOUND
//   ENOENT when creating a file   3  ERROR_PATH_NOT_FOUND (only a missing folder can cause it)
//   ENOTDIR                       3  ERROR_PATH_NOT_FOUND
//   EMFILE, ENFILE                4  ERROR_TOO_MANY_OPEN_FILES
//   EACCES, EPERM, EISDIR         5  ERROR_ACCESS_DENIED
//   EBADF                         6  ERROR_INVALID_HANDLE
//   ENOMEM                        8  ERROR_NOT_ENOUGH_MEMORY
//   EXDEV                        17  ERROR_NOT_SAME_DEVICE
//   EROFS                        19  ERROR_WRITE_PROTECT
//   ETXTBSY                      32  ERROR_SHARING_VIOLATION
//   EEXIST                       80  ERROR_FILE_EXISTS
//   EEXIST when creating folder 183  ERROR_ALREADY_EXISTS
//   EINVAL                       87  ERROR_INVALID_PARAMETER
//   ENOSPC                      112  ERROR_DISK_FULL
//   (NUL or bad code point)     123  ERROR_INVALID_NAME
//   ENOTEMPTY                   145  ERROR_DIR_NOT_EMPTY
//   EBUSY                       170  ERROR_BUSY
//   ENAMETOOLONG                206  ERROR_FILENAME_EXCED_RANGE
//   EFBIG                       223  ERROR_FILE_TOO_LARGE
//   EIO                        1117  ERROR_IO_DEVICE
//   EDQUOT                     1295  ERROR_DISK_QUOTA_EXCEEDED
//   ELOOP                      1921  ERROR_CANT_RESOLVE_FILENAME
//   anything else                31  ERROR_GEN_FAILURE
//
// Paths are wide strings. Where wchar_t holds code points (Linux) they are converted to UTF-8
// inside the backend; a path with an embedded NUL or a value beyond U+10FFFF is refused with
// 123 rather than silently naming a different file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace grumbo {

// Windows system error codes used across the program, named without the ERROR_ prefix so
// they never collide with the Windows headers' macros.
namespace syserror {
inline constexpr std::uint32_t Success = 0;
inline constexpr std::uint32_t FileNotFound = 2;
inline constexpr std::uint32_t PathNotFound = 3;
inline constexpr std::uint32_t TooManyOpenFiles = 4;
inline constexpr std::uint32_t AccessDenied = 5;
inline constexpr std::uint32_t InvalidHandle = 6;
inline constexpr std::uint32_t NotEnoughMemory = 8;
inline constexpr std::uint32_t InvalidData = 13;
inline constexpr std::uint32_t NotSameDevice = 17;
inline constexpr std::uint32_t WriteProtect = 19;
inline constexpr std::uint32_t WriteFault = 29;
inline constexpr std::uint32_t GenFailure = 31;
inline constexpr std::uint32_t SharingViolation = 32;
inline constexpr std::uint32_t HandleEof = 38;
inline constexpr std::uint32_t FileExists = 80;
inline constexpr std::uint32_t InvalidParameter = 87;
inline constexpr std::uint32_t DiskFull = 112;
inline constexpr std::uint32_t InvalidName = 123;
inline constexpr std::uint32_t DirNotEmpty = 145;
inline constexpr std::uint32_t Busy = 170;
inline constexpr std::uint32_t AlreadyExists = 183;
inline constexpr std::uint32_t FilenameTooLong = 206;
inline constexpr std::uint32_t FileTooLarge = 223;
inline constexpr std::uint32_t NoUnicodeTranslation = 1113;
inline constexpr std::uint32_t IoDevice = 1117;
inline constexpr std::uint32_t InvalidOperation = 1247;
inline constexpr std::uint32_t DiskQuotaExceeded = 1295;
inline constexpr std::uint32_t CantResolveFilename = 1921;
} // namespace syserror

// An open file: a POSIX descriptor or a Windows HANDLE, both fit in a pointer-sized integer.
using FileHandle = std::intptr_t;
inline constexpr FileHandle INVALID_FILE = -1;

// The calls the save writer makes, behind one small interface so tests can inject a full
// disk or a failing flush without touching a real device. Each returns 0 or an error code.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens an existing regular file for reading; shared with other readers and writers.
    virtual std::uint32_t openRead(const std::wstring& path, FileHandle& file) = 0;
    virtual std::uint32_t size(FileHandle file, std::uint64_t& bytes) = 0;
    // Reads up to count bytes; done == 0 with success means the end of the file.
    virtual std::uint32_t read(FileHandle file, void* buffer, std::size_t count, std::size_t& done) = 0;
    // Creates a new file for writing only if nothing has that name (80 when something has).
    virtual std::uint32_t createNew(const std::wstring& path, FileHandle& file) = 0;
    // Writes up to count bytes; done reports how many went out.
    virtual std::uint32_t write(FileHandle file, const void* data, std::size_t count, std::size_t& done) = 0;
    // Forces the file's data to the device.
    virtual std::uint32_t flush(FileHandle file) = 0;
    virtual std::uint32_t close(FileHandle file) = 0;
    // Atomically replaces `to` with `from` and returns only once the rename itself is durable.
    virtual std::uint32_t replace(const std::wstring& from, const std::wstring& to) = 0;
    // Deletes a file; failures are of no interest to the caller.
    virtual void remove(const std::wstring& path) = 0;
};

// The operating system's own files.
std::unique_ptr<FileSystem> makeNativeFileSystem();

// The running process's id, for naming temporary files.
std::uint32_t currentProcessId();

// Reads a whole regular file. Files larger than limit bytes fail with 223 and leave bytes empty.
std::uint32_t readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, std::uint64_t limit);

// Creates one folder; 183 when something of that name already exists.
std::uint32_t createFolder(const std::wstring& path);

// Creates a folder and every missing parent; success when it already exists as a folder.
std::uint32_t createFolders(const std::wstring& path);

} // namespace grumbo

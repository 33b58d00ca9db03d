// Wide paths and Linux byte paths. Shared by the POSIX file and folder calls.
#pragma once

#include <cstdint>
#include <string>

namespace grumbo {

// Converts a wide path to UTF-8. Returns 0, or the Windows error code for a
// name no file can have (an embedded NUL or a value beyond Unicode).
std::uint32_t nativePath(const std::wstring& path, std::string& out);

// Converts a UTF-8 file name back to wide text; empty when the bytes are not
// well-formed UTF-8 (overlong forms and surrogates included).
std::wstring fromNativePath(const std::string& name);

} // namespace grumbo

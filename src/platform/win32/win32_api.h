// The Windows headers the backend uses, windows.h first: the others need its
// types; and the one text conversion the backend's calls share.
#pragma once

// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>
#include <xinput.h>
// clang-format on

#include <algorithm>
#include <string>

namespace grumbo::win32 {

// The program's byte texts are UTF-8; the wide Windows calls take UTF-16.
inline std::wstring widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(needed, 0)), L'\0');
    if (needed > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), needed);
    }
    return out;
}

} // namespace grumbo::win32

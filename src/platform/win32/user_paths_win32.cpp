// The local application-data folder from the shell, and UTF-8 paths widened to UTF-16.

#include "platform/user_paths.h"
#include "platform/win32/win32_api.h"

namespace grumbo {

std::wstring widenPath(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed > 0) {
        std::wstring out(static_cast<std::size_t>(needed), L'\0');
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, out.data(), needed);
        return out;
    }
    // Not UTF-8: each byte keeps its own value, as on the other systems.
    std::wstring out;
    for (const char c : text) {
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return out;
}

std::wstring userDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                  SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    std::wstring folder = path;
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) {
        folder.pop_back();
    }
    return folder;
}

} // namespace grumbo

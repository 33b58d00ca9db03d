// Folder listing with FindFirstFileW; names come back as the system's UTF-16.

#include "platform/dir_list.h"
#include "platform/win32/win32_api.h"

namespace grumbo {

bool listFolder(const std::wstring& folder, std::vector<DirEntry>& entries) {
    entries.clear();
    if (folder.find(L'\0') != std::wstring::npos) {
        return false;
    }
    std::wstring pattern = folder.empty() ? std::wstring(L".") : folder;
    if (pattern.back() != L'/' && pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty folder still lists "." and "..", so nothing found means no folder.
        return false;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        entries.push_back(DirEntry{name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return true;
}

} // namespace grumbo

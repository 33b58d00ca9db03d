// Folder listing over POSIX directory streams.
#include "platform/dir_list.h"

#include "platform/posix/native_path.h"

#include <dirent.h>
#include <sys/stat.h>

namespace grumbo {

bool listFolder(const std::wstring& folder, std::vector<DirEntry>& entries) {
    entries.clear();
    std::string native;
    if (nativePath(folder, native) != 0) {
        return false;
    }
    const std::string path = native.empty() ? std::string(".") : native;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) {
        return false;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        bool isDirectory = entry->d_type == DT_DIR;
        // Some file systems do not report the type, and a link must be judged by what it points at.
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            const std::string full = path.ends_with('/') ? path + name : path + "/" + name;
            isDirectory = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back({fromNativePath(name), isDirectory});
    }
    closedir(dir);
    return true;
}

} // namespace grumbo

#pragma once

#include <string>
#include <vector>

namespace grumbo {

struct DirEntry {
    std::wstring name;
    bool isDirectory = false;
};

// The entries of one folder in the order the system returns them, without "." and "..".
// An empty folder name means the working directory. A name the system cannot express as text
// (not valid UTF-8 on Linux) is reported with an empty name. Returns false when the folder
// cannot be listed.
bool listFolder(const std::wstring& folder, std::vector<DirEntry>& entries);

} // namespace grumbo

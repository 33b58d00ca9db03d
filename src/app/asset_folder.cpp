#include "app/asset_folder.h"

#include "platform/dir_list.h"
#include "platform/user_paths.h"

#include <vector>

namespace grumbo {

namespace {

bool isFolder(const std::string& path) {
    std::vector<DirEntry> entries;
    return listFolder(widenPath(path), entries);
}

} // namespace

std::string findAssetFolder(const std::string& executableFolder) {
    const std::string beside = executableFolder + "/assets";
    if (isFolder(beside)) {
        return beside;
    }
    // GRUMBO_INSTALLED_ASSETS is the data folder relative to the executable's, set by the build
    // from the install layout so the two cannot disagree.
    const std::string installed = executableFolder + "/" + GRUMBO_INSTALLED_ASSETS;
    return isFolder(installed) ? installed : beside;
}

} // namespace grumbo

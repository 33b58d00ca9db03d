// The XDG data folder: $XDG_DATA_HOME, else $HOME/.local/share, else the password database's
// home folder. A relative $XDG_DATA_HOME is invalid by the XDG rules and is ignored.

#include "platform/user_paths.h"

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace grumbo {
namespace {

std::string stripTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

} // namespace

// Environment values and the password database are bytes in the locale's encoding, which is
// UTF-8 on every system the game ships for. A byte that does not decode becomes the lone
// surrogate U+DC00 + byte, which the file calls turn back into that very byte, so the folder
// named is the folder the system meant.
std::wstring widenPath(const std::string& text) {
    std::wstring out;
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        std::uint32_t code = extra == 3   ? lead & 0x07u
                             : extra == 2 ? lead & 0x0Fu
                             : extra == 1 ? lead & 0x1Fu
                                          : lead;
        bool valid = lead < 0x80 || (extra > 0 && i + static_cast<std::size_t>(extra) < text.size());
        for (int k = 1; valid && k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                code = (code << 6) | (next & 0x3Fu);
            }
        }
        if (!valid) {
            out += static_cast<wchar_t>(0xDC00 + lead);
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(code);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::wstring userDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return widenPath(stripTrailingSlashes(dataHome));
    }
    std::string home = homeFolder();
    if (home.empty()) {
        return {};
    }
    home = stripTrailingSlashes(home);
    if (home == "/") {
        home.clear();
    }
    return widenPath(home + "/.local/share");
}

} // namespace grumbo

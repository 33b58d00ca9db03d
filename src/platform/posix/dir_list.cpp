#include "platform/dir_list.h"

#include <cstdint>
#include <dirent.h>
#include <optional>
#include <sys/stat.h>

namespace grumbo {

namespace {

// Linux paths are UTF-8 bytes; a wide character here is one code point.
std::optional<std::string> toNative(const std::wstring& path) {
    std::string out;
    for (const wchar_t wc : path) {
        const auto c = static_cast<std::uint32_t>(wc);
        if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return std::nullopt;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Empty when the bytes are not well-formed UTF-8 (overlong forms and surrogates included).
std::wstring fromNative(const std::string& name) {
    static constexpr std::uint32_t MIN_CODE[5] = {0, 0, 0x80, 0x800, 0x10000};
    std::wstring out;
    std::size_t i = 0;
    while (i < name.size()) {
        const auto lead = static_cast<unsigned char>(name[i]);
        std::size_t length = 1;
        std::uint32_t code = lead;
        if (lead >= 0x80) {
            if ((lead & 0xE0) == 0xC0) {
                length = 2;
                code = lead & 0x1F;
            } else if ((lead & 0xF0) == 0xE0) {
                length = 3;
                code = lead & 0x0F;
            } else if ((lead & 0xF8) == 0xF0) {
                length = 4;
                code = lead & 0x07;
            } else {
                return {};
            }
            if (name.size() - i < length) {
                return {};
            }
            for (std::size_t k = 1; k < length; ++k) {
                const auto next = static_cast<unsigned char>(name[i + k]);
                if ((next & 0xC0) != 0x80) {
                    return {};
                }
                code = code << 6 | (next & 0x3F);
            }
            if (code < MIN_CODE[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                return {};
            }
        }
        out += static_cast<wchar_t>(code);
        i += length;
    }
    return out;
}

} // namespace

bool listFolder(const std::wstring& folder, std::vector<DirEntry>& entries) {
    entries.clear();
    const std::optional<std::string> native = toNative(folder);
    if (!native) {
        return false;
    }
    const std::string path = native->empty() ? std::string(".") : *native;
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
        entries.push_back({fromNative(name), isDirectory});
    }
    closedir(dir);
    return true;
}

} // namespace grumbo

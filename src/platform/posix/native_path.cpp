// Conversions between the program's wide paths and Linux's UTF-8 byte paths.
#include "platform/posix/native_path.h"

#include "platform/files.h"

namespace grumbo {

namespace {

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

// Linux file names are bytes; the rest of the program speaks wide text. A surrogate pair (as
// a 16-bit wchar_t build would hold it) is joined; a lone U+DC80 to U+DCFF is the raw byte
// 0x80 to 0xFF of a name that is not UTF-8 (see widenPath); any other lone surrogate keeps
// its own three-byte form, so no two different wide names ever map to the same file.
std::uint32_t nativePath(const std::wstring& path, std::string& out) {
    out.clear();
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto c = static_cast<std::uint32_t>(path[i]);
        if (c == 0 || c > 0x10FFFF) {
            return syserror::InvalidName;
        }
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < path.size()) {
            auto low = static_cast<std::uint32_t>(path[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xDC80 && c <= 0xDCFF) {
            out += static_cast<char>(c - 0xDC00);
        } else {
            appendUtf8(out, c);
        }
    }
    return syserror::Success;
}

// Empty when the bytes are not well-formed UTF-8 (overlong forms and surrogates included).
std::wstring fromNativePath(const std::string& name) {
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

} // namespace grumbo

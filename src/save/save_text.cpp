#include "save/save_text.h"

#include "platform/files.h"

namespace grumbo {
namespace {

// Windows-1252 for bytes 0x80 to 0x9F; the five bytes it leaves undefined map to the C1
// control with the same number, as the Windows conversion does.
constexpr char16_t CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr bool WIDE_IS_UTF16 = sizeof(wchar_t) == 2;

bool isHighSurrogate(std::uint32_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
bool isLowSurrogate(std::uint32_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

// Appends one code point. Where wchar_t is 16 bits wide, supplementary characters become a
// surrogate pair, exactly as the file holds them.
void appendCodePoint(std::wstring& text, std::uint32_t c) {
    if (WIDE_IS_UTF16 && c >= 0x10000) {
        c -= 0x10000;
        text += static_cast<wchar_t>(0xD800 + (c >> 10));
        text += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        text += static_cast<wchar_t>(c);
    }
}

// Joins surrogate pairs into code points where wchar_t can hold them; a lone surrogate stays
// as it is so that writing the text back reproduces the file's code units exactly.
void decodeUtf16(const std::uint8_t* bytes, std::size_t count, bool bigEndian, std::wstring& text) {
    std::size_t units = count / 2;
    text.reserve(units);
    auto unitAt = [&](std::size_t i) -> std::uint32_t {
        std::uint32_t first = bytes[2 * i];
        std::uint32_t second = bytes[2 * i + 1];
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t unit = unitAt(i);
        if (!WIDE_IS_UTF16 && isHighSurrogate(unit) && i + 1 < units && isLowSurrogate(unitAt(i + 1))) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00);
            ++i;
        }
        text += static_cast<wchar_t>(unit);
    }
}

// Strict UTF-8: overlong forms, encoded surrogates, values beyond U+10FFFF and truncated
// sequences all fail, like the Windows conversion with invalid characters refused.
bool decodeUtf8(const std::uint8_t* bytes, std::size_t count, std::wstring& text) {
    text.reserve(count);
    std::size_t i = 0;
    while (i < count) {
        std::uint32_t lead = bytes[i];
        if (lead < 0x80) {
            text += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t c = 0;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (count - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            std::uint8_t next = bytes[i + k];
            std::uint8_t min = k == 1 ? low : 0x80;
            std::uint8_t max = k == 1 ? high : 0xBF;
            if (next < min || next > max) {
                return false;
            }
            c = (c << 6) | (next & 0x3F);
        }
        appendCodePoint(text, c);
        i += length;
    }
    return true;
}

void decodeWindows1252(const std::uint8_t* bytes, std::size_t count, std::wstring& text) {
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t b = bytes[i];
        text += b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(CP1252_HIGH[b - 0x80]) : static_cast<wchar_t>(b);
    }
}

void putUnit(std::vector<std::uint8_t>& out, std::uint32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
}

} // namespace

std::uint32_t decodeSaveText(const std::uint8_t* bytes, std::size_t count, std::wstring& text) {
    text.clear();
    if (count >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        if (count % 2 != 0) {
            return syserror::InvalidData;
        }
        decodeUtf16(bytes + 2, count - 2, bytes[0] == 0xFE, text);
        return syserror::Success;
    }
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        if (!decodeUtf8(bytes + 3, count - 3, text)) {
            text.clear();
            return syserror::NoUnicodeTranslation;
        }
        return syserror::Success;
    }
    decodeWindows1252(bytes, count, text);
    return syserror::Success;
}

std::vector<std::uint8_t> encodeSaveText(const std::wstring& text) {
    std::vector<std::uint8_t> out;
    out.reserve(2 + 2 * text.size());
    putUnit(out, 0xFEFF);
    for (wchar_t w : text) {
        auto c = static_cast<std::uint32_t>(w);
        if (c > 0x10FFFF) {
            // Not a character at all; the replacement character keeps the file decodable.
            putUnit(out, 0xFFFD);
        } else if (c >= 0x10000) {
            c -= 0x10000;
            putUnit(out, 0xD800 + (c >> 10));
            putUnit(out, 0xDC00 + (c & 0x3FF));
        } else {
            putUnit(out, c);
        }
    }
    return out;
}

} // namespace grumbo

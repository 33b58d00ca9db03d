#include "platform/files.h"
#include "save/save_text.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

struct Decoded {
    std::uint32_t code;
    std::wstring text;
};

Decoded decode(const std::vector<std::uint8_t>& bytes) {
    Decoded d{};
    d.code = decodeSaveText(bytes.data(), bytes.size(), d.text);
    return d;
}

TEST(SaveTextDecode, Utf16InBothByteOrders) {
    Decoded le = decode({0xFF, 0xFE, 'A', 0, 0xAC, 0x20});
    EXPECT_EQ(le.code, 0u);
    EXPECT_EQ(le.text, L"A\u20AC");
    Decoded be = decode({0xFE, 0xFF, 0, 'A', 0x20, 0xAC});
    EXPECT_EQ(be.code, 0u);
    EXPECT_EQ(be.text, L"A\u20AC");
    EXPECT_EQ(decode({0xFF, 0xFE}).text, L"");
    EXPECT_EQ(decode({0xFF, 0xFE}).code, 0u);
}

TEST(SaveTextDecode, Utf16OfOddSizeIsInvalidData) {
    EXPECT_EQ(decode({0xFF, 0xFE, 'A'}).code, syserror::InvalidData);
    EXPECT_EQ(decode({0xFE, 0xFF, 0, 'A', 0}).code, syserror::InvalidData);
}

TEST(SaveTextDecode, SurrogatePairsAndLoneSurrogatesRoundTrip) {
    // U+1F4A8 as a pair, then a lone high and a lone low surrogate.
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE, 0x3D, 0xD8, 0xA8, 0xDC, 0x00, 0xD8, 'x', 0, 0x00, 0xDC};
    Decoded d = decode(bytes);
    ASSERT_EQ(d.code, 0u);
    EXPECT_EQ(encodeSaveText(d.text), bytes);
}

TEST(SaveTextDecode, Utf8AfterItsMarkIsDecodedStrictly) {
    Decoded ok = decode({0xEF, 0xBB, 0xBF, 'a', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x92, 0xA8});
    EXPECT_EQ(ok.code, 0u);
    EXPECT_EQ(encodeSaveText(ok.text),
              (std::vector<std::uint8_t>{0xFF, 0xFE, 'a', 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0xA8, 0xDC}));
    EXPECT_EQ(decode({0xEF, 0xBB, 0xBF}).text, L"");
    EXPECT_EQ(decode({0xEF, 0xBB, 0xBF}).code, 0u);

    const std::vector<std::vector<std::uint8_t>> invalid = {
        {0x80},                   // stray continuation byte
        {0xC0, 0xAF},             // overlong slash
        {0xE0, 0x80, 0xAF},       // overlong three-byte form
        {0xED, 0xA0, 0x80},       // an encoded surrogate
        {0xF4, 0x90, 0x80, 0x80}, // beyond U+10FFFF
        {0xE2, 0x82},             // truncated at the end
        {0xC3, 'a'},              // continuation missing
        {0xFF},
    };
    for (const auto& tail : invalid) {
        std::vector<std::uint8_t> bytes = {0xEF, 0xBB, 0xBF, 'o', 'k'};
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        Decoded bad = decode(bytes);
        EXPECT_EQ(bad.code, syserror::NoUnicodeTranslation) << bytes.size();
        EXPECT_TRUE(bad.text.empty());
    }
}

TEST(SaveTextDecode, UnmarkedBytesAreWindows1252) {
    // UTF-8 without its mark is read byte by byte, as the ANSI code page would.
    Decoded d = decode({'[', 0xC3, 0xA9, 0x80, 0x81, 0x9F, 0xA0, 0xFF, ']'});
    EXPECT_EQ(d.code, 0u);
    EXPECT_EQ(d.text, L"[\u00C3\u00A9\u20AC\u0081\u0178\u00A0\u00FF]");
    EXPECT_EQ(decode({0xFF}).text, L"\u00FF");
    EXPECT_EQ(decode({0xEF, 0xBB}).text, L"\u00EF\u00BB");
    EXPECT_EQ(decode({}).text, L"");
}

TEST(SaveTextEncode, AlwaysUtf16LittleEndianWithMark) {
    EXPECT_EQ(encodeSaveText(L""), (std::vector<std::uint8_t>{0xFF, 0xFE}));
    EXPECT_EQ(encodeSaveText(L"A\r\n"), (std::vector<std::uint8_t>{0xFF, 0xFE, 'A', 0, '\r', 0, '\n', 0}));
}

} // namespace
} // namespace grumbo

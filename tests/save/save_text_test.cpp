#include "platform/files.h"
#include "save/save_text.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Decoded {
    std::uint32_t code;
    std::wstring text;
};

// Decodes the first `count` bytes only (all by default); the rest lie beyond the file's end.
Decoded decode(const Bytes& bytes, std::size_t count = SIZE_MAX) {
    Decoded d{};
    d.code = decodeSaveText(bytes.data(), std::min(count, bytes.size()), d.text);
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
    EXPECT_EQ(decode({0xFF, 0xFE, 'A'}).code, syserror::InvalidData);
    EXPECT_EQ(decode({0xFE, 0xFF, 0, 'A', 0}).code, syserror::InvalidData);
}

TEST(SaveTextDecode, SurrogatePairsJoinAndLoneSurrogatesRoundTrip) {
    // The lowest and the highest pair, then halves next to units just outside their ranges, and
    // a high half at the very end whose low half lies beyond the file's end and must not join it.
    const Bytes bytes = {0xFF, 0xFE, 0x00, 0xD8, 0x00, 0xDC, 0xFF, 0xDB, 0xFF, 0xDF,
                         0xFF, 0xD7, 0x00, 0xDC, 0x00, 0xDC, 0x00, 0xD8, 0x00, 0xE0,
                         0x00, 0xD8, 0xFF, 0xDB, 'x',  0,    0x00, 0xD8, 0x00, 0xDC};
    Decoded d = decode(bytes, bytes.size() - 2);
    ASSERT_EQ(d.code, 0u);
    std::wstring expected = L"\U00010000\U0010FFFF";
    for (unsigned unit : {0xD7FF, 0xDC00, 0xDC00, 0xD800, 0xE000, 0xD800, 0xDBFF, 0x78, 0xD800}) {
        expected += static_cast<wchar_t>(unit);
    }
    EXPECT_EQ(d.text, expected);
    EXPECT_EQ(encodeSaveText(d.text), Bytes(bytes.begin(), bytes.end() - 2));
}

TEST(SaveTextDecode, Utf8AfterItsMarkIsDecodedStrictly) {
    // The first and last code point of every sequence length, and either side of the surrogates.
    Decoded ok = decode({0xEF, 0xBB, 0xBF, 0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xED,
                         0x9F, 0xBF, 0xEE, 0x80, 0x80, 0xEF, 0xBF, 0xBF, 0xF0, 0x90, 0x80, 0x80,
                         0xF1, 0x80, 0x80, 0x80, 0xF3, 0xBF, 0xBF, 0xBF, 0xF4, 0x8F, 0xBF, 0xBF});
    EXPECT_EQ(ok.code, 0u);
    EXPECT_EQ(ok.text, L"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U00040000\U000FFFFF\U0010FFFF");
    EXPECT_EQ(decode({0xEF, 0xBB, 0xBF}).text, L"");
    EXPECT_EQ(decode({0xEF, 0xBB, 0xBF}).code, 0u);

    const std::vector<Bytes> invalid = {
        {0x80},                   // stray continuation byte
        {0xC1, 0xBF},             // overlong two-byte form
        {0xE0, 0x9F, 0xBF},       // overlong three-byte form
        {0xED, 0xA0, 0x80},       // an encoded surrogate
        {0xF0, 0x8F, 0xBF, 0xBF}, // overlong four-byte form
        {0xF4, 0x90, 0x80, 0x80}, // beyond U+10FFFF
        {0xF5, 0x80, 0x80, 0x80}, // no such lead byte
        {0xE2, 0x82, 0xC0},       // last byte above the continuation range
        {0xE2, 0x7F, 0x82},       // middle byte below it
        {0xE2, 0x82},             // truncated at the end
        {0xC3, 'a'},              // continuation missing
        {0xC3, 0x7F},             // or just below its range
        {0xFF},
    };
    for (const auto& tail : invalid) {
        Bytes bytes = {0xEF, 0xBB, 0xBF, 'o', 'k'};
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        Decoded bad = decode(bytes);
        EXPECT_EQ(bad.code, syserror::NoUnicodeTranslation) << static_cast<int>(tail[0]);
        EXPECT_TRUE(bad.text.empty());
    }
    // A sequence cut off by the end of the file is not completed by what lies beyond it.
    EXPECT_EQ(decode({0xEF, 0xBB, 0xBF, 'a', 0xC3, 0xA9}, 5).code, syserror::NoUnicodeTranslation);
}

TEST(SaveTextDecode, UnmarkedBytesAreWindows1252) {
    // 0x80 to 0x9F are Windows-1252's own characters; its five undefined bytes stay C1 controls.
    Bytes high;
    for (int b = 0x7F; b <= 0xA0; ++b) {
        high.push_back(static_cast<std::uint8_t>(b));
    }
    EXPECT_EQ(decode(high).text,
              L"\u007F\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039"
              L"\u0152\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC"
              L"\u2122\u0161\u203A\u0153\u009D\u017E\u0178\u00A0");
    // UTF-8 without its mark is read byte by byte; half a mark is no mark.
    EXPECT_EQ(decode({'[', 0xC3, 0xA9, 0xFF, ']'}).text, L"[\u00C3\u00A9\u00FF]");
    const std::pair<Bytes, std::wstring> unmarked[] = {
        {{0xFF, 'A'}, L"\u00FFA"},
        {{'A', 0xFE}, L"A\u00FE"},
        {{0xFE, 'A'}, L"\u00FEA"},
        {{'A', 0xFF}, L"A\u00FF"},
        {{0xEF, 0xBB}, L"\u00EF\u00BB"},
        {{0xEF, 0xBB, 'x'}, L"\u00EF\u00BBx"},
        {{0xEF, 'x', 0xBF}, L"\u00EFx\u00BF"},
        {{}, L""},
    };
    for (const auto& [bytes, text] : unmarked) {
        EXPECT_EQ(decode(bytes).text, text);
    }
    // A file of one byte, even one that starts a mark.
    EXPECT_EQ(decode({0xFF, 0xFE}, 1).text, L"\u00FF");
    EXPECT_EQ(decode({0xEF, 0xBB, 0xBF}, 2).text, L"\u00EF\u00BB");
}

TEST(SaveTextEncode, AlwaysUtf16LittleEndianWithMark) {
    EXPECT_EQ(encodeSaveText(L""), (Bytes{0xFF, 0xFE}));
    EXPECT_EQ(encodeSaveText(L"A\r\n\uFFFF\U00010000\U0010FFFF"),
              (Bytes{0xFF, 0xFE, 'A', 0, '\r', 0, '\n', 0, 0xFF, 0xFF, 0x00, 0xD8, 0x00, 0xDC, 0xFF, 0xDB,
                     0xFF, 0xDF}));
    if constexpr (sizeof(wchar_t) == 4) {
        // Not a character at all: the replacement character keeps the file decodable.
        EXPECT_EQ(encodeSaveText(std::wstring(1, static_cast<wchar_t>(0x110000))),
                  (Bytes{0xFF, 0xFE, 0xFD, 0xFF}));
    }
}

} // namespace
} // namespace grumbo

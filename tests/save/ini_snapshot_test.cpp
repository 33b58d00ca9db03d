#include "save/ini_snapshot.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

IniSnapshot parsed(const std::wstring& text) {
    IniSnapshot ini;
    ini.parse(text);
    return ini;
}

TEST(IniTrimAndSerialize, OnlyTheFourWhitespaceCharactersAndTheDocumentedExample) {
    EXPECT_EQ(IniSnapshot::trim(L" \t\r\nabc \t\r\n"), L"abc");
    EXPECT_EQ(IniSnapshot::trim(L" \t \r\n"), L"");
    EXPECT_EQ(IniSnapshot::trim(L""), L"");
    EXPECT_EQ(IniSnapshot::trim(L"\v\fa b\uFEFF"), L"\v\fa b\uFEFF");
    // Serializing matches the documented example and parses back.
    IniSnapshot ini;
    ini.set(L"Journey", L"Level", L"3");
    ini.set(L"Journey", L"Name", L"  x");
    ini.set(L"Settings", L"Muted", L"0");
    const std::wstring text = ini.serialize();
    EXPECT_EQ(text, L"[Journey]\r\nLevel=3\r\nName=\"  x\"\r\n\r\n[Settings]\r\nMuted=0\r\n");

    IniSnapshot back = parsed(text);
    EXPECT_EQ(back.get(L"Journey", L"Name", L"?"), L"  x");
    EXPECT_EQ(back.serialize(), text);
}

TEST(IniRoundTrip, QuotedAndBlankValuesSurvive) {
    const std::wstring values[] = {L"'a'", L"\"a\"", L"  ",   L" lead", L"trail\t",         L"\"\"",
                                   L"''",  L"\"",    L"'a\"", L"a=b=c", L"# not a comment", L""};
    IniSnapshot ini;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        ini.set(L"S", L"K" + std::to_wstring(i), values[i]);
    }
    IniSnapshot back = parsed(ini.serialize());
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(back.get(L"S", L"K" + std::to_wstring(i), L"<missing>"), values[i]) << i;
    }
}

TEST(IniRoundTrip, QuotingRules) {
    IniSnapshot ini;
    ini.set(L"S", L"single", L"'a'");
    ini.set(L"S", L"spaces", L"  ");
    ini.set(L"S", L"plain", L"a b");
    ini.set(L"S", L"inner", L"x\"y\"z");
    ini.set(L"S", L"pair", L"''");
    ini.set(L"S", L"open", L"\"a");
    EXPECT_EQ(ini.serialize(), L"[S]\r\nsingle=\"'a'\"\r\nspaces=\"  \"\r\nplain=a b\r\ninner=x\"y\"z\r\n"
                               L"pair=\"''\"\r\nopen=\"a\r\n");

    IniSnapshot read = parsed(
        L"[S]\nsingle='a'\ndouble=  \"b\"  \nlone=\"\nnested=\"\"c\"\"\nopen=\"a\nshut=a'\nempty=\"\"\n");
    const std::pair<const wchar_t*, const wchar_t*> values[] = {
        {L"single", L"a"}, {L"double", L"b"}, {L"lone", L"\""}, {L"nested", L"\"c\""},
        {L"open", L"\"a"}, {L"shut", L"a'"},  {L"empty", L""},
    };
    for (const auto& [key, value] : values) {
        EXPECT_EQ(read.get(L"S", key, L"?"), value) << key;
    }
}

TEST(IniParse, ByteOrderMarkOnlyOnTheFirstLine) {
    IniSnapshot ini = parsed(L"\uFEFF[Journey]\r\nLevel=4\r\n\uFEFF[Other]\r\nx=1\r\n\uFEFF;c=2\r\n");
    ASSERT_EQ(ini.sections.size(), 1u);
    EXPECT_EQ(ini.sections[0].name, L"Journey");
    // The later marks are ordinary text: neither a header nor a comment, so key lines.
    ASSERT_EQ(ini.sections[0].entries.size(), 3u);
    EXPECT_EQ(ini.get(L"Journey", L"x", L""), L"1");
    EXPECT_EQ(ini.get(L"Journey", L"\uFEFF;c", L""), L"2");

    IniSnapshot spaced = parsed(L"\uFEFF  [A]\nk=v");
    EXPECT_EQ(spaced.get(L"A", L"k", L""), L"v");
    IniSnapshot blankFirst = parsed(L"\n\uFEFF[A]\nk=v");
    EXPECT_TRUE(blankFirst.sections.empty());
}

TEST(IniParse, HeadersWithoutClosingBracketDisownKeysAndNamesIgnoreCase) {
    IniSnapshot ini = parsed(L"orphan=1\n[A]\na=1\n[Broken\nb=2\n[ ]\nc=3\n[A] trailing\nd=4\n");
    ASSERT_EQ(ini.sections.size(), 1u);
    EXPECT_EQ(ini.serialize(), L"[A]\r\na=1\r\nd=4\r\n");
    EXPECT_EQ(ini.get(L"Broken", L"b", L"none"), L"none");
    // Sections and keys merge ignoring case.
    IniSnapshot merged = parsed(L"[Journey]\nLevel=1\nName=a\n[JOURNEY]\nlevel=7\n[journey]\nNEW=x\n");
    ASSERT_EQ(merged.sections.size(), 1u);
    EXPECT_EQ(merged.serialize(), L"[Journey]\r\nLevel=7\r\nName=a\r\nNEW=x\r\n");
    EXPECT_EQ(merged.get(L" jOuRnEy ", L" LEVEL ", L""), L"7");
}

TEST(IniParse, LineBreaksCommentsAndSplitting) {
    IniSnapshot ini = parsed(L"[A]\ra=1\r\nb = 2 \n\rc=3\n#d=4\n;e=5\n f =x=y\nnoequals\n = 6\n[B]");
    EXPECT_EQ(ini.serialize(), L"[A]\r\na=1\r\nb=2\r\nc=3\r\nf=x=y\r\n");
    EXPECT_EQ(ini.get(L"A", L"f", L""), L"x=y");
    // A header with no keys leaves no trace.
    EXPECT_EQ(ini.get(L"B", L"x", L"none"), L"none");
}

TEST(IniParse, EmptyDocumentsAndAddingToOne) {
    EXPECT_TRUE(parsed(L"").sections.empty());
    EXPECT_TRUE(parsed(L"\r\n\n  \t\r").sections.empty());
    EXPECT_TRUE(parsed(L"\uFEFF").sections.empty());
    EXPECT_EQ(IniSnapshot().serialize(), L"");
    EXPECT_EQ(parsed(L"[A]\n[B]\n").serialize(), L"");
    // A second parse adds to what the document holds.
    IniSnapshot ini = parsed(L"[A]\na=1\n");
    ini.parse(L"[a]\na=2\nb=3\n");
    EXPECT_EQ(ini.serialize(), L"[A]\r\na=2\r\nb=3\r\n");
}

TEST(IniSet, IgnoresEmptyNamesAndKeepsValuesVerbatim) {
    IniSnapshot ini;
    ini.set(L"  ", L"k", L"v");
    ini.set(L"S", L" \t", L"v");
    EXPECT_TRUE(ini.sections.empty());
    ini.set(L" S ", L" Key ", L"  raw  ");
    ASSERT_EQ(ini.sections.size(), 1u);
    EXPECT_EQ(ini.sections[0].name, L"S");
    EXPECT_EQ(ini.sections[0].entries[0].first, L"Key");
    EXPECT_EQ(ini.sections[0].entries[0].second, L"  raw  ");
    EXPECT_EQ(ini.get(L"S", L"missing", L"fallback"), L"fallback");
    EXPECT_EQ(ini.get(L"T", L"Key", L"fallback"), L"fallback");
}

TEST(IniInteger, AcceptsOnlyWholeNumbersInRange) {
    IniSnapshot ini = parsed(L"[N]\na=12\nb=  12  \nc=-3\nd=+7\ne=007\nf=2147483647\ng=-2147483648\n"
                             L"h=2147483648\ni=-2147483649\nj=12abc\nk=abc\nl=1.5\nm=99999999999\n"
                             L"n=\"\"\no=-\np=0x10\nq=1 2\n");
    const std::pair<const wchar_t*, std::int32_t> expected[] = {
        {L"a", 12},        {L"b", 12}, {L"c", -3}, {L"d", 7},  {L"e", 7},  {L"f", INT32_MAX},
        {L"g", INT32_MIN}, {L"h", 42}, {L"i", 42}, {L"j", 42}, {L"k", 42}, {L"l", 42},
        {L"m", 42},        {L"n", 42}, {L"o", 42}, {L"p", 42}, {L"q", 42}, {L"missing", 42}};
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(ini.integer(L"N", key, 42), value) << key;
    }
}

// A save of tens of thousands of keys parses with one name examined per
// line; a scan of every earlier key would examine about half a billion.
TEST(IniSnapshot, ManyKeysParseWithOneLookupEachAndKeepTheirRules) {
    std::wstring text = L"[Big]\r\n";
    const int keys = 40000;
    for (int i = 0; i < keys; ++i) {
        text += L"Key" + std::to_wstring(i) + L"=" + std::to_wstring(i) + L"\r\n";
    }
    text += L"[big]\r\nKEY7=seven\r\n[Other]\r\nKey7=x\r\n";
    IniSnapshot ini;
    ini.parse(text);
    EXPECT_LE(ini.namesExamined, 4u * keys);
    ASSERT_EQ(ini.sections.size(), 2u);
    ASSERT_EQ(ini.sections[0].entries.size(), static_cast<std::size_t>(keys));
    EXPECT_EQ(ini.sections[0].entries[7].first, L"Key7");
    EXPECT_EQ(ini.get(L"BIG", L"key7", L"-"), L"seven");
    EXPECT_EQ(ini.integer(L"Big", L"Key39999", 0), 39999);
    EXPECT_EQ(ini.get(L"Other", L"KEY7", L"-"), L"x");
    EXPECT_EQ(ini.get(L"Big", L"Key40000", L"-"), L"-");
    // A list changed from outside is still looked up right.
    ini.sections[1].entries.emplace_back(L"Added", L"1");
    EXPECT_EQ(ini.get(L"other", L"added", L"-"), L"1");
}

} // namespace
} // namespace grumbo

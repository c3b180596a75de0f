#include "observation/url_recognizer.h"

#include "accounting/reading_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

struct UrlCase {
    const char* name;
    const wchar_t* text;
    bool recognised;
    const wchar_t* title;
};

void PrintTo(const UrlCase& c, std::ostream* out) { *out << c.name; }

class RecognizeUrlCases : public testing::TestWithParam<UrlCase> {};

TEST_P(RecognizeUrlCases, DecidesAndDecodes)
{
    const UrlCase& c = GetParam();
    // Something left by an earlier call must never survive.
    lstrcpynW(readingState.currentArticle, L"stale title", kTitleChars);
    EXPECT_EQ(RecognizeUrl(c.text), c.recognised);
    EXPECT_EQ(std::wstring(readingState.currentArticle), std::wstring(c.title));
}

// clang-format off
const UrlCase kUrlCases[] = {
    {"PlainArticle", L"http://ja.wikipedia.org/wiki/Foo", true, L"Foo"},
    {"SchemeAndDomainInUpperCase", L"HTTP://JA.WIKIPEDIA.ORG/WIKI/Foo", true, L"Foo"},
    {"SchemeInMixedCase", L"hTtP://en.WikiPedia.Org/wIkI/Bar", true, L"Bar"},
    {"HttpsRejected", L"https://ja.wikipedia.org/wiki/Foo", false, L""},
    {"HttpsMediaHostRejected", L"https://upload.wikimedia.org/x", false, L""},
    {"SchemeSeparatorMustBeExact", L"http:\\\\ja.wikipedia.org/wiki/Foo", false, L""},
    {"TwoLabelsBeforeDomain", L"http://ja.m.wikipedia.org/wiki/Foo", false, L""},
    {"BareDomain", L"http://wikipedia.org/wiki/Foo", false, L""},
    {"DomainWithoutSlash", L"http://ja.wikipedia.org", false, L""},
    {"DomainFollowedByOther", L"http://ja.wikipedia.org.example.com/wiki/Foo", false, L""},
    {"OtherDomain", L"http://ja.wikipedia.com/wiki/Foo", false, L""},
    {"NoDotAtAll", L"http://localhost/wiki/Foo", false, L""},
    {"EmptyText", L"", false, L""},
    {"SchemeOnly", L"http://", false, L""},
    {"HostLabelNotExamined", L"http://https://ja.wikipedia.org/wiki/Foo", true, L"Foo"},
    {"EmptyHostLabel", L"http://.wikipedia.org/wiki/Foo", true, L"Foo"},
    {"OtherPathHasNoTitle", L"http://ja.wikipedia.org/w/index.php?title=Foo", true, L""},
    {"RootHasNoTitle", L"http://ja.wikipedia.org/", true, L""},
    {"WikiWithoutSlash", L"http://ja.wikipedia.org/wiki", true, L""},
    {"EmptyTitle", L"http://ja.wikipedia.org/wiki/", true, L""},
    {"TitleStartingWithHash", L"http://ja.wikipedia.org/wiki/#top", true, L""},
    {"PercentEncodedJapanese", L"http://ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC", true, L"日本"},
    {"LowerCaseHexDigits", L"http://ja.wikipedia.org/wiki/%e6%97%a5%e6%9c%ac", true, L"日本"},
    {"PlusIsSpace", L"http://ja.wikipedia.org/wiki/Foo+Bar", true, L"Foo Bar"},
    {"EncodedPlus", L"http://ja.wikipedia.org/wiki/%2B", true, L"+"},
    {"EncodedHashDoesNotEnd", L"http://ja.wikipedia.org/wiki/A%23B", true, L"A#B"},
    {"HashEndsTitle", L"http://ja.wikipedia.org/wiki/Foo#Bar", true, L"Foo"},
    {"QueryKept", L"http://ja.wikipedia.org/wiki/Foo?oldid=1", true, L"Foo?oldid=1"},
    {"NonHexPairEndsTitle", L"http://ja.wikipedia.org/wiki/Foo%zzBar", true, L"Foo"},
    {"TrailingPercent", L"http://ja.wikipedia.org/wiki/Foo%", true, L"Foo"},
    {"TrailingHalfPair", L"http://ja.wikipedia.org/wiki/Foo%3", true, L"Foo0"},
    {"HalfHexPairAtHigh", L"http://ja.wikipedia.org/wiki/%x1Z", true, L"\x01Z"},
    {"SupplementaryCharacter", L"http://ja.wikipedia.org/wiki/%F0%9F%98%80", true, L"\U0001F600"},
    {"TitleAboveLatin1CopiedWhole", L"http://ja.wikipedia.org/wiki/日本#歴史", true, L"日本#歴史"},
    {"TitleAboveLatin1NotDecoded", L"http://ja.wikipedia.org/wiki/日本%20x+y", true, L"日本%20x+y"},
    {"Latin1TitleIsDecodedAsBytes", L"http://ja.wikipedia.org/wiki/\u00e9", true, L"\uFFFD"},
    {"InvalidUtf8StillRecognised", L"http://ja.wikipedia.org/wiki/%FF", true, L"\uFFFD"},
    {"TruncatedUtf8Sequence", L"http://ja.wikipedia.org/wiki/A%E6%97", true, L"A\uFFFD"},
    {"LineBreakKept", L"http://ja.wikipedia.org/wiki/Foo\r\n", true, L"Foo\r\n"},
    {"MediaHost", L"http://upload.wikimedia.org/wikipedia/commons/a.png", true, L""},
    {"Mirror", L"http://wpedia.goo.ne.jp/enc/Foo", true, L""},
    {"MirrorSearch", L"http://wpedia.search.goo.ne.jp/search/Foo", true, L""},
    {"MirrorMobile", L"http://wpedia.mobile.goo.ne.jp/wiki/Foo", true, L""},
    {"MirrorRowNeedsClosingSlash", L"http://wpedia.goo.ne.jp", false, L""},
    {"MirrorComparedWithCase", L"http://WPEDIA.goo.ne.jp/enc/Foo", false, L""},
    {"MirrorSchemeComparedWithCase", L"HTTP://wpedia.goo.ne.jp/enc/Foo", false, L""},
    {"MediaHostComparedWithCase", L"http://Upload.wikimedia.org/x", false, L""},
    {"WildcardRowNeverCompared", L"http://*.wikipedia.org/", true, L""},
    {"OtherSite", L"http://www.example.com/wiki/Foo", false, L""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Table, RecognizeUrlCases, testing::ValuesIn(kUrlCases),
                         [](const testing::TestParamInfo<UrlCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(HexPairValue, DigitsOfBothCasesAndNonDigits)
{
    EXPECT_EQ(HexPairValue(L'E', L'6'), 0xE6);
    EXPECT_EQ(HexPairValue(L'e', L'6'), 0xE6);
    EXPECT_EQ(HexPairValue(L'f', L'F'), 0xFF);
    EXPECT_EQ(HexPairValue(L'0', L'9'), 0x09);
    EXPECT_EQ(HexPairValue(L'g', L'1'), 0x01);
    EXPECT_EQ(HexPairValue(L'3', L'\0'), 0x30);
    // Judged on the whole code unit: a full-width digit or a letter whose low
    // byte is a digit is no digit.
    EXPECT_EQ(HexPairValue(L'\xFF11', L'\x0141'), 0x00);
}

// Titles as long as the callers' 2099-code-unit bound allows, and beyond it:
// currentArticle is never overrun and always terminated.
class RecognizeUrlBounds : public testing::TestWithParam<int> {};

TEST_P(RecognizeUrlBounds, LongTitlesStayInsideCurrentArticle)
{
    const std::wstring prefix = L"http://ja.wikipedia.org/wiki/";
    const int titleChars = GetParam();
    const std::wstring ascii = prefix + std::wstring(static_cast<size_t>(titleChars), L'a');
    EXPECT_TRUE(RecognizeUrl(ascii.c_str()));
    const size_t expected = std::min<size_t>(static_cast<size_t>(titleChars), kTitleChars - 1);
    EXPECT_EQ(std::wcslen(readingState.currentArticle), expected);

    const std::wstring wide = prefix + std::wstring(static_cast<size_t>(titleChars), L'語');
    EXPECT_TRUE(RecognizeUrl(wide.c_str()));
    EXPECT_EQ(std::wcslen(readingState.currentArticle), expected);

    // Every three-byte character decodes to one code unit.
    std::wstring encoded = prefix;
    for (int i = 0; i < titleChars / 9; ++i) {
        encoded += L"%E6%97%A5";
    }
    EXPECT_TRUE(RecognizeUrl(encoded.c_str()));
    EXPECT_LE(std::wcslen(readingState.currentArticle), static_cast<size_t>(kTitleChars - 1));
}

INSTANTIATE_TEST_SUITE_P(Lengths, RecognizeUrlBounds,
                         testing::Values(2099 - 29, 2099, 5000));

}  // namespace

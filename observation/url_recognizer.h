// Decides whether an address is one of the encyclopaedia's and decodes the
// article title from it into readingState.currentArticle.
#pragma once

#include <cstdint>
#include <string_view>

// Address prefixes of the encyclopaedia, lower case, each from "http://" to a
// closing '/', ended by a null entry. Row 1 stands for the main domain with
// any one host label before it ("*"); the domain test reads the domain from
// it and the table walk never compares it. Rows 2 to 5 are compared as they
// stand, case significant: the media upload host, then goo's mirror of the
// encyclopaedia with its search and mobile hosts.
inline constexpr const wchar_t* SitePatternTable[] = {
    L"http://*.wikipedia.org/",
    L"http://upload.wikimedia.org/",
    L"http://wpedia.goo.ne.jp/",
    L"http://wpedia.search.goo.ne.jp/",
    L"http://wpedia.mobile.goo.ne.jp/",
    nullptr,
};

// What stands in row 1 before the main domain.
inline constexpr std::wstring_view kAnyHostLabel = L"http://*.";
static_assert(std::wstring_view(SitePatternTable[0]).starts_with(kAnyHostLabel));
static_assert(std::wstring_view(SitePatternTable[0]).ends_with(L"/"));

// Bytes of the UTF-8 work buffer: a title of up to 2099 code units (the
// callers' bound) gives at most one byte per code unit, with room to spare
// for the closing zero; a longer title is cut there.
inline constexpr int kUtf8WorkBytes = 2100;

// Empties currentArticle, then returns true when `text` (NUL-terminated) is
// an encyclopaedia address; for a "/wiki/" address under the main domain the
// decoded title is left in currentArticle. Allocates nothing; input longer
// than 2099 code units is cut, never overruns.
bool RecognizeUrl(const wchar_t* text);

// The byte that two hexadecimal digits stand for; a code unit that is not a
// digit counts as 0.
std::uint8_t HexPairValue(wchar_t high, wchar_t low);

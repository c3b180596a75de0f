#include "tests/hardening/url_model.h"

#include "accounting/reading_state.h"
#include "observation/url_recognizer.h"
#include "tests/hardening/guarded_state.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

bool StartsWithFolded(std::wstring_view text, std::wstring_view lower)
{
    if (text.size() < lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lower.size(); ++i) {
        if (LowerAscii(text[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

// The encyclopaedia's main domain with its closing '/', from the table's
// first row ("http://*." + domain).
std::wstring_view MainDomain()
{
    return std::wstring_view(SitePatternTable[0]).substr(kAnyHostLabel.size());
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return 0;
}

}  // namespace

Verdict Model(std::wstring_view text)
{
    Verdict verdict;
    if (text.size() >= 7 && StartsWithFolded(text, L"http") && text.substr(4, 3) == L"://") {
        const std::size_t dot = text.find(L'.', 7);
        if (dot != std::wstring_view::npos && StartsWithFolded(text.substr(dot + 1), MainDomain())) {
            verdict.recognised = true;
            const std::wstring_view path = text.substr(dot + 1 + MainDomain().size());
            if (StartsWithFolded(path, L"wiki/")) {
                verdict.title = path.substr(5);
            }
            return verdict;
        }
    }
    for (int row = 1; SitePatternTable[row] != nullptr; ++row) {
        if (text.starts_with(SitePatternTable[row])) {
            verdict.recognised = true;
        }
    }
    return verdict;
}

// The bytes a title of code units up to 0x00FF stands for: '#' and a zero byte
// end it, "%XY" is one byte (missing digits count 0), '+' a space.
std::string TitleBytes(std::wstring_view title)
{
    std::string bytes;
    for (std::size_t i = 0; i < title.size();) {
        unsigned value;
        if (title[i] == L'#') {
            break;
        }
        if (title[i] == L'%') {
            const wchar_t high = i + 1 < title.size() ? title[i + 1] : L'\0';
            const wchar_t low = i + 2 < title.size() ? title[i + 2] : L'\0';
            value = static_cast<unsigned>(HexDigit(high) * 16 + HexDigit(low));
            i += 3;
        } else {
            value = title[i] == L'+' ? 0x20u : static_cast<unsigned>(title[i]);
            ++i;
        }
        if (value == 0) {
            break;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

// What the title checks find wrong, or empty.
std::string CheckTitle(std::wstring_view title)
{
    if (!TitleTerminated()) {
        return "currentArticle left unterminated";
    }
    const std::wstring got = readingState.currentArticle;
    bool wide = false;
    for (wchar_t unit : title) {
        wide = wide || unit > 0x00FF;
    }
    if (wide) {
        return got == title ? "" : "a title above U+00FF was not copied whole";
    }
    const std::string bytes = TitleBytes(title);
    bool ascii = true;
    for (char byte : bytes) {
        ascii = ascii && static_cast<unsigned char>(byte) < 0x80;
    }
    if (ascii) {
        return got == std::wstring(bytes.begin(), bytes.end()) ? "" : "ASCII title decoded wrongly";
    }
    // Each byte of UTF-8 gives at most one UTF-16 code unit.
    return got.size() <= bytes.size() ? "" : "decoded title longer than its bytes";
}


namespace {

const std::vector<std::wstring> kPrefixes = {
    L"http://ja.wikipedia.org/wiki/",  L"HTTP://EN.WIKIPEDIA.ORG/WIKI/", L"hTtP://de.WikiPedia.oRg/WiKi/",
    L"http://ja.wikipedia.org/",       L"http://https://ja.wikipedia.org/wiki/",
    L"http://.wikipedia.org/wiki/",    L"http://ja.m.wikipedia.org/wiki/", L"http://wikipedia.org/wiki/",
    L"https://ja.wikipedia.org/wiki/", L"http:/ja.wikipedia.org/wiki/",  L"http:\\\\ja.wikipedia.org/wiki/",
    L"http://ja.wikipedia.org",        L"http://ja.wikipedia.orgwiki/",  L"http://ja.wikipedia.org/wik",
    L"http://upload.wikimedia.org/",   L"http://wpedia.goo.ne.jp/",       L"http://wpedia.search.goo.ne.jp/",
    L"http://wpedia.mobile.goo.ne.jp/", L"http://WPEDIA.goo.ne.jp/",     L"HTTP://wpedia.goo.ne.jp/",
    L"http://wpedia.goo.ne.jp",        L"http://",                       L"http://.",
    L"hxxp://ja.wikipedia.org/wiki/",  L"h",                              L"",
};

// Pieces that steer random texts into the deep paths: domain and path parts,
// half and whole escapes.
const std::vector<std::wstring> kTokens = {
    L".wikipedia.org/", L"wiki/", L"%E6%97%A5", L"%F0%9F%98", L"%C3", L"%", L"%2", L"%2B", L"%23",
    L"%00", L"%zz", L"#", L"+", L"/", L".", L"://", L"http://", L"%FF%FE", L"%ED%A0%80",
};

wchar_t RandomUnit(SeededRandom& random, bool latin1Only)
{
    static const wchar_t kFavoured[] = L"%%%%++##//0123456789abcdefABCDEFwikpedaorgWIKPEDAORG.:?=&";
    switch (random.Below(latin1Only ? 4 : 7)) {
    case 0:
    case 1:
        return kFavoured[random.Below(static_cast<std::uint32_t>(std::wcslen(kFavoured)))];
    case 2:
        return static_cast<wchar_t>(0x80 + random.Below(0x80));  // bytes that are not UTF-8 alone
    case 3:
        return static_cast<wchar_t>(1 + random.Below(0x7F));
    case 4:
        return static_cast<wchar_t>(0xD800 + random.Below(0x800));  // lone surrogates
    case 5: {
        static const wchar_t kWide[] = {0x0100, 0x3042, 0x65E5, 0xFEFF, 0xFFFD, 0xFFFE, 0xFFFF};
        return kWide[random.Below(7)];
    }
    default:
        return static_cast<wchar_t>(0x100 + random.Below(0xFF00));
    }
}

}  // namespace

std::wstring RandomAddressText(SeededRandom& random, std::uint32_t maxUnits)
{
    std::wstring text = random.OneIn(10) ? std::wstring() : random.Pick(kPrefixes);
    std::uint32_t length;
    switch (random.Below(10)) {
    case 0: length = maxUnits; break;
    case 1: case 2: length = random.Below(maxUnits + 1); break;
    case 3: case 4: case 5: length = random.Below(400); break;
    default: length = random.Below(48); break;
    }
    const bool latin1Only = random.OneIn(2);
    while (text.size() < length) {
        if (random.OneIn(6)) {
            text += random.Pick(kTokens);
        } else {
            text += RandomUnit(random, latin1Only);
        }
    }
    if (text.size() > maxUnits) {
        text.resize(maxUnits);
    }
    return text;
}


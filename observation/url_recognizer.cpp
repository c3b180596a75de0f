#include "observation/url_recognizer.h"

#include "accounting/reading_state.h"

#include <windows.h>

#include <cstddef>

namespace {

constexpr wchar_t kScheme[] = L"http://";
constexpr std::size_t kHostStart = 7;  // first code unit after "http://"
constexpr wchar_t kArticlePath[] = L"wiki/";
// The main domain and its closing '/', as row 1 of the table writes them.
const wchar_t* const kMainDomain = SitePatternTable[0] + kAnyHostLabel.size();

wchar_t FoldAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

// Length of `lowerLiteral` when `text` begins with it, each ASCII letter in
// either case and every other code unit exactly; 0 when it does not. Stops at
// the text's terminator, which no literal holds.
std::size_t FoldedPrefix(const wchar_t* text, const wchar_t* lowerLiteral)
{
    std::size_t i = 0;
    for (; lowerLiteral[i] != L'\0'; ++i) {
        if (FoldAsciiLetter(text[i]) != lowerLiteral[i]) {
            return 0;
        }
    }
    return i;
}

bool StartsWithExactly(const wchar_t* text, const wchar_t* prefix)
{
    std::size_t i = 0;
    for (; prefix[i] != L'\0'; ++i) {
        if (text[i] != prefix[i]) {
            return false;
        }
    }
    return true;
}

int HexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    return 0;
}

// Where the title starts when `text` is "http://<label>.<main domain>/...",
// or null. Sets *underMainDomain when the domain test passed.
const wchar_t* ArticleTitle(const wchar_t* text, bool* underMainDomain)
{
    *underMainDomain = false;
    if (FoldedPrefix(text, kScheme) == 0) {
        return nullptr;
    }
    // The one host label before the domain is not examined: it may even be
    // empty or hold "https:" (Chrome's route puts "http://" before "https://").
    const wchar_t* dot = text + kHostStart;
    while (*dot != L'\0' && *dot != L'.') {
        ++dot;
    }
    if (*dot != L'.') {
        return nullptr;
    }
    const std::size_t domain = FoldedPrefix(dot + 1, kMainDomain);
    if (domain == 0) {
        return nullptr;
    }
    *underMainDomain = true;
    const wchar_t* path = dot + 1 + domain;
    const std::size_t wiki = FoldedPrefix(path, kArticlePath);
    return wiki == 0 ? nullptr : path + wiki;
}

// Copies at most kTitleChars - 1 code units and always terminates.
void CopyTitleUnchanged(const wchar_t* title)
{
    int i = 0;
    for (; i < kTitleChars - 1 && title[i] != L'\0'; ++i) {
        readingState.currentArticle[i] = title[i];
    }
    readingState.currentArticle[i] = L'\0';
}

// '#' ends the title, "%XY" is one byte, '+' a space; the bytes are UTF-8.
void DecodeTitle(const wchar_t* title)
{
    char bytes[kUtf8WorkBytes];
    int count = 0;
    const wchar_t* p = title;
    while (*p != L'\0' && *p != L'#' && count < kUtf8WorkBytes - 1) {
        std::uint8_t byte;
        if (*p == L'%') {
            // A pair cut short by the end of the text counts its missing
            // digits as 0 and never reads past the terminator.
            const wchar_t high = p[1];
            const wchar_t low = high != L'\0' ? p[2] : L'\0';
            byte = HexPairValue(high, low);
            p += 1 + (high != L'\0' ? 1 : 0) + (low != L'\0' ? 1 : 0);
        } else if (*p == L'+') {
            byte = 0x20;
            ++p;
        } else {
            byte = static_cast<std::uint8_t>(*p);
            ++p;
        }
        if (byte == 0) {
            break;  // the conversion would stop at this zero byte anyway
        }
        bytes[count++] = static_cast<char>(byte);
    }
    // Flags 0: an invalid sequence becomes U+FFFD instead of failing. Each
    // byte gives at most one code unit, so the title always fits. The bytes
    // go without their zero and the terminator is written here: a sequence
    // cut short just before a zero byte can swallow that zero in some
    // conversions, which would leave currentArticle unterminated.
    int written = 0;
    if (count > 0) {
        written = MultiByteToWideChar(CP_UTF8, 0, bytes, count, readingState.currentArticle,
                                      kTitleChars - 1);
    }
    readingState.currentArticle[written > 0 ? written : 0] = L'\0';
}

bool HasCodeUnitAboveLatin1(const wchar_t* text)
{
    for (; *text != L'\0'; ++text) {
        if (*text > 0x00FF) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::uint8_t HexPairValue(wchar_t high, wchar_t low)
{
    return static_cast<std::uint8_t>(HexDigitValue(high) * 16 + HexDigitValue(low));
}

bool RecognizeUrl(const wchar_t* text)
{
    readingState.currentArticle[0] = L'\0';
    bool underMainDomain = false;
    const wchar_t* title = ArticleTitle(text, &underMainDomain);
    if (title != nullptr) {
        // Browsers that show the title already decoded must not have it
        // decoded a second time.
        if (HasCodeUnitAboveLatin1(title)) {
            CopyTitleUnchanged(title);
        } else {
            DecodeTitle(title);
        }
        return true;
    }
    if (underMainDomain) {
        return true;  // any page of the encyclopaedia counts; only articles have titles
    }
    for (std::size_t row = 1; SitePatternTable[row] != nullptr; ++row) {
        if (StartsWithExactly(text, SitePatternTable[row])) {
            return true;
        }
    }
    return false;
}

#include "observation/address_bar_routes.h"

#include "observation/browser_tables.h"
#include "observation/url_recognizer.h"

#include <cstddef>
#include <span>

namespace {

constexpr wchar_t kHttpScheme[] = L"http://";
constexpr int kHttpSchemeChars = 7;

bool ClassIs(HWND window, const wchar_t* expected, wchar_t (&name)[kWindowTextChars])
{
    if (GetClassNameW(window, name, kWindowTextChars) <= 0) {
        return false;
    }
    return lstrcmpiW(name, expected) == 0;
}

bool ReadWindowText(HWND window, wchar_t (&text)[kWindowTextChars])
{
    text[0] = L'\0';
    DWORD_PTR copied = 0;
    const LRESULT answered =
        SendMessageTimeoutW(window, WM_GETTEXT, kWindowTextChars, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, kTextReadTimeoutMs, &copied);
    // The count comes from the other program; the terminator is ours.
    text[kWindowTextChars - 1] = L'\0';
    return answered != 0 && copied > 0;
}

bool StartsWithHttp(const wchar_t* text)
{
    for (int i = 0; i < kHttpSchemeChars; ++i) {
        if (text[i] != kHttpScheme[i]) {
            return false;
        }
    }
    return true;
}

// "http://" + text into `joined`; false when that does not fit. An address
// that long cannot be an article's (titles are at most 255 UTF-8 bytes), so
// it is passed over rather than cut into a wrong title.
bool PrefixHttp(const wchar_t* text, wchar_t (&joined)[kWindowTextChars])
{
    int i = 0;
    for (; i < kHttpSchemeChars; ++i) {
        joined[i] = kHttpScheme[i];
    }
    for (const wchar_t* p = text; *p != L'\0'; ++p, ++i) {
        if (i == kWindowTextChars - 1) {
            return false;
        }
        joined[i] = *p;
    }
    joined[i] = L'\0';
    return true;
}

// The one routine behind every route: the first chain that passes decides.
BOOL FollowRoute(std::span<const RouteChain> chains, HWND window, LPARAM result)
{
    wchar_t text[kWindowTextChars];
    for (const RouteChain& chain : chains) {
        if (!MatchClassChain(chain.classes, window, text)) {
            continue;
        }
        const wchar_t* address = text;
        wchar_t joined[kWindowTextChars];
        if (chain.scheme == SchemeRule::PrefixHttp && !StartsWithHttp(text)) {
            if (!PrefixHttp(text, joined)) {
                return TRUE;
            }
            address = joined;
        }
        if (!RecognizeUrl(address)) {
            return TRUE;
        }
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool MatchClassChain(ClassChain chain, HWND candidate, wchar_t (&text)[kWindowTextChars])
{
    wchar_t name[kWindowTextChars];
    HWND current = candidate;
    for (std::size_t level = 0; chain[level] != nullptr; ++level) {
        if (current == nullptr) {
            return false;
        }
        if (chain[level][0] != L'\0' && !ClassIs(current, chain[level], name)) {
            return false;
        }
        current = GetParent(current);
    }
    return ReadWindowText(candidate, text);
}

BOOL CALLBACK RouteIE(HWND window, LPARAM result) { return FollowRoute(kIEChains, window, result); }
BOOL CALLBACK RouteChrome(HWND window, LPARAM result)
{
    return FollowRoute(kChromeChains, window, result);
}
BOOL CALLBACK RouteFenrir(HWND window, LPARAM result)
{
    return FollowRoute(kFenrirChains, window, result);
}
BOOL CALLBACK RouteLunascape(HWND window, LPARAM result)
{
    return FollowRoute(kLunascapeChains, window, result);
}
BOOL CALLBACK RouteDonut(HWND window, LPARAM result)
{
    return FollowRoute(kDonutChains, window, result);
}
BOOL CALLBACK RouteTFMain(HWND window, LPARAM result)
{
    return FollowRoute(kTFMainChains, window, result);
}
BOOL CALLBACK RouteCommandBar(HWND window, LPARAM result)
{
    return FollowRoute(kCommandBarChains, window, result);
}

BOOL CALLBACK ScanTopLevelWindow(HWND window, LPARAM /*ignored*/)
{
    wchar_t name[kWindowTextChars];
    if (GetClassNameW(window, name, kWindowTextChars) <= 0) {
        return TRUE;
    }
    for (const BrowserClassRow& row : BrowserClassTable) {
        if (lstrcmpiW(name, row.className) != 0) {
            continue;
        }
        HWND found = nullptr;
        EnumChildWindows(window, row.route, reinterpret_cast<LPARAM>(&found));
        if (found == nullptr) {
            return TRUE;
        }
        readingState.cachedWindow = found;
        readingState.cachedRoute = row.route;
        readingState.graceTicks = kGraceFull;
        return FALSE;
    }
    return TRUE;
}

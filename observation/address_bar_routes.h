// Finding a browser's address bar among the descendants of its top-level
// window by window classes, and reading the address shown in it.
#pragma once

#include "accounting/reading_state.h"

#include <windows.h>

// Class names and window texts are read into buffers of this many code
// units, the terminator included.
inline constexpr int kWindowTextChars = 2100;

// How long one address-bar text request may wait for the browser to answer.
// A browser that is busy or stops answering must not hold up the tick, which
// runs once a second on the GUI thread. A responsive browser answers
// WM_GETTEXT within a few milliseconds even under load; 250 ms leaves ample
// room for that, keeps a scan that meets one unresponsive browser (a few
// address-bar candidates at most) well inside the one-second tick, and a read
// lost to it costs one observation, which the five-tick grace absorbs. Once
// the system has marked the window hung, SMTO_ABORTIFHUNG fails at once.
inline constexpr UINT kTextReadTimeoutMs = 250;

// Window class names from a candidate window upward: entry 0 is the
// candidate's own class, entry 1 its parent's, and so on; closed by a null
// entry. "" matches any class, but a window must exist at that level; levels
// above the last entry are not looked at.
using ClassChain = const wchar_t* const*;

// True when `candidate` and its ancestors pass `chain` and the candidate has
// text, which is then in `text`.
bool MatchClassChain(ClassChain chain, HWND candidate, wchar_t (&text)[kWindowTextChars]);

// EnumChildWindows callbacks (AddressBarRoute): each tries its browser's class
// chains on `window`; when one passes and its text is an encyclopaedia
// address, stores the window into *reinterpret_cast<HWND*>(result) and
// returns FALSE (stop); otherwise TRUE.
BOOL CALLBACK RouteIE(HWND window, LPARAM result);
BOOL CALLBACK RouteChrome(HWND window, LPARAM result);
BOOL CALLBACK RouteFenrir(HWND window, LPARAM result);
BOOL CALLBACK RouteLunascape(HWND window, LPARAM result);
BOOL CALLBACK RouteDonut(HWND window, LPARAM result);
BOOL CALLBACK RouteTFMain(HWND window, LPARAM result);
BOOL CALLBACK RouteCommandBar(HWND window, LPARAM result);

// EnumWindows callback: when `window` is a browser whose address bar shows an
// encyclopaedia address, caches that address-bar window and its route, sets
// graceTicks to full and returns FALSE; otherwise TRUE. `ignored` is unused.
BOOL CALLBACK ScanTopLevelWindow(HWND window, LPARAM ignored);

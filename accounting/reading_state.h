// The accounting record: every counter and flag of the reading clock, one
// instance for the whole process, touched only on the GUI thread.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr int kTitleChars = 2100;     // currentArticle, with the terminator
inline constexpr int kDayKeyChars = 16;      // "%04d%02d%02d" uses 8
inline constexpr std::uint32_t kCounterMax = 4294967295u;  // counters stop here
inline constexpr std::int16_t kGraceFull = 5;  // set by a positive observation

// An address-bar route: an EnumChildWindows callback whose LPARAM is the
// address of an HWND that receives the window found. Returns FALSE when found.
using AddressBarRoute = BOOL(CALLBACK*)(HWND window, LPARAM result);

struct ReadingState {
    std::uint32_t continuousSeconds;
    std::uint32_t todaySeconds;
    std::int16_t graceTicks;
    SYSTEMTIME today;
    wchar_t dayKey[kDayKeyChars];
    wchar_t currentArticle[kTitleChars];
    HWND cachedWindow;
    AddressBarRoute cachedRoute;
    std::uint32_t noticeTimerId;   // the NoticeKind on screen, 0 when none
    const wchar_t* noticeText;
    std::int16_t noticeTicks;
    std::uint32_t noticeHoldMs;
};

extern ReadingState readingState;

// Sets today and dayKey from a local time (start-up and day rollover).
void SetToday(const SYSTEMTIME& now);

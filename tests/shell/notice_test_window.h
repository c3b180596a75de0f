// A real window built like MainWindow (layered, topmost tool popup of the
// notice's size) whose procedure answers the notice's messages, and a
// recorder of the timer calls the notice makes.
#pragma once

#include "accounting/notice_kind.h"

#include <windows.h>

#include <vector>

namespace notice_test {

struct TimerCall {
    bool start;
    UINT_PTR id;
    UINT intervalMs;
    bool operator==(const TimerCall&) const = default;
};

extern std::vector<TimerCall> timerCalls;
// WM_TIMER messages that reached the window, by id.
extern std::vector<UINT_PTR> timerMessages;

// Sets the scales for `dpi`, the notice size for bitmap 130 (128 x 128), the
// stock font, clean notice fields and counters, a recorder in the clock's
// timer seam that also runs the real timers (when `realTimers`), and creates
// the window at the bottom-right corner of the work area.
HWND CreateNoticeWindow(int dpi, bool realTimers);
void DestroyNoticeWindow(HWND window);
// Loads bitmap 130 from this executable and prepares noticeImage from it.
bool PrepareImageFromResource(HWND window);

// What the window manager was asked for, read back from the window.
struct Placement {
    int rise;      // pixels between the window's top and the work area's bottom
    int rightGap;  // work area right minus window right
    BYTE alpha;
    COLORREF key;
    DWORD flags;
    bool visible;
};
Placement ReadPlacement(HWND window);

// Starts a notice of `kind` as the notice rules do.
void BeginNotice(HWND window, NoticeKind kind, const wchar_t* text);

}  // namespace notice_test

// A recording stand-in for everything the clock reaches through its seam, a
// settable local time, a real hidden window as MainWindow and, in this
// process, a window of the companion's class that records the feed.
#pragma once

#include "accounting/clock_collaborators.h"
#include "accounting/reading_state.h"
#include "store/settings.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

struct TrayCall {
    HICON icon;
    std::wstring text;
};

struct TimerCall {
    bool start;
    UINT_PTR id;
    UINT intervalMs;
};

struct SaveCall {
    std::wstring dayKey;
    std::uint32_t todaySeconds;
};

extern std::vector<TrayCall> trayCalls;
extern std::vector<std::wstring> rankCalls;
extern std::vector<SaveCall> saveCalls;
extern std::vector<TimerCall> timerCalls;
extern std::vector<std::wstring> feed;  // texts received by the in-process companion
extern int hideCalls;
extern SYSTEMTIME now;
// What the next observation passes see: a page (with this title) or nothing.
extern bool pageInView;
extern std::wstring title;
// Runs inside saveSettings, after the save is recorded (nested ticks etc.).
extern std::function<void()> duringSave;

extern const HICON kReadingIcon;
extern const HICON kIdleIcon;

// Fresh ReadingState, Settings and recorders; the clock set to `start` and
// today taken from it. Creates the windows on first use.
void Reset(const SYSTEMTIME& start);
HWND MainWindow();
// For tests of the feed against a companion in another process.
void DropInProcessCompanion();

SYSTEMTIME Time(int year, int month, int day, int hour, int minute, int second);

// Runs `ticks` clock ticks with a page in view (or not), advancing the clock
// by one second per tick.
void Tick(int ticks, bool page);

}  // namespace harness

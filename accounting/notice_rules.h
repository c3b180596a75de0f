// The rules that start notices: milestones of continuous reading, the end of
// a spell, the full hour and the three alarms.
#pragma once

#include "accounting/notice_kind.h"

#include <windows.h>

#include <cstdint>

struct Milestone {
    std::uint32_t seconds;
    const wchar_t* text;
};

// Ascending thresholds, closed by a row {0, nullptr}.
extern const Milestone MilestoneTable[25];

inline constexpr int kChimeTextChars = 32;
extern wchar_t chimeText[kChimeTextChars];

void StartNotice(HWND mainWindow, NoticeKind kind, const wchar_t* text);
void CheckMilestone(HWND mainWindow);
// End of a spell: stops a shown notice, then starts the finish notice or
// clears continuousSeconds.
void ApplyFinishRule(HWND mainWindow);
void CheckHourlyChime(HWND mainWindow, const SYSTEMTIME& now);
void CheckAlarms(HWND mainWindow, const SYSTEMTIME& now);

// Ends the shown notice at once: its timer stopped, noticeTimerId 0, hidden.
void EndShownNotice(HWND mainWindow);

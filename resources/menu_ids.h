// Tray menu command ids, each defined once: macros for the resource compiler,
// typed constants for the code.
#pragma once

#define IDC_SHOW_WEEK 32772
#define IDC_SHOW_MONTH 32775
#define IDC_SHOW_YEAR 32780
#define IDC_SHOW_RANKING 32782
#define IDC_NOTIFY_FINISH 32776
#define IDC_NOTIFY_TIME 32777
#define IDC_NOTIFY_HOUR 32778
#define IDC_HISTORY 32781
#define IDC_ALARMS 32779
#define IDC_HELP 32774
#define IDC_STARTUP 32783
#define IDC_ABOUT 32771
#define IDC_EXIT 2

#ifndef RC_INVOKED
#include <cstdint>

enum class TrayCommand : std::uint32_t {
    ShowWeek = IDC_SHOW_WEEK,
    ShowMonth = IDC_SHOW_MONTH,
    ShowYear = IDC_SHOW_YEAR,
    ShowRanking = IDC_SHOW_RANKING,
    NotifyFinish = IDC_NOTIFY_FINISH,
    NotifyTime = IDC_NOTIFY_TIME,
    NotifyHour = IDC_NOTIFY_HOUR,
    History = IDC_HISTORY,
    Alarms = IDC_ALARMS,
    Help = IDC_HELP,
    Startup = IDC_STARTUP,
    About = IDC_ABOUT,
    Exit = IDC_EXIT,
};
#endif

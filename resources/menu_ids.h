// Tray menu command ids, each defined once: macros for the resource compiler,
// typed constants for the code.
#pragma once

#define ID_TRAY_SHOW_WEEK 32772
#define ID_TRAY_SHOW_MONTH 32775
#define ID_TRAY_SHOW_YEAR 32780
#define ID_TRAY_SHOW_RANKING 32782
#define ID_TRAY_NOTIFY_FINISH 32776
#define ID_TRAY_NOTIFY_TIME 32777
#define ID_TRAY_NOTIFY_HOUR 32778
#define ID_TRAY_HISTORY 32781
#define ID_TRAY_ALARMS 32779
#define ID_TRAY_HELP 32774
#define ID_TRAY_STARTUP 32783
#define ID_TRAY_ABOUT 32771
#define ID_TRAY_EXIT 2

#ifndef RC_INVOKED
#include <cstdint>

enum class TrayCommand : std::uint32_t {
    ShowWeek = ID_TRAY_SHOW_WEEK,
    ShowMonth = ID_TRAY_SHOW_MONTH,
    ShowYear = ID_TRAY_SHOW_YEAR,
    ShowRanking = ID_TRAY_SHOW_RANKING,
    NotifyFinish = ID_TRAY_NOTIFY_FINISH,
    NotifyTime = ID_TRAY_NOTIFY_TIME,
    NotifyHour = ID_TRAY_NOTIFY_HOUR,
    History = ID_TRAY_HISTORY,
    Alarms = ID_TRAY_ALARMS,
    Help = ID_TRAY_HELP,
    Startup = ID_TRAY_STARTUP,
    About = ID_TRAY_ABOUT,
    Exit = ID_TRAY_EXIT,
};
#endif

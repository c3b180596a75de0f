// Resource ids, each defined once. The resource compiler sees the macros; C++
// code uses the typed constants below them.
#pragma once

#define IDI_APP_CLOCK 107
#define IDB_NOTICE 130
#define IDM_TRAY 131
#define IDI_READING 132
#define IDI_IDLE 133
#define IDD_LOG_VIEWER 134
#define IDD_ALARM 135

#ifndef RC_INVOKED
#include <windows.h>

inline constexpr WORD kAppIconId = IDI_APP_CLOCK;
inline constexpr WORD kNoticeBitmapId = IDB_NOTICE;
inline constexpr WORD kTrayMenuId = IDM_TRAY;
inline constexpr WORD kReadingIconId = IDI_READING;
inline constexpr WORD kIdleIconId = IDI_IDLE;
inline constexpr WORD kLogViewerDialogId = IDD_LOG_VIEWER;
inline constexpr WORD kAlarmDialogId = IDD_ALARM;
#endif

// Control ids of the two dialogs, each defined once. The resource compiler
// sees the macros; C++ code uses the typed constants below them. The close,
// OK and cancel buttons use IDOK (1) and IDCANCEL (2), so that Enter, Esc and
// the caption's close box reach them.
#pragma once

// Log viewer (dialog 134).
#define IDC_LOG_DELETE 1004
#define IDC_LOG_REPORT 1012

// Alarm dialog (dialog 135), by alarm: on, hour, minute, message.
#define IDC_ALARM1_ON 1001
#define IDC_ALARM1_HOUR 1000
#define IDC_ALARM1_MINUTE 1002
#define IDC_ALARM1_MESSAGE 1003
#define IDC_ALARM2_ON 1004
#define IDC_ALARM2_HOUR 1005
#define IDC_ALARM2_MINUTE 1006
#define IDC_ALARM2_MESSAGE 1007
#define IDC_ALARM3_ON 1008
#define IDC_ALARM3_HOUR 1009
#define IDC_ALARM3_MINUTE 1010
#define IDC_ALARM3_MESSAGE 1011

// Labels have no id of their own.
#define IDC_LABEL 65535

#ifndef RC_INVOKED
inline constexpr int kLogDeleteId = IDC_LOG_DELETE;
inline constexpr int kLogReportId = IDC_LOG_REPORT;

// Element i is alarm i + 1, as in the Settings arrays.
inline constexpr int kAlarmOnIds[3] = {IDC_ALARM1_ON, IDC_ALARM2_ON, IDC_ALARM3_ON};
inline constexpr int kAlarmHourIds[3] = {IDC_ALARM1_HOUR, IDC_ALARM2_HOUR, IDC_ALARM3_HOUR};
inline constexpr int kAlarmMinuteIds[3] = {IDC_ALARM1_MINUTE, IDC_ALARM2_MINUTE,
                                           IDC_ALARM3_MINUTE};
inline constexpr int kAlarmMessageIds[3] = {IDC_ALARM1_MESSAGE, IDC_ALARM2_MESSAGE,
                                            IDC_ALARM3_MESSAGE};
inline constexpr int kLabelId = IDC_LABEL;
#endif

// The notification-area icon: one tiny function per Shell_NotifyIcon verb.
#pragma once

#include <windows.h>
#include <shellapi.h>

// Tooltips are cut to this many characters (the first icon record's field).
inline constexpr int kTrayTipChars = 63;

// The record of the add and modify verbs: cleared, then filled; the tooltip
// cut to kTrayTipChars and terminated, empty when text is null.
NOTIFYICONDATAW TrayIconRecord(HWND mainWindow, HICON icon, const wchar_t* text);

void TrayAdd(HWND mainWindow, const wchar_t* text);
void TrayModify(HWND mainWindow, HICON icon, const wchar_t* text);
void TrayDelete(HWND mainWindow);

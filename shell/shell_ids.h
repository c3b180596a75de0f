// Ids and names of the shell, each defined once.
#pragma once

#include <windows.h>

inline constexpr UINT_PTR kTickTimerId = 5433;
inline constexpr UINT kTickIntervalMs = 1000;
inline constexpr UINT kTrayIconId = 5458;
// The shell reports mouse actions on the tray icon with this message.
inline constexpr UINT kTrayCallbackMessage = WM_USER;
// The single-instance mutex and MainWindow's class share this name, so that a
// second instance can find the running one's window to force it to quit.
inline constexpr wchar_t kInstanceName[] = L"ykz_tan_ee";

// The operations that the reading clock calls but other subsystems supply.
// The shell fills the table with the real ones at start-up; tests fill it
// with recorders. Defaults make the clock runnable on its own: no
// observation, no tray, no store, the real local clock and real timers.
#pragma once

#include <windows.h>

struct ClockCollaborators {
    void (*observationPass)();
    void (*trayModify)(HWND window, HICON icon, const wchar_t* text);
    void (*updateArticleRank)(const wchar_t* title);
    void (*saveSettings)(HWND owner);
    void (*readLocalTime)(SYSTEMTIME* now);
    // Notice timers and the notice window: SetTimer, KillTimer, hide.
    void (*startTimer)(HWND window, UINT_PTR id, UINT intervalMs);
    void (*stopTimer)(HWND window, UINT_PTR id);
    void (*hideNoticeWindow)(HWND window);
    HICON readingIcon;
    HICON idleIcon;
};

extern ClockCollaborators clockCollaborators;

// The table as it is before anybody fills it.
ClockCollaborators DefaultClockCollaborators();

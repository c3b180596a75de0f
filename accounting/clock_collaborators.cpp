#include "accounting/clock_collaborators.h"

namespace {

void NoObservation() {}
void NoTray(HWND, HICON, const wchar_t*) {}
void NoRank(const wchar_t*) {}
void NoSave(HWND) {}
void RealLocalTime(SYSTEMTIME* now) { GetLocalTime(now); }
void RealStartTimer(HWND window, UINT_PTR id, UINT intervalMs)
{
    SetTimer(window, id, intervalMs, nullptr);
}
void RealStopTimer(HWND window, UINT_PTR id) { KillTimer(window, id); }
void RealHide(HWND window) { ShowWindow(window, SW_HIDE); }

}  // namespace

ClockCollaborators DefaultClockCollaborators()
{
    return ClockCollaborators{NoObservation, NoTray,         NoRank,        NoSave,
                              RealLocalTime, RealStartTimer, RealStopTimer, RealHide,
                              nullptr,       nullptr};
}

ClockCollaborators clockCollaborators = DefaultClockCollaborators();

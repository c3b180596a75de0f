// The status feed to the companion tool: one WM_COPYDATA per text to the
// top-level window of class "hovelkin", looked up afresh on every send.
#pragma once

#include <windows.h>

inline constexpr ULONG_PTR kCompanionFeedTag = 102414;  // COPYDATASTRUCT::dwData
inline constexpr wchar_t kCompanionClass[] = L"hovelkin";

// How long one send may wait for the companion. A healthy companion answers
// WM_COPYDATA in well under a millisecond, so a quarter of the tick is a wide
// margin; a companion that stops answering then costs at most this much per
// tick until Windows flags it as hung (about 5 s), after which
// SMTO_ABORTIFHUNG fails the send at once.
inline constexpr UINT kCompanionTimeoutMs = 250;

// Sends text (may be empty, never null) with MainWindow's handle as wParam.
void FeedCompanion(HWND mainWindow, const wchar_t* text);

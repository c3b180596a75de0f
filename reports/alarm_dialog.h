// The alarm dialog (dialog 135): the three alarms of Settings, edited in
// memory; they reach the registry with the next save.
#pragma once

#include <windows.h>

// Results passed to EndDialog: IDOK (1) after the fields were written back,
// IDCANCEL (2) when nothing changed.
INT_PTR CALLBACK AlarmDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

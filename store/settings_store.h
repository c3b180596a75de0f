// Loading and saving the Settings record under the settings key, together
// with today's total in the daily log.
#pragma once

#include <windows.h>

// Once at start-up, with dayKey already formed. Shows nothing: whatever
// cannot be read keeps its initial value or default.
void LoadSettings();
// Writes today's total, the options, then trims the log. Failures to open a
// key are shown in boxes owned by `owner`; the save goes on regardless.
void SaveSettings(HWND owner);

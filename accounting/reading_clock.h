// The one-second tick that turns observations into counted reading seconds.
#pragma once

#include <windows.h>

// Runs the six steps of one tick: reading, grace, observation, day rollover,
// hourly chime, alarms.
void ClockTick(HWND mainWindow);

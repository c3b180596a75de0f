// The two calendar operations of the daily log report. Dates are held in a
// SYSTEMTIME; only wYear, wMonth and wDay are read or changed.
#pragma once

#include <windows.h>

// True when the date exists in the Gregorian calendar.
bool IsValidDate(unsigned month, unsigned day, unsigned year);

// Moves the date in place to the day before. False, with the date left as it
// was, when the date passed in does not exist.
bool StepBackOneDay(SYSTEMTIME& date);

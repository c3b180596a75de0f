// The report on the past N days of the daily log: one line per calendar day,
// newest first starting with today, then the total and the average.
#pragma once

#include "store/regw.h"

#include <windows.h>

#include <string>

// The whole report text for `days` days ending with `today`. `logKey` holds
// the daily-log key open for reading; it is only read through.
std::wstring BuildDailyLogReport(REGW& logKey, int days, const SYSTEMTIME& today);

// Builds the report for today's local date and sets it, in one piece, as the
// whole text of the report area.
void ShowDailyLogReport(REGW& logKey, int days, HWND reportArea);

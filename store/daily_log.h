// The daily log: one REG_DWORD of reading seconds per day under the log key,
// named by the day's dayKey, trimmed to the newest 366 days after each save.
#pragma once

#include <windows.h>

#include <cstdint>

class REGW;

inline constexpr std::uint32_t kDailyLogDays = 366;  // a leap year's worth, not 365

// First step of LoadSettings: todaySeconds from the value named dayKey.
// Silent; todaySeconds stays as it is when nothing is stored.
void RestoreDailyTotal(REGW& registry);
// First step of SaveSettings: todaySeconds under dayKey, creating the key
// (and the keys above it) as needed; an error box owned by `owner` when the
// key can be neither opened nor created.
void WriteDailyTotal(REGW& registry, HWND owner);
// Deletes all but the kDailyLogDays values with the largest day numbers.
// Silent in every case.
void TrimDailyLog();

// A value name's day number, read as the C library reads an integer: leading
// blanks, an optional sign, the digits up to the first other character; 0
// when there are none; clamped to the signed 32-bit range.
std::int32_t DayNumberOfName(const wchar_t* name);

// Which report the log viewer shows: the tray command that opened it. The
// tray menu sets it just before it opens the dialog; the dialog reads it when
// it initialises and again when the log is deleted.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kReportWeek = 32772;     // the past 7 days
inline constexpr std::uint32_t kReportMonth = 32775;    // the past 30 days
inline constexpr std::uint32_t kReportYear = 32780;     // the past 365 days
inline constexpr std::uint32_t kReportRanking = 32782;  // the article ranking

extern std::uint32_t reportMode;

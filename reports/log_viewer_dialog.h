// The log viewer (dialog 134): one report, chosen by reportMode, with a
// button that deletes the whole stored log or ranking behind it.
#pragma once

#include <windows.h>

#include <cstdint>

// Results passed to EndDialog.
inline constexpr INT_PTR kLogViewerClosed = 2;
inline constexpr INT_PTR kLogViewerDeleted = 1004;
inline constexpr INT_PTR kLogViewerNoData = 0;  // the report's key could not be opened

INT_PTR CALLBACK LogViewerDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The key under HKEY_CURRENT_USER that a report mode shows and deletes.
const wchar_t* ReportKeyPath(std::uint32_t mode);
// The day count of a daily-log mode (7, 30 or 365).
int ReportDays(std::uint32_t mode);

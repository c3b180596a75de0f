// Where the program keeps its data: three keys under HKEY_CURRENT_USER, each
// opened by its whole path from that root.
#pragma once

// The options (the settings store).
inline constexpr wchar_t kSettingsKeyPath[] = L"Software\\Marvoke\\Yomikaze\\CurrentVersion";
// One REG_DWORD of seconds per day, named by the day's "%04d%02d%02d".
inline constexpr wchar_t kLogKeyPath[] = L"Software\\Marvoke\\Yomikaze\\CurrentVersion\\Log";
// One REG_DWORD of seconds per article, named by the decoded title.
inline constexpr wchar_t kRankKeyPath[] = L"Software\\Marvoke\\Yomikaze\\CurrentVersion\\Rank";

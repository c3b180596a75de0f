// What the stores and reports cost per operation, on the registry of a
// private HKCU: the ranking update with 100 stored titles and on the eviction
// path at 110, a save whose log holds 367 values (so the trim deletes one),
// the 365-day report and the ranking of 110 articles.
#include "bench/bench_support.h"

#include "accounting/reading_state.h"
#include "reports/daily_log_report.h"
#include "reports/ranking_report.h"
#include "store/article_rank.h"
#include "store/registry_layout.h"
#include "store/regw.h"
#include "store/settings_store.h"
#include "tests/support/private_profile.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void PutDword(const wchar_t* path, const std::wstring& name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, path, name.c_str(), REG_DWORD, &value, sizeof value);
}

void DeleteKey(const wchar_t* path) { RegDeleteTreeW(HKEY_CURRENT_USER, path); RegDeleteKeyW(HKEY_CURRENT_USER, path); }

DWORD ValueCount(const wchar_t* path)
{
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                         nullptr, nullptr, nullptr);
        RegCloseKey(key);
    }
    return count;
}

std::wstring Title(int i) { return L"記事の題名 " + std::to_wstring(i); }

// "%04d%02d%02d" of the day `back` days before 2026-03-14.
std::wstring DayKeyBefore(int back)
{
    SYSTEMTIME day{};
    day.wYear = 2026;
    day.wMonth = 3;
    day.wDay = 14;
    FILETIME file;
    SystemTimeToFileTime(&day, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart -= static_cast<ULONGLONG>(back) * 24 * 3600 * 10000000ull;
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    FileTimeToSystemTime(&file, &day);
    wchar_t key[16];
    std::swprintf(key, 16, L"%04u%02u%02u", static_cast<unsigned>(day.wYear),
                  static_cast<unsigned>(day.wMonth), static_cast<unsigned>(day.wDay));
    return key;
}

}  // namespace

int wmain()
{
    CreatePrivateProfile();
    SYSTEMTIME today{};
    today.wYear = 2026;
    today.wMonth = 3;
    today.wDay = 14;
    today.wHour = 12;
    SetToday(today);
    bool consistent = true;

    // Ranking update, 100 titles stored: open, read, write, count, close.
    DeleteKey(kRankKeyPath);
    for (int i = 0; i < 100; ++i) {
        PutDword(kRankKeyPath, Title(i), 1000 + i);
    }
    Samples rank100;
    for (int i = 0; i < 2000; ++i) {
        const std::wstring title = Title(i % 100);
        const Stopwatch watch;
        UpdateArticleRank(title.c_str());
        rank100.Add(watch.Microseconds());
    }
    consistent &= ValueCount(kRankKeyPath) == 100;

    // Eviction path: 110 stored, every update a new title, so 111 are listed
    // and the least-read other one goes.
    DeleteKey(kRankKeyPath);
    for (int i = 0; i < 110; ++i) {
        PutDword(kRankKeyPath, Title(i), 100000 + i);
    }
    Samples rankEvict;
    for (int i = 0; i < 500; ++i) {
        const std::wstring title = Title(1000 + i);
        const Stopwatch watch;
        UpdateArticleRank(title.c_str());
        rankEvict.Add(watch.Microseconds());
    }
    consistent &= ValueCount(kRankKeyPath) == 110;

    // Where the eviction's time goes: listing the key with and without the
    // data, and the update's own steps.
    Samples listData;
    Samples listNames;
    {
        HKEY key = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, kRankKeyPath, 0, KEY_READ, &key);
        wchar_t name[256];
        for (int round = 0; round < 50; ++round) {
            {
                const Stopwatch watch;
                for (DWORD i = 0; i < 110; ++i) {
                    DWORD chars = 256;
                    DWORD type = 0;
                    DWORD data = 0;
                    DWORD size = sizeof data;
                    RegEnumValueW(key, i, name, &chars, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
                }
                listData.Add(watch.Microseconds());
            }
            {
                const Stopwatch watch;
                for (DWORD i = 0; i < 110; ++i) {
                    DWORD chars = 256;
                    RegEnumValueW(key, i, name, &chars, nullptr, nullptr, nullptr, nullptr);
                }
                listNames.Add(watch.Microseconds());
            }
        }
        RegCloseKey(key);
    }

    // The 110-article ranking report.
    Samples ranking;
    for (int i = 0; i < 300; ++i) {
        REGW key;
        key.OpenKey(kRankKeyPath, REGW::OpenReadOnly);
        std::wstring text;
        const Stopwatch watch;
        BuildRankingReport(key, text);
        ranking.Add(watch.Microseconds());
        key.CloseKey();
        consistent &= text.find(L"第100位 (") != std::wstring::npos;
    }

    // A save whose log holds 367 values: today's total, the options, the trim
    // that lists 367 and deletes the oldest.
    DeleteKey(kLogKeyPath);
    for (int back = 1; back <= 366; ++back) {
        PutDword(kLogKeyPath, DayKeyBefore(back), 60u * static_cast<unsigned>(back % 200));
    }
    Samples save;
    for (int i = 0; i < 300; ++i) {
        // Untimed: one day older than all, so that the log holds 367 again.
        PutDword(kLogKeyPath, DayKeyBefore(400 + i), 5);
        readingState.todaySeconds = static_cast<std::uint32_t>(i);
        const Stopwatch watch;
        SaveSettings(nullptr);
        save.Add(watch.Microseconds());
    }
    consistent &= ValueCount(kLogKeyPath) == 366;

    // The 365-day report over that log.
    Samples report365;
    for (int i = 0; i < 300; ++i) {
        REGW key;
        key.OpenKey(kLogKeyPath, REGW::OpenReadOnly);
        const Stopwatch watch;
        const std::wstring text = BuildDailyLogReport(key, 365, today);
        report365.Add(watch.Microseconds());
        key.CloseKey();
        consistent &= text.size() > 365 * 10;
    }

    std::printf("Stores and reports, per operation (private HKCU under wine's registry)\n");
    PrintHeader("per operation");
    PrintRow("UpdateArticleRank, 100 titles stored", rank100);
    PrintRow("UpdateArticleRank, eviction path at 110", rankEvict);
    PrintRow("SaveSettings, log of 367 values (trim)", save);
    PrintRow("365-day report (BuildDailyLogReport)", report365);
    PrintRow("110-article ranking (BuildRankingReport)", ranking);
    PrintHeader("parts");
    PrintRow("listing 110 values with their data", listData);
    PrintRow("listing 110 value names", listNames);
    if (!consistent) {
        std::printf("set-up fault: a key did not hold what the operations should leave\n");
    }
    DeletePrivateProfile();
    return consistent ? 0 : 1;
}

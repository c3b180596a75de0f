#include "tests/store/store_fixture.h"

#include "tests/accounting/clock_harness.h"

#include <cwchar>

void StoreTest::SetUp()
{
    readingState = ReadingState{};
    ReleaseAlarmMessages();
    settings = Settings{};
    SetToday(harness::Time(2026, 3, 14, 12, 0, 0));
}

void StoreTest::TearDown() { ReleaseAlarmMessages(); }

std::vector<std::wstring> DayKeys(int year, int month, int day, int count)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    FILETIME file;
    SystemTimeToFileTime(&time, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    constexpr ULONGLONG kTicksPerDay = 24ull * 60 * 60 * 10'000'000;
    std::vector<std::wstring> keys;
    for (int i = 0; i < count; ++i) {
        file.dwLowDateTime = ticks.LowPart;
        file.dwHighDateTime = ticks.HighPart;
        FileTimeToSystemTime(&file, &time);
        wchar_t key[16];
        std::swprintf(key, 16, L"%04u%02u%02u", static_cast<unsigned>(time.wYear),
                      static_cast<unsigned>(time.wMonth), static_cast<unsigned>(time.wDay));
        keys.emplace_back(key);
        ticks.QuadPart += kTicksPerDay;
    }
    return keys;
}

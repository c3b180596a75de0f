#include "store/daily_log.h"

#include "accounting/reading_state.h"
#include "store/registry_layout.h"
#include "store/regw.h"
#include "store/store_error.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kLogWriteFailed[] = L"本日の閲覧時間合計をログへ書き込めませんでした。";

}  // namespace

std::int32_t DayNumberOfName(const wchar_t* name)
{
    // long is 32 bits on Windows; the clamp keeps the rule where it is wider.
    const long value = std::wcstol(name, nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

void RestoreDailyTotal(REGW& registry)
{
    if (registry.OpenKey(kLogKeyPath, REGW::OpenReadOnly)) {
        readingState.todaySeconds = registry.ReadIntegerW(readingState.dayKey, 0);
        registry.CloseKey();
    }
}

void WriteDailyTotal(REGW& registry, HWND owner)
{
    if (registry.OpenKey(kLogKeyPath, REGW::OpenCreate)) {
        registry.WriteIntegerW(readingState.dayKey, readingState.todaySeconds);
        registry.CloseKey();
    } else {
        ShowSaveError(owner, kLogWriteFailed);
    }
}

void TrimDailyLog()
{
    REGW registry;
    if (!registry.OpenKey(kLogKeyPath, REGW::OpenCreate)) {
        return;
    }
    DWORD count = 0;
    DWORD longestName = 0;
    RegQueryInfoKeyW(registry.Key(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &count, &longestName, nullptr, nullptr, nullptr);
    if (count <= kDailyLogDays) {
        registry.CloseKey();
        return;
    }
    try {
        // Every name is gathered before anything is deleted: deleting shifts
        // the indices that the listing goes by.
        std::vector<std::pair<std::int32_t, std::wstring>> days;
        days.reserve(count);
        std::wstring name(std::size_t{longestName} + 1, L'\0');
        for (DWORD index = 0; index < count; ++index) {
            DWORD nameChars = longestName + 1;
            // A listing that fails (the key changed meanwhile) adds nothing,
            // rather than a stale name from the entry before.
            if (RegEnumValueW(registry.Key(), index, name.data(), &nameChars, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS) {
                days.emplace_back(DayNumberOfName(name.c_str()), name.substr(0, nameChars));
            }
        }
        std::stable_sort(days.begin(), days.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        const std::size_t excess = days.size() > kDailyLogDays ? days.size() - kDailyLogDays : 0;
        for (std::size_t i = 0; i < excess; ++i) {
            registry.DeleteValue(days[i].second.c_str());
        }
    } catch (const std::bad_alloc&) {
        // Trimming is best effort; the next save tries again.
    }
    registry.CloseKey();
}

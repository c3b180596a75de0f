#include "store/article_rank.h"

#include "accounting/reading_state.h"
#include "store/registry_layout.h"
#include "store/regw.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <new>

namespace {

// Registry value names compare without regard to case, so a listed name that
// differs from the title only in case is the very value this update counted.
bool SameValueName(const wchar_t* a, const wchar_t* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

// The count of the value at `index`, with its name in `name`. Four-byte
// REG_DWORDs (all the store writes) are read from the listing itself; values
// put there from outside count as the store would read them for an update.
bool ListedCount(REGW& registry, DWORD index, wchar_t* name, DWORD nameCapacity,
                 std::uint32_t* count)
{
    DWORD nameChars = nameCapacity;
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD dataSize = sizeof data;
    const LONG result = RegEnumValueW(registry.Key(), index, name, &nameChars, nullptr, &type,
                                      reinterpret_cast<BYTE*>(&data), &dataSize);
    if (result == ERROR_SUCCESS && type == REG_DWORD && dataSize == sizeof data) {
        *count = data;
        return true;
    }
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) {
        return false;
    }
    // Longer data, or another type: the name alone, then the usual reading.
    nameChars = nameCapacity;
    if (RegEnumValueW(registry.Key(), index, name, &nameChars, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS) {
        return false;
    }
    *count = registry.ReadIntegerW(name, 0);
    return true;
}

void EvictLeastRead(REGW& registry, const wchar_t* title, DWORD count, DWORD longestName)
{
    const DWORD capacity = longestName + 1;
    const std::unique_ptr<wchar_t[]> name(new (std::nothrow) wchar_t[capacity]());
    const std::unique_ptr<wchar_t[]> chosen(new (std::nothrow) wchar_t[capacity]());
    if (!name || !chosen) {
        return;  // the next update tries again
    }
    std::uint32_t smallest = kCounterMax;
    bool found = false;
    for (DWORD index = 0; index < count; ++index) {
        std::uint32_t listed = 0;
        if (!ListedCount(registry, index, name.get(), capacity, &listed)) {
            continue;
        }
        // Strictly smaller: among equal counts the first listed stays chosen;
        // a count at the ceiling is never chosen.
        if (listed < smallest && !SameValueName(name.get(), title)) {
            smallest = listed;
            std::wcscpy(chosen.get(), name.get());
            found = true;
        }
    }
    if (found) {
        registry.DeleteValue(chosen.get());
    }
}

}  // namespace

void UpdateArticleRank(const wchar_t* title)
{
    if (title == nullptr || title[0] == L'\0') {
        return;
    }
    REGW registry;
    if (!registry.OpenKey(kRankKeyPath, REGW::OpenCreate)) {
        return;
    }
    const std::uint32_t seconds = registry.ReadIntegerW(title, 0);
    if (seconds != kCounterMax) {
        registry.WriteIntegerW(title, seconds + 1);
    }
    DWORD count = 0;
    DWORD longestName = 0;
    RegQueryInfoKeyW(registry.Key(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &count, &longestName, nullptr, nullptr, nullptr);
    if (count > kRankedArticles) {
        EvictLeastRead(registry, title, count, longestName);
    }
    registry.CloseKey();
}

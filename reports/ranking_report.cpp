#include "reports/ranking_report.h"

#include "accounting/time_text.h"
#include "reports/report_text.h"

#include <algorithm>
#include <cwchar>
#include <new>
#include <vector>

namespace {

constexpr wchar_t kCannotSortText[] = L"メモリ不足のため、ランキングデータのソートができません。";
constexpr wchar_t kCannotShowText[] = L"メモリ不足のため、ランキングデータの表示ができません。";

// Room besides the titles: 32 characters for each row's place, time and line
// end, and 16 for the header and the terminator.
constexpr size_t kRowRoom = 32;
constexpr size_t kHeaderRoom = 16;

// Lists every value of the key into `entries` (the table grows with the key,
// so a key edited from outside to hold more than the store's 110 articles is
// listed whole). Returns the total length of the titles, or false when the
// name buffer or the table cannot be allocated.
bool ListEntries(HKEY key, std::vector<RankEntry>& entries, size_t& titleChars)
{
    DWORD count = 0;
    DWORD longestName = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                     &longestName, nullptr, nullptr, nullptr);
    const DWORD capacity = longestName + 1;
    std::unique_ptr<wchar_t[]> name(new (std::nothrow) wchar_t[capacity]);
    if (!name) {
        return false;
    }
    try {
        entries.reserve(count);
    } catch (const std::bad_alloc&) {
        return false;
    }

    titleChars = 0;
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameChars = capacity;
        std::uint32_t data = 0;
        DWORD dataBytes = sizeof data;
        name[0] = L'\0';
        LSTATUS status = RegEnumValueW(key, i, name.get(), &nameChars, nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&data), &dataBytes);
        if (status == ERROR_MORE_DATA) {
            // Data longer than four bytes (not written by the store): the
            // article is still listed, by its name, at 0 seconds.
            nameChars = capacity;
            data = 0;
            status = RegEnumValueW(key, i, name.get(), &nameChars, nullptr, nullptr, nullptr,
                                   nullptr);
        }
        if (status != ERROR_SUCCESS) {
            // Nothing at this index: listing it would repeat the last name.
            continue;
        }
        RankEntry entry;
        entry.seconds = data;
        entry.title.reset(new (std::nothrow) wchar_t[nameChars + 1]);
        if (entry.title) {
            std::wmemcpy(entry.title.get(), name.get(), nameChars);
            entry.title[nameChars] = L'\0';
            titleChars += nameChars;
        }
        entries.push_back(std::move(entry));  // within the reserved room: cannot throw
    }
    return true;
}

}  // namespace

const wchar_t* BuildRankingReport(REGW& rankKey, std::wstring& text)
{
    text.clear();
    std::vector<RankEntry> entries;
    size_t titleChars = 0;
    if (!ListEntries(rankKey.Key(), entries, titleChars)) {
        return kCannotSortText;
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const RankEntry& a, const RankEntry& b) { return a.seconds > b.seconds; });
    const size_t rows = std::min<size_t>(entries.size(), kRankingRows);

    try {
        // Sized in advance from all the titles, so appending rows never grows it.
        text.reserve(titleChars + kRankingRows * kRowRoom + kHeaderRoom);
        text = L"記事ランキング\r\n\r\n";
        for (size_t r = 0; r < rows; ++r) {
            const Hms hms = SplitSeconds(entries[r].seconds);
            AppendFormat(text, L"第%3u位 (%2d:%02d:%02d) ", static_cast<unsigned>(r + 1),
                         static_cast<int>(hms.hours), static_cast<int>(hms.minutes),
                         static_cast<int>(hms.seconds));
            if (entries[r].title) {
                text += entries[r].title.get();
            }
            text += L"\r\n";
        }
    } catch (const std::bad_alloc&) {
        text.clear();
        return kCannotShowText;
    }
    return text.c_str();
}

void ShowRankingReport(REGW& rankKey, HWND reportArea)
{
    std::wstring text;
    SetWindowTextW(reportArea, BuildRankingReport(rankKey, text));
}

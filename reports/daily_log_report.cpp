#include "reports/daily_log_report.h"

#include "accounting/time_text.h"
#include "reports/calendar.h"
#include "reports/report_text.h"

#include <cstdint>
#include <cwchar>

namespace {

void AppendDuration(std::wstring& text, const wchar_t* format, int days, std::uint32_t seconds)
{
    const Hms hms = SplitSeconds(seconds);
    AppendFormat(text, format, days, hms.hours, hms.minutes, hms.seconds);
}

}  // namespace

std::wstring BuildDailyLogReport(REGW& logKey, int days, const SYSTEMTIME& today)
{
    std::wstring text;
    // About 23 characters a line at ordinary values: one allocation for a year.
    text.reserve(static_cast<size_t>(days > 0 ? days : 0) * 24 + 96);
    AppendFormat(text, L"過去%d日間の合計閲覧時間です。\r\n\r\n", days);

    SYSTEMTIME date = today;
    std::uint32_t total = 0;  // wraps modulo 2^32, as the stored values are 32-bit
    for (int i = 0; i < days; ++i) {
        wchar_t key[16] = {};
        std::swprintf(key, 16, L"%04d%02d%02d", date.wYear, date.wMonth, date.wDay);
        const std::uint32_t value = logKey.ReadIntegerW(key, 0);
        const Hms hms = SplitSeconds(value);
        AppendFormat(text, L"%4u/%2u/%2u \u2026 %2u:%02u:%02u\r\n", unsigned{date.wYear},
                     unsigned{date.wMonth}, unsigned{date.wDay}, hms.hours, hms.minutes,
                     hms.seconds);
        total += value;
        if (!StepBackOneDay(date)) {
            AppendFormat(text, L"%4u/%2u/%2u \u2026 内部矛盾\r\n", unsigned{date.wYear},
                         unsigned{date.wMonth}, unsigned{date.wDay});
            break;
        }
    }

    AppendDuration(text, L"\r\n%d日間の合計 \u2026 %2u:%02u:%02u\r\n", days, total);
    // Days without a value are days without reading: always divide by N.
    const std::uint32_t average = days > 0 ? total / static_cast<std::uint32_t>(days) : 0;
    AppendDuration(text, L"%d日間の平均 \u2026 %2u:%02u:%02u\r\n", days, average);
    return text;
}

void ShowDailyLogReport(REGW& logKey, int days, HWND reportArea)
{
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    const std::wstring text = BuildDailyLogReport(logKey, days, today);
    SetWindowTextW(reportArea, text.c_str());
}

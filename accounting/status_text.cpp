#include "accounting/status_text.h"

#include "accounting/time_text.h"

#include <cwchar>

namespace {

// Every status text is a fixed lead-in followed by one or two h:m:s triples.
void FormatTwo(wchar_t* out, std::size_t chars, const wchar_t* format, std::uint32_t first,
               std::uint32_t second)
{
    const Hms a = SplitSeconds(first);
    const Hms b = SplitSeconds(second);
    std::swprintf(out, chars, format, a.hours, a.minutes, a.seconds, b.hours, b.minutes,
                  b.seconds);
}

}  // namespace

void FormatStandbyText(wchar_t* out, std::size_t chars, std::uint32_t today)
{
    const Hms a = SplitSeconds(today);
    std::swprintf(out, chars, L"ヨミカゼ[Pro] 待機中(本日合計%2u:%02u:%02u)", a.hours, a.minutes,
                  a.seconds);
}

void FormatReadingText(wchar_t* out, std::size_t chars, std::uint32_t today,
                       std::uint32_t continuous)
{
    FormatTwo(out, chars, L"ヨミカゼ[Pro] 閲覧中(本日合計%2u:%02u:%02u 連続%2u:%02u:%02u)", today,
              continuous);
}

void FormatMonitoringText(wchar_t* out, std::size_t chars, std::uint32_t today,
                          std::uint32_t lastSpell)
{
    FormatTwo(out, chars, L"ヨミカゼ[Pro] 監視中(本日合計%2u:%02u:%02u 直前%2u:%02u:%02u)", today,
              lastSpell);
}

void FormatReadingFeedText(wchar_t* out, std::size_t chars, std::uint32_t today,
                           std::uint32_t continuous)
{
    FormatTwo(out, chars, L"YMK 本日[%2u:%02u:%02u] 連続[%2u:%02u:%02u]", today, continuous);
}

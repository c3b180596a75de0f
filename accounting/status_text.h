// The tooltip and companion texts that tell the accounting state.
#pragma once

#include <cstddef>
#include <cstdint>

// Room for any of the texts below at the largest counter values.
inline constexpr std::size_t kStatusTextChars = 128;

void FormatStandbyText(wchar_t* out, std::size_t chars, std::uint32_t today);
void FormatReadingText(wchar_t* out, std::size_t chars, std::uint32_t today,
                       std::uint32_t continuous);
void FormatMonitoringText(wchar_t* out, std::size_t chars, std::uint32_t today,
                          std::uint32_t lastSpell);
void FormatReadingFeedText(wchar_t* out, std::size_t chars, std::uint32_t today,
                           std::uint32_t continuous);

// The article ranking: one REG_DWORD of reading seconds per decoded title
// under the ranking key, bounded to kRankedArticles values.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kRankedArticles = 110;

// Counts one second for the title (stopping at 4294967295) and, when the key
// then holds more than kRankedArticles values, evicts the least-read other
// article. Nothing happens for a null or empty title. Silent in every case.
void UpdateArticleRank(const wchar_t* title);

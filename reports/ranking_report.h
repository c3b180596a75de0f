// The article ranking: the stored articles by seconds read, most first, at
// most 100 rows.
#pragma once

#include "store/regw.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

inline constexpr unsigned kRankingRows = 100;

// One stored article: an owned copy of the value's name (null when it could
// not be copied) and the value's data.
struct RankEntry {
    std::unique_ptr<wchar_t[]> title;
    std::uint32_t seconds = 0;
};

// Builds the ranking into `text` and returns the text to show: `text` itself,
// or one of the two fixed out-of-memory texts. `rankKey` holds the ranking key
// open for reading; its values are listed through the held key, which is
// neither opened nor closed here.
const wchar_t* BuildRankingReport(REGW& rankKey, std::wstring& text);

// Builds the ranking and sets it, in one piece, as the whole text of the
// report area.
void ShowRankingReport(REGW& rankKey, HWND reportArea);

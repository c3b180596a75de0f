// Reads the log that the companion fixture writes: one line per WM_COPYDATA.
#pragma once

#include <string>
#include <vector>

struct FeedLine {
    unsigned long long tag;     // dwData
    unsigned long bytes;        // cbData
    unsigned long long sender;  // wParam
    std::string text;           // UTF-8
};

std::vector<FeedLine> ReadCompanionLog(const std::wstring& path);
std::string Utf8(const std::wstring& text);
// The seconds of "YMK 本日[h:mm:ss] 連続[h:mm:ss]": today's (which 0) or the
// spell's (which 1); -1 when the text is not a reading text.
long long FeedSeconds(const std::string& text, int which);

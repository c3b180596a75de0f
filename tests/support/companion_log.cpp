#include "tests/support/companion_log.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

std::vector<FeedLine> ReadCompanionLog(const std::wstring& path)
{
    std::vector<FeedLine> lines;
    std::ifstream in(path.c_str(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        FeedLine entry{};
        std::string tag, bytes, sender;
        std::getline(fields, tag, '\t');
        std::getline(fields, bytes, '\t');
        std::getline(fields, sender, '\t');
        std::getline(fields, entry.text);
        entry.tag = std::stoull(tag);
        entry.bytes = std::stoul(bytes);
        entry.sender = std::stoull(sender, nullptr, 16);
        lines.push_back(entry);
    }
    return lines;
}

std::string Utf8(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

long long FeedSeconds(const std::string& text, int which)
{
    size_t at = 0;
    for (int i = 0; i <= which; ++i) {
        at = text.find('[', at);
        if (at == std::string::npos) {
            return -1;
        }
        ++at;
    }
    unsigned h = 0, m = 0, s = 0;
    if (std::sscanf(text.c_str() + at, "%u:%u:%u", &h, &m, &s) != 3) {
        return -1;
    }
    return static_cast<long long>(h) * 3600 + m * 60 + s;
}

// Stored data that the program did not write: every settings value with
// every registry type and sizes from 0 bytes to 1 MiB, a ranking key and a
// daily log of 5000 values each.
#include "reports/ranking_report.h"
#include "store/article_rank.h"
#include "store/daily_log.h"
#include "store/registry_layout.h"
#include "store/regw.h"
#include "store/settings.h"
#include "store/settings_store.h"
#include "tests/hardening/random_text.h"
#include "tests/store/raw_registry.h"
#include "tests/store/store_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

struct NumberValue {
    const wchar_t* name;
    std::uint32_t defaultValue;
};

// Read by LoadSettings as numbers, in its order.
const NumberValue kNumbers[] = {
    {L"NotifyFinish", 1}, {L"NotifyHour", 0},   {L"NotifyTime", 0},   {L"HistryEnabled", 0},
    {L"NoTaskbarIcon", 0}, {L"Alarm1Enable", 0}, {L"Alarm2Enable", 0}, {L"Alarm3Enable", 0},
    {L"Alarm1h", 0},      {L"Alarm2h", 0},      {L"Alarm3h", 0},      {L"Alarm1m", 0},
    {L"Alarm2m", 0},      {L"Alarm3m", 0},
};
const wchar_t* const kMessages[] = {L"Alarm1Mes", L"Alarm2Mes", L"Alarm3Mes"};

const DWORD kTypes[] = {REG_NONE,
                        REG_SZ,
                        REG_EXPAND_SZ,
                        REG_BINARY,
                        REG_DWORD,
                        REG_DWORD_BIG_ENDIAN,
                        REG_LINK,
                        REG_MULTI_SZ,
                        REG_RESOURCE_LIST,
                        REG_FULL_RESOURCE_DESCRIPTOR,
                        REG_RESOURCE_REQUIREMENTS_LIST,
                        REG_QWORD,
                        0x4D2};  // a type no program defines
const DWORD kSizes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 255, 4096, 65535, 1u << 20};

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// What the conversion rules give for these bytes of this type.
std::uint32_t ExpectedNumber(DWORD type, const std::vector<BYTE>& data, std::uint32_t defaultValue)
{
    auto byteAt = [&data](std::size_t i) -> std::uint32_t { return i < data.size() ? data[i] : 0u; };
    if (type == REG_BINARY || type == REG_DWORD || type == REG_QWORD) {
        return byteAt(0) | byteAt(1) << 8 | byteAt(2) << 16 | byteAt(3) << 24;
    }
    if (type == REG_DWORD_BIG_ENDIAN) {
        return byteAt(3) | byteAt(2) << 8 | byteAt(1) << 16 | byteAt(0) << 24;
    }
    if (!IsTextType(type)) {
        return defaultValue;
    }
    // The whole characters up to the first null: "+", "-" or a digit first,
    // digits after; clamped to the signed 32-bit range.
    std::wstring text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        if (unit == L'\0') {
            break;
        }
        text += unit;
    }
    if (text.empty()) {
        return defaultValue;
    }
    const bool sign = text[0] == L'+' || text[0] == L'-';
    long long value = 0;
    for (std::size_t i = sign ? 1 : 0; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return defaultValue;
        }
        value = std::min<long long>(value * 10 + (text[i] - L'0'), 1LL << 40);
    }
    if (text[0] == L'-') {
        value = -value;
    }
    value = std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max());
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

// Bytes of `size` for value number `which`: text types mostly get number
// texts without a terminator (long runs of digits, a sign, a null then
// junk), everything else seeded random bytes.
std::vector<BYTE> ValueData(SeededRandom& random, DWORD type, DWORD size, int which)
{
    std::vector<BYTE> data(size);
    for (BYTE& byte : data) {
        byte = static_cast<BYTE>(random.Below(256));
    }
    if (!IsTextType(type)) {
        return data;
    }
    const int pattern = which % 4;
    for (DWORD i = 0; i + 1 < size && pattern != 3; i += 2) {
        wchar_t unit = static_cast<wchar_t>(L'0' + (i / 2 + which) % 10);
        if (i == 0 && pattern == 1) {
            unit = L'-';
        } else if (i == 4 && pattern == 2) {
            unit = L'\0';  // "12" then a null and junk
        }
        data[i] = static_cast<BYTE>(unit & 0xFF);
        data[i + 1] = static_cast<BYTE>(unit >> 8);
        if (pattern == 2 && i >= 4) {
            break;
        }
    }
    return data;
}

class BadStoredData : public StoreTest {};

TEST_F(BadStoredData, EverySettingsValueWithEveryTypeAndSize)
{
    SeededRandom random(1048576);
    int loads = 0;
    for (DWORD type : kTypes) {
        for (DWORD size : kSizes) {
            SCOPED_TRACE(testing::Message() << "type " << type << ", " << size << " bytes");
            std::vector<std::vector<BYTE>> numbers;
            std::vector<std::vector<BYTE>> messages;
            int which = 0;
            for (const NumberValue& value : kNumbers) {
                numbers.push_back(ValueData(random, type, size, which++));
                raw::Put(kSettingsKeyPath, value.name, type, numbers.back().data(), size);
            }
            for (const wchar_t* name : kMessages) {
                messages.push_back(ValueData(random, type, size, which++));
                raw::Put(kSettingsKeyPath, name, type, messages.back().data(), size);
            }
            ReleaseAlarmMessages();
            settings = Settings{};
            LoadSettings();
            ++loads;

            std::vector<std::uint32_t> expected;
            for (std::size_t i = 0; i < std::size(kNumbers); ++i) {
                expected.push_back(ExpectedNumber(type, numbers[i], kNumbers[i].defaultValue));
            }
            EXPECT_EQ(settings.notifyFinish, expected[0] != 0);
            EXPECT_EQ(settings.notifyHour, expected[1] != 0);
            EXPECT_EQ(settings.notifyTime, expected[2] != 0);
            EXPECT_EQ(settings.historyEnabled, expected[3] != 0);
            EXPECT_EQ(settings.noTaskbarIcon, expected[4] != 0);
            for (int a = 0; a < kAlarmCount; ++a) {
                EXPECT_EQ(settings.alarmEnabled[a], expected[5 + a] != 0) << "alarm " << a;
                EXPECT_EQ(settings.alarmHour[a], expected[8 + a] & 0xFFFF) << "alarm " << a;
                EXPECT_EQ(settings.alarmMinute[a], expected[11 + a] & 0xFFFF) << "alarm " << a;
                // The message is the whole characters stored, whatever the
                // type, with a terminator after them.
                ASSERT_NE(settings.alarmMessage[a], nullptr) << "alarm " << a;
                const std::vector<BYTE>& data = messages[a];
                const std::size_t units = data.size() / 2;
                std::wstring stored(units, L'\0');
                if (units > 0) {  // an empty vector's data may be null, which memcpy may not get
                    std::memcpy(stored.data(), data.data(), units * 2);
                }
                stored.resize(std::wcslen(stored.c_str()));
                EXPECT_EQ(std::wstring(settings.alarmMessage[a]), stored) << "alarm " << a;
            }
        }
    }
    EXPECT_EQ(loads, static_cast<int>(std::size(kTypes) * std::size(kSizes)));
}

TEST_F(BadStoredData, MissingSettingsKeyGivesTheInitialRecord)
{
    LoadSettings();
    EXPECT_TRUE(settings.notifyFinish);
    EXPECT_FALSE(settings.historyEnabled);
    for (int a = 0; a < kAlarmCount; ++a) {
        EXPECT_EQ(settings.alarmMessage[a], nullptr);
    }
}

std::wstring Row(unsigned place, std::uint32_t seconds, const std::wstring& title)
{
    wchar_t head[64];
    std::swprintf(head, 64, L"第%3u位 (%2d:%02d:%02d) ", place, static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return head + title + L"\r\n";
}

struct Article {
    std::wstring title;
    std::uint32_t seconds;
};

// 5000 articles with distinct counts, a few with very long titles.
std::vector<Article> PutManyArticles()
{
    SeededRandom random(5000);
    std::vector<Article> articles;
    std::set<std::uint32_t> used;
    for (int i = 0; i < 5000; ++i) {
        std::uint32_t seconds;
        do {
            seconds = random.Below(400000) + 2;
        } while (!used.insert(seconds).second);
        std::wstring title = L"記事" + std::to_wstring(i);
        if (i % 1000 == 7) {
            title += std::wstring(2000 + random.Below(14000), static_cast<wchar_t>(L'あ' + i % 50));
        }
        raw::PutDword(kRankKeyPath, title.c_str(), seconds);
        articles.push_back({title, seconds});
    }
    return articles;
}

TEST_F(BadStoredData, RankingKeyOf5000ValuesShowsTheTop100)
{
    std::vector<Article> articles = PutManyArticles();
    std::sort(articles.begin(), articles.end(),
              [](const Article& a, const Article& b) { return a.seconds > b.seconds; });
    std::wstring expected = L"記事ランキング\r\n\r\n";
    for (unsigned r = 0; r < 100; ++r) {
        expected += Row(r + 1, articles[r].seconds, articles[r].title);
    }
    REGW key;
    ASSERT_TRUE(key.OpenKey(kRankKeyPath, REGW::OpenReadOnly));
    std::wstring text;
    const wchar_t* shown = BuildRankingReport(key, text);
    key.CloseKey();
    ASSERT_EQ(shown, text.c_str());
    EXPECT_EQ(text, expected);
}

TEST_F(BadStoredData, RankingKeyOf5000ValuesLosesOnePerUpdate)
{
    std::vector<Article> articles = PutManyArticles();
    std::sort(articles.begin(), articles.end(),
              [](const Article& a, const Article& b) { return a.seconds < b.seconds; });
    const std::wstring reading = articles[0].title;  // the least read, never its own victim
    for (int update = 1; update <= 3; ++update) {
        UpdateArticleRank(reading.c_str());
        const std::vector<std::wstring> names = raw::Names(kRankKeyPath);
        EXPECT_EQ(names.size(), 5000u - static_cast<unsigned>(update));
        EXPECT_EQ(raw::GetDword(kRankKeyPath, reading.c_str()), articles[0].seconds + update);
        EXPECT_FALSE(raw::GetDword(kRankKeyPath, articles[update].title.c_str()).has_value())
            << "the least-read other article goes first";
        EXPECT_TRUE(raw::GetDword(kRankKeyPath, articles[update + 1].title.c_str()).has_value());
    }
    UpdateArticleRank(L"新しい記事");
    EXPECT_EQ(raw::Names(kRankKeyPath).size(), 4997u) << "a new title comes in and one goes";
    // The newcomer's 1 is the smallest, but it is never its own victim.
    const std::wstring& victim =
        articles[0].seconds + 3 < articles[4].seconds ? articles[0].title : articles[4].title;
    EXPECT_FALSE(raw::GetDword(kRankKeyPath, victim.c_str()).has_value());
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"新しい記事"), 1u);
}

TEST_F(BadStoredData, LogKeyOf5000ValuesIsTrimmedTo366ByOneSave)
{
    // Days from 1990 on, with today's among them, in a seeded order.
    std::vector<std::wstring> days = DayKeys(1990, 1, 1, 5000);
    SeededRandom random(366);
    for (std::size_t i = days.size(); i > 1; --i) {
        std::swap(days[i - 1], days[random.Below(static_cast<std::uint32_t>(i))]);
    }
    for (const std::wstring& day : days) {
        raw::PutDword(kLogKeyPath, day.c_str(), random.Below(86400));
    }
    readingState.todaySeconds = 77;
    SaveSettings(raw::OwnerWindow());

    std::vector<std::wstring> all = days;
    all.push_back(readingState.dayKey);
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    const std::set<std::wstring> newest(all.end() - 366, all.end());
    const std::vector<std::wstring> kept = raw::Names(kLogKeyPath);
    EXPECT_EQ(kept.size(), 366u);
    EXPECT_EQ(std::set<std::wstring>(kept.begin(), kept.end()), newest);
    EXPECT_EQ(raw::GetDword(kLogKeyPath, readingState.dayKey), 77u);
}

}  // namespace

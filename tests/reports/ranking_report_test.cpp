#include "reports/ranking_report.h"
#include "store/registry_layout.h"
#include "tests/reports/registry_fixture.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Ranking()
{
    CreateEmptyKey(kRankKeyPath);
    REGW rank;
    EXPECT_TRUE(rank.OpenKey(kRankKeyPath, REGW::OpenReadOnly));
    std::wstring text;
    const std::wstring shown = BuildRankingReport(rank, text);
    rank.CloseKey();
    return shown;
}

std::wstring Numbered(const wchar_t* prefix, int i)
{
    wchar_t name[32] = {};
    std::swprintf(name, 32, L"%ls%03d", prefix, i);
    return name;
}

TEST(RankingReport, ArticlesMostReadFirst)
{
    StoreDword(kRankKeyPath, L"日本", 10);
    StoreDword(kRankKeyPath, L"ウィキペディア", 3725);
    StoreDword(kRankKeyPath, L"Tokyo", 59);
    EXPECT_EQ(Ranking(),
              L"記事ランキング\r\n"
              L"\r\n"
              L"第  1位 ( 1:02:05) ウィキペディア\r\n"
              L"第  2位 ( 0:00:59) Tokyo\r\n"
              L"第  3位 ( 0:00:10) 日本\r\n");
}

TEST(RankingReport, AFullStoreShowsTheHundredMostRead)
{
    for (int i = 1; i <= 110; ++i) {
        StoreDword(kRankKeyPath, Numbered(L"記事", i).c_str(), static_cast<std::uint32_t>(i));
    }
    const std::vector<std::wstring> lines = Lines(Ranking());
    ASSERT_EQ(lines.size(), 102u);
    for (int r = 1; r <= 100; ++r) {
        wchar_t expected[64] = {};
        std::swprintf(expected, 64, L"第%3d位 ( 0:%02d:%02d) 記事%03d", r, (111 - r) / 60,
                      (111 - r) % 60, 111 - r);
        EXPECT_EQ(lines[1 + static_cast<size_t>(r)], expected);
    }
    EXPECT_EQ(lines[101].substr(0, 7), L"第100位 (");
    EXPECT_EQ(lines[101], L"第100位 ( 0:00:11) 記事011");
}

TEST(RankingReport, AKeyWithMoreValuesThanTheStoreKeepsIsListedWhole)
{
    // Edited from outside: 150 values. All are listed and sorted; the 100
    // most read are shown, whatever their place in the key.
    for (int i = 1; i <= 150; ++i) {
        StoreDword(kRankKeyPath, Numbered(L"a", i).c_str(), static_cast<std::uint32_t>(1000 - i));
    }
    const std::vector<std::wstring> lines = Lines(Ranking());
    ASSERT_EQ(lines.size(), 102u);
    EXPECT_EQ(lines[2], L"第  1位 ( 0:16:39) a001");
    EXPECT_EQ(lines[101], L"第100位 ( 0:15:00) a100");
}

TEST(RankingReport, EmptyKeyGivesTheHeaderAlone)
{
    EXPECT_EQ(Ranking(), L"記事ランキング\r\n\r\n");
}

TEST(RankingReport, AKeyThatCannotBeQueriedReadsAsEmpty)
{
    StoreDword(kRankKeyPath, L"日本", 10);
    REGW noKey;  // holds nothing: the query of the key fails
    std::wstring text;
    EXPECT_STREQ(BuildRankingReport(noKey, text), L"記事ランキング\r\n\r\n");
}

TEST(RankingReport, HoursAreNeverTakenModuloADay)
{
    StoreDword(kRankKeyPath, L"長い記事", 123 * 3600);
    StoreDword(kRankKeyPath, L"最長", 4294967295u);
    EXPECT_EQ(Ranking(),
              L"記事ランキング\r\n"
              L"\r\n"
              L"第  1位 (1193046:28:15) 最長\r\n"
              L"第  2位 (123:00:00) 長い記事\r\n");
}

TEST(RankingReport, EqualSecondsTakeConsecutivePlaces)
{
    StoreDword(kRankKeyPath, L"B", 50);
    StoreDword(kRankKeyPath, L"A", 50);
    StoreDword(kRankKeyPath, L"C", 70);
    const std::vector<std::wstring> lines = Lines(Ranking());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], L"第  1位 ( 0:01:10) C");
    const std::wstring second = lines[3];
    const std::wstring third = lines[4];
    EXPECT_TRUE((second == L"第  2位 ( 0:00:50) A" && third == L"第  3位 ( 0:00:50) B") ||
                (second == L"第  2位 ( 0:00:50) B" && third == L"第  3位 ( 0:00:50) A"));
}

TEST(RankingReport, LongTitlesAndValuesTheStoreNeverWritesAreShownWhole)
{
    const std::wstring longTitle(2099, L'長');
    StoreDword(kRankKeyPath, longTitle.c_str(), 5);
    // A text value longer than four bytes: listed by its name at 0 seconds.
    StoreText(kRankKeyPath, L"外から", L"12345678");
    EXPECT_EQ(Ranking(),
              L"記事ランキング\r\n"
              L"\r\n"
              L"第  1位 ( 0:00:05) " + longTitle + L"\r\n"
              L"第  2位 ( 0:00:00) 外から\r\n");
}

TEST(RankingReport, ShowSetsTheRankingAsTheWholeText)
{
    StoreDword(kRankKeyPath, L"日本", 61);
    const HWND area = CreateWindowExW(0, L"EDIT", L"old text", WS_POPUP | ES_MULTILINE, 0, 0, 100,
                                      100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(area, nullptr);
    {
        REGW rank;
        ASSERT_TRUE(rank.OpenKey(kRankKeyPath, REGW::OpenReadOnly));
        ShowRankingReport(rank, area);
        rank.CloseKey();
    }
    wchar_t shown[128] = {};
    GetWindowTextW(area, shown, 128);
    DestroyWindow(area);
    EXPECT_STREQ(shown, L"記事ランキング\r\n\r\n第  1位 ( 0:01:01) 日本\r\n");
}

}  // namespace

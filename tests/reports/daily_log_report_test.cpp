#include "reports/daily_log_report.h"
#include "store/registry_layout.h"
#include "tests/reports/dialog_driver.h"
#include "tests/reports/registry_fixture.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The report over what is stored in the log key now.
std::wstring Report(int days, const SYSTEMTIME& today)
{
    CreateEmptyKey(kLogKeyPath);
    REGW log;
    EXPECT_TRUE(log.OpenKey(kLogKeyPath, REGW::OpenReadOnly));
    std::wstring text = BuildDailyLogReport(log, days, today);
    log.CloseKey();
    return text;
}

TEST(DailyLogReport, WeekEndingOnALeapDayMonth)
{
    StoreDword(kLogKeyPath, L"20120301", 3725);
    StoreDword(kLogKeyPath, L"20120228", 60);
    EXPECT_EQ(Report(7, Date(2012, 3, 1)),
              L"過去7日間の合計閲覧時間です。\r\n"
              L"\r\n"
              L"2012/ 3/ 1 …  1:02:05\r\n"
              L"2012/ 2/29 …  0:00:00\r\n"
              L"2012/ 2/28 …  0:01:00\r\n"
              L"2012/ 2/27 …  0:00:00\r\n"
              L"2012/ 2/26 …  0:00:00\r\n"
              L"2012/ 2/25 …  0:00:00\r\n"
              L"2012/ 2/24 …  0:00:00\r\n"
              L"\r\n"
              L"7日間の合計 …  1:03:05\r\n"
              L"7日間の平均 …  0:09:00\r\n");
}

TEST(DailyLogReport, TheSecondLineIsThePreviousCalendarDay)
{
    struct Case {
        SYSTEMTIME today;
        const wchar_t* secondLine;
    };
    const Case cases[] = {
        {Date(2011, 3, 1), L"2011/ 2/28 …  0:00:00"}, {Date(2000, 3, 1), L"2000/ 2/29 …  0:00:00"},
        {Date(1900, 3, 1), L"1900/ 2/28 …  0:00:00"}, {Date(2100, 3, 1), L"2100/ 2/28 …  0:00:00"},
        {Date(2013, 1, 1), L"2012/12/31 …  0:00:00"}, {Date(2012, 5, 1), L"2012/ 4/30 …  0:00:00"},
    };
    for (const Case& c : cases) {
        const std::vector<std::wstring> lines = Lines(Report(7, c.today));
        ASSERT_EQ(lines.size(), 12u);
        EXPECT_EQ(lines[3], c.secondLine);
    }
}

TEST(DailyLogReport, YearReportReachesOneDayLessFarAcrossALeapDay)
{
    struct Case {
        SYSTEMTIME today;
        const wchar_t* lastDayLine;
    };
    for (const Case& c : {Case{Date(2012, 12, 31), L"2012/ 1/ 2 …  0:00:00"},
                          Case{Date(2011, 12, 31), L"2011/ 1/ 1 …  0:00:00"}}) {
        const std::vector<std::wstring> lines = Lines(Report(365, c.today));
        ASSERT_EQ(lines.size(), 2u + 365u + 3u);
        EXPECT_EQ(lines[0], L"過去365日間の合計閲覧時間です。");
        EXPECT_EQ(lines[2 + 364], c.lastDayLine);
        EXPECT_EQ(lines[2 + 365], L"");
    }
}

TEST(DailyLogReport, EmptyLogGivesALineForEveryDayAndZeroSums)
{
    const std::vector<std::wstring> lines = Lines(Report(30, Date(2012, 3, 10)));
    ASSERT_EQ(lines.size(), 2u + 30u + 3u);
    EXPECT_EQ(lines[2], L"2012/ 3/10 …  0:00:00");
    EXPECT_EQ(lines[31], L"2012/ 2/10 …  0:00:00");
    for (size_t i = 2; i < 32; ++i) {
        EXPECT_EQ(lines[i].substr(10), L" …  0:00:00") << i;
    }
    EXPECT_EQ(lines[33], L"30日間の合計 …  0:00:00");
    EXPECT_EQ(lines[34], L"30日間の平均 …  0:00:00");
}

TEST(DailyLogReport, HoursAreNeverTakenModuloADay)
{
    StoreDword(kLogKeyPath, L"20121231", 123 * 3600 + 4 * 60 + 5);
    StoreDword(kLogKeyPath, L"20121230", 4294967295u);  // the widest value: a 28-character line
    const std::vector<std::wstring> lines = Lines(Report(365, Date(2012, 12, 31)));
    ASSERT_EQ(lines.size(), 370u);
    EXPECT_EQ(lines[2], L"2012/12/31 … 123:04:05");
    EXPECT_EQ(lines[3], L"2012/12/30 … 1193046:28:15");
    EXPECT_EQ(lines[3].size() + 2, 28u);
    // The total wraps modulo 2^32: 443045 + 4294967295 = 443044.
    EXPECT_EQ(lines[368], L"365日間の合計 … 123:04:04");
    EXPECT_EQ(lines[369], L"365日間の平均 …  0:20:13");  // 443044 / 365 = 1213, truncated
}

TEST(DailyLogReport, ValuesThatAreNotNumbersCountAsZeroAndNumberTextsCount)
{
    StoreText(kLogKeyPath, L"20120301", L"abc");
    StoreText(kLogKeyPath, L"20120229", L"90");
    const std::vector<std::wstring> lines = Lines(Report(7, Date(2012, 3, 1)));
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[2], L"2012/ 3/ 1 …  0:00:00");
    EXPECT_EQ(lines[3], L"2012/ 2/29 …  0:01:30");
    EXPECT_EQ(lines[10], L"7日間の合計 …  0:01:30");
    EXPECT_EQ(lines[11], L"7日間の平均 …  0:00:12");
}

TEST(DailyLogReport, ADateThatCannotBeSteppedBackEndsTheListButStillDividesByN)
{
    StoreDword(kLogKeyPath, L"20120230", 700);
    EXPECT_EQ(Report(7, Date(2012, 2, 30)),
              L"過去7日間の合計閲覧時間です。\r\n"
              L"\r\n"
              L"2012/ 2/30 …  0:11:40\r\n"
              L"2012/ 2/30 … 内部矛盾\r\n"
              L"\r\n"
              L"7日間の合計 …  0:11:40\r\n"
              L"7日間の平均 …  0:01:40\r\n");
}

TEST(DailyLogReport, ShowSetsTheWholeTextForTodayInOnePiece)
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    StoreDword(kLogKeyPath, DayKeyOf(now).c_str(), 61);
    const HWND area = CreateWindowExW(0, L"EDIT", L"old text", WS_POPUP | ES_MULTILINE, 0, 0, 100,
                                      100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(area, nullptr);
    {
        REGW log;
        ASSERT_TRUE(log.OpenKey(kLogKeyPath, REGW::OpenReadOnly));
        ShowDailyLogReport(log, 7, area);
        log.CloseKey();
    }
    const std::wstring shown = WindowText(area);
    DestroyWindow(area);
    EXPECT_EQ(shown, Report(7, now));
    EXPECT_EQ(Lines(shown)[2].substr(11), L"…  0:01:01");
}

}  // namespace

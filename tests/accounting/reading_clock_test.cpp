#include "accounting/reading_clock.h"
#include "accounting/notice_kind.h"
#include "accounting/status_text.h"
#include "tests/accounting/clock_harness.h"

#include <gtest/gtest.h>

#include <string>

using namespace harness;

namespace {

class ReadingClock : public testing::Test {
protected:
    void SetUp() override { Reset(Time(2026, 3, 14, 10, 15, 30)); }
};

std::wstring Reading(std::uint32_t today, std::uint32_t continuous)
{
    wchar_t text[kStatusTextChars];
    FormatReadingText(text, kStatusTextChars, today, continuous);
    return text;
}

TEST_F(ReadingClock, FirstTickOnlyObserves)
{
    Tick(1, true);
    EXPECT_EQ(readingState.graceTicks, 5);
    EXPECT_EQ(readingState.todaySeconds, 0u);
    EXPECT_EQ(readingState.continuousSeconds, 0u);
    EXPECT_TRUE(trayCalls.empty());
    EXPECT_TRUE(feed.empty());
}

TEST_F(ReadingClock, TenContinuousPassesCountTenSeconds)
{
    readingState.todaySeconds = 100;
    Tick(11, true);
    EXPECT_EQ(readingState.continuousSeconds, 10u);
    EXPECT_EQ(readingState.todaySeconds, 110u);
    ASSERT_EQ(trayCalls.size(), 10u);
    for (std::uint32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(trayCalls[i].icon, kReadingIcon);
        EXPECT_EQ(trayCalls[i].text, Reading(101 + i, 1 + i));
    }
    ASSERT_EQ(feed.size(), 10u);
    EXPECT_EQ(feed.back(), L"YMK 本日[ 0:01:50] 連続[ 0:00:10]");
}

// Observations per tick ('R' a page in view, '.' none) and what they give.
struct GraceCase {
    const char* name;
    const char* pattern;
    std::uint32_t counted;
    int spellEndsAtTick;  // 1-based tick whose grace step ends the spell, 0: still open
};

class GraceRule : public testing::TestWithParam<GraceCase> {};

TEST_P(GraceRule, EndsSpellOnlyAfterFourEmptyPasses)
{
    const GraceCase& c = GetParam();
    Reset(Time(2026, 3, 14, 10, 0, 0));
    settings.notifyFinish = false;
    int endedAt = 0;
    for (int i = 0; c.pattern[i] != '\0'; ++i) {
        const size_t feedBefore = feed.size();
        Tick(1, c.pattern[i] == 'R');
        for (size_t f = feedBefore; f < feed.size(); ++f) {
            if (feed[f].empty() && endedAt == 0) {
                endedAt = i + 1;
            }
        }
    }
    EXPECT_EQ(readingState.todaySeconds, c.counted);
    EXPECT_EQ(endedAt, c.spellEndsAtTick);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, GraceRule,
    testing::Values(GraceCase{"one_page_then_nothing", "R.....", 1, 6},
                    GraceCase{"three_gaps_keep_the_spell_open", "RR...R..", 3, 0},
                    GraceCase{"four_gaps_end_it", "RR....R", 2, 7},
                    GraceCase{"never_a_page", "......", 0, 0},
                    GraceCase{"reading_and_the_end_never_share_a_tick", "RRRRR.....", 5, 10}),
    [](const testing::TestParamInfo<GraceCase>& param) { return param.param.name; });

TEST_F(ReadingClock, EndOfSpellShowsMonitoringTextAndFeedsEmptyText)
{
    settings.notifyFinish = false;
    readingState.todaySeconds = 599;
    readingState.continuousSeconds = 299;
    readingState.graceTicks = 5;
    Tick(1, false);  // counts the 300th second
    trayCalls.clear();
    feed.clear();
    Tick(4, false);
    ASSERT_EQ(trayCalls.size(), 1u);
    EXPECT_EQ(trayCalls[0].icon, kIdleIcon);
    EXPECT_EQ(trayCalls[0].text, L"ヨミカゼ[Pro] 監視中(本日合計 0:10:00 直前 0:05:00)");
    ASSERT_EQ(feed.size(), 1u);
    EXPECT_EQ(feed[0], L"");
    EXPECT_EQ(readingState.continuousSeconds, 0u);
}

TEST_F(ReadingClock, CountersStopAtTheirLargestValue)
{
    readingState.todaySeconds = 4294967294u;
    readingState.continuousSeconds = 4294967295u;
    Tick(4, true);
    EXPECT_EQ(readingState.todaySeconds, 4294967295u);
    EXPECT_EQ(readingState.continuousSeconds, 4294967295u);
    EXPECT_EQ(trayCalls.back().text,
              L"ヨミカゼ[Pro] 閲覧中(本日合計1193046:28:15 連続1193046:28:15)");
    EXPECT_LE(trayCalls.back().text.size(), 63u);
}

TEST_F(ReadingClock, NoTaskbarIconTouchesNoTooltipButStillFeeds)
{
    settings.noTaskbarIcon = true;
    settings.notifyFinish = false;
    Tick(3, true);
    Tick(5, false);
    EXPECT_TRUE(trayCalls.empty());
    ASSERT_EQ(feed.size(), 4u);
    EXPECT_EQ(feed.back(), L"");
}

TEST_F(ReadingClock, RanksOnlyWithHistoryOnAndATitle)
{
    Tick(3, true);
    EXPECT_TRUE(rankCalls.empty()) << "ranking is off";
    Reset(Time(2026, 3, 14, 10, 0, 0));
    settings.historyEnabled = true;
    title = L"";
    Tick(3, true);
    EXPECT_TRUE(rankCalls.empty()) << "an address without a title";
    title = L"日本";
    Tick(3, true);
    // The first of these ticks counts the page observed with the empty title.
    ASSERT_EQ(rankCalls.size(), 2u);
    EXPECT_EQ(rankCalls[0], L"日本");
    EXPECT_EQ(rankCalls[1], L"日本");
}

TEST_F(ReadingClock, MidnightSecondBelongsToTheOldDay)
{
    Reset(Time(2026, 3, 14, 23, 59, 58));
    readingState.todaySeconds = 500;
    Tick(2, true);  // 23:59:58 observes, 23:59:59 counts
    ASSERT_EQ(now.wDay, 15);
    Tick(1, true);  // 00:00:00 counts, then rolls over
    ASSERT_EQ(saveCalls.size(), 1u);
    EXPECT_EQ(saveCalls[0].dayKey, L"20260314");
    EXPECT_EQ(saveCalls[0].todaySeconds, 502u);
    EXPECT_STREQ(readingState.dayKey, L"20260315");
    EXPECT_EQ(readingState.todaySeconds, 0u);
    EXPECT_EQ(readingState.continuousSeconds, 2u);
    EXPECT_EQ(readingState.today.wDay, 15);
    Tick(1, true);
    EXPECT_EQ(readingState.todaySeconds, 1u);
    EXPECT_EQ(readingState.continuousSeconds, 3u);
    EXPECT_EQ(saveCalls.size(), 1u);
}

TEST_F(ReadingClock, SameDayOfAnotherMonthDoesNotRollOver)
{
    readingState.todaySeconds = 42;
    now = Time(2026, 4, 14, 9, 0, 0);
    Tick(1, false);
    EXPECT_TRUE(saveCalls.empty());
    EXPECT_STREQ(readingState.dayKey, L"20260314");
    EXPECT_EQ(readingState.todaySeconds, 42u);
}

TEST_F(ReadingClock, TicksNestedInTheRolloverSaveNeitherRepeatItNorLoseSeconds)
{
    Reset(Time(2026, 3, 14, 23, 59, 59));
    readingState.todaySeconds = 1000;
    Tick(1, true);  // observes at 23:59:59; now 00:00:00
    int nested = 0;
    duringSave = [&nested] {
        // The save's error box runs a modal loop: two more ticks arrive.
        if (nested++ == 0) {
            Tick(2, true);
        }
    };
    Tick(1, true);
    EXPECT_EQ(saveCalls.size(), 1u);
    EXPECT_EQ(saveCalls[0].todaySeconds, 1001u);
    EXPECT_EQ(saveCalls[0].dayKey, L"20260314");
    EXPECT_STREQ(readingState.dayKey, L"20260315");
    // The two nested seconds were read after midnight.
    EXPECT_EQ(readingState.todaySeconds, 2u);
    EXPECT_EQ(readingState.continuousSeconds, 3u);
}

TEST_F(ReadingClock, ReadingTickMakesAnEnteringNoticeLeave)
{
    readingState.noticeTimerId = TimerIdOf(NoticeKind::NoticeHour);
    readingState.noticeTicks = 280;
    readingState.graceTicks = 5;
    Tick(1, true);
    EXPECT_EQ(readingState.noticeTicks, 30);
    readingState.noticeTicks = 12;
    Tick(1, true);
    EXPECT_EQ(readingState.noticeTicks, 12);
}

struct FormatCase {
    std::uint32_t today;
    std::uint32_t continuous;
    const wchar_t* standby;
    const wchar_t* reading;
    const wchar_t* monitoring;
    const wchar_t* feedText;
};

class StatusTexts : public testing::TestWithParam<FormatCase> {};

TEST_P(StatusTexts, FormatHoursWithoutModulo)
{
    const FormatCase& c = GetParam();
    wchar_t text[kStatusTextChars];
    FormatStandbyText(text, kStatusTextChars, c.today);
    EXPECT_STREQ(text, c.standby);
    FormatReadingText(text, kStatusTextChars, c.today, c.continuous);
    EXPECT_STREQ(text, c.reading);
    FormatMonitoringText(text, kStatusTextChars, c.today, c.continuous);
    EXPECT_STREQ(text, c.monitoring);
    FormatReadingFeedText(text, kStatusTextChars, c.today, c.continuous);
    EXPECT_STREQ(text, c.feedText);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StatusTexts,
    testing::Values(
        FormatCase{0, 0, L"ヨミカゼ[Pro] 待機中(本日合計 0:00:00)",
                   L"ヨミカゼ[Pro] 閲覧中(本日合計 0:00:00 連続 0:00:00)",
                   L"ヨミカゼ[Pro] 監視中(本日合計 0:00:00 直前 0:00:00)",
                   L"YMK 本日[ 0:00:00] 連続[ 0:00:00]"},
        FormatCase{3725, 59, L"ヨミカゼ[Pro] 待機中(本日合計 1:02:05)",
                   L"ヨミカゼ[Pro] 閲覧中(本日合計 1:02:05 連続 0:00:59)",
                   L"ヨミカゼ[Pro] 監視中(本日合計 1:02:05 直前 0:00:59)",
                   L"YMK 本日[ 1:02:05] 連続[ 0:00:59]"},
        FormatCase{360000, 86399, L"ヨミカゼ[Pro] 待機中(本日合計100:00:00)",
                   L"ヨミカゼ[Pro] 閲覧中(本日合計100:00:00 連続23:59:59)",
                   L"ヨミカゼ[Pro] 監視中(本日合計100:00:00 直前23:59:59)",
                   L"YMK 本日[100:00:00] 連続[23:59:59]"}));

}  // namespace

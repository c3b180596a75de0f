#include "accounting/notice_rules.h"
#include "accounting/reading_clock.h"
#include "tests/accounting/clock_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace harness;

namespace {

constexpr UINT_PTR kFinish = 5499;
constexpr UINT_PTR kHour = 6100;
constexpr UINT_PTR kMilestone = 6684;
constexpr UINT_PTR kAlarm = 6811;

class NoticeRules : public testing::Test {
protected:
    void SetUp() override { Reset(Time(2026, 3, 14, 10, 20, 30)); }
    void TearDown() override { ReleaseAlarmMessages(); }

    // Brings the spell to `seconds` with one more reading tick.
    void ReadUpTo(std::uint32_t seconds)
    {
        readingState.continuousSeconds = seconds - 1;
        readingState.graceTicks = 5;
        timerCalls.clear();
        Tick(1, true);
    }

    static std::vector<UINT_PTR> Started()
    {
        std::vector<UINT_PTR> ids;
        for (const TimerCall& call : timerCalls) {
            if (call.start) {
                ids.push_back(call.id);
            }
        }
        return ids;
    }

    static void SetAlarm(int i, int hour, int minute, const wchar_t* message)
    {
        settings.alarmEnabled[i] = true;
        settings.alarmHour[i] = static_cast<std::uint16_t>(hour);
        settings.alarmMinute[i] = static_cast<std::uint16_t>(minute);
        if (message != nullptr) {
            const size_t n = std::wcslen(message) + 1;
            settings.alarmMessage[i] = new wchar_t[n];
            std::memcpy(settings.alarmMessage[i], message, n * sizeof(wchar_t));
        }
    }

    // The notice on screen ends (as its animation would).
    static void NoticeEnds() { readingState.noticeTimerId = 0; }
};

TEST_F(NoticeRules, MilestoneTableHas24AscendingRowsAndAClosingRow)
{
    for (int i = 1; i < 24; ++i) {
        EXPECT_LT(MilestoneTable[i - 1].seconds, MilestoneTable[i].seconds);
    }
    EXPECT_EQ(MilestoneTable[0].seconds, 300u);
    EXPECT_EQ(MilestoneTable[23].seconds, 604800u);
    EXPECT_STREQ(MilestoneTable[23].text, L"閲覧開始から1週間経過しました。");
    EXPECT_EQ(MilestoneTable[24].seconds, 0u);
    EXPECT_EQ(MilestoneTable[24].text, nullptr);
}

TEST_F(NoticeRules, EveryThresholdFiresExactlyThereAndNeverOneSecondLater)
{
    settings.notifyTime = true;
    for (int i = 0; i < 24; ++i) {
        const Milestone& row = MilestoneTable[i];
        NoticeEnds();
        ReadUpTo(row.seconds);
        ASSERT_EQ(Started(), std::vector<UINT_PTR>{kMilestone}) << row.seconds;
        EXPECT_EQ(timerCalls.back().intervalMs, 16u);
        EXPECT_EQ(readingState.noticeText, row.text);
        EXPECT_EQ(readingState.noticeTimerId, kMilestone);
        EXPECT_EQ(readingState.noticeTicks, 300);
        EXPECT_EQ(readingState.noticeHoldMs, 5000u);
        NoticeEnds();
        ReadUpTo(row.seconds + 1);
        EXPECT_TRUE(Started().empty()) << row.seconds + 1;
    }
    for (std::uint32_t beyond : {604801u, 700000u, 4294967295u}) {
        ReadUpTo(beyond);
        EXPECT_TRUE(Started().empty()) << beyond;
    }
}

TEST_F(NoticeRules, NoMilestoneWithTheOptionOff)
{
    for (std::uint32_t seconds : {300u, 1800u, 604800u}) {
        ReadUpTo(seconds);
        EXPECT_TRUE(Started().empty());
    }
}

TEST_F(NoticeRules, MilestoneRepeatsAfterAResetButNotAcrossAFinishNotice)
{
    settings.notifyTime = true;
    settings.notifyFinish = false;
    readingState.continuousSeconds = 298;
    Tick(3, true);  // observe, 299, 300
    EXPECT_EQ(Started(), std::vector<UINT_PTR>{kMilestone});
    Tick(5, false);  // the spell ends: counter reset
    EXPECT_EQ(readingState.continuousSeconds, 0u);
    EXPECT_EQ(readingState.noticeTimerId, 0u);
    readingState.continuousSeconds = 298;
    timerCalls.clear();
    Tick(3, true);
    EXPECT_EQ(Started(), std::vector<UINT_PTR>{kMilestone});

    // With the finish notice on, reading that resumes while it is shown
    // counts on from the old value: 300 is not passed again.
    Reset(Time(2026, 3, 14, 11, 0, 0));
    settings.notifyTime = true;
    readingState.continuousSeconds = 299;
    readingState.graceTicks = 5;
    Tick(5, false);  // 300 counted (milestone), then the spell ends
    EXPECT_EQ(Started(), (std::vector<UINT_PTR>{kMilestone, kFinish}));
    timerCalls.clear();
    Tick(3, true);
    EXPECT_EQ(readingState.continuousSeconds, 302u);
    EXPECT_TRUE(Started().empty());
}

TEST_F(NoticeRules, MilestoneTakesOverAShownNoticeAndStopsItsTimer)
{
    settings.notifyTime = true;
    readingState.noticeTimerId = kHour;
    readingState.noticeTicks = 20;
    ReadUpTo(600);
    ASSERT_EQ(timerCalls.size(), 2u);
    EXPECT_FALSE(timerCalls[0].start);
    EXPECT_EQ(timerCalls[0].id, kHour);
    EXPECT_TRUE(timerCalls[1].start);
    EXPECT_EQ(timerCalls[1].id, kMilestone);
    EXPECT_EQ(readingState.noticeTimerId, kMilestone);
}

TEST_F(NoticeRules, FinishNoticeReplacesAShownNotice)
{
    readingState.noticeTimerId = kAlarm;
    readingState.noticeTicks = 30;
    readingState.continuousSeconds = 77;
    readingState.graceTicks = 1;
    Tick(1, false);
    ASSERT_EQ(timerCalls.size(), 2u);
    EXPECT_FALSE(timerCalls[0].start);
    EXPECT_EQ(timerCalls[0].id, kAlarm);
    EXPECT_TRUE(timerCalls[1].start);
    EXPECT_EQ(timerCalls[1].id, kFinish);
    EXPECT_EQ(readingState.noticeTimerId, kFinish);
    EXPECT_EQ(readingState.noticeText, nullptr);
    EXPECT_EQ(readingState.continuousSeconds, 77u) << "kept for the notice to show";
}

TEST_F(NoticeRules, SpellEndWithoutFinishNoticeEndsAShownNoticeAtOnce)
{
    settings.notifyFinish = false;
    readingState.noticeTimerId = kMilestone;
    readingState.noticeTicks = 30;
    readingState.graceTicks = 1;
    Tick(1, false);
    ASSERT_EQ(timerCalls.size(), 1u);
    EXPECT_FALSE(timerCalls[0].start);
    EXPECT_EQ(timerCalls[0].id, kMilestone);
    EXPECT_EQ(readingState.noticeTimerId, 0u);
    EXPECT_EQ(hideCalls, 1);
}

struct ChimeCase {
    int hour, minute, second;
    bool noticeShown;
    const wchar_t* expected;  // nullptr: no chime
};

class HourlyChime : public NoticeRules, public testing::WithParamInterface<ChimeCase> {};

TEST_P(HourlyChime, SoundsOnlyAtSecondZeroWithNoNoticeShown)
{
    const ChimeCase& c = GetParam();
    settings.notifyHour = true;
    readingState.noticeTimerId = c.noticeShown ? kMilestone : 0;
    CheckHourlyChime(MainWindow(), Time(2026, 3, 14, c.hour, c.minute, c.second));
    if (c.expected == nullptr) {
        EXPECT_TRUE(Started().empty());
    } else {
        EXPECT_EQ(Started(), std::vector<UINT_PTR>{kHour});
        EXPECT_STREQ(chimeText, c.expected);
        EXPECT_EQ(readingState.noticeText, chimeText);
    }
}

INSTANTIATE_TEST_SUITE_P(Times, HourlyChime,
                         testing::Values(ChimeCase{9, 0, 0, false, L" 9時をお知らせします。"},
                                         ChimeCase{12, 0, 0, false, L"12時をお知らせします。"},
                                         ChimeCase{0, 0, 0, false, L" 0時をお知らせします。"},
                                         ChimeCase{9, 0, 1, false, nullptr},
                                         ChimeCase{9, 1, 0, false, nullptr},
                                         ChimeCase{9, 0, 0, true, nullptr}));

TEST_F(NoticeRules, ChimeStaysSilentWithTheOptionOff)
{
    CheckHourlyChime(MainWindow(), Time(2026, 3, 14, 9, 0, 0));
    EXPECT_TRUE(Started().empty());
}

TEST_F(NoticeRules, AlarmFiresOnceOnTheFirstTickOfItsMinute)
{
    SetAlarm(0, 7, 30, L"お茶の時間");
    now = Time(2026, 3, 14, 7, 29, 58);
    Tick(2, false);
    EXPECT_TRUE(Started().empty());
    Tick(1, false);  // 07:30:00
    EXPECT_EQ(Started(), std::vector<UINT_PTR>{kAlarm});
    EXPECT_FALSE(settings.alarmEnabled[0]);
    EXPECT_STREQ(readingState.noticeText, L"お茶の時間");
    NoticeEnds();
    timerCalls.clear();
    Tick(90, false);
    now = Time(2026, 3, 15, 7, 30, 0);
    Tick(2, false);
    EXPECT_TRUE(Started().empty()) << "one-shot: no repeat that minute or the next day";
    EXPECT_EQ(settings.alarmHour[0], 7);
    EXPECT_EQ(settings.alarmMinute[0], 30);
}

TEST_F(NoticeRules, TwoAlarmsAtTheSameMinuteFireOneAfterTheOther)
{
    SetAlarm(1, 8, 0, L"二番");
    SetAlarm(2, 8, 0, nullptr);
    now = Time(2026, 3, 14, 8, 0, 10);
    Tick(1, false);
    EXPECT_EQ(Started(), std::vector<UINT_PTR>{kAlarm});
    EXPECT_STREQ(readingState.noticeText, L"二番");
    EXPECT_TRUE(settings.alarmEnabled[2]) << "waits while a notice is shown";
    timerCalls.clear();
    Tick(3, false);
    EXPECT_TRUE(Started().empty());
    NoticeEnds();
    Tick(1, false);
    EXPECT_EQ(Started(), std::vector<UINT_PTR>{kAlarm});
    EXPECT_EQ(readingState.noticeText, nullptr) << "an alarm without a message";
    EXPECT_FALSE(settings.alarmEnabled[2]);
}

TEST_F(NoticeRules, AlarmMissesItsMinuteWhenNoticesFillItAndStaysArmed)
{
    SetAlarm(0, 8, 0, L"x");
    readingState.noticeTimerId = kMilestone;
    now = Time(2026, 3, 14, 8, 0, 0);
    Tick(60, false);
    NoticeEnds();
    Tick(1, false);
    EXPECT_TRUE(Started().empty());
    EXPECT_TRUE(settings.alarmEnabled[0]);
}

TEST_F(NoticeRules, AlarmsOutOfRangeNeverFire)
{
    SetAlarm(0, 24, 0, L"a");
    SetAlarm(1, 7, 60, L"b");
    SetAlarm(2, 99, 99, L"c");
    for (int minute = 0; minute < 24 * 60; ++minute) {
        CheckAlarms(MainWindow(), Time(2026, 3, 14, minute / 60, minute % 60, 0));
    }
    EXPECT_TRUE(Started().empty());
}

TEST_F(NoticeRules, ChimeTakesPrecedenceOverAnAlarmOnTheSameTick)
{
    settings.notifyHour = true;
    SetAlarm(0, 7, 0, L"朝");
    now = Time(2026, 3, 14, 7, 0, 0);
    Tick(1, false);
    EXPECT_EQ(Started(), std::vector<UINT_PTR>{kHour});
    EXPECT_TRUE(settings.alarmEnabled[0]);
    NoticeEnds();
    timerCalls.clear();
    Tick(1, false);
    EXPECT_EQ(Started(), std::vector<UINT_PTR>{kAlarm});
}

TEST_F(NoticeRules, AlarmNoticeTextOutlivesTheMessageItShows)
{
    SetAlarm(0, 9, 15, L"会議");
    CheckAlarms(MainWindow(), Time(2026, 3, 14, 9, 15, 0));
    // The alarm dialog's OK replaces the message while the notice is shown.
    delete[] settings.alarmMessage[0];
    settings.alarmMessage[0] = new wchar_t[2]{L'x', L'\0'};
    EXPECT_STREQ(readingState.noticeText, L"会議");
}

}  // namespace

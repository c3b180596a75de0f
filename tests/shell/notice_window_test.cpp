#include "accounting/clock_collaborators.h"
#include "accounting/notice_kind.h"
#include "accounting/reading_clock.h"
#include "accounting/reading_state.h"
#include "shell/notice_window.h"
#include "tests/shell/notice_test_window.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace notice_test;

namespace {

constexpr UINT_PTR kFinish = TimerIdOf(NoticeKind::NoticeFinish);
constexpr UINT_PTR kHour = TimerIdOf(NoticeKind::NoticeHour);
constexpr UINT_PTR kMilestone = TimerIdOf(NoticeKind::NoticeMilestone);
constexpr UINT_PTR kAlarm = TimerIdOf(NoticeKind::NoticeAlarm);

struct DpiCase {
    int dpi;
    int size;   // window width and height
    int slide;  // s = height / 30
    RECT text;  // the text rectangle at this dpi
};

const DpiCase kDpiCases[] = {
    {96, 128, 4, {6, 41, 120, 120}},
    {120, 160, 5, {7, 51, 150, 150}},
    {144, 192, 6, {9, 61, 180, 180}},
};

class NoticeAnimation : public testing::TestWithParam<DpiCase> {
protected:
    void SetUp() override
    {
        window_ = CreateNoticeWindow(GetParam().dpi, false);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyNoticeWindow(window_); }

    void Step(UINT_PTR id) { StepNotice(window_, id); }

    HWND window_ = nullptr;
};

TEST_P(NoticeAnimation, SizeAndTextRectangleFollowTheScale)
{
    const DpiCase& c = GetParam();
    EXPECT_EQ(noticeWidth, c.size);
    EXPECT_EQ(noticeHeight, c.size);
    const RECT text = NoticeTextRect();
    EXPECT_EQ(text.left, c.text.left);
    EXPECT_EQ(text.top, c.text.top);
    EXPECT_EQ(text.right, c.text.right);
    EXPECT_EQ(text.bottom, c.text.bottom);
}

TEST_P(NoticeAnimation, EntersHoldsLeavesAndEnds)
{
    const DpiCase& c = GetParam();
    BeginNotice(window_, NoticeKind::NoticeHour, L"12時になりました。");
    ASSERT_EQ(timerCalls, (std::vector<TimerCall>{{true, kHour, 16}}));
    timerCalls.clear();

    // Entry: 30 steps rising s pixels and 8 alpha levels each, from entirely
    // below the work area at alpha 0.
    for (int k = 0; k < 30; ++k) {
        Step(kHour);
        const Placement p = ReadPlacement(window_);
        EXPECT_EQ(p.rise, k * c.slide) << "entry step " << k;
        EXPECT_EQ(p.alpha, k * 8) << "entry step " << k;
        EXPECT_EQ(p.key, RGB(0, 255, 0));
        EXPECT_EQ(p.flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
        EXPECT_EQ(p.rightGap, 0);
        EXPECT_TRUE(p.visible);
        EXPECT_EQ(readingState.noticeTicks, 299 - k);
    }
    EXPECT_TRUE(timerCalls.empty());

    // Fully shown: whole height, opaque, the timer restarted for the hold.
    Step(kHour);
    Placement p = ReadPlacement(window_);
    EXPECT_EQ(p.rise, c.size);
    EXPECT_EQ(p.alpha, 255);
    EXPECT_EQ(readingState.noticeTicks, 30);
    EXPECT_EQ(timerCalls, (std::vector<TimerCall>{{false, kHour, 0}, {true, kHour, 5000}}));
    timerCalls.clear();

    // End of the hold: back to 16 ms, the window stays where it is.
    Step(kHour);
    p = ReadPlacement(window_);
    EXPECT_EQ(p.rise, c.size);
    EXPECT_EQ(p.alpha, 255);
    EXPECT_EQ(readingState.noticeTicks, 29);
    EXPECT_EQ(timerCalls, (std::vector<TimerCall>{{false, kHour, 0}, {true, kHour, 16}}));
    timerCalls.clear();

    // Exit: 29 ... 1.
    for (int n = 29; n >= 2; --n) {
        Step(kHour);
        p = ReadPlacement(window_);
        EXPECT_EQ(p.rise, n * c.slide) << "exit step " << n;
        EXPECT_EQ(p.alpha, n * 8) << "exit step " << n;
        EXPECT_TRUE(p.visible);
        EXPECT_EQ(readingState.noticeTimerId, kHour);
    }
    EXPECT_TRUE(timerCalls.empty());
    Step(kHour);
    p = ReadPlacement(window_);
    EXPECT_EQ(p.rise, c.slide);
    EXPECT_EQ(p.alpha, 8);

    // The end: timer stopped, no notice, hidden.
    EXPECT_EQ(readingState.noticeTicks, 0);
    EXPECT_EQ(readingState.noticeTimerId, 0u);
    EXPECT_FALSE(p.visible);
    EXPECT_EQ(timerCalls, (std::vector<TimerCall>{{false, kHour, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Dpi, NoticeAnimation, testing::ValuesIn(kDpiCases),
                         [](const testing::TestParamInfo<DpiCase>& param) {
                             return std::to_string(param.param.dpi);
                         });

class NoticeRulesOnWindow : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateNoticeWindow(96, false);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyNoticeWindow(window_); }

    // Runs steps until the notice has `ticks` left.
    void StepTo(UINT_PTR id, int ticks)
    {
        for (int guard = 0; readingState.noticeTicks != ticks && guard < 400; ++guard) {
            StepNotice(window_, id);
        }
        ASSERT_EQ(readingState.noticeTicks, ticks);
        timerCalls.clear();
    }

    HWND window_ = nullptr;
};

TEST_F(NoticeRulesOnWindow, MeasuredScaleIsTheScreensPixelsPerInch)
{
    const HDC screen = GetDC(nullptr);
    const int x = GetDeviceCaps(screen, LOGPIXELSX);
    const int y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    MeasureDpi();
    EXPECT_DOUBLE_EQ(dpiScaleX, x / 96.0);
    EXPECT_DOUBLE_EQ(dpiScaleY, y / 96.0);
    ComputeNoticeSize(128, 128);
    EXPECT_EQ(noticeWidth, 128 * x / 96);
    EXPECT_EQ(noticeHeight, 128 * y / 96);
}

TEST_F(NoticeRulesOnWindow, ScalesTruncateTowardZero)
{
    SetDpiScales(120, 144);
    ComputeNoticeSize(127, 125);
    EXPECT_EQ(noticeWidth, 158);   // 158.75
    EXPECT_EQ(noticeHeight, 187);  // 187.5
    SetDpiScales(100, 100);
    const RECT text = NoticeTextRect();
    EXPECT_EQ(text.left, 6);     // 6.25
    EXPECT_EQ(text.top, 42);     // 42.70
    EXPECT_EQ(text.right, 125);  // 125.0
    EXPECT_EQ(text.bottom, 125);
    // No screen to ask: the designed size, not an invisible notice.
    SetDpiScales(0, -1);
    ComputeNoticeSize(128, 128);
    EXPECT_EQ(noticeWidth, 128);
    EXPECT_EQ(noticeHeight, 128);
}

struct ClickCase {
    const char* name;
    int ticksBefore;  // where the notice stands when it is clicked
    bool leaves;
};

class NoticeClick : public NoticeRulesOnWindow, public testing::WithParamInterface<ClickCase> {};

TEST_P(NoticeClick, LeavesAtOnceOnlyWhileEnteringOrHolding)
{
    const ClickCase& c = GetParam();
    BeginNotice(window_, NoticeKind::NoticeMilestone, L"閲覧開始から30分経過しました。");
    StepTo(kMilestone, c.ticksBefore);
    const Placement before = ReadPlacement(window_);

    SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 60));
    if (c.leaves) {
        EXPECT_EQ(readingState.noticeTicks, 30);
        EXPECT_EQ(timerCalls,
                  (std::vector<TimerCall>{{false, kMilestone, 0}, {true, kMilestone, 16}}));
        // The next steps are the end of the hold, then the exit from the top.
        timerCalls.clear();
        StepNotice(window_, kMilestone);
        EXPECT_EQ(timerCalls,
                  (std::vector<TimerCall>{{false, kMilestone, 0}, {true, kMilestone, 16}}));
        StepNotice(window_, kMilestone);
        EXPECT_EQ(ReadPlacement(window_).rise, 29 * 4);
        EXPECT_EQ(ReadPlacement(window_).alpha, 29 * 8);
    } else {
        EXPECT_EQ(readingState.noticeTicks, c.ticksBefore);
        EXPECT_TRUE(timerCalls.empty());
        EXPECT_EQ(ReadPlacement(window_).rise, before.rise);
    }
    // The right button follows the same rule.
    timerCalls.clear();
    const int ticks = readingState.noticeTicks;
    SendMessageW(window_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 60));
    EXPECT_EQ(readingState.noticeTicks, ticks >= 30 ? 30 : ticks);
}

const ClickCase kClickCases[] = {
    {"FirstEntryStep", 300, true},
    {"Entering", 285, true},
    {"Holding", 30, true},
    {"Leaving", 17, false},
    {"LastExitStep", 1, false},
};

INSTANTIATE_TEST_SUITE_P(Phases, NoticeClick, testing::ValuesIn(kClickCases),
                         [](const testing::TestParamInfo<ClickCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(NoticeRulesOnWindow, ClickWithoutANoticeDoesNothing)
{
    readingState.noticeTimerId = 0;
    readingState.noticeTicks = 200;
    SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(readingState.noticeTicks, 200);
    EXPECT_TRUE(timerCalls.empty());
}

TEST_F(NoticeRulesOnWindow, ReadingTickCutsEntryShortToTheExit)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SetToday(now);
    BeginNotice(window_, NoticeKind::NoticeHour, L"10時になりました。");
    StepTo(kHour, 290);
    readingState.graceTicks = 5;  // a page was seen at the previous tick
    ClockTick(window_);
    EXPECT_EQ(readingState.noticeTicks, 30);

    StepNotice(window_, kHour);  // end of the hold
    EXPECT_EQ(timerCalls, (std::vector<TimerCall>{{false, kHour, 0}, {true, kHour, 16}}));
    StepNotice(window_, kHour);
    EXPECT_EQ(ReadPlacement(window_).rise, 29 * 4);
    EXPECT_EQ(ReadPlacement(window_).alpha, 29 * 8);
}

struct FinishCase {
    const char* name;
    UINT_PTR timer;
    int graceTicks;
    std::uint32_t continuousAfter;
};

class NoticeEnd : public NoticeRulesOnWindow, public testing::WithParamInterface<FinishCase> {};

TEST_P(NoticeEnd, ResetsTheSpellOnlyForAFinishNoticeWithoutReading)
{
    const FinishCase& c = GetParam();
    readingState.continuousSeconds = 754;
    readingState.todaySeconds = 4000;
    readingState.noticeTimerId = static_cast<std::uint32_t>(c.timer);
    readingState.noticeTicks = 1;
    readingState.graceTicks = static_cast<std::int16_t>(c.graceTicks);
    StepNotice(window_, c.timer);
    EXPECT_EQ(readingState.noticeTimerId, 0u);
    EXPECT_EQ(readingState.continuousSeconds, c.continuousAfter);
    EXPECT_EQ(readingState.todaySeconds, 4000u);
    EXPECT_FALSE(IsWindowVisible(window_));
}

const FinishCase kFinishCases[] = {
    {"FinishWhileIdle", kFinish, 0, 0},
    {"FinishAfterReadingResumed", kFinish, 3, 754},
    {"FinishWithFullGrace", kFinish, 5, 754},
    {"HourWhileIdle", kHour, 0, 754},
    {"MilestoneWhileIdle", kMilestone, 0, 754},
    {"AlarmWhileIdle", kAlarm, 0, 754},
};

INSTANTIATE_TEST_SUITE_P(Kinds, NoticeEnd, testing::ValuesIn(kFinishCases),
                         [](const testing::TestParamInfo<FinishCase>& param) {
                             return std::string(param.param.name);
                         });

class RealTimerNotice : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateNoticeWindow(96, true);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyNoticeWindow(window_); }

    HWND window_ = nullptr;
};

TEST_F(RealTimerNotice, RunsToItsEndOnItsOwnTimer)
{
    BeginNotice(window_, NoticeKind::NoticeAlarm, L"アラーム");
    readingState.noticeHoldMs = 300;  // shorter than 5000 ms, the same path
    ASSERT_TRUE(PumpUntil([] { return readingState.noticeTimerId == 0; }, 20000));
    EXPECT_FALSE(IsWindowVisible(window_));

    std::vector<UINT> intervals;
    for (const TimerCall& call : timerCalls) {
        EXPECT_EQ(call.id, kAlarm);
        if (call.start) {
            intervals.push_back(call.intervalMs);
        }
    }
    EXPECT_EQ(intervals, (std::vector<UINT>{16, 300, 16}));
    EXPECT_EQ(std::count(timerMessages.begin(), timerMessages.end(), kAlarm), 61);
    // Stopped: no further steps arrive.
    const size_t steps = timerMessages.size();
    PumpMessagesFor(150);
    EXPECT_EQ(timerMessages.size(), steps);
}

TEST_F(RealTimerNotice, ASecondTimerStillRunningEndsTheNoticeAgainAndStops)
{
    // The hour notice has ended; the finish notice's timer was left running.
    readingState.noticeTimerId = 0;
    readingState.noticeTicks = 0;
    readingState.graceTicks = 2;
    readingState.continuousSeconds = 90;
    SetTimer(window_, kFinish, 16, nullptr);
    ASSERT_TRUE(PumpUntil([] { return !timerMessages.empty(); }, 5000));
    const Placement p = ReadPlacement(window_);
    EXPECT_EQ(p.alpha, 0);
    EXPECT_EQ(p.rise, 0);
    EXPECT_FALSE(p.visible);
    EXPECT_EQ(readingState.noticeTimerId, 0u);
    EXPECT_EQ(readingState.noticeTicks, 0);
    EXPECT_EQ(readingState.continuousSeconds, 90u);  // reading goes on
    EXPECT_EQ(timerCalls, (std::vector<TimerCall>{{false, kFinish, 0}}));
    PumpMessagesFor(150);
    EXPECT_EQ(timerMessages.size(), 1u);
}

}  // namespace

// The reading clock run with the real stores behind its seam, as the shell
// wires it: today's total and the ranking live through a restart.
#include "accounting/clock_collaborators.h"
#include "accounting/reading_clock.h"
#include "accounting/reading_state.h"
#include "store/article_rank.h"
#include "store/registry_layout.h"
#include "store/settings_store.h"
#include "tests/accounting/clock_harness.h"
#include "tests/store/raw_registry.h"
#include "tests/store/store_fixture.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>


namespace {

constexpr wchar_t kTitle[] = L"日本";

class ClockWithStores : public StoreTest {
protected:
    void TearDown() override
    {
        // The harness's companion window is visible to every process on the
        // desktop; other test programs look for that class too.
        harness::DropInProcessCompanion();
        clockCollaborators = DefaultClockCollaborators();
        StoreTest::TearDown();
    }

    // A new process: everything in memory forgotten, the seam filled as the
    // shell fills it (the real stores; observation and tray stand-ins), then
    // start-up's load.
    static void StartAt(const SYSTEMTIME& start)
    {
        harness::Reset(start);
        harness::title = kTitle;
        clockCollaborators.updateArticleRank = UpdateArticleRank;
        clockCollaborators.saveSettings = SaveSettings;
        LoadSettings();
    }

    static void Tick(int ticks, bool page) { harness::Tick(ticks, page); }

    // The exit's save.
    static void Exit() { SaveSettings(harness::MainWindow()); }

    MessageBoxCapture capture_;
};

TEST_F(ClockWithStores, TodaysTotalAndRankingSurviveARestartOfTheSameDay)
{
    StartAt(harness::Time(2026, 3, 14, 10, 0, 0));
    settings.historyEnabled = true;  // as the tray menu's toggle
    Tick(10, true);   // ten observations; each is counted by the tick after it
    Tick(6, false);   // the last one counted, then the spell ends
    ASSERT_EQ(readingState.todaySeconds, 10u);
    Exit();

    StartAt(harness::Time(2026, 3, 14, 14, 0, 0));
    EXPECT_EQ(readingState.todaySeconds, 10u);
    EXPECT_TRUE(settings.historyEnabled);
    Tick(6, true);  // five counted so far, the sixth observation still pending
    EXPECT_EQ(readingState.todaySeconds, 15u);
    Exit();

    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260314"), 15u);
    EXPECT_EQ(raw::GetDword(kRankKeyPath, kTitle), 15u);
    EXPECT_TRUE(capture_.Boxes().empty());
}

TEST_F(ClockWithStores, MidnightStoresTheFinishedDayUnderItsOwnKey)
{
    StartAt(harness::Time(2026, 3, 14, 23, 59, 50));
    Tick(6, true);  // 23:59:50 .. 23:59:55: five counted seconds
    Tick(10, true);  // on past midnight: 23:59:56 .. 00:00:05
    // Counted before the rollover: the ticks at 23:59:51 .. 23:59:59 (nine)
    // and the tick at 00:00:00, which counts the page seen at 23:59:59 before
    // it sees the new date.
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260314"), 10u);
    EXPECT_STREQ(readingState.dayKey, L"20260315");
    EXPECT_EQ(readingState.todaySeconds, 5u);
    Exit();
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260315"), 5u);

    StartAt(harness::Time(2026, 3, 15, 8, 0, 0));
    EXPECT_EQ(readingState.todaySeconds, 5u);
    StartAt(harness::Time(2026, 3, 16, 8, 0, 0));
    EXPECT_EQ(readingState.todaySeconds, 0u);
    EXPECT_TRUE(capture_.Boxes().empty());
}

}  // namespace

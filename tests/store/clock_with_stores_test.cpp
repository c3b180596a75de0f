// The reading clock run with the real stores behind its seam, as the shell
// wires it: today's total and the ranking live through a restart.
#include "accounting/clock_collaborators.h"
#include "accounting/reading_clock.h"
#include "accounting/reading_state.h"
#include "store/article_rank.h"
#include "store/registry_layout.h"
#include "store/settings_store.h"
#include "tests/store/raw_registry.h"
#include "tests/store/store_fixture.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

constexpr wchar_t kTitle[] = L"日本";

SYSTEMTIME now{};
bool pageInView = false;

void Observe()
{
    if (pageInView) {
        std::wcscpy(readingState.currentArticle, kTitle);
        readingState.graceTicks = kGraceFull;
    }
}
void NoTray(HWND, HICON, const wchar_t*) {}
void ReadNow(SYSTEMTIME* time) { *time = now; }
void NoTimerStart(HWND, UINT_PTR, UINT) {}
void NoTimerStop(HWND, UINT_PTR) {}
void NoHide(HWND) {}

void AdvanceOneSecond()
{
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER value{{file.dwLowDateTime, file.dwHighDateTime}};
    value.QuadPart += 10'000'000ull;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    FileTimeToSystemTime(&file, &now);
}

class ClockWithStores : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        saved_ = clockCollaborators;
        clockCollaborators = DefaultClockCollaborators();
        clockCollaborators.observationPass = Observe;
        clockCollaborators.trayModify = NoTray;
        clockCollaborators.updateArticleRank = UpdateArticleRank;
        clockCollaborators.saveSettings = SaveSettings;
        clockCollaborators.readLocalTime = ReadNow;
        clockCollaborators.startTimer = NoTimerStart;
        clockCollaborators.stopTimer = NoTimerStop;
        clockCollaborators.hideNoticeWindow = NoHide;
    }
    void TearDown() override
    {
        clockCollaborators = saved_;
        StoreTest::TearDown();
    }

    // A new process: everything in memory forgotten, then start-up's steps.
    static void StartAt(const SYSTEMTIME& start)
    {
        ReleaseAlarmMessages();
        settings = Settings{};
        readingState = ReadingState{};
        now = start;
        SetToday(start);
        LoadSettings();
    }

    static void Tick(int ticks, bool page)
    {
        pageInView = page;
        for (int i = 0; i < ticks; ++i) {
            ClockTick(raw::OwnerWindow());
            AdvanceOneSecond();
        }
    }

    // The exit's save.
    static void Exit() { SaveSettings(raw::OwnerWindow()); }

    MessageBoxCapture capture_;

private:
    ClockCollaborators saved_{};
};

TEST_F(ClockWithStores, TodaysTotalAndRankingSurviveARestartOfTheSameDay)
{
    StartAt(Date(2026, 3, 14, 10, 0, 0));
    settings.historyEnabled = true;  // as the tray menu's toggle
    Tick(10, true);   // ten observations; each is counted by the tick after it
    Tick(6, false);   // the last one counted, then the spell ends
    ASSERT_EQ(readingState.todaySeconds, 10u);
    Exit();

    StartAt(Date(2026, 3, 14, 14, 0, 0));
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
    StartAt(Date(2026, 3, 14, 23, 59, 50));
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

    StartAt(Date(2026, 3, 15, 8, 0, 0));
    EXPECT_EQ(readingState.todaySeconds, 5u);
    StartAt(Date(2026, 3, 16, 8, 0, 0));
    EXPECT_EQ(readingState.todaySeconds, 0u);
    EXPECT_TRUE(capture_.Boxes().empty());
}

}  // namespace

// The feed against a companion in another process: a real window of class
// "hovelkin" that logs what arrives, answering or hung.
#include "accounting/companion_feed.h"
#include "accounting/reading_clock.h"
#include "tests/accounting/clock_harness.h"
#include "tests/fixtures/companion_protocol.h"
#include "tests/support/child_process.h"
#include "tests/support/companion_log.h"
#include "tests/support/private_profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CompanionFeed : public testing::Test {
protected:
    void SetUp() override
    {
        harness::Reset(harness::Time(2026, 3, 14, 10, 0, 0));
        // The harness's own in-process companion must not answer here.
        harness::DropInProcessCompanion();
        logPath_ = PrivateAppData() + L"\\feed.log";
    }

    std::wstring logPath_;
};

TEST_F(CompanionFeed, DeliversTextsWithTagSizeAndSender)
{
    ChildProcess companion(L"companion_fixture.exe", L"--log=\"" + logPath_ + L"\"");
    ASSERT_TRUE(companion.Started());
    const HWND main = harness::MainWindow();
    FeedCompanion(main, L"YMK 本日[ 0:00:01] 連続[ 0:00:01]");
    FeedCompanion(main, L"");
    const std::vector<FeedLine> lines = ReadCompanionLog(logPath_);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].tag, 102414u);
    EXPECT_EQ(lines[0].bytes, 2u * 29u + 2u);
    EXPECT_EQ(lines[0].sender, reinterpret_cast<UINT_PTR>(main));
    EXPECT_EQ(lines[0].text, Utf8(L"YMK 本日[ 0:00:01] 連続[ 0:00:01]"));
    EXPECT_EQ(lines[1].bytes, 2u);
    EXPECT_EQ(lines[1].text, "");
}

TEST_F(CompanionFeed, ClockFeedsEveryReadingTickAndTheEndOfTheSpell)
{
    ChildProcess companion(L"companion_fixture.exe", L"--log=\"" + logPath_ + L"\"");
    ASSERT_TRUE(companion.Started());
    settings.notifyFinish = false;
    harness::Tick(4, true);
    harness::Tick(5, false);
    const std::vector<FeedLine> lines = ReadCompanionLog(logPath_);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, Utf8(L"YMK 本日[ 0:00:01] 連続[ 0:00:01]"));
    EXPECT_EQ(lines[3].text, Utf8(L"YMK 本日[ 0:00:04] 連続[ 0:00:04]"));
    EXPECT_EQ(lines[4].text, "");
}

TEST_F(CompanionFeed, NoCompanionSendsNothing)
{
    FeedCompanion(harness::MainWindow(), L"x");
    EXPECT_EQ(FindWindowW(L"hovelkin", nullptr), nullptr);
}

TEST_F(CompanionFeed, HungCompanionCannotHoldUpTheTick)
{
    ChildProcess companion(L"companion_fixture.exe", L"--log=\"" + logPath_ + L"\"");
    ASSERT_TRUE(companion.Started());
    const HWND window = FindWindowW(L"hovelkin", nullptr);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, kCompanionHangMessage, INFINITE, 0);
    Sleep(100);
    harness::Tick(1, true);
    const ULONGLONG start = GetTickCount64();
    harness::Tick(3, true);  // three reading ticks, each feeding
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_LT(elapsed, 3 * (kCompanionTimeoutMs + 500)) << elapsed << " ms";
    EXPECT_EQ(readingState.todaySeconds, 3u);
    EXPECT_TRUE(ReadCompanionLog(logPath_).empty());
}

}  // namespace

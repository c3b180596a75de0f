#include "observation/observation_pass.h"

#include "accounting/reading_clock.h"
#include "observation/address_bar_routes.h"
#include "observation/firefox_helper_file.h"
#include "tests/accounting/clock_harness.h"
#include "tests/observation/fixture_browser.h"
#include "tests/observation/helper_files.h"
#include "tests/observation/observation_state.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

class ObservationPassOrder : public testing::Test {
protected:
    void SetUp() override { ResetObservationState(); }

    static std::wstring Title() { return readingState.currentArticle; }
    static std::wstring Remembered() { return helperFilePath; }

    // The start of a tick: the countdown has already lowered graceTicks.
    static void Pass(std::int16_t graceBefore = 4)
    {
        readingState.graceTicks = graceBefore;
        ObservationPass();
    }

    // A remembered Firefox file showing `title`, as a scan would leave it.
    void RememberFirefox(const std::wstring& title)
    {
        WriteHelperFile(firefoxFile_, {NextMarker(), ArticleAddress(title)});
        ASSERT_TRUE(ScanFirefoxProfiles());
        ASSERT_EQ(Remembered(), firefoxFile_);
    }
    void WriteFirefox(const std::wstring& address)
    {
        WriteHelperFile(firefoxFile_, {NextMarker(), address});
    }
    wchar_t NextMarker() { return ++marker_; }

    // An IE showing the article "IE", found by a first pass and cached.
    void StartCachedIE()
    {
        ie_ = std::make_unique<FixtureBrowser>(
            L"IEFrame", std::vector<FixtureBranch>{{L"ComboBoxEx32", ArticleAddress(L"IE")}});
        ASSERT_TRUE(ie_->Started());
        Pass();
        ASSERT_EQ(readingState.cachedWindow, ie_->AddressBar());
    }
    FixtureBrowser& IE() { return *ie_; }

    // A page was seen, and the cache holds this window and route.
    static void ExpectSeen(HWND cached, AddressBarRoute route, const std::wstring& title)
    {
        EXPECT_EQ(readingState.graceTicks, kGraceFull);
        EXPECT_EQ(readingState.cachedWindow, cached);
        EXPECT_EQ(readingState.cachedRoute, route);
        EXPECT_EQ(Title(), title);
    }

    std::unique_ptr<FixtureBrowser> ie_;
    const std::wstring firefoxFile_ = HelperPath(L"x1y2z3.default");
    wchar_t marker_ = 0;
};

TEST_F(ObservationPassOrder, FirstPassFindsABrowserAndCachesIt)
{
    ASSERT_NO_FATAL_FAILURE(StartCachedIE());
    ExpectSeen(IE().AddressBar(), RouteIE, L"IE");
}

TEST_F(ObservationPassOrder, FirstPassEndsAtTheProfileScanWhenFirefoxShowsAPage)
{
    FixtureBrowser ie(L"IEFrame", {{L"ComboBoxEx32", ArticleAddress(L"IE")}});
    ASSERT_TRUE(ie.Started());
    WriteFirefox(ArticleAddress(L"Firefox"));
    Pass();
    EXPECT_EQ(readingState.graceTicks, kGraceFull);
    EXPECT_EQ(Remembered(), firefoxFile_);
    EXPECT_EQ(Title(), L"Firefox");
    EXPECT_EQ(readingState.cachedWindow, nullptr);  // the window scan did not run
}

TEST_F(ObservationPassOrder, CachedBrowserIsAskedAgainWithoutAScan)
{
    ASSERT_NO_FATAL_FAILURE(StartCachedIE());
    // Another browser that a scan would now meet first leaves the cache alone.
    FixtureBrowser chrome(L"Chrome_WidgetWin_0", {{L"Chrome_OmniboxView", ArticleAddress(L"Other")}});
    ASSERT_TRUE(chrome.Started());
    for (int i = 0; i < 3; ++i) {
        IE().SetText(0, ArticleAddress(L"Page" + std::to_wstring(i)));
        Pass();
        ExpectSeen(IE().AddressBar(), RouteIE, L"Page" + std::to_wstring(i));
    }
}

TEST_F(ObservationPassOrder, FirefoxWrittenAnewWinsOverTheCache)
{
    ASSERT_NO_FATAL_FAILURE(StartCachedIE());
    const HWND cached = readingState.cachedWindow;
    RememberFirefox(L"Firefox0");
    for (int i = 1; i < 4; ++i) {
        WriteFirefox(ArticleAddress(L"Firefox" + std::to_wstring(i)));
        Pass();
        EXPECT_EQ(readingState.graceTicks, kGraceFull);
        EXPECT_EQ(Title(), L"Firefox" + std::to_wstring(i));  // the cache was not consulted after
        EXPECT_EQ(readingState.cachedWindow, cached);
        EXPECT_EQ(Remembered(), firefoxFile_);
    }
}

TEST_F(ObservationPassOrder, StaleFirefoxFileFallsThroughToTheCache)
{
    ASSERT_NO_FATAL_FAILURE(StartCachedIE());
    RememberFirefox(L"Firefox");
    Pass();  // the file has not been written since
    EXPECT_EQ(Remembered(), L"");
    ExpectSeen(IE().AddressBar(), RouteIE, L"IE");
}

TEST_F(ObservationPassOrder, StaleFileAndLostCacheFallThroughToTheWindowScan)
{
    ASSERT_NO_FATAL_FAILURE(StartCachedIE());
    RememberFirefox(L"Firefox");
    FixtureBrowser chrome(L"Chrome_WidgetWin_0", {{L"Chrome_OmniboxView", ArticleAddress(L"Chrome")}});
    ASSERT_TRUE(chrome.Started());
    IE().SetText(0, L"http://www.example.com/");
    Pass();
    EXPECT_EQ(Remembered(), L"");
    ExpectSeen(chrome.AddressBar(), RouteChrome, L"Chrome");
}

TEST_F(ObservationPassOrder, ClosedCachedBrowserIsReplacedInTheSamePass)
{
    ASSERT_NO_FATAL_FAILURE(StartCachedIE());
    FixtureBrowser donut(L"WTL:DonutQ", {{L"ReBarWindow32/Donut_AddressBar", ArticleAddress(L"Donut")}});
    ASSERT_TRUE(donut.Started());
    ASSERT_TRUE(IE().Close());
    Pass();
    ExpectSeen(donut.AddressBar(), RouteDonut, L"Donut");
}

TEST_F(ObservationPassOrder, LostCacheWithNothingElseInViewIsDropped)
{
    ASSERT_NO_FATAL_FAILURE(StartCachedIE());
    IE().SetText(0, L"");
    Pass(3);
    EXPECT_EQ(readingState.graceTicks, 3);
    EXPECT_EQ(readingState.cachedWindow, nullptr);
    EXPECT_EQ(readingState.cachedRoute, nullptr);
}

TEST_F(ObservationPassOrder, PassThatSeesNothingLeavesTheStateAsItWas)
{
    FixtureBrowser other(L"IEFrame", {{L"ComboBoxEx32", L"http://www.example.com/"}});
    ASSERT_TRUE(other.Started());
    WriteFirefox(L"http://www.example.org/");
    lstrcpynW(readingState.currentArticle, L"Earlier", kTitleChars);
    Pass(2);
    EXPECT_EQ(readingState.graceTicks, 2);
    EXPECT_EQ(readingState.cachedWindow, nullptr);
    EXPECT_EQ(readingState.cachedRoute, nullptr);
    EXPECT_EQ(Remembered(), L"");
    EXPECT_EQ(Title(), L"");  // texts were read and not recognised
}

TEST_F(ObservationPassOrder, PassThatReadsNoTextKeepsTheEarlierTitle)
{
    FixtureBrowser empty(L"IEFrame", {{L"ComboBoxEx32", L""}});
    ASSERT_TRUE(empty.Started());
    lstrcpynW(readingState.currentArticle, L"Earlier", kTitleChars);
    Pass(1);
    EXPECT_EQ(readingState.graceTicks, 1);
    EXPECT_EQ(Title(), L"Earlier");
}

// A browser that stops answering costs at most the text-read bound per read:
// here one read of the cached window and one in the scan.
TEST_F(ObservationPassOrder, HungBrowserDoesNotHoldUpThePass)
{
    ASSERT_NO_FATAL_FAILURE(StartCachedIE());
    IE().Hang(4000);
    const ULONGLONG start = GetTickCount64();
    Pass(3);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_LT(elapsed, 2 * kTextReadTimeoutMs + 500);
    EXPECT_EQ(readingState.graceTicks, 3);
    EXPECT_EQ(readingState.cachedWindow, nullptr);
}

// The clock with the real pass in its seam, against a browser in another process.
class ClockWithRealObservation : public testing::Test {
protected:
    void SetUp() override
    {
        ResetObservationState();
        harness::Reset(harness::Time(2026, 5, 1, 9, 0, 0));
        clockCollaborators.observationPass = ObservationPass;
    }
};

TEST_F(ClockWithRealObservation, ReadingInABrowserIsCounted)
{
    FixtureBrowser chrome(L"Chrome_WidgetWin_0",
                          {{L"Chrome_OmniboxView", L"ja.wikipedia.org/wiki/%E6%99%82%E8%A8%88"}});
    ASSERT_TRUE(chrome.Started());
    harness::Tick(4, true);
    EXPECT_EQ(readingState.todaySeconds, 3u);
    EXPECT_EQ(readingState.continuousSeconds, 3u);
    EXPECT_EQ(std::wstring(readingState.currentArticle), L"時計");
    ASSERT_EQ(harness::feed.size(), 3u);

    chrome.SetText(0, L"www.example.com/");
    harness::Tick(6, false);
    EXPECT_EQ(readingState.todaySeconds, 4u);  // the page seen at tick 4 counts at tick 5
    EXPECT_EQ(readingState.graceTicks, 0);
    EXPECT_EQ(harness::feed.back(), L"");  // the spell has ended
}

}  // namespace

// How long one observation pass takes, with imitation browsers and a crowd of
// unrelated top-level windows in other processes: the steady state through
// the cached address bar (Chrome and IE chains) and through the remembered
// Firefox helper file, the full scan with 0, 100 and 400 unrelated windows and
// a browser whose address bar sits behind 50 sibling windows, and a pass that
// finds nothing among 400 windows.
#include "bench/bench_support.h"

#include "accounting/reading_state.h"
#include "observation/address_bar_routes.h"
#include "observation/browser_tables.h"
#include "observation/firefox_helper_file.h"
#include "observation/observation_pass.h"
#include "tests/observation/fixture_browser.h"
#include "tests/observation/helper_files.h"
#include "tests/observation/observation_state.h"
#include "tests/support/child_process.h"
#include "tests/support/private_profile.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSteadyPasses = 2100;
constexpr int kScanPasses = 150;
constexpr int kSiblings = 50;

int TopLevelWindowCount()
{
    int count = 0;
    EnumWindows([](HWND, LPARAM counter) -> BOOL {
        ++*reinterpret_cast<int*>(counter);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    return count;
}

// 1-based place of `window` in the window manager's order, 0 when absent.
int PlaceInEnumOrder(HWND window)
{
    struct Search {
        HWND window;
        int seen;
        int place;
    } search{window, 0, 0};
    EnumWindows([](HWND current, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        ++s->seen;
        if (current == s->window) {
            s->place = s->seen;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.place;
}

// Passes that must each see the page in view; a pass that does not is a fault
// of the set-up, reported and counted.
struct PassCheck {
    int misses = 0;
    void Expect(bool seen) { misses += seen ? 0 : 1; }
};

// Steady passes through the cached address bar: one pass scans and fills
// the cache, the timed ones after it end at the cache.
void SteadyAddressBar(HWND addressBar, AddressBarRoute route, int passes, Samples& samples,
                      PassCheck& check)
{
    ResetObservationState();
    ObservationPass();
    check.Expect(readingState.cachedWindow == addressBar && readingState.cachedRoute == route);
    for (int i = 0; i < passes; ++i) {
        readingState.graceTicks = 0;
        const Stopwatch watch;
        ObservationPass();
        samples.Add(watch.Microseconds());
        check.Expect(readingState.graceTicks == kGraceFull && readingState.cachedWindow == addressBar);
    }
}

// Steady passes through the remembered helper file, which the add-on writes
// anew (untimed) before every pass.
void SteadyHelperFile(const std::wstring& path, int passes, Samples& samples, PassCheck& check)
{
    static wchar_t marker = 1;
    ResetObservationState();
    WriteHelperFile(path, {marker, ArticleAddress(L"Firefox")});
    ObservationPass();  // the profile scan finds and remembers the file
    check.Expect(helperFilePath[0] != L'\0');
    for (int i = 0; i < passes; ++i) {
        marker = static_cast<wchar_t>(marker % 1000 + 1);
        WriteHelperFile(path, {marker, ArticleAddress(L"Firefox")});
        readingState.graceTicks = 0;
        const Stopwatch watch;
        ObservationPass();
        samples.Add(watch.Microseconds());
        check.Expect(readingState.graceTicks == kGraceFull && helperFilePath[0] != L'\0');
    }
    DeleteFileW(path.c_str());
}

// Passes that start with nothing remembered, so each runs the profile scan
// and the walk over all top-level windows.
void FullScans(HWND expected, int passes, Samples& samples, PassCheck& check)
{
    for (int i = 0; i < passes; ++i) {
        ResetObservationState();
        const Stopwatch watch;
        ObservationPass();
        samples.Add(watch.Microseconds());
        check.Expect(readingState.cachedWindow == expected &&
                     (expected == nullptr || readingState.graceTicks == kGraceFull));
    }
}

// Where a full pass spends its time: the profile scan alone, the bare walk
// over the top-level windows, and the window scan without the profile scan.
struct Parts {
    Samples profiles;
    Samples bareWalk;
    Samples windowScan;
};

Parts MeasureParts()
{
    Parts parts;
    for (int i = 0; i < kScanPasses; ++i) {
        ResetObservationState();
        {
            const Stopwatch watch;
            ScanFirefoxProfiles();
            parts.profiles.Add(watch.Microseconds());
        }
        {
            int count = 0;
            const Stopwatch watch;
            EnumWindows([](HWND, LPARAM counter) -> BOOL {
                ++*reinterpret_cast<int*>(counter);
                return TRUE;
            }, reinterpret_cast<LPARAM>(&count));
            parts.bareWalk.Add(watch.Microseconds());
        }
        {
            const Stopwatch watch;
            EnumWindows(ScanTopLevelWindow, 0);
            parts.windowScan.Add(watch.Microseconds());
        }
    }
    return parts;
}

// The window-manager operations a pass is made of, each on a window of
// another process.
void PrintOperations(HWND crowdWindow, HWND sibling, HWND addressBar, HWND browserTop)
{
    constexpr int kCalls = 1000;
    wchar_t buffer[kWindowTextChars];
    Samples className;
    Samples classNameTop;
    Samples parent;
    Samples text;
    Samples children;
    Samples tableWalk;
    for (int i = 0; i < kCalls; ++i) {
        {
            // What the scan does with every top-level window's class: compare
            // it with each row of the table, case ignored.
            int matches = 0;
            const Stopwatch watch;
            for (const BrowserClassRow& row : BrowserClassTable) {
                matches += lstrcmpiW(L"YkCrowdWindow", row.className) == 0 ? 1 : 0;
            }
            tableWalk.Add(watch.Microseconds());
            if (matches != 0) {
                std::printf("the crowd's class is a browser's\n");
            }
        }
        {
            const Stopwatch watch;
            GetClassNameW(sibling, buffer, kWindowTextChars);
            className.Add(watch.Microseconds());
        }
        {
            const Stopwatch watch;
            GetClassNameW(crowdWindow, buffer, kWindowTextChars);
            classNameTop.Add(watch.Microseconds());
        }
        {
            const Stopwatch watch;
            GetParent(addressBar);
            parent.Add(watch.Microseconds());
        }
        {
            DWORD_PTR copied = 0;
            const Stopwatch watch;
            SendMessageTimeoutW(addressBar, WM_GETTEXT, kWindowTextChars, reinterpret_cast<LPARAM>(buffer),
                                SMTO_ABORTIFHUNG, kTextReadTimeoutMs, &copied);
            text.Add(watch.Microseconds());
        }
        if (i < 100) {
            const Stopwatch watch;
            EnumChildWindows(browserTop, [](HWND, LPARAM) -> BOOL { return TRUE; }, 0);
            children.Add(watch.Microseconds());
        }
    }
    PrintHeader("single operations on windows of other processes");
    PrintRow("GetClassNameW, child window", className);
    PrintRow("GetClassNameW, top-level window", classNameTop);
    PrintRow("GetParent", parent);
    PrintRow("WM_GETTEXT (SendMessageTimeoutW)", text);
    PrintRow("EnumChildWindows over 51 children, no work", children);
    PrintRow("one class name against the 25 table rows (lstrcmpiW)", tableWalk);
}

HWND FirstWindowOfClass(const wchar_t* className) { return FindWindowW(className, nullptr); }

std::unique_ptr<ChildProcess> StartCrowd(int count)
{
    auto crowd = std::make_unique<ChildProcess>(L"window_crowd_fixture.exe",
                                                L"--count=" + std::to_wstring(count));
    if (!crowd->Started()) {
        std::printf("could not start a crowd of %d windows\n", count);
        std::exit(2);
    }
    return crowd;
}

void SendToBottom(HWND window)
{
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

int wmain()
{
    CreatePrivateProfile();
    // A profile folder without a helper file: the scan looks into it on every
    // full pass, as it would for a Firefox user who is not reading.
    std::filesystem::create_directories(ProfilesFolder() + L"bench.default");
    const std::wstring helper = HelperPath(L"bench.default");

    const std::wstring elsewhere = L"http://www.example.com/";
    FixtureBrowser chrome(L"Chrome_WidgetWin_0", {{L"Chrome_OmniboxView", elsewhere}});
    FixtureBrowser ie(L"IEFrame", {{L"WorkerW/ReBarWindow32/Address Band Root/Edit", elsewhere}});
    std::vector<FixtureBranch> crowded;
    for (int i = 0; i < kSiblings; ++i) {
        crowded.push_back({L"Chrome_RenderWidgetHostHWND", L""});
    }
    crowded.push_back({L"Chrome_OmniboxView", elsewhere});
    FixtureBrowser behindSiblings(L"Chrome_WidgetWin_0", crowded);
    if (!chrome.Started() || !ie.Started() || !behindSiblings.Started()) {
        std::printf("could not start the fixture browsers\n");
        return 2;
    }
    PassCheck check;
    std::printf("Observation pass (fixture browsers in other processes)\n");

    // The article is in the browser behind 50 siblings, and that browser lies
    // below every other window, so a full scan reaches it last.
    behindSiblings.SetText(kSiblings, ArticleAddress(L"Behind"));
    const HWND target = behindSiblings.AddressBar(kSiblings);
    struct ScanRow {
        int crowd;
        int topLevel;
        int place;
        Samples samples;
        Parts parts;
    };
    std::vector<ScanRow> scans;
    std::unique_ptr<ChildProcess> crowd100;
    std::unique_ptr<ChildProcess> crowd300;
    for (int size : {0, 100}) {
        if (size == 100) {
            crowd100 = StartCrowd(100);
        }
        SendToBottom(behindSiblings.Top());
        ScanRow row{size, TopLevelWindowCount(), PlaceInEnumOrder(behindSiblings.Top()), {}, MeasureParts()};
        FullScans(target, kScanPasses, row.samples, check);
        scans.push_back(std::move(row));
    }

    // With 400 unrelated windows, the steady states and the full scans are
    // measured in alternating rounds, so that whatever else the machine does
    // weighs on both alike.
    crowd300 = StartCrowd(300);
    SendToBottom(behindSiblings.Top());
    ScanRow row400{400, TopLevelWindowCount(), PlaceInEnumOrder(behindSiblings.Top()), {}, MeasureParts()};
    Samples steadyChrome;
    Samples steadyIE;
    Samples steadyFirefox;
    Samples nothing;
    const int perRound = kSteadyPasses / kScanPasses;
    for (int round = 0; round < kScanPasses; ++round) {
        FullScans(target, 1, row400.samples, check);
        behindSiblings.SetText(kSiblings, elsewhere);
        FullScans(nullptr, 1, nothing, check);
        behindSiblings.SetText(kSiblings, ArticleAddress(L"Behind"));
        chrome.SetText(0, L"ja.wikipedia.org/wiki/Chrome");
        SteadyAddressBar(chrome.AddressBar(0), RouteChrome, perRound, steadyChrome, check);
        chrome.SetText(0, elsewhere);
        ie.SetText(0, ArticleAddress(L"IE"));
        SteadyAddressBar(ie.AddressBar(0), RouteIE, perRound, steadyIE, check);
        ie.SetText(0, elsewhere);
        SteadyHelperFile(helper, perRound, steadyFirefox, check);
    }
    scans.push_back(std::move(row400));

    PrintOperations(FirstWindowOfClass(L"YkCrowdWindow"), GetWindow(target, GW_HWNDNEXT) != nullptr
                        ? GetWindow(target, GW_HWNDNEXT) : GetWindow(target, GW_HWNDPREV),
                    target, behindSiblings.Top());
    PrintHeader("per pass");
    PrintRow("steady: cached Chrome address bar", steadyChrome);
    PrintRow("steady: cached IE address bar", steadyIE);
    PrintRow("steady: remembered Firefox helper file", steadyFirefox);
    for (const ScanRow& row : scans) {
        char name[96];
        std::snprintf(name, sizeof name, "full scan, %d unrelated (%d top-level, browser #%d)",
                      row.crowd, row.topLevel, row.place);
        PrintRow(name, row.samples);
    }
    PrintRow("nothing found among 400 unrelated", nothing);
    PrintHeader("parts of a full pass");
    for (const ScanRow& row : scans) {
        char name[96];
        std::snprintf(name, sizeof name, "%d unrelated: profile scan alone", row.crowd);
        PrintRow(name, row.parts.profiles);
        std::snprintf(name, sizeof name, "%d unrelated: bare EnumWindows walk", row.crowd);
        PrintRow(name, row.parts.bareWalk);
        std::snprintf(name, sizeof name, "%d unrelated: window scan alone", row.crowd);
        PrintRow(name, row.parts.windowScan);
    }

    const double scan400 = scans[2].samples.Median();
    const double scan100 = scans[1].samples.Median();
    double steadyWorst = steadyChrome.Median();
    steadyWorst = std::max(steadyWorst, steadyIE.Median());
    steadyWorst = std::max(steadyWorst, steadyFirefox.Median());
    std::printf("\n");
    bool held = true;
    held &= PrintTarget("slowest steady median / 400-window scan", 100.0 * steadyWorst / scan400, "%", 2.0);
    held &= PrintTarget("400-window scan / 100-window scan", scan400 / scan100, "x", 5.0);
    if (check.misses != 0) {
        std::printf("set-up fault: %d passes did not see the page they should have\n", check.misses);
        held = false;
    }
    DeletePrivateProfile();
    return held ? 0 : 1;
}

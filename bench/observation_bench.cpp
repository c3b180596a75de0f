// How long one observation pass takes, with imitation browsers and a crowd of
// unrelated top-level windows in other processes: the steady state through
// the cached address bar (Chrome and IE chains) and through the remembered
// Firefox helper file, the full scan with 0, 100 and 400 unrelated windows and
// a browser whose address bar sits behind 50 sibling windows, and a pass that
// finds nothing among 400 windows.
#include "bench/bench_support.h"

#include "accounting/reading_state.h"
#include "observation/address_bar_routes.h"
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

constexpr int kSteadyPasses = 2000;
constexpr int kScanPasses = 300;
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

Samples SteadyAddressBar(HWND addressBar, AddressBarRoute route, PassCheck& check)
{
    ResetObservationState();
    ObservationPass();  // the first pass scans and fills the cache
    check.Expect(readingState.cachedWindow == addressBar && readingState.cachedRoute == route);
    Samples samples;
    for (int i = 0; i < kSteadyPasses; ++i) {
        readingState.graceTicks = 0;
        const Stopwatch watch;
        ObservationPass();
        samples.Add(watch.Microseconds());
        check.Expect(readingState.graceTicks == kGraceFull && readingState.cachedWindow == addressBar);
    }
    return samples;
}

Samples SteadyHelperFile(const std::wstring& path, PassCheck& check)
{
    ResetObservationState();
    wchar_t marker = 1;
    WriteHelperFile(path, {marker, ArticleAddress(L"Firefox")});
    ObservationPass();  // the profile scan finds and remembers the file
    check.Expect(helperFilePath[0] != L'\0');
    Samples samples;
    for (int i = 0; i < kSteadyPasses; ++i) {
        // The add-on writes the file anew between two ticks.
        marker = static_cast<wchar_t>(marker % 1000 + 1);
        WriteHelperFile(path, {marker, ArticleAddress(L"Firefox")});
        readingState.graceTicks = 0;
        const Stopwatch watch;
        ObservationPass();
        samples.Add(watch.Microseconds());
        check.Expect(readingState.graceTicks == kGraceFull && helperFilePath[0] != L'\0');
    }
    return samples;
}

// Every pass starts with nothing remembered, so it runs the profile scan and
// the walk over all top-level windows.
Samples FullScans(HWND expected, PassCheck& check)
{
    Samples samples;
    for (int i = 0; i < kScanPasses; ++i) {
        ResetObservationState();
        const Stopwatch watch;
        ObservationPass();
        samples.Add(watch.Microseconds());
        check.Expect(readingState.cachedWindow == expected &&
                     (expected == nullptr || readingState.graceTicks == kGraceFull));
    }
    return samples;
}

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

    // Steady state, with the full crowd present as on a busy desktop.
    auto crowd100 = StartCrowd(100);
    auto crowd300 = StartCrowd(300);
    chrome.SetText(0, L"ja.wikipedia.org/wiki/Chrome");
    const Samples steadyChrome = SteadyAddressBar(chrome.AddressBar(0), RouteChrome, check);
    chrome.SetText(0, elsewhere);
    ie.SetText(0, ArticleAddress(L"IE"));
    const Samples steadyIE = SteadyAddressBar(ie.AddressBar(0), RouteIE, check);
    ie.SetText(0, elsewhere);
    const Samples steadyFirefox = SteadyHelperFile(helper, check);
    std::filesystem::remove(helper);

    // Full scans: the article is in the browser behind 50 siblings, and that
    // browser lies below every other window, so the walk reaches it last.
    behindSiblings.SetText(kSiblings, ArticleAddress(L"Behind"));
    const HWND target = behindSiblings.AddressBar(kSiblings);
    crowd300.reset();
    crowd100.reset();
    struct ScanRow {
        int crowd;
        int topLevel;
        int place;
        Samples samples;
    };
    std::vector<ScanRow> scans;
    for (int size : {0, 100, 400}) {
        if (size == 100) {
            crowd100 = StartCrowd(100);
        } else if (size == 400) {
            crowd300 = StartCrowd(300);
        }
        SendToBottom(behindSiblings.Top());
        scans.push_back({size, TopLevelWindowCount(), PlaceInEnumOrder(behindSiblings.Top()),
                         FullScans(target, check)});
    }
    behindSiblings.SetText(kSiblings, elsewhere);
    const Samples nothing = FullScans(nullptr, check);

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

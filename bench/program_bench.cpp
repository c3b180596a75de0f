// What the running program costs: yomikaze.exe for 120 s (or the seconds
// given as the first argument) with an imitation browser showing an article,
// the companion tool answering and the ranking on. CPU time, private bytes,
// working set and the handle, GDI and USER object counts at 10 s and at the
// end; the size of the program file. A minimal window program of our own is
// measured the same way beside it, so that what wine costs every process can
// be told apart from what the program adds.
#include "bench/bench_support.h"

#include "store/registry_layout.h"
#include "tests/hardening/process_meter.h"
#include "tests/observation/fixture_browser.h"
#include "tests/shell/e2e_support.h"
#include "tests/support/child_process.h"
#include "tests/support/private_profile.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>

namespace {

constexpr DWORD kFirstSampleMs = 10000;

void PrintFigures(const char* name, const ProcessFigures& f)
{
    std::printf("%-30s %9.0f %11.2f %9.2f %8lu %6lu %6lu %8lu\n", name, f.cpuMs, f.privateMiB,
                f.workingSetMiB, f.handles, f.gdiObjects, f.userObjects, f.windows);
}

std::optional<long long> FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double Growth(unsigned long before, unsigned long after)
{
    return static_cast<double>(after) - static_cast<double>(before);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // Arguments: the seconds to run, then "no-ranking" or "no-companion" to
    // leave that part out when looking for where the time goes.
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 120;
    bool ranking = true;
    bool withCompanion = true;
    for (int i = 2; i < argc; ++i) {
        ranking = ranking && std::wstring(argv[i]) != L"no-ranking";
        withCompanion = withCompanion && std::wstring(argv[i]) != L"no-companion";
    }
    const DWORD runMs = std::max<DWORD>(seconds, 20) * 1000;
    // A private %APPDATA% (no Firefox profiles) for the programs started from
    // here; the program itself uses the prefix's real HKCU.
    CreatePrivateProfile();
    UseRealHkcuWithoutProgramData();
    StoreDword(kSettingsKeyPath, L"HistryEnabled", ranking ? 1 : 0);

    const std::wstring log = PrivateAppData() + L"\\companion.log";
    ChildProcess companion(withCompanion ? L"companion_fixture.exe" : L"window_crowd_fixture.exe",
                           withCompanion ? L"\"--log=" + log + L"\"" : L"--count=1");
    FixtureBrowser browser(L"Chrome_WidgetWin_0",
                           {{L"Chrome_OmniboxView", L"ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC"}});
    // The baseline: a window program of ours that does nothing (the crowd
    // fixture with a single window).
    ChildProcess baseline(L"window_crowd_fixture.exe", L"--count=1 --class=YkBaselineWindow");
    RunningProgram program;
    if (!companion.Started() || !browser.Started() || !baseline.Started() || !program.Start()) {
        std::printf("could not start the program and its fixtures\n");
        return 2;
    }
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, program.Id());
    ProcessMeter meter(process, program.Id(), L"yomikaze.exe");
    ProcessMeter idleMeter(baseline.Handle(), baseline.Id(), L"window_crowd_fixture.exe");

    PumpMessagesFor(kFirstSampleMs);
    const ProcessFigures early = meter.Measure();
    const ProcessFigures idleEarly = idleMeter.Measure();
    const Stopwatch span;
    PumpMessagesFor(runMs - kFirstSampleMs);
    const ProcessFigures late = meter.Measure();
    const ProcessFigures idleLate = idleMeter.Measure();
    const double spanSeconds = span.Microseconds() / 1e6;

    // Save and exit as at log-off, then read what was counted.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(program.Window(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    if (!program.WaitForExit(10000)) {
        program.Kill();
    }
    CloseHandle(process);
    const std::optional<std::uint32_t> today = ReadStoredDword(kLogKeyPath, TodayKey().c_str());
    const std::optional<std::uint32_t> article = ReadStoredDword(kRankKeyPath, L"日本");
    DeleteProgramData();

    const unsigned long total = runMs / 1000;
    std::printf("Running program, %lu s with a reading fixture, %s and the ranking %s\n", total,
                withCompanion ? "the companion" : "no companion", ranking ? "on" : "off");
    std::printf("%-30s %9s %11s %9s %8s %6s %6s %8s\n", "sample", "cpu ms", "private MiB", "ws MiB",
                "handles", "gdi", "user", "windows");
    char name[64];
    PrintFigures("yomikaze.exe at 10 s", early);
    std::snprintf(name, sizeof name, "yomikaze.exe at %lu s", total);
    PrintFigures(name, late);
    PrintFigures("idle window program at 10 s", idleEarly);
    std::snprintf(name, sizeof name, "idle window program at %lu s", total);
    PrintFigures(name, idleLate);
    std::printf("stored: today %lu s, article %lu s (reading went on for about %lu s)\n",
                static_cast<unsigned long>(today.value_or(0)), static_cast<unsigned long>(article.value_or(0)),
                total);
    if (late.fromLinux) {
        std::printf("note: wine answers 0 for the private bytes and handle count of a process; CPU time\n"
                    "      (all threads) and private bytes (resident anonymous memory) come from its\n"
                    "      Linux process, the handle count from duplicating each of its handles.\n");
    }
    if (late.gdiObjects == 0 && late.userObjects == 0) {
        std::printf("note: GetGuiResources answers 0 under wine; the window count stands in for USER\n"
                    "      objects, and GDI objects cannot be counted from outside (the notice tests\n"
                    "      count them inside a process).\n");
    }
    const std::optional<long long> size = FileSize(ExecutableFolder() + L"yomikaze.exe");

    std::printf("\n");
    bool held = true;
    const double cpuPerSecond = (late.cpuMs - early.cpuMs) / spanSeconds;
    held &= PrintTarget("CPU per second of reading", cpuPerSecond, "ms", 1.0);
    std::printf("       (the idle window program: %.3f ms per second)\n",
                (idleLate.cpuMs - idleEarly.cpuMs) / spanSeconds);
    held &= PrintTarget("private bytes at the end", late.privateMiB, "MiB", 4.0);
    std::printf("       (the idle window program: %.2f MiB; yomikaze.exe beyond it: %.2f MiB)\n",
                idleLate.privateMiB, late.privateMiB - idleLate.privateMiB);
    held &= PrintTarget("growth of the handle count", Growth(early.handles, late.handles), "", 0);
    held &= PrintTarget("growth of the GDI object count", Growth(early.gdiObjects, late.gdiObjects), "", 0);
    held &= PrintTarget("growth of the USER object count", Growth(early.userObjects, late.userObjects), "", 0);
    held &= PrintTarget("growth of the window count", Growth(early.windows, late.windows), "", 0);
    PrintTarget("growth of private bytes", late.privateMiB - early.privateMiB, "MiB", 0.1);
    held &= PrintTarget("size of yomikaze.exe", static_cast<double>(size.value_or(1LL << 40)) / 1024.0, "KiB", 1024);
    DeletePrivateProfile();
    return held ? 0 : 1;
}

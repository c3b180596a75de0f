// The meter behind the soak test and the program benchmark must see what a
// process does, or their "no growth" proves nothing.
#include "tests/hardening/process_meter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

TEST(ProcessMeter, SeesHandlesWindowsAndMemoryGrow)
{
    ProcessMeter meter(GetCurrentProcess(), GetCurrentProcessId(), L"hardening_tests.exe");
    const ProcessFigures before = meter.Measure();
    std::vector<HANDLE> events;
    for (int i = 0; i < 50; ++i) {
        events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    const HWND window = CreateWindowExW(0, L"STATIC", L"meter", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    std::vector<char> block(16 << 20, 1);  // touched, so resident
    const ProcessFigures after = meter.Measure();
    EXPECT_GE(after.handles, before.handles + 50);
    EXPECT_GE(after.windows, before.windows + 1);
    EXPECT_GE(after.privateMiB, before.privateMiB + 15);
    std::printf("meter: handles %lu -> %lu, windows %lu -> %lu, private %.2f -> %.2f MiB (%s)\n",
                before.handles, after.handles, before.windows, after.windows, before.privateMiB,
                after.privateMiB, after.fromLinux ? "from /proc" : "from the system");
    DestroyWindow(window);
    for (HANDLE event : events) {
        CloseHandle(event);
    }
    // The first window of a thread opens lasting handles of its own, so only
    // the events are sure to be gone.
    EXPECT_LE(meter.Measure().handles + 50, after.handles);
}

}  // namespace

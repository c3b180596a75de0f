// The real program for a minute (YK_SOAK_SECONDS for longer) while an
// imitation browser switches between articles and other sites at seeded
// random moments: spells start and end, finish notices rise, the tray menu
// is opened and dismissed. At exit today's stored total must equal the last
// reading count the companion received, and the program's handle, GDI and
// USER counts must be back where they started.
#include "store/registry_layout.h"
#include "tests/hardening/process_meter.h"
#include "tests/hardening/random_text.h"
#include "tests/observation/fixture_browser.h"
#include "tests/shell/e2e_support.h"
#include "tests/support/child_process.h"
#include "tests/support/companion_log.h"
#include "tests/support/private_profile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

DWORD SoakSeconds()
{
    const char* text = std::getenv("YK_SOAK_SECONDS");
    const unsigned long value = text != nullptr ? std::strtoul(text, nullptr, 10) : 0;
    return value >= 30 ? static_cast<DWORD>(value) : 60;
}

bool MenuOpen() { return OpenPopupMenu() != nullptr; }

class Soak : public testing::Test {
protected:
    void SetUp() override { UseRealHkcuWithoutProgramData(); }
    void TearDown() override { DeleteProgramData(); }
};

TEST_F(Soak, ReadingSwitchingNoticesAndMenuForAMinute)
{
    StoreDword(kSettingsKeyPath, L"HistryEnabled", 1);
    const std::wstring log = PrivateAppData() + L"\\companion.log";
    ChildProcess companion(L"companion_fixture.exe", L"\"--log=" + log + L"\"");
    ASSERT_TRUE(companion.Started());
    const std::wstring elsewhere = L"www.example.com/news";
    FixtureBrowser browser(L"Chrome_WidgetWin_0", {{L"Chrome_OmniboxView", elsewhere}});
    ASSERT_TRUE(browser.Started());
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_DUP_HANDLE, FALSE, program.Id());
    ASSERT_NE(process, nullptr);
    ProcessMeter meter(process, program.Id(), L"yomikaze.exe");
    PumpMessagesFor(1500);
    const ProcessFigures start = meter.Measure();

    const std::vector<std::wstring> articles = {
        L"ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC", L"ja.wikipedia.org/wiki/Tokyo",
        L"en.wikipedia.org/wiki/Wind", L"ja.wikipedia.org/wiki/%E9%A2%A8#history",
        L"ja.wikipedia.org/w/index.php?title=Foo"};
    SeededRandom random(6060);
    const ULONGLONG end = GetTickCount64() + SoakSeconds() * 1000ull;
    ULONGLONG nextSwitch = 0;
    ULONGLONG nextMenu = GetTickCount64() + 7000;
    bool reading = false;
    bool noticeShown = false;
    int notices = 0;
    int menus = 0;
    int switches = 0;
    while (GetTickCount64() < end) {
        const ULONGLONG now = GetTickCount64();
        if (now >= nextSwitch) {
            reading = !reading;
            browser.SetText(0, reading ? random.Pick(articles) : elsewhere);
            // Reading for 1 to 9 s; away for 0.3 to 9 s, long enough now and
            // then for the spell to end and its notice to rise.
            nextSwitch = now + (reading ? 1000 + random.Below(8000) : 300 + random.Below(8700));
            ++switches;
        }
        if (now >= nextMenu) {
            ClickAt(TrayIconPoint(), 3);
            if (PumpUntil(MenuOpen, 5000)) {
                ++menus;
                PumpMessagesFor(300 + random.Below(1500));  // ticks go on while it is open
                RunUnix(L"/usr/bin/xdotool key Escape");
                if (!PumpUntil([] { return !MenuOpen(); }, 2000)) {
                    ClickAt(POINT{300, 200}, 1);
                }
                EXPECT_TRUE(PumpUntil([] { return !MenuOpen(); }, 3000)) << "the menu stayed open";
            }
            nextMenu = GetTickCount64() + 8000 + random.Below(6000);
        }
        const bool shown = IsWindowVisible(program.Window()) != FALSE;
        notices += shown && !noticeShown ? 1 : 0;
        noticeShown = shown;
        PumpMessagesFor(100);
    }
    // End on another site: the spell ends and its notice has come and gone.
    browser.SetText(0, elsewhere);
    PumpUntil([&] { return IsWindowVisible(program.Window()) != FALSE; }, 8000);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(program.Window()) == FALSE; }, 15000));
    PumpMessagesFor(500);
    const ProcessFigures finish = meter.Measure();

    DWORD_PTR answer = 0;
    SendMessageTimeoutW(program.Window(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    ASSERT_TRUE(program.WaitForExit(10000));
    CloseHandle(process);

    long long lastReading = -1;
    for (const FeedLine& line : ReadCompanionLog(log)) {
        const long long today = FeedSeconds(line.text, 0);
        lastReading = today >= 0 ? today : lastReading;
    }
    std::printf("soak: %lu s, %d switches, %d notices, %d menus; last reading count %lld; "
                "handles %lu -> %lu, gdi %lu -> %lu, user %lu -> %lu, windows %lu -> %lu\n",
                static_cast<unsigned long>(SoakSeconds()), switches, notices, menus, lastReading,
                start.handles, finish.handles, start.gdiObjects, finish.gdiObjects, start.userObjects,
                finish.userObjects, start.windows, finish.windows);
    ASSERT_GT(lastReading, 0);
    EXPECT_EQ(ReadStoredDword(kLogKeyPath, TodayKey().c_str()), static_cast<std::uint32_t>(lastReading));
    EXPECT_GT(notices, 0);
    EXPECT_GT(menus, 0);
    EXPECT_EQ(finish.handles, start.handles);
    EXPECT_EQ(finish.gdiObjects, start.gdiObjects);
    EXPECT_EQ(finish.userObjects, start.userObjects);
    EXPECT_EQ(finish.windows, start.windows);
}

}  // namespace

// The real program, started and ended the ways a user and Windows end it.
#include "accounting/reading_state.h"
#include "accounting/status_text.h"
#include "shell/shell_ids.h"
#include "shell/tray_icon.h"
#include "store/registry_layout.h"
#include "tests/shell/e2e_support.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

bool IsPopupMenuOpen() { return OpenPopupMenu() != nullptr; }

// The visible dialog of the program with this caption, or null.
HWND ProgramDialog(DWORD processId, const wchar_t* caption)
{
    HWND candidate = nullptr;
    while ((candidate = FindWindowExW(nullptr, candidate, L"#32770", caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(candidate, &owner);
        if (owner == processId && IsWindowVisible(candidate)) {
            return candidate;
        }
    }
    return nullptr;
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override { UseRealHkcuWithoutProgramData(); }
    void TearDown() override
    {
        program_.Kill();
        DeleteProgramData();
    }

    // The program has saved at least once: the day's total is stored.
    static bool Saved() { return ReadStoredDword(kLogKeyPath, TodayKey().c_str()).has_value(); }

    RunningProgram program_;
};

TEST_F(EndToEnd, StartsHiddenWithItsTrayIconAndCannotBeClosed)
{
    ASSERT_TRUE(program_.Start());
    const HWND window = program_.Window();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    EXPECT_STREQ(title, L"ヨミカゼ");
    // In a fresh prefix the taskbar may come up just after the program: its
    // "TaskbarCreated" then brings the icon.
    EXPECT_TRUE(PumpUntil([window] { return TrayIconExists(window); }, 5000));

    SendMessageW(window, WM_CLOSE, 0, 0);
    PumpMessagesFor(500);
    EXPECT_TRUE(program_.Running());
    EXPECT_FALSE(Saved());
}

TEST_F(EndToEnd, LeftClicksOnTheIconOpenNothing)
{
    ASSERT_TRUE(program_.Start());
    const POINT icon = TrayIconPoint();
    ClickAt(icon, 1);
    PumpMessagesFor(500);
    RunUnix(L"/usr/bin/xdotool click --repeat 2 --delay 80 1");
    PumpMessagesFor(700);
    EXPECT_FALSE(IsPopupMenuOpen());
    // The same through the callback message itself, as the shell sends it.
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}) {
        PostMessageW(program_.Window(), kTrayCallbackMessage, kTrayIconId, mouse);
    }
    PumpMessagesFor(700);
    EXPECT_FALSE(IsPopupMenuOpen());
    EXPECT_TRUE(program_.Running());
}

TEST_F(EndToEnd, EndOfSessionSavesAndLetsWindowsGoOn)
{
    StoreDword(kLogKeyPath, TodayKey().c_str(), 1234);
    ASSERT_TRUE(program_.Start());
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(program_.Window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    DWORD exitCode = 1;
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadStoredDword(kLogKeyPath, TodayKey().c_str()), 1234u);
    EXPECT_EQ(ReadStoredDword(kSettingsKeyPath, L"NotifyFinish"), 1u);
}

TEST_F(EndToEnd, SecondInstanceAnsweredNoLeavesTheFirstUntouched)
{
    ASSERT_TRUE(program_.Start());
    RunningProgram second;
    ASSERT_TRUE(second.Start(false));
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBoxOf(second.Id())) != nullptr; }, 10000));
    EXPECT_EQ(MessageBoxText(box),
              L"ヨミカゼは、すでに起動しています。\r\n現在起動中のヨミカゼを強制終了しますか?");
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    PumpMessagesFor(300);
    EXPECT_TRUE(program_.Running());
    EXPECT_TRUE(IsWindow(program_.Window()));
    EXPECT_FALSE(Saved());
}

TEST_F(EndToEnd, SecondInstanceAnsweredYesEndsTheFirstAfterItsExitSteps)
{
    StoreDword(kLogKeyPath, TodayKey().c_str(), 77);
    ASSERT_TRUE(program_.Start());
    const HWND first = program_.Window();
    RunningProgram second;
    ASSERT_TRUE(second.Start(false));
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBoxOf(second.Id())) != nullptr; }, 10000));
    PostMessageW(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(second.WaitForExit(15000));
    DWORD exitCode = 1;
    ASSERT_TRUE(program_.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadStoredDword(kLogKeyPath, TodayKey().c_str()), 77u);
    EXPECT_TRUE(ReadStoredDword(kSettingsKeyPath, L"NotifyFinish").has_value());
    EXPECT_FALSE(TrayIconExists(first));
}

TEST_F(EndToEnd, NoTaskbarIconMeansNoIconEvenAfterTheTaskbarIsRecreated)
{
    StoreDword(kSettingsKeyPath, L"NoTaskbarIcon", 1);
    ASSERT_TRUE(program_.Start());
    PumpMessagesFor(300);
    EXPECT_FALSE(TrayIconExists(program_.Window()));
    SendMessageW(program_.Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    PumpMessagesFor(300);
    EXPECT_FALSE(TrayIconExists(program_.Window()));
    EXPECT_EQ(ReadStoredDword(kSettingsKeyPath, L"NoTaskbarIcon"), 1u);
}

TEST_F(EndToEnd, TaskbarRecreationBringsTheIconBack)
{
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(PumpUntil([this] { return TrayIconExists(program_.Window()); }, 5000));
    NOTIFYICONDATAW record = TrayIconRecord(program_.Window(), nullptr, nullptr);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &record));  // as if the taskbar had gone
    EXPECT_FALSE(TrayIconExists(program_.Window()));
    SendMessageW(program_.Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    PumpMessagesFor(300);
    EXPECT_TRUE(TrayIconExists(program_.Window()));
}

TEST_F(EndToEnd, RestartOnTheSameDayContinuesTodaysTotal)
{
    StoreDword(kLogKeyPath, TodayKey().c_str(), 4000);
    ASSERT_TRUE(program_.Start());
    SendMessageW(program_.Window(), WM_QUERYENDSESSION, 0, 0);
    ASSERT_TRUE(program_.WaitForExit(10000));
    EXPECT_EQ(ReadStoredDword(kLogKeyPath, TodayKey().c_str()), 4000u);
}

TEST_F(EndToEnd, ExitFromTheTrayMenuWithTheMouse)
{
    ASSERT_TRUE(program_.Start());
    PumpMessagesFor(500);
    ASSERT_TRUE(PumpUntil([this] { return TrayIconExists(program_.Window()); }, 5000));
    const POINT icon = TrayIconPoint();
    RunUnix(L"/usr/bin/xdotool mousemove " + std::to_wstring(icon.x) + L" " +
            std::to_wstring(icon.y));
    PumpMessagesFor(1500);
    SaveScreenshot(L"tray-tooltip");
    RunUnix(L"/usr/bin/xdotool click 3");
    ASSERT_TRUE(PumpUntil(IsPopupMenuOpen, 5000));
    PumpMessagesFor(300);
    SaveScreenshot(L"tray-menu");
    ClickAt(TrayMenuItemPoint(15), 1);  // 終了(&X)
    DWORD exitCode = 1;
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(Saved());
    EXPECT_FALSE(TrayIconExists(program_.Window()));
}

TEST_F(EndToEnd, DialogsOpenFromTheMenuAndNoSecondMenuOpensMeanwhile)
{
    ASSERT_TRUE(program_.Start());
    PumpMessagesFor(300);
    const POINT icon = TrayIconPoint();

    ClickAt(icon, 3);
    ASSERT_TRUE(PumpUntil(IsPopupMenuOpen, 5000));
    ClickAt(TrayMenuItemPoint(0), 1);  // 過去1週間のログを表示(&W)
    HWND viewer = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (viewer = ProgramDialog(program_.Id(), L"記事閲覧ログ - ヨミカゼ")) != nullptr; },
        5000));
    EXPECT_TRUE(Saved()) << "opening the viewer saves first";
    PumpMessagesFor(300);
    SaveScreenshot(L"log-viewer-week");
    ClickAt(icon, 3);
    PumpMessagesFor(800);
    EXPECT_FALSE(IsPopupMenuOpen()) << "the menu's command is still running";
    PostMessageW(viewer, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(viewer); }, 5000));

    ClickAt(icon, 3);
    ASSERT_TRUE(PumpUntil(IsPopupMenuOpen, 5000));
    ClickAt(TrayMenuItemPoint(9), 1);  // アラーム(&A)
    HWND alarms = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (alarms = ProgramDialog(program_.Id(), L"アラーム設定")) != nullptr; }, 5000));
    PumpMessagesFor(300);
    SaveScreenshot(L"alarm-dialog");
    ClickAt(icon, 3);
    PumpMessagesFor(800);
    EXPECT_FALSE(IsPopupMenuOpen());
    PostMessageW(alarms, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(alarms); }, 5000));

    // With the command finished, the menu opens again.
    ClickAt(icon, 3);
    EXPECT_TRUE(PumpUntil(IsPopupMenuOpen, 5000));
    RunUnix(L"/usr/bin/xdotool mousemove 100 100 click 1");  // dismissed: no command
    PumpMessagesFor(500);
    EXPECT_FALSE(IsPopupMenuOpen());
    EXPECT_TRUE(program_.Running());
}

}  // namespace

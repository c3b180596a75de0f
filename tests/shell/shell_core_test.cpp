// MainWindow, the tray icon, the tray menu and the working folder, in this
// process against the real shell of the wine desktop.
#include "accounting/clock_collaborators.h"
#include "accounting/reading_state.h"
#include "resources/menu_ids.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "shell/shell_data.h"
#include "shell/shell_ids.h"
#include "shell/tray_icon.h"
#include "shell/tray_menu.h"
#include "shell/working_folder.h"
#include "store/registry_layout.h"
#include "store/settings.h"
#include "tests/support/child_process.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// The shell still knows the icon when it accepts a change to it.
bool IconExists(HWND window)
{
    NOTIFYICONDATAW record = TrayIconRecord(window, nullptr, L"probe");
    record.uFlags = NIF_MESSAGE;
    return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

struct FolderCase {
    const wchar_t* program;
    const wchar_t* folder;
};

class WorkingFolder : public testing::TestWithParam<FolderCase> {};

TEST_P(WorkingFolder, IsTheProgramsFolderWithADriveRootKeepingItsBackslash)
{
    EXPECT_EQ(ProgramFolderOf(GetParam().program), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Paths, WorkingFolder,
                         testing::Values(FolderCase{L"C:\\x.exe", L"C:\\"},
                                         FolderCase{L"C:\\Tools\\x.exe", L"C:\\Tools"},
                                         FolderCase{L"Z:\\work\\bin\\yomikaze.exe", L"Z:\\work\\bin"},
                                         FolderCase{L"\\\\server\\share\\x.exe", L"\\\\server\\share"},
                                         FolderCase{L"x.exe", L""},
                                         FolderCase{L"\\x.exe", L""}));

TEST(TrayRecord, IsClearedAndCutsTheTooltipTo63Characters)
{
    const HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));
    const HICON icon = reinterpret_cast<HICON>(static_cast<UINT_PTR>(0x99));
    const std::wstring longText(80, L'字');
    const NOTIFYICONDATAW record = TrayIconRecord(window, icon, longText.c_str());
    EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    EXPECT_EQ(record.hWnd, window);
    EXPECT_EQ(record.uID, 5458u);
    EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_USER));
    EXPECT_EQ(record.hIcon, icon);
    EXPECT_EQ(std::wstring(record.szTip), std::wstring(63, L'字'));
    EXPECT_EQ(TrayIconRecord(window, icon, nullptr).szTip[0], L'\0');
}

class TrayIcon : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
    }
    void TearDown() override
    {
        TrayDelete(window_);
        DestroyWindow(window_);
    }
    HWND window_ = nullptr;
};

TEST_F(TrayIcon, AddModifyDeleteReachTheShell)
{
    shell.idleIcon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_FALSE(IconExists(window_));
    TrayAdd(window_, L"ヨミカゼ[Pro] 待機中(本日合計 0:00:00)");
    EXPECT_TRUE(IconExists(window_));
    TrayModify(window_, LoadIconW(nullptr, IDI_INFORMATION), L"text");
    EXPECT_TRUE(IconExists(window_));
    TrayDelete(window_);
    EXPECT_FALSE(IconExists(window_));
}

struct MenuItem {
    UINT id;  // 0: separator
    const wchar_t* text;
};

TEST(TrayMenuResource, HoldsOnePopupWithTheFifteenItemsInOrder)
{
    const MenuItem expected[] = {
        {32772, L"過去1週間のログを表示(&W)"},
        {32775, L"過去1ヶ月のログを表示(&M)"},
        {32780, L"過去1年間のログを表示(&Y)"},
        {32782, L"記事ランキングを表示(&N)"},
        {0, nullptr},
        {32776, L"閲覧終了時に通知する(&E)"},
        {32777, L"閲覧中の区切りの良い時間ごとに通知する(&K)"},
        {32778, L"時報(&O)"},
        {32781, L"閲覧記事のランキングを行う(&R)"},
        {32779, L"アラーム(&A)"},
        {0, nullptr},
        {32774, L"ヘルプを表示(&H)"},
        {0, nullptr},
        {32783, L"スタートアップに登録(&U)"},
        {32771, L"バージョン情報(&B)"},
        {2, L"終了(&X)"},
    };
    const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTrayMenuId));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    wchar_t caption[16] = {};
    GetMenuStringW(menu, 0, caption, 16, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"ymk");
    const HMENU popup = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(std::size(expected)));
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        MENUITEMINFOW info{};
        wchar_t text[128] = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        ASSERT_TRUE(GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info));
        if (expected[i].text == nullptr) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
        } else {
            EXPECT_EQ(info.wID, expected[i].id) << i;
            EXPECT_STREQ(text, expected[i].text) << i;
        }
    }
    DestroyMenu(menu);
}

class TrayCommands : public testing::Test {
protected:
    void SetUp() override
    {
        settings = Settings{};
        menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTrayMenuId));
        popup_ = GetSubMenu(menu_, 0);
    }
    void TearDown() override { DestroyMenu(menu_); }

    bool Checked(UINT id) const
    {
        return (GetMenuState(popup_, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    HMENU menu_ = nullptr;
    HMENU popup_ = nullptr;
};

TEST_F(TrayCommands, CheckMarksShowTheOptionsAsTheMenuOpens)
{
    SetTrayMenuChecks(popup_);
    EXPECT_TRUE(Checked(32776)) << "the finish notice is on at first start";
    EXPECT_FALSE(Checked(32777));
    EXPECT_FALSE(Checked(32778));
    EXPECT_FALSE(Checked(32781));
    settings.notifyFinish = false;
    settings.notifyTime = true;
    settings.notifyHour = true;
    settings.historyEnabled = true;
    SetTrayMenuChecks(popup_);
    EXPECT_FALSE(Checked(32776));
    EXPECT_TRUE(Checked(32777));
    EXPECT_TRUE(Checked(32778));
    EXPECT_TRUE(Checked(32781));
}

TEST_F(TrayCommands, TogglesChangeOnlyTheirOwnOption)
{
    struct Toggle {
        UINT id;
        bool Settings::*field;
    };
    const Toggle toggles[] = {{32776, &Settings::notifyFinish},
                              {32777, &Settings::notifyTime},
                              {32778, &Settings::notifyHour},
                              {32781, &Settings::historyEnabled}};
    for (const Toggle& toggle : toggles) {
        const Settings before = settings;
        RunTrayCommand(nullptr, toggle.id);
        EXPECT_NE(settings.*toggle.field, before.*toggle.field) << toggle.id;
        RunTrayCommand(nullptr, toggle.id);
        EXPECT_EQ(settings.*toggle.field, before.*toggle.field) << "twice: unchanged";
    }
    // Nothing reaches the registry before the next save.
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(TrayCommands, DismissedMenuAndUnknownIdsDoNothing)
{
    const HWND window = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        nullptr, nullptr);
    for (UINT id : {0u, 1u, 32773u, 40000u}) {
        RunTrayCommand(window, id);
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(settings.notifyFinish);
    RunTrayCommand(window, 2);
    EXPECT_FALSE(IsWindow(window)) << "Exit destroys MainWindow";
}

// Today's stored total, -1 when there is none.
long long StoredToday()
{
    DWORD stored = 0;
    DWORD size = sizeof stored;
    if (RegGetValueW(HKEY_CURRENT_USER, kLogKeyPath, readingState.dayKey, RRF_RT_REG_DWORD,
                     nullptr, &stored, &size) != ERROR_SUCCESS) {
        return -1;
    }
    return stored;
}

// MainWindow made in this process exactly as the program makes it.
class MainWindowInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        readingState = ReadingState{};
        settings = Settings{};
        SYSTEMTIME now{};
        GetLocalTime(&now);
        SetToday(now);
        clockCollaborators = DefaultClockCollaborators();
        RegisterMainClass(GetModuleHandleW(nullptr));
        ASSERT_TRUE(CreateMainWindow(GetModuleHandleW(nullptr)));
        window_ = FindWindowW(kInstanceName, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override
    {
        if (IsWindow(window_)) {
            DestroyWindow(window_);
        }
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    HWND window_ = nullptr;
};

TEST_F(MainWindowInProcess, IsAHiddenLayeredTopmostToolWindowInTheBottomRightCorner)
{
    EXPECT_FALSE(IsWindowVisible(window_));
    const LONG_PTR exStyle = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongPtrW(window_, GWL_STYLE) & (WS_POPUP | WS_VISIBLE), WS_POPUP);
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT placed{};
    GetWindowRect(window_, &placed);
    EXPECT_EQ(placed.right, workArea.right);
    EXPECT_EQ(placed.bottom, workArea.bottom);
    EXPECT_TRUE(IconExists(window_));
    EXPECT_NE(shell.trayMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(shell.trayMenu), 16);
}

TEST_F(MainWindowInProcess, CloseIsIgnoredAndTheTaskbarsReturnBringsTheIconBack)
{
    SendMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window_));
    TrayDelete(window_);
    EXPECT_FALSE(IconExists(window_));
    SendMessageW(window_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconExists(window_));
}

TEST_F(MainWindowInProcess, EndOfSessionSavesDestroysAndLetsWindowsGoOn)
{
    readingState.todaySeconds = 321;
    MessageBoxCapture boxes;
    EXPECT_EQ(SendMessageW(window_, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(StoredToday(), 321);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    EXPECT_FALSE(IconExists(window_));
}

TEST_F(MainWindowInProcess, ExitStepsRunOnceWhenTheDestroyMessageComesTwice)
{
    // A force-quit sends WM_DESTROY; the window is destroyed later anyway.
    SendMessageW(window_, WM_DESTROY, 0, 0);
    readingState.todaySeconds = 999;  // a second run of the exit steps would store this
    DestroyWindow(window_);
    EXPECT_EQ(StoredToday(), 0);
}

TEST_F(MainWindowInProcess, OnlyARightButtonReleaseOnTheIconOpensTheMenu)
{
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE}) {
        SendMessageW(window_, kTrayCallbackMessage, kTrayIconId, mouse);
    }
    EXPECT_FALSE(menuOpen);
    // While a command of the menu still runs, a second menu does not open.
    menuOpen = true;
    SendMessageW(window_, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP);
    EXPECT_EQ(FindWindowW(L"#32768", nullptr) == nullptr ||
                  !IsWindowVisible(FindWindowW(L"#32768", nullptr)),
              true);
    menuOpen = false;
}

TEST_F(MainWindowInProcess, TickTimerDrivesTheClock)
{
    static int ticks = 0;
    ticks = 0;
    clockCollaborators.observationPass = [] { ++ticks; };
    PumpUntil([] { return ticks >= 2; }, 4000);
    EXPECT_GE(ticks, 2);
}

}  // namespace

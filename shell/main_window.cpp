#include "shell/main_window.h"

#include "accounting/companion_feed.h"
#include "accounting/notice_kind.h"
#include "accounting/reading_clock.h"
#include "accounting/reading_state.h"
#include "accounting/status_text.h"
#include "resources/resource_ids.h"
#include "resources/version.h"
#include "shell/notice_window.h"
#include "shell/shell_data.h"
#include "shell/shell_ids.h"
#include "shell/startup_shortcut.h"
#include "shell/tray_icon.h"
#include "shell/tray_menu.h"
#include "store/settings.h"
#include "store/settings_store.h"

namespace {

// Exit can be asked for more than once (a force-quit's WM_DESTROY, then the
// real destruction when the thread ends); its steps must run once.
bool exitStepsDone = false;

void AddTrayIconWithStandbyText(HWND window)
{
    wchar_t text[kStatusTextChars];
    FormatStandbyText(text, kStatusTextChars, readingState.todaySeconds);
    TrayAdd(window, text);
}

void OnCreate(HWND window)
{
    exitStepsDone = false;
    shell.readingIcon = static_cast<HICON>(
        LoadImageW(shell.instance, MAKEINTRESOURCEW(kReadingIconId), IMAGE_ICON, 0, 0, LR_SHARED));
    shell.idleIcon = static_cast<HICON>(
        LoadImageW(shell.instance, MAKEINTRESOURCEW(kIdleIconId), IMAGE_ICON, 0, 0, LR_SHARED));
    if (!settings.noTaskbarIcon) {
        AddTrayIconWithStandbyText(window);
    }
    shell.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    noticeFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SetTimer(window, kTickTimerId, kTickIntervalMs, nullptr);
    BuildShortcutPath();
}

void OnDestroy(HWND window)
{
    if (exitStepsDone) {
        return;
    }
    exitStepsDone = true;
    FeedCompanion(window, L"");
    KillTimer(window, kTickTimerId);
    if (readingState.noticeTimerId != 0) {
        KillTimer(window, readingState.noticeTimerId);
        readingState.noticeTimerId = 0;
    }
    if (shell.loadedMenu != nullptr) {
        DestroyMenu(shell.loadedMenu);
        shell.loadedMenu = nullptr;
        shell.trayMenu = nullptr;
    }
    ReleaseNoticeImage();
    TrayDelete(window);
    SaveSettings(window);
    ReleaseAlarmMessages();
    PostQuitMessage(0);
}

}  // namespace

void RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    windowClass.lpszClassName = kInstanceName;
    RegisterClassExW(&windowClass);
}

bool CreateMainWindow(HINSTANCE instance)
{
    shell.instance = instance;
    const HBITMAP picture = LoadBitmapW(instance, MAKEINTRESOURCEW(kNoticeBitmapId));
    if (picture == nullptr) {
        MessageBoxW(nullptr, L"ビットマップの読込みに失敗しました。", kProductCaption, MB_ICONERROR);
        return false;
    }
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    MeasureDpi();
    ComputeNoticeSize(size.bmWidth, size.bmHeight);

    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const HWND window = CreateWindowExW(
        WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kInstanceName, kProductCaption, WS_POPUP,
        workArea.right - noticeWidth, workArea.bottom - noticeHeight, noticeWidth, noticeHeight,
        nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        DeleteObject(picture);
        MessageBoxW(nullptr, L"ウィンドウの生成に失敗しました。", kProductCaption, MB_ICONERROR);
        return false;
    }
    PrepareNoticeImage(window, picture, size.bmWidth, size.bmHeight);
    DeleteObject(picture);
    shell.loadedMenu = LoadMenuW(instance, MAKEINTRESOURCEW(kTrayMenuId));
    shell.trayMenu = GetSubMenu(shell.loadedMenu, 0);
    ShowWindow(window, SW_HIDE);
    return true;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_PAINT:
        PaintNotice(window);
        return 0;
    case WM_CLOSE:
        // Only the menu's Exit, log-off and a force-quit end the program.
        return 0;
    case WM_QUERYENDSESSION:
        SaveSettings(window);
        DestroyWindow(window);
        return TRUE;
    case WM_TIMER:
        if (wParam == kTickTimerId) {
            ClockTick(window);
        } else if (IsNoticeTimer(wParam)) {
            StepNotice(window, wParam);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        NoticeClicked(window);
        return 0;
    case kTrayCallbackMessage:
        if (lParam == WM_RBUTTONUP) {
            ShowTrayMenu(window);
        }
        return 0;
    default:
        if (message == shell.taskbarCreatedMessage && shell.taskbarCreatedMessage != 0) {
            if (!settings.noTaskbarIcon) {
                AddTrayIconWithStandbyText(window);
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

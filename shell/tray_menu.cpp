#include "shell/tray_menu.h"

#include "reports/alarm_dialog.h"
#include "reports/log_viewer_dialog.h"
#include "reports/report_mode.h"
#include "resources/menu_ids.h"
#include "resources/resource_ids.h"
#include "shell/about_box.h"
#include "shell/help.h"
#include "shell/shell_data.h"
#include "shell/startup_shortcut.h"
#include "store/settings.h"

bool menuOpen = false;

namespace {

void Check(HMENU menu, TrayCommand command, bool on)
{
    CheckMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void OpenLogViewer(HWND mainWindow, TrayCommand command)
{
    reportMode = static_cast<std::uint32_t>(command);
    DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(kLogViewerDialogId), mainWindow,
                    LogViewerDialog, 0);
}

// Clears the busy flag however the command is left.
class MenuBusy {
public:
    MenuBusy() { menuOpen = true; }
    ~MenuBusy() { menuOpen = false; }
    MenuBusy(const MenuBusy&) = delete;
    MenuBusy& operator=(const MenuBusy&) = delete;
};

}  // namespace

void SetTrayMenuChecks(HMENU menu)
{
    Check(menu, TrayCommand::NotifyFinish, settings.notifyFinish);
    Check(menu, TrayCommand::NotifyTime, settings.notifyTime);
    Check(menu, TrayCommand::NotifyHour, settings.notifyHour);
    Check(menu, TrayCommand::History, settings.historyEnabled);
}

void RunTrayCommand(HWND mainWindow, UINT command)
{
    switch (static_cast<TrayCommand>(command)) {
    case TrayCommand::ShowWeek:
    case TrayCommand::ShowMonth:
    case TrayCommand::ShowYear:
    case TrayCommand::ShowRanking:
        OpenLogViewer(mainWindow, static_cast<TrayCommand>(command));
        break;
    case TrayCommand::NotifyFinish:
        settings.notifyFinish = !settings.notifyFinish;
        break;
    case TrayCommand::NotifyTime:
        settings.notifyTime = !settings.notifyTime;
        break;
    case TrayCommand::NotifyHour:
        settings.notifyHour = !settings.notifyHour;
        break;
    case TrayCommand::History:
        settings.historyEnabled = !settings.historyEnabled;
        break;
    case TrayCommand::Alarms:
        DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(kAlarmDialogId), mainWindow, AlarmDialog,
                        0);
        break;
    case TrayCommand::Help:
        ShowHelp(mainWindow);
        break;
    case TrayCommand::Startup:
        ToggleStartupShortcut(mainWindow);
        break;
    case TrayCommand::About:
        ShowAboutBox(mainWindow);
        break;
    case TrayCommand::Exit:
        DestroyWindow(mainWindow);
        break;
    }
}

void ShowTrayMenu(HWND mainWindow)
{
    // Always, so that a menu or dialog already open comes to the front.
    SetForegroundWindow(mainWindow);
    if (menuOpen) {
        return;
    }
    MenuBusy busy;
    SetTrayMenuChecks(shell.trayMenu);
    POINT cursor{};
    GetCursorPos(&cursor);
    Check(shell.trayMenu, TrayCommand::Startup, StartupShortcutExists());
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(shell.trayMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN | TPM_RIGHTALIGN,
                       cursor.x, cursor.y, 0, mainWindow, nullptr));
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageW(mainWindow, WM_NULL, 0, 0);
    RunTrayCommand(mainWindow, command);
}

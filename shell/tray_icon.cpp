#include "shell/tray_icon.h"

#include "shell/shell_data.h"
#include "shell/shell_ids.h"

#include <shellapi.h>

namespace {

// The first, smallest layout of the record (152 bytes in a 32-bit build):
// every shell version takes it, and its 64-character tooltip is all we use.
constexpr DWORD kRecordSize = NOTIFYICONDATAW_V1_SIZE;
#if !defined(_WIN64)
static_assert(kRecordSize == 152);
#endif

NOTIFYICONDATAW ClearedRecord(HWND mainWindow)
{
    NOTIFYICONDATAW record{};
    record.cbSize = kRecordSize;
    record.hWnd = mainWindow;
    record.uID = kTrayIconId;
    return record;
}

}  // namespace

NOTIFYICONDATAW TrayIconRecord(HWND mainWindow, HICON icon, const wchar_t* text)
{
    NOTIFYICONDATAW record = ClearedRecord(mainWindow);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kTrayCallbackMessage;
    record.hIcon = icon;
    if (text != nullptr) {
        lstrcpynW(record.szTip, text, kTrayTipChars + 1);
    }
    return record;
}

void TrayAdd(HWND mainWindow, const wchar_t* text)
{
    NOTIFYICONDATAW record = TrayIconRecord(mainWindow, shell.idleIcon, text);
    Shell_NotifyIconW(NIM_ADD, &record);
}

void TrayModify(HWND mainWindow, HICON icon, const wchar_t* text)
{
    NOTIFYICONDATAW record = TrayIconRecord(mainWindow, icon, text);
    Shell_NotifyIconW(NIM_MODIFY, &record);
}

void TrayDelete(HWND mainWindow)
{
    NOTIFYICONDATAW record = ClearedRecord(mainWindow);
    Shell_NotifyIconW(NIM_DELETE, &record);
}

#include "reports/alarm_dialog.h"

#include "resources/dialog_ids.h"
#include "store/settings.h"

#include <cstdint>
#include <new>

namespace {

void LoadAlarmFields(HWND dialog)
{
    for (int i = 0; i < kAlarmCount; ++i) {
        SendDlgItemMessageW(dialog, kAlarmOnIds[i], BM_SETCHECK,
                            settings.alarmEnabled[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    for (int i = 0; i < kAlarmCount; ++i) {
        SetDlgItemInt(dialog, kAlarmHourIds[i], settings.alarmHour[i], FALSE);
        SetDlgItemInt(dialog, kAlarmMinuteIds[i], settings.alarmMinute[i], FALSE);
    }
    // Two digits: hours 0 to 99 and minutes 0 to 99, stored as typed.
    for (const int id : kAlarmHourIds) {
        SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, 2, 0);
    }
    for (const int id : kAlarmMinuteIds) {
        SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, 2, 0);
    }
    for (int i = 0; i < kAlarmCount; ++i) {
        const wchar_t* message = settings.alarmMessage[i];
        SetDlgItemTextW(dialog, kAlarmMessageIds[i], message != nullptr ? message : L"");
    }
}

// An empty or non-numeric field reads as 0 (GetDlgItemInt's own result).
std::uint16_t ReadNumber(HWND dialog, int id)
{
    return static_cast<std::uint16_t>(GetDlgItemInt(dialog, id, nullptr, FALSE));
}

// Replaces the alarm's message with a new array holding the field's text; an
// empty field gives an empty text. The notice of an alarm that went off shows
// its own copy of the message, so the old array can go at once.
void StoreMessage(HWND dialog, int alarm)
{
    const int id = kAlarmMessageIds[alarm];
    const int length = GetWindowTextLengthW(GetDlgItem(dialog, id));
    delete[] settings.alarmMessage[alarm];
    settings.alarmMessage[alarm] = nullptr;
    wchar_t* message = new (std::nothrow) wchar_t[static_cast<size_t>(length) + 1]();
    if (message == nullptr) {
        return;  // the alarm's notice then shows no text
    }
    settings.alarmMessage[alarm] = message;
    GetDlgItemTextW(dialog, id, message, length + 1);
}

void StoreAlarmFields(HWND dialog)
{
    for (int i = 0; i < kAlarmCount; ++i) {
        settings.alarmEnabled[i] =
            SendDlgItemMessageW(dialog, kAlarmOnIds[i], BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    for (int i = 0; i < kAlarmCount; ++i) {
        settings.alarmHour[i] = ReadNumber(dialog, kAlarmHourIds[i]);
    }
    for (int i = 0; i < kAlarmCount; ++i) {
        settings.alarmMinute[i] = ReadNumber(dialog, kAlarmMinuteIds[i]);
    }
    for (int i = 0; i < kAlarmCount; ++i) {
        StoreMessage(dialog, i);
    }
}

}  // namespace

INT_PTR CALLBACK AlarmDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        LoadAlarmFields(dialog);
        return TRUE;  // the focus goes to the first tab stop, alarm 1's check box
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            StoreAlarmFields(dialog);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

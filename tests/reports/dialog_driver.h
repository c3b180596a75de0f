// Runs one of the program's modal dialogs for real (DialogBoxParamW on its
// resource) and drives it from inside its own message loop, so a test never
// waits for a person.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct DialogRun {
    INT_PTR result = -1;
    bool shown = false;       // the dialog became visible and was driven
    HWND dialog = nullptr;    // the dialog's window (destroyed by the time the run returns)
};

// Result given when the driver had to end a dialog that its drive left open.
inline constexpr INT_PTR kDialogLeftOpen = -77;

// Opens dialog `resourceId` with `procedure` and creation parameter 0. Once
// the dialog is visible, `drive` is called once with it, from the dialog's own
// loop; it is expected to end the dialog (a command, Esc, ...). A dialog left
// open is ended with kDialogLeftOpen and fails the test.
DialogRun RunDialog(WORD resourceId, DLGPROC procedure, const std::function<void(HWND)>& drive,
                    HWND owner = nullptr);

// A window's whole text, and a dialog control's.
std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
// Sends a command as a click on the control would.
void Click(HWND dialog, int id);

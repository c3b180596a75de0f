#include "tests/reports/dialog_driver.h"

#include <gtest/gtest.h>

namespace {

struct ActiveRun {
    DialogRun* run = nullptr;
    const std::function<void(HWND)>* drive = nullptr;
    HHOOK hook = nullptr;
    UINT_PTR timer = 0;
    int idleTicks = 0;
};

ActiveRun active;

constexpr UINT kPollMs = 20;
constexpr int kGiveUpTicks = 250;  // 5 s without a visible dialog

// The first dialog window created after the run starts is the dialog itself;
// boxes shown from its initialisation come after it.
LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && active.run != nullptr && active.run->dialog == nullptr) {
        const auto window = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (lstrcmpW(name, L"#32770") == 0 && (create->style & WS_CHILD) == 0) {
            active.run->dialog = window;
        }
    }
    return CallNextHookEx(active.hook, code, wParam, lParam);
}

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD)
{
    DialogRun& run = *active.run;
    if (run.dialog == nullptr || !IsWindowVisible(run.dialog)) {
        if (++active.idleTicks == kGiveUpTicks) {
            KillTimer(nullptr, active.timer);
            ADD_FAILURE() << "the dialog never became visible";
            if (run.dialog != nullptr) {
                EndDialog(run.dialog, kDialogLeftOpen);
            }
        }
        return;
    }
    // Once only: the drive may run nested loops (message boxes) of its own.
    KillTimer(nullptr, active.timer);
    run.shown = true;
    (*active.drive)(run.dialog);
    if (IsWindow(run.dialog) && IsWindowVisible(run.dialog)) {
        ADD_FAILURE() << "the drive left the dialog open";
        EndDialog(run.dialog, kDialogLeftOpen);
    }
}

}  // namespace

DialogRun RunDialog(WORD resourceId, DLGPROC procedure, const std::function<void(HWND)>& drive,
                    HWND owner)
{
    DialogRun run;
    active = ActiveRun{&run, &drive, nullptr, 0, 0};
    active.hook = SetWindowsHookExW(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
    active.timer = SetTimer(nullptr, 0, kPollMs, Poll);
    run.result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), owner,
                                 procedure, 0);
    KillTimer(nullptr, active.timer);
    UnhookWindowsHookEx(active.hook);
    active = ActiveRun{};
    return run;
}

std::wstring WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::wstring ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

void Click(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

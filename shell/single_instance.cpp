#include "shell/single_instance.h"

#include "resources/version.h"
#include "shell/shell_ids.h"

namespace {

// Long enough for the exit steps of a healthy copy, its final save included.
constexpr UINT kForceQuitTimeoutMs = 10000;

}  // namespace

InstanceMutex::InstanceMutex()
    : handle_(CreateMutexW(nullptr, TRUE, kInstanceName)),
      alreadyRunning_(GetLastError() == ERROR_ALREADY_EXISTS)
{
}

InstanceMutex::~InstanceMutex()
{
    if (handle_ != nullptr) {
        CloseHandle(handle_);
    }
}

void RunSecondInstancePath()
{
    const int answer = MessageBoxW(nullptr,
                                   L"ヨミカゼは、すでに起動しています。\r\n"
                                   L"現在起動中のヨミカゼを強制終了しますか?",
                                   kProductCaption, MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
        return;
    }
    const HWND running = FindWindowW(kInstanceName, nullptr);
    if (running == nullptr) {
        MessageBoxW(nullptr, L"ウィンドウの検出に失敗しました。強制終了に失敗しました。",
                    kProductCaption, MB_ICONERROR);
        return;
    }
    // WM_DESTROY runs the running copy's exit steps: it saves, removes its
    // icon and leaves its message loop. A copy that has stopped answering
    // must not hang this one too, so the wait is bounded; the running copy
    // still carries the message out whenever it gets to it.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(running, WM_DESTROY, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                        kForceQuitTimeoutMs, &ignored);
}

#include "tests/support/child_process.h"

#include <vector>

std::wstring ExecutableFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

OwnedProcess::~OwnedProcess()
{
    if (info_.hProcess != nullptr) {
        Kill();
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
}

bool OwnedProcess::Start(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info_) != FALSE;
}

bool OwnedProcess::Running() const
{
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool OwnedProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(info_.hProcess, exitCode);
    }
    return true;
}

void OwnedProcess::Kill()
{
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

ChildProcess::ChildProcess(const std::wstring& exeName, const std::wstring& arguments)
{
    static unsigned counter = 0;
    const std::wstring eventName = L"yk-ready-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(++counter);
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    if (process_.Start(ExecutableFolder() + exeName, arguments + L" --ready=" + eventName)) {
        const HANDLE waits[] = {ready, process_.Handle()};
        started_ = WaitForMultipleObjects(2, waits, FALSE, 10000) == WAIT_OBJECT_0;
    }
    CloseHandle(ready);
}

void PumpMessagesFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

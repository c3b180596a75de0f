#include "tests/support/child_process.h"

#include <vector>

std::wstring ExecutableFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

ChildProcess::ChildProcess(const std::wstring& exeName, const std::wstring& arguments)
{
    static unsigned counter = 0;
    const std::wstring eventName = L"yk-ready-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(++counter);
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    const std::wstring exe = ExecutableFolder() + exeName;
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments + L" --ready=" + eventName;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info_)) {
        const HANDLE waits[] = {ready, info_.hProcess};
        started_ = WaitForMultipleObjects(2, waits, FALSE, 10000) == WAIT_OBJECT_0;
    }
    CloseHandle(ready);
}

ChildProcess::~ChildProcess()
{
    if (info_.hProcess != nullptr) {
        Kill();
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
}

bool ChildProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(info_.hProcess, exitCode);
    }
    return true;
}

void ChildProcess::Kill()
{
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
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

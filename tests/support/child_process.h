// A fixture program started in its own process for a test, ended with it.
#pragma once

#include <windows.h>

#include <string>

// Folder of the running test executable (fixtures are built beside it), with
// a trailing backslash.
std::wstring ExecutableFolder();

// A started process, killed (if still running) when the object ends.
class OwnedProcess {
public:
    OwnedProcess() = default;
    ~OwnedProcess();
    OwnedProcess(const OwnedProcess&) = delete;
    OwnedProcess& operator=(const OwnedProcess&) = delete;

    // Starts the executable at `exe` with the arguments; false on failure.
    bool Start(const std::wstring& exe, const std::wstring& arguments);
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool Running() const;
    // Waits for the process to end; false on timeout.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    void Kill();

private:
    PROCESS_INFORMATION info_{};
};

class ChildProcess {
public:
    // Starts ExecutableFolder() + exeName with the arguments and waits (up to
    // 10 s) until the child signals the event named by the last argument that
    // the fixture receives: "--ready=<name>". Check Started().
    ChildProcess(const std::wstring& exeName, const std::wstring& arguments);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return process_.Id(); }
    HANDLE Handle() const { return process_.Handle(); }
    // Waits for a normal exit; false on timeout.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr)
    {
        return process_.WaitForExit(timeoutMs, exitCode);
    }
    void Kill() { process_.Kill(); }

private:
    OwnedProcess process_;
    bool started_ = false;
};

// Runs the thread's message loop for the given time (timers, posted and sent
// messages all delivered).
void PumpMessagesFor(DWORD milliseconds);
// Pumps until the predicate holds or the time is up; returns the predicate.
template <typename Predicate>
bool PumpUntil(Predicate predicate, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!predicate()) {
        if (GetTickCount64() >= end) {
            return predicate();
        }
        PumpMessagesFor(10);
    }
    return true;
}

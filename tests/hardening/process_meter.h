// What another process costs, read from outside: CPU time, memory, handles,
// GDI and USER objects, windows. Under wine several of the per-process
// queries answer 0 (GetProcessHandleCount, the private bytes of
// GetProcessMemoryInfo, GetGuiResources) and its process times move in 10 ms
// steps of the main thread only; the meter then counts the live handles by
// duplicating each handle value (the process handle needs
// PROCESS_DUP_HANDLE), and reads the Linux process (found through /proc by
// its program name and WINEPREFIX) for CPU time (the scheduler's figures for
// all its threads) and resident private memory.
#pragma once

#include <windows.h>

#include <string>

struct ProcessFigures {
    double cpuMs = 0;             // user + kernel, all threads
    double privateMiB = 0;        // private bytes (resident anonymous memory under wine)
    double workingSetMiB = 0;
    unsigned long handles = 0;
    unsigned long gdiObjects = 0;   // 0 where GetGuiResources is not answered
    unsigned long userObjects = 0;  // 0 where GetGuiResources is not answered
    unsigned long windows = 0;      // top-level and child windows of the process
    bool fromLinux = false;         // CPU and memory read from /proc
};

class ProcessMeter {
public:
    // `exeName` is the program's file name, used to find its Linux process.
    ProcessMeter(HANDLE process, DWORD processId, const std::wstring& exeName);
    ProcessFigures Measure();

private:
    HANDLE process_;
    DWORD processId_;
    std::wstring exeName_;
    long unixPid_ = -1;
};

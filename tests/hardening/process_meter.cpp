#include "tests/hardening/process_meter.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A Linux file read through wine's view of the root as drive Z:.
std::string ReadLinuxFile(const std::wstring& path)
{
    const HANDLE file = CreateFileW((L"Z:" + path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (content.size() < (1u << 20) && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    CloseHandle(file);
    return content;
}

std::string Narrow(const std::wstring& text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    return out;
}

// The newest Linux process whose command line names the program and whose
// environment holds this prefix.
long FindUnixPid(const std::wstring& exeName)
{
    wchar_t prefix[1024] = {};
    GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
    const std::string wanted = "WINEPREFIX=" + Narrow(prefix);
    const std::string name = Narrow(exeName);
    long best = -1;
    unsigned long long bestStart = 0;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return -1;
    }
    do {
        wchar_t* end = nullptr;
        const long pid = std::wcstol(entry.cFileName, &end, 10);
        if (pid <= 0 || *end != L'\0') {
            continue;
        }
        const std::wstring folder = L"\\proc\\" + std::wstring(entry.cFileName);
        const std::string command = ReadLinuxFile(folder + L"\\cmdline");
        if (command.find(name) == std::string::npos) {
            continue;
        }
        std::string environment = ReadLinuxFile(folder + L"\\environ");
        std::replace(environment.begin(), environment.end(), '\0', '\n');
        if (!prefix[0] || (environment + "\n").find(wanted + "\n") == std::string::npos) {
            continue;
        }
        // Field 22 of stat: the start time, after the name in parentheses.
        const std::string stat = ReadLinuxFile(folder + L"\\stat");
        const std::size_t close = stat.rfind(')');
        unsigned long long start = 0;
        if (close != std::string::npos) {
            const char* p = stat.c_str() + close + 2;
            for (int field = 3; field < 22 && *p != '\0'; ++field) {
                p = std::strchr(p, ' ');
                p = p != nullptr ? p + 1 : "";
            }
            start = std::strtoull(p, nullptr, 10);
        }
        if (best < 0 || start >= bestStart) {
            best = pid;
            bestStart = start;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return best;
}

double KibLineMiB(const std::string& status, const char* key)
{
    const std::size_t at = status.find(key);
    return at == std::string::npos ? 0 : std::strtod(status.c_str() + at + std::strlen(key), nullptr) / 1024.0;
}

struct WindowTally {
    DWORD process;
    unsigned long count;
};

BOOL CALLBACK TallyOne(HWND window, LPARAM data)
{
    auto* tally = reinterpret_cast<WindowTally*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    tally->count += owner == tally->process ? 1 : 0;
    return TRUE;
}

BOOL CALLBACK TallyTree(HWND window, LPARAM data)
{
    TallyOne(window, data);
    EnumChildWindows(window, TallyOne, data);
    return TRUE;
}

// The handle count from the system's process list.
unsigned long ListedHandleCount(DWORD processId)
{
    using Query = LONG(NTAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return 0;
    }
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(5 /* SystemProcessInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
        if (buffer.size() >= (64u << 20)) {
            return 0;
        }
        buffer.resize(buffer.size() * 2);
    }
    // Entries need not be aligned for the record type: copy each one out
    // rather than read it in place.
    for (std::size_t at = 0; at + sizeof(SYSTEM_PROCESS_INFORMATION) <= buffer.size();) {
        SYSTEM_PROCESS_INFORMATION entry;
        std::memcpy(&entry, buffer.data() + at, sizeof entry);
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry.UniqueProcessId)) == processId) {
            return entry.HandleCount;
        }
        if (entry.NextEntryOffset == 0) {
            return 0;
        }
        at += entry.NextEntryOffset;
    }
    return 0;
}

// The live handles of `process`, found by duplicating every handle value
// below the table's size: wine's process list gives only that size, in steps
// of 32. Needs PROCESS_DUP_HANDLE.
unsigned long ProbeHandleCount(HANDLE process, unsigned long tableSize)
{
    unsigned long live = 0;
    for (ULONG_PTR value = 4; value <= (tableSize + 32) * 4; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                            FALSE, DUPLICATE_SAME_ACCESS)) {
            ++live;
            CloseHandle(copy);
        }
    }
    return live;
}

// CPU time of all the threads of a Linux process in nanosecond resolution:
// the first field of each task's schedstat. 0 when the kernel keeps none.
double ScheduledMs(const std::wstring& folder)
{
    double total = 0;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((L"Z:" + folder + L"\\task\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') {
            continue;
        }
        const std::string line = ReadLinuxFile(folder + L"\\task\\" + entry.cFileName + L"\\schedstat");
        total += std::strtod(line.c_str(), nullptr) / 1e6;
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return total;
}

double FileTimeMs(const FILETIME& time)
{
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    return static_cast<double>(value.QuadPart) / 10000.0;
}

}  // namespace

ProcessMeter::ProcessMeter(HANDLE process, DWORD processId, const std::wstring& exeName)
    : process_(process), processId_(processId), exeName_(exeName)
{
}

ProcessFigures ProcessMeter::Measure()
{
    ProcessFigures figures;
    FILETIME created;
    FILETIME exited;
    FILETIME kernel{};
    FILETIME user{};
    GetProcessTimes(process_, &created, &exited, &kernel, &user);
    figures.cpuMs = FileTimeMs(kernel) + FileTimeMs(user);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        figures.privateMiB = static_cast<double>(memory.PrivateUsage) / (1024.0 * 1024.0);
        figures.workingSetMiB = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
    }
    DWORD handles = 0;
    GetProcessHandleCount(process_, &handles);
    figures.handles = handles != 0 ? handles : ProbeHandleCount(process_, ListedHandleCount(processId_));
    figures.gdiObjects = GetGuiResources(process_, GR_GDIOBJECTS);
    figures.userObjects = GetGuiResources(process_, GR_USEROBJECTS);
    WindowTally tally{processId_, 0};
    EnumWindows(TallyTree, reinterpret_cast<LPARAM>(&tally));
    figures.windows = tally.count;

    if (figures.privateMiB == 0) {
        if (unixPid_ < 0) {
            unixPid_ = FindUnixPid(exeName_);
        }
        if (unixPid_ > 0) {
            const std::wstring folder = L"\\proc\\" + std::to_wstring(unixPid_);
            const double scheduled = ScheduledMs(folder);
            const std::string stat = ReadLinuxFile(folder + L"\\stat");
            const std::size_t close = stat.rfind(')');
            if (close != std::string::npos) {
                // Fields 14 and 15: user and system time in clock ticks of 10 ms.
                const char* p = stat.c_str() + close + 2;
                for (int field = 3; field < 14 && *p != '\0'; ++field) {
                    p = std::strchr(p, ' ');
                    p = p != nullptr ? p + 1 : "";
                }
                char* next = nullptr;
                const unsigned long long utime = std::strtoull(p, &next, 10);
                const unsigned long long stime = std::strtoull(next, nullptr, 10);
                figures.cpuMs = static_cast<double>(utime + stime) * 10.0;
            }
            if (scheduled > 0) {
                figures.cpuMs = scheduled;
            }
            const std::string status = ReadLinuxFile(folder + L"\\status");
            figures.privateMiB = KibLineMiB(status, "RssAnon:");
            figures.workingSetMiB = KibLineMiB(status, "VmRSS:");
            figures.fromLinux = true;
        }
    }
    return figures;
}

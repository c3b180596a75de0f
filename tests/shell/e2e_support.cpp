#include "tests/shell/e2e_support.h"

#include "shell/shell_ids.h"
#include "shell/tray_icon.h"
#include "store/registry_layout.h"
#include "tests/support/child_process.h"

#include <shellapi.h>

#include <cwchar>
#include <vector>

void UseRealHkcuWithoutProgramData()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    DeleteProgramData();
}

std::wstring TodayKey()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t key[16];
    std::swprintf(key, 16, L"%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
    return key;
}

void DeleteProgramData() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Marvoke"); }

std::optional<std::uint32_t> ReadStoredDword(const wchar_t* keyPath, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath, name, RRF_RT_REG_DWORD, &type, &value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void StoreDword(const wchar_t* keyPath, const wchar_t* name, std::uint32_t value)
{
    const DWORD data = value;
    RegSetKeyValueW(HKEY_CURRENT_USER, keyPath, name, REG_DWORD, &data, sizeof data);
}

void RunUnix(const std::wstring& commandLine)
{
    std::wstring line = L"Z:" + commandLine;
    const size_t space = line.find(L' ');
    for (size_t i = 0; i < (space == std::wstring::npos ? line.size() : space); ++i) {
        if (line[i] == L'/') {
            line[i] = L'\\';
        }
    }
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        WaitForSingleObject(info.hProcess, 30000);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

std::wstring UnixPathOf(const std::wstring& windowsPath)
{
    std::wstring path = windowsPath;
    if (path.size() >= 2 && (path[0] == L'Z' || path[0] == L'z') && path[1] == L':') {
        path.erase(0, 2);
    }
    for (wchar_t& c : path) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    return path;
}

void SaveScreenshot(const std::wstring& name)
{
    const std::wstring folder = ExecutableFolder() + L"..\\screenshots";
    CreateDirectoryW(folder.c_str(), nullptr);
    RunUnix(L"/usr/bin/import -window root " + UnixPathOf(folder) + L"/" + name + L".png");
}

bool RunningProgram::Start(bool expectWindow)
{
    if (!process_.Start(ExecutableFolder() + L"yomikaze.exe", L"")) {
        return false;
    }
    if (!expectWindow) {
        return true;
    }
    const DWORD id = process_.Id();
    return PumpUntil(
        [this, id] {
            HWND candidate = nullptr;
            while ((candidate = FindWindowExW(nullptr, candidate, kInstanceName, nullptr)) !=
                   nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(candidate, &owner);
                if (owner == id) {
                    window_ = candidate;
                    return true;
                }
            }
            return false;
        },
        15000);
}

namespace {

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (owner == search->processId && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindText(HWND child, LPARAM param)
{
    auto* text = reinterpret_cast<std::wstring*>(param);
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0 && (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
        wchar_t buffer[1024] = {};
        GetWindowTextW(child, buffer, 1024);
        if (buffer[0] != L'\0') {
            *text = buffer;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

HWND FindMessageBoxOf(DWORD processId)
{
    BoxSearch search{processId, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring MessageBoxText(HWND box)
{
    std::wstring text;
    EnumChildWindows(box, FindText, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool TrayIconExists(HWND mainWindow)
{
    NOTIFYICONDATAW record = TrayIconRecord(mainWindow, nullptr, nullptr);
    record.uFlags = NIF_MESSAGE;
    return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

POINT TrayIconPoint()
{
    RECT taskbar{};
    GetWindowRect(FindWindowW(L"Shell_TrayWnd", nullptr), &taskbar);
    return POINT{taskbar.right - 12, (taskbar.top + taskbar.bottom) / 2};
}

HWND OpenPopupMenu()
{
    const HWND menu = FindWindowW(L"#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

POINT TrayMenuItemPoint(int index)
{
    constexpr int kBorder = 3;
    constexpr int kSeparator = 9;
    constexpr bool kIsSeparator[16] = {false, false, false, false, true,  false, false, false,
                                       false, false, true,  false, true,  false, false, false};
    RECT menu{};
    GetWindowRect(OpenPopupMenu(), &menu);
    const int item = (menu.bottom - menu.top - 2 * kBorder - 3 * kSeparator) / 13;
    int y = menu.top + kBorder;
    for (int i = 0; i < index; ++i) {
        y += kIsSeparator[i] ? kSeparator : item;
    }
    return POINT{menu.left + 40, y + item / 2};
}

void ClickAt(POINT point, int button)
{
    RunUnix(L"/usr/bin/xdotool mousemove " + std::to_wstring(point.x) + L" " +
            std::to_wstring(point.y) + L" click " + std::to_wstring(button));
}

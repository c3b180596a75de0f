// Support for end-to-end tests of the real program: yomikaze.exe started in
// its own process against the prefix's real HKCU, driven from outside with
// window messages and, like a person would, with xdotool.
#pragma once

#include "tests/support/child_process.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>

// The program's data lives in the real HKCU: the test process gives up its
// private HKCU override and removes what earlier runs left.
void UseRealHkcuWithoutProgramData();
void DeleteProgramData();
// Today's value name in the daily log.
std::wstring TodayKey();

std::optional<std::uint32_t> ReadStoredDword(const wchar_t* keyPath, const wchar_t* name);
void StoreDword(const wchar_t* keyPath, const wchar_t* name, std::uint32_t value);

// Runs a Linux program (e.g. L"/usr/bin/xdotool key Return") and waits for it.
void RunUnix(const std::wstring& commandLine);
// Saves a PNG of the whole X screen into <build>/screenshots/<name>.png.
void SaveScreenshot(const std::wstring& name);
// The build folder's Linux path (for screenshots and logs).
std::wstring UnixPathOf(const std::wstring& windowsPath);

class RunningProgram {
public:
    // Starts yomikaze.exe; true when its MainWindow appeared (or, with
    // expectWindow false, when the process started).
    bool Start(bool expectWindow = true);
    HWND Window() const { return window_; }
    DWORD Id() const { return process_.Id(); }
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr)
    {
        return process_.WaitForExit(timeoutMs, exitCode);
    }
    bool Running() const { return process_.Running(); }
    void Kill() { process_.Kill(); }

private:
    OwnedProcess process_;
    HWND window_ = nullptr;
};

// The message box of another process with this caption, or null.
HWND FindMessageBoxOf(DWORD processId);
std::wstring MessageBoxText(HWND box);

// Whether the shell holds an icon of this window with the program's icon id
// (it accepts a change to it only then).
bool TrayIconExists(HWND mainWindow);
// Where a person would click the program's icon: wine's taskbar draws tray
// icons from its right end, and in the test desktop ours is the only one.
POINT TrayIconPoint();

// The open tray menu (class "#32768") of any process, or null.
HWND OpenPopupMenu();
// Where to click item `index` (0-based, separators counted) of the open tray
// menu: its 13 items share the height left by the borders and 3 separators.
POINT TrayMenuItemPoint(int index);
// Clicks a point of the screen with the left (1) or right (3) button.
void ClickAt(POINT point, int button);

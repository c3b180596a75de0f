// Starting the program at log-on: a shortcut to it in the user's Startup
// folder. The file is the only record of the choice; nothing is stored.
#pragma once

#include <windows.h>

#include <cstddef>

inline constexpr std::size_t kShortcutPathChars = 520;
// The shortcut's full path, built once when MainWindow is created. Empty when
// the Startup folder cannot be determined: then nothing is found there and
// creating the shortcut fails with its message.
extern wchar_t shortcutPath[kShortcutPathChars];

// Joins `folder`, a backslash unless the folder is empty or already ends in
// "\" or "/", and "ヨミカゼ.lnk". An empty result when it does not fit.
void JoinShortcutPath(const wchar_t* folder, wchar_t* out, std::size_t outChars);
// Fills shortcutPath from the current user's Startup folder.
void BuildShortcutPath();

bool StartupShortcutExists();
// Writes a shell link to `targetPath` at shortcutPath; true when it was saved.
// Needs COM initialised on the calling thread.
bool CreateStartupShortcut(const wchar_t* targetPath);
// The tray command: asks, then deletes or creates the shortcut and says how
// that went, in message boxes owned by `owner`.
void ToggleStartupShortcut(HWND owner);

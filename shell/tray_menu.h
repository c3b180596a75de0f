// The tray menu: opened by a right click on the icon, it runs the chosen
// command before it returns.
#pragma once

#include <windows.h>

// Set from the moment the menu is about to open until its command has
// finished (dialogs and message boxes included), so that no second menu
// opens inside the first or inside a command started from it.
extern bool menuOpen;

void ShowTrayMenu(HWND mainWindow);
// Check marks from the current options, read as the menu opens.
void SetTrayMenuChecks(HMENU menu);
// Runs one command of the menu; 0 and unknown ids do nothing.
void RunTrayCommand(HWND mainWindow, UINT command);

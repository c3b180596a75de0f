// Handles the shell holds from window creation to exit.
#pragma once

#include <windows.h>

struct ShellData {
    HINSTANCE instance;
    HICON readingIcon;  // shared icons: never destroyed
    HICON idleIcon;
    UINT taskbarCreatedMessage;
    HMENU loadedMenu;   // menu resource 131, destroyed at exit
    HMENU trayMenu;     // its first popup
};

extern ShellData shell;

// MainWindow: the program's only top-level window. It receives the tick, the
// notice timers and the tray callbacks, and it is the notice window itself.
#pragma once

#include <windows.h>

void RegisterMainClass(HINSTANCE instance);
// True when MainWindow exists with its image and menu; false after a
// failure message.
bool CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

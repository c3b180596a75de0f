// The error box of a failed save: owned by the window the save was given,
// captioned with the program's name, a stop icon and OK.
#pragma once

#include <windows.h>

void ShowSaveError(HWND owner, const wchar_t* text);

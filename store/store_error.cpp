#include "store/store_error.h"

#include "resources/version.h"

void ShowSaveError(HWND owner, const wchar_t* text)
{
    MessageBoxW(owner, text, kProductCaption, MB_OK | MB_ICONERROR);
}

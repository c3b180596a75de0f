#include "store/store_error.h"

namespace {

constexpr wchar_t kProgramCaption[] = L"ヨミカゼ";

}  // namespace

void ShowSaveError(HWND owner, const wchar_t* text)
{
    MessageBoxW(owner, text, kProgramCaption, MB_OK | MB_ICONERROR);
}

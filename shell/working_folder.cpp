#include "shell/working_folder.h"

#include <windows.h>

std::wstring ProgramFolderOf(const std::wstring& programPath)
{
    for (size_t i = programPath.size(); i-- > 1;) {
        if (programPath[i] == L'\\') {
            // Positions up to 4 are a drive root such as "C:\": keep the backslash.
            return programPath.substr(0, i > 4 ? i : i + 1);
        }
    }
    return std::wstring();
}

void SetWorkingFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    const std::wstring folder = ProgramFolderOf(std::wstring(path, length));
    if (!folder.empty()) {
        SetCurrentDirectoryW(folder.c_str());
    }
}

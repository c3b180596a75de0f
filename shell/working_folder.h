// The program's own folder becomes the current directory, so that relative
// paths (the help file) resolve there whoever started the program.
#pragma once

#include <string>

// The folder of a program path: cut at the last backslash, except that a
// drive root keeps its backslash ("C:\x.exe" gives "C:\"). Empty when the
// path holds no backslash after its first character.
std::wstring ProgramFolderOf(const std::wstring& programPath);

void SetWorkingFolder();

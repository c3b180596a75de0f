// The version box: the program's name, version, edition, legal notice and web
// address, read from its own version resource.
#pragma once

#include <windows.h>

#include <string>

struct VersionStrings {
    std::wstring fileVersion;
    std::wstring fileDescription;
    std::wstring specialBuild;
    std::wstring legalCopyright;
};

// The four strings of the Japanese, UTF-16 string table of `modulePath`'s
// version resource. False when the file has no version resource or no
// FileVersion; the other three count as empty when missing.
bool ReadVersionStrings(const wchar_t* modulePath, VersionStrings* out);

// The box's text. FileVersion "1, 6, 7, 0" reads 1.67, a fourth number of 2
// adds the letter b (1.67b); a FileVersion without four numbers is shown as
// it is written.
std::wstring AboutText(const VersionStrings& strings);

// The tray command: the box for the running program, owned by `owner`.
// Shows nothing when the program has no version resource or no FileVersion.
void ShowAboutBox(HWND owner);
// The same for the program file at `modulePath`.
void ShowAboutBoxFor(HWND owner, const wchar_t* modulePath);

// The help command: the HTML Help viewer at the help file's first page.
#pragma once

#include <windows.h>

// The help file's first page, relative to the current directory, which start-
// up makes the program's own folder.
inline constexpr wchar_t kHelpTopicFormat[] = L".\\ymk.chm::/_RESOURCE/%ls";
inline constexpr wchar_t kHelpFirstPage[] = L"HLP000001.html";
inline constexpr int kHelpTopicChars = 260;

// Opens the help viewer owned by `owner`. The viewer's HtmlHelpW is looked up
// on the first use; while it cannot be found, the command does nothing.
void ShowHelp(HWND owner);

// The library that provides HtmlHelpW ("hhctrl.ocx"), loaded from the system
// folder unless given with a path. Changing it forgets a viewer found before.
void UseHelpControl(const wchar_t* library);

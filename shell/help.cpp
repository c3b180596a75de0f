#include "shell/help.h"

#include <cwchar>
#include <string>

namespace {

// HtmlHelpW's type and the command that opens a topic, as the viewer defines
// them.
using HtmlHelpFunction = HWND(WINAPI*)(HWND caller, const wchar_t* file, UINT command,
                                       DWORD_PTR data);
constexpr UINT HH_DISPLAY_TOPIC = 0x0000;

std::wstring helpControl = L"hhctrl.ocx";
HtmlHelpFunction htmlHelp = nullptr;

// A bare file name is taken from the system folder only, so that a file of
// that name beside the program or in the current folder is never loaded.
std::wstring HelpControlPath()
{
    if (helpControl.find_first_of(L"\\/") != std::wstring::npos) {
        return helpControl;
    }
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::wstring();
    }
    return std::wstring(system) + L"\\" + helpControl;
}

// A lookup that fails is tried again at the next command, so that a viewer
// installed meanwhile is found.
HtmlHelpFunction FindHtmlHelp()
{
    if (htmlHelp != nullptr) {
        return htmlHelp;
    }
    const std::wstring path = HelpControlPath();
    if (path.empty()) {
        return nullptr;
    }
    const HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) {
        return nullptr;
    }
    const FARPROC found = GetProcAddress(module, "HtmlHelpW");
    if (found == nullptr) {
        FreeLibrary(module);
        return nullptr;
    }
    htmlHelp = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void (*)()>(found));
    return htmlHelp;
}

}  // namespace

void UseHelpControl(const wchar_t* library)
{
    // The module stays loaded: a viewer window it opened may still be alive.
    htmlHelp = nullptr;
    helpControl = library;
}

void ShowHelp(HWND owner)
{
    const HtmlHelpFunction viewer = FindHtmlHelp();
    if (viewer == nullptr) {
        return;
    }
    wchar_t topic[kHelpTopicChars];
    std::swprintf(topic, kHelpTopicChars, kHelpTopicFormat, kHelpFirstPage);
    viewer(owner, topic, HH_DISPLAY_TOPIC, 0);
}

#include "shell/startup_shortcut.h"

#include "resources/version.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cwchar>
#include <string>

wchar_t shortcutPath[kShortcutPathChars] = L"";

namespace {

constexpr wchar_t kShortcutName[] = L"" YK_PRODUCT_NAME L".lnk";

constexpr wchar_t kAskDelete[] = L"スタートアップのショートカットを削除しますか?";
constexpr wchar_t kDeleted[] = L"ショートカットを削除しました。\n\n";
constexpr wchar_t kDeleteFailed[] = L"ショートカットの削除に失敗しました。\n\n";
constexpr wchar_t kAskCreate[] =
    L"このユーザーへログオンしたときに、ヨミカゼを起動できるようにしますか?\r\n\r\n"
    L"※[はい]を押すと、このユーザーのスタートメニュー内のスタートアップに、"
    L"ヨミカゼへのショートカットを作成します。";
constexpr wchar_t kCreateFailed[] = L"ショートカットの作成に失敗しました。\n\n";
constexpr wchar_t kCreated[] = L"下記の位置にヨミカゼへのショートカットを作成しました。\r\n\r\n";

void Tell(HWND owner, const wchar_t* message, UINT icon)
{
    const std::wstring text = std::wstring(message) + shortcutPath;
    MessageBoxW(owner, text.c_str(), kProductCaption, icon);
}

bool Ask(HWND owner, const wchar_t* question)
{
    return MessageBoxW(owner, question, kProductCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The program's own file. A path cut short by the buffer counts as a failure:
// a shortcut to it would start nothing.
bool ProgramPath(wchar_t* out, DWORD chars)
{
    const DWORD length = GetModuleFileNameW(nullptr, out, chars);
    return length != 0 && length < chars;
}

}  // namespace

void JoinShortcutPath(const wchar_t* folder, wchar_t* out, std::size_t outChars)
{
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    path += kShortcutName;
    if (outChars == 0) {
        return;
    }
    if (path.size() >= outChars) {
        out[0] = L'\0';
        return;
    }
    std::wmemcpy(out, path.c_str(), path.size() + 1);
}

void BuildShortcutPath()
{
    shortcutPath[0] = L'\0';
    PIDLIST_ABSOLUTE folderId = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &folderId))) {
        return;
    }
    wchar_t folder[MAX_PATH] = L"";
    const bool found = SHGetPathFromIDListW(folderId, folder) != FALSE && folder[0] != L'\0';
    CoTaskMemFree(folderId);
    if (found) {
        JoinShortcutPath(folder, shortcutPath, kShortcutPathChars);
    }
}

bool StartupShortcutExists()
{
    // No "insert a disk" box when the folder lies on a removed drive.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAW data;
    const HANDLE search = FindFirstFileW(shortcutPath, &data);
    SetErrorMode(previousMode);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

bool CreateStartupShortcut(const wchar_t* targetPath)
{
    if (shortcutPath[0] == L'\0') {
        return false;  // no Startup folder was found
    }
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        link->Release();
        return false;
    }
    link->SetPath(targetPath);
    link->SetShowCmd(SW_SHOW);
    link->SetWorkingDirectory(L"");
    link->SetIconLocation(L"", 0);
    link->SetHotkey(0);
    link->SetDescription(L"");
    link->SetArguments(L"");
    const HRESULT saved = file->Save(shortcutPath, TRUE);
    file->Release();
    link->Release();
    return saved == S_OK;
}

void ToggleStartupShortcut(HWND owner)
{
    if (StartupShortcutExists()) {
        if (!Ask(owner, kAskDelete)) {
            return;
        }
        if (DeleteFileW(shortcutPath)) {
            Tell(owner, kDeleted, MB_ICONINFORMATION);
        } else {
            Tell(owner, kDeleteFailed, MB_ICONERROR);
        }
        return;
    }
    if (!Ask(owner, kAskCreate)) {
        return;
    }
    wchar_t program[kShortcutPathChars];
    if (ProgramPath(program, kShortcutPathChars) && CreateStartupShortcut(program)) {
        Tell(owner, kCreated, MB_ICONINFORMATION);
    } else {
        Tell(owner, kCreateFailed, MB_ICONERROR);
    }
}

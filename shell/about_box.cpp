#include "shell/about_box.h"

#include "resources/version.h"

#include <cwchar>
#include <vector>

namespace {

constexpr wchar_t kAboutCaption[] = L"バージョン情報";
constexpr wchar_t kWebSite[] = L"" YK_WEBSITE;
constexpr DWORD kModulePathChars = 520;
// The version letter: 1 gives 'a', 2 gives 'b', ... A number whose letter
// would fall outside the plain characters of UTF-16 gets none.
constexpr unsigned kLetterBase = 96;
constexpr unsigned kLastPlainCharacter = 0xD7FF;

// One string of the Japanese, UTF-16 table; false when it is not there.
bool QueryString(const std::vector<BYTE>& block, const wchar_t* name, std::wstring* out)
{
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || value == nullptr) {
        return false;
    }
    // The length counts characters, with the terminator when there is one;
    // never read beyond it.
    const wchar_t* text = static_cast<const wchar_t*>(value);
    out->assign(text, wcsnlen(text, length));
    return true;
}

std::wstring VersionNumberText(const std::wstring& fileVersion)
{
    unsigned a = 0;
    unsigned b = 0;
    unsigned c = 0;
    unsigned d = 0;
    if (std::swscanf(fileVersion.c_str(), L"%u,%u,%u,%u", &a, &b, &c, &d) != 4) {
        return fileVersion;
    }
    wchar_t number[64];
    std::swprintf(number, 64, L"%u.%u%u", a, b, c);
    std::wstring text = number;
    if (d != 0 && d <= kLastPlainCharacter - kLetterBase) {
        text += static_cast<wchar_t>(kLetterBase + d);
    }
    return text;
}

}  // namespace

bool ReadVersionStrings(const wchar_t* modulePath, VersionStrings* out)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(modulePath, &ignored);
    if (size == 0) {
        return false;
    }
    // Two spare zero bytes, so that a string at the very end is terminated.
    std::vector<BYTE> block(static_cast<std::size_t>(size) + 2, 0);
    if (!GetFileVersionInfoW(modulePath, 0, size, block.data())) {
        return false;
    }
    *out = VersionStrings{};
    if (!QueryString(block, L"FileVersion", &out->fileVersion)) {
        return false;
    }
    QueryString(block, L"FileDescription", &out->fileDescription);
    QueryString(block, L"SpecialBuild", &out->specialBuild);
    QueryString(block, L"LegalCopyright", &out->legalCopyright);
    return true;
}

std::wstring AboutText(const VersionStrings& strings)
{
    return strings.fileDescription + L" version " + VersionNumberText(strings.fileVersion) +
           L" (x86) \r\n" + strings.specialBuild + L"\r\n\r\n" + strings.legalCopyright +
           L"\r\n\r\n[WebSite]\r\n" + kWebSite;
}

void ShowAboutBoxFor(HWND owner, const wchar_t* modulePath)
{
    VersionStrings strings;
    if (!ReadVersionStrings(modulePath, &strings)) {
        return;
    }
    MessageBoxW(owner, AboutText(strings).c_str(), kAboutCaption, MB_ICONINFORMATION);
}

void ShowAboutBox(HWND owner)
{
    wchar_t path[kModulePathChars];
    const DWORD length = GetModuleFileNameW(nullptr, path, kModulePathChars);
    if (length == 0 || length >= kModulePathChars) {
        path[0] = L'\0';
    }
    ShowAboutBoxFor(owner, path);
}

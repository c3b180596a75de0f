#include "tests/observation/helper_files.h"

#include "tests/support/private_profile.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

std::wstring ProfilesFolder() { return PrivateAppData() + L"\\Mozilla\\Firefox\\Profiles\\"; }

std::wstring HelperPath(const std::wstring& profile)
{
    return ProfilesFolder() + profile + L"\\ymkhelp_urltext.txt";
}

void WriteRawFile(const std::wstring& path, const std::string& bytes)
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void WriteHelperFile(const std::wstring& path, const HelperContent& content)
{
    std::wstring text;
    if (content.byteOrderMark) {
        text += L'\xFEFF';
    }
    text += content.marker;
    text += L' ';
    text += content.address;
    WriteRawFile(path, std::string(reinterpret_cast<const char*>(text.data()),
                                   text.size() * sizeof(wchar_t)));
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

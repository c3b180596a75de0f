#include "tests/support/private_profile.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace {

std::wstring appDataPath;
std::wstring hkcuPath;
HKEY privateHkcu = nullptr;

}  // namespace

const std::wstring& PrivateAppData() { return appDataPath; }
const std::wstring& PrivateHkcuPath() { return hkcuPath; }

void CreatePrivateProfile()
{
    const std::wstring tag = std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount64());
    hkcuPath = L"Software\\YomikazeTests\\" + tag;
    RegCreateKeyExW(HKEY_CURRENT_USER, hkcuPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                    KEY_ALL_ACCESS, nullptr, &privateHkcu, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, privateHkcu);

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    appDataPath = std::wstring(temp) + L"yk-test-" + tag + L"\\AppData\\Roaming";
    std::error_code ignored;
    std::filesystem::create_directories(appDataPath, ignored);
    SetEnvironmentVariableW(L"APPDATA", appDataPath.c_str());
}

void ResetPrivateProfile()
{
    // A test may have overridden HKCU itself (to make it unwritable); undo that.
    RegOverridePredefKey(HKEY_CURRENT_USER, privateHkcu);
    RegDeleteTreeW(privateHkcu, nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(appDataPath, ignored);
    std::filesystem::create_directories(appDataPath, ignored);
    SetEnvironmentVariableW(L"APPDATA", appDataPath.c_str());
}

void DeletePrivateProfile()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(privateHkcu);
    privateHkcu = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, hkcuPath.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, hkcuPath.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(appDataPath).parent_path().parent_path(),
                                ignored);
}

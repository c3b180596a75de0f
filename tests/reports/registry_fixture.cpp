#include "tests/reports/registry_fixture.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

HKEY CreateKey(const wchar_t* keyPath)
{
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                           &key, nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << keyPath;
    return key;
}

}  // namespace

void StoreDword(const wchar_t* keyPath, const wchar_t* name, std::uint32_t value)
{
    const HKEY key = CreateKey(keyPath);
    const DWORD data = value;
    EXPECT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                             sizeof data),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void StoreText(const wchar_t* keyPath, const wchar_t* name, const std::wstring& text)
{
    const HKEY key = CreateKey(keyPath);
    EXPECT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void CreateEmptyKey(const wchar_t* keyPath)
{
    RegCloseKey(CreateKey(keyPath));
}

bool KeyExists(const wchar_t* keyPath)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool ValueExists(const wchar_t* keyPath, const wchar_t* name)
{
    return RegGetValueW(HKEY_CURRENT_USER, keyPath, name, RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

std::uint32_t StoredDword(const wchar_t* keyPath, const wchar_t* name, std::uint32_t missing)
{
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath, name, RRF_RT_REG_DWORD, nullptr, &data,
                     &size) != ERROR_SUCCESS) {
        return missing;
    }
    return data;
}

SYSTEMTIME Date(unsigned year, unsigned month, unsigned day)
{
    SYSTEMTIME date = {};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    return date;
}

std::wstring DayKeyOf(const SYSTEMTIME& date)
{
    wchar_t key[16] = {};
    std::swprintf(key, 16, L"%04d%02d%02d", date.wYear, date.wMonth, date.wDay);
    return key;
}

std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end = text.find(L"\r\n"); end != std::wstring::npos;
         end = text.find(L"\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

// Writing and inspecting the stored keys directly, beside the code under test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Creates the key (and the keys above it) when missing and sets one value.
void StoreDword(const wchar_t* keyPath, const wchar_t* name, std::uint32_t value);
void StoreText(const wchar_t* keyPath, const wchar_t* name, const std::wstring& text);
void CreateEmptyKey(const wchar_t* keyPath);
bool KeyExists(const wchar_t* keyPath);
bool ValueExists(const wchar_t* keyPath, const wchar_t* name);
// The stored REG_DWORD, or `missing` when there is none.
std::uint32_t StoredDword(const wchar_t* keyPath, const wchar_t* name, std::uint32_t missing);

SYSTEMTIME Date(unsigned year, unsigned month, unsigned day);
// "%04d%02d%02d" of the date.
std::wstring DayKeyOf(const SYSTEMTIME& date);
// The text cut into its "\r\n"-terminated lines (without the line ends).
std::vector<std::wstring> Lines(const std::wstring& text);

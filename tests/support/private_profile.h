// Each test process gets an HKEY_CURRENT_USER and an %APPDATA% of its own, so
// test executables never see each other's data and can run side by side.
#pragma once

#include <string>

// Scratch folder standing in for %APPDATA% (no trailing backslash).
const std::wstring& PrivateAppData();
// Path of the scratch key (under the real HKCU) that stands in for HKCU.
const std::wstring& PrivateHkcuPath();

void CreatePrivateProfile();
// Empties the private HKCU and %APPDATA% (run before every test).
void ResetPrivateProfile();
void DeletePrivateProfile();

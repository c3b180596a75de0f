// Helper files written as the Firefox add-on writes them, into the test's
// private %APPDATA%.
#pragma once

#include <string>

// PrivateAppData() + "\Mozilla\Firefox\Profiles\" (with the backslash).
std::wstring ProfilesFolder();
// The helper file of one profile folder (the folder need not exist).
std::wstring HelperPath(const std::wstring& profile);

struct HelperContent {
    wchar_t marker;
    std::wstring address;
    bool byteOrderMark = true;
};

// Creates the profile folder when needed and writes the file anew: the
// byte-order mark when asked, the marker, one spare code unit, the address.
void WriteHelperFile(const std::wstring& path, const HelperContent& content);
// Writes raw bytes (an empty file, a file shorter than its header).
void WriteRawFile(const std::wstring& path, const std::string& bytes);
// Deletes a folder with everything in it, also below paths longer than
// MAX_PATH, which the library's own removal gives up on.
void RemoveTree(const std::wstring& folder);

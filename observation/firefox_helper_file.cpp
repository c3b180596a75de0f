#include "observation/firefox_helper_file.h"

#include "accounting/reading_state.h"
#include "observation/url_recognizer.h"

#include <windows.h>

#include <cwchar>

wchar_t helperFilePath[kPathChars];
std::uint16_t lastHelperMarker = kNoHelperMarker;

namespace {

constexpr wchar_t kProfilesFolder[] = L"%APPDATA%\\Mozilla\\Firefox\\Profiles\\";
constexpr wchar_t kHelperFileName[] = L"ymkhelp_urltext.txt";
constexpr wchar_t kByteOrderMark = 0xFEFF;
// Only the start of the file is read; the buffer has one more code unit, which
// stays zero, so the text always ends with a NUL.
constexpr DWORD kHelperReadBytes = 4198;
constexpr int kHelperBufferUnits = 2100;
static_assert(kHelperReadBytes < kHelperBufferUnits * sizeof(wchar_t));

// Owns a handle that Closer::Close releases; INVALID_HANDLE_VALUE holds
// nothing. (A closer type rather than the function itself: the address of an
// imported function is no constant for a template argument everywhere.)
template <typename Closer>
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE) {
            Closer::Close(handle_);
        }
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

struct FileCloser {
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct FindCloser {
    static void Close(HANDLE handle) { FindClose(handle); }
};
using FileHandle = ScopedHandle<FileCloser>;
using FindHandle = ScopedHandle<FindCloser>;

// The add-on keeps writing while we read: share both reading and writing.
bool ReadStart(const wchar_t* path, wchar_t (&data)[kHelperBufferUnits])
{
    const FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        return false;
    }
    // A short or failed read leaves zeros, which read as an empty address.
    DWORD bytesRead = 0;
    ReadFile(file.Get(), data, kHelperReadBytes, &bytesRead, nullptr);
    return true;
}

// True when the file holds a new marker and a recognised address.
bool ReadNewAddress(const wchar_t* path)
{
    wchar_t data[kHelperBufferUnits] = {};
    if (!ReadStart(path, data)) {
        return false;
    }
    const wchar_t* marker = data[0] == kByteOrderMark ? data + 1 : data;
    if (*marker == lastHelperMarker) {
        return false;  // not written anew since the previous read
    }
    lastHelperMarker = *marker;
    // The marker and the code unit after it come before the address.
    return RecognizeUrl(marker + 2);
}

bool FitsInPath(const wchar_t* path) { return std::wcslen(path) < static_cast<size_t>(kPathChars); }

}  // namespace

bool ReadHelperFile(const wchar_t* path)
{
    if (path == nullptr) {
        if (helperFilePath[0] == L'\0') {
            return false;
        }
        if (!ReadNewAddress(helperFilePath)) {
            helperFilePath[0] = L'\0';
            return false;
        }
    } else {
        if (!FitsInPath(path) || !ReadNewAddress(path)) {
            return false;
        }
        lstrcpynW(helperFilePath, path, kPathChars);
    }
    readingState.graceTicks = kGraceFull;
    return true;
}

bool ScanFirefoxProfiles()
{
    wchar_t folder[kPathChars];
    const DWORD expanded = ExpandEnvironmentStringsW(kProfilesFolder, folder, kPathChars);
    if (expanded == 0 || expanded > static_cast<DWORD>(kPathChars)) {
        return false;  // an application-data folder too long for the buffers
    }
    wchar_t pattern[kPathChars];
    if (std::swprintf(pattern, kPathChars, L"%ls*", folder) < 0) {
        return false;
    }
    WIN32_FIND_DATAW entry;
    const FindHandle search(FindFirstFileW(pattern, &entry));
    if (!search.IsOpen()) {
        return false;
    }
    bool anyRecognised = false;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            continue;
        }
        if (lstrcmpW(entry.cFileName, L".") == 0 || lstrcmpW(entry.cFileName, L"..") == 0) {
            continue;
        }
        wchar_t path[kPathChars];
        if (std::swprintf(path, kPathChars, L"%ls%ls\\%ls", folder, entry.cFileName,
                          kHelperFileName) < 0) {
            continue;  // a profile whose path does not fit is skipped
        }
        if (ReadHelperFile(path)) {
            anyRecognised = true;
        }
    } while (FindNextFileW(search.Get(), &entry));
    return anyRecognised;
}

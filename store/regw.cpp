#include "store/regw.h"

#include <cstring>
#include <cwchar>
#include <limits>
#include <memory>
#include <new>
#include <string>

namespace {

constexpr wchar_t kWarningCaption[] = L"Registory Class";
constexpr wchar_t kReportRequest[] =
    L"このメッセージが表示されたら、現在編集している/していたダイアログの名前を、"
    L"メッセージの内容と共に正確に作者まで報告して下さい。";

constexpr wchar_t kDoubleOpen[] =
    L"レジストリキーを多重オープンしようとしたので保護しました(REGW::OpenKey())。";
constexpr wchar_t kDoubleClose[] =
    L"レジストリを多重クローズしようとしたので保護しました(REGW::CloseKey)。";
constexpr wchar_t kValueExistUnheld[] =
    L"開かれていないキーを対象に ValueExistW が行われようとしたので保護します。";
constexpr wchar_t kReadIntegerUnheld[] =
    L"開かれていないキーを対象に ReadIntegerW が行われようとしたので保護します。";
constexpr wchar_t kWriteStringUnheld[] =
    L"開かれていないキーを対象に WriteStringW が行われようとしたので保護します。";
constexpr wchar_t kWriteIntegerUnheld[] =
    L"開かれていないキーを対象に WriteIntegerW が行われようとしたので保護します。";
constexpr wchar_t kDeleteValueUnheld[] =
    L"開かれていないキーを対象に REGW::DeleteValue が行われようとしたので保護します。";
constexpr wchar_t kReadStringUnheld[] =
    L"開かれていないキーを対象に (new)RegReadStringW が行われようとしたので保護します。";
constexpr wchar_t kAutoClose[] = L"レジストリを自動クローズしました。";

// GetVersionExA's record as the platform defines its size.
constexpr DWORD kVersionRecordSize = 148;
static_assert(sizeof(OSVERSIONINFOA) == kVersionRecordSize);
constexpr DWORD kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT
constexpr std::uint16_t kVersion40 = 0x0400;
constexpr std::uint16_t kVersion51 = 0x0501;

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();

// Addressed to the developer: the calling code misused the wrapper.
void ShowMisuseWarning(const wchar_t* firstLine)
{
    const std::wstring text = std::wstring(firstLine) + L"\n" + kReportRequest;
    MessageBoxW(nullptr, text.c_str(), kWarningCaption, MB_OK | MB_ICONWARNING);
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads the text as a number text ("+", "-" or a digit, then digits only).
// The data is scanned only over the whole characters it holds, so a value
// stored without its terminating null (or with an odd size) is never read
// beyond its end.
bool ParseNumberText(const BYTE* data, DWORD size, std::int32_t* value)
{
    const DWORD characters = size / sizeof(wchar_t);
    auto at = [data](DWORD index) {
        wchar_t c;
        std::memcpy(&c, data + index * sizeof(wchar_t), sizeof c);
        return c;
    };
    if (characters == 0) {
        return false;
    }
    const wchar_t first = at(0);
    if (first != L'+' && first != L'-' && !IsDigit(first)) {
        return false;
    }
    const bool negative = first == L'-';
    // Magnitude, stopped just beyond the range so that long texts cannot overflow.
    std::int64_t magnitude = IsDigit(first) ? first - L'0' : 0;
    for (DWORD i = 1; i < characters; ++i) {
        const wchar_t c = at(i);
        if (c == L'\0') {
            break;
        }
        if (!IsDigit(c)) {
            return false;
        }
        if (magnitude <= kInt32Max + 1) {
            magnitude = magnitude * 10 + (c - L'0');
        }
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    *value = static_cast<std::int32_t>(signedValue > kInt32Max   ? kInt32Max
                                       : signedValue < kInt32Min ? kInt32Min
                                                                 : signedValue);
    return true;
}

std::uint16_t CurrentPlatformVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = kVersionRecordSize;
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // the wrapper relies on the reported, not the manifested, version
#endif
    GetVersionExA(&info);
    return regw_rules::PlatformVersion(info);
}

}  // namespace

namespace regw_rules {

std::uint16_t PlatformVersion(const OSVERSIONINFOA& info)
{
    if (info.dwPlatformId == kPlatformNt) {
        return static_cast<std::uint16_t>(((info.dwMajorVersion & 0xFF) << 8) |
                                          (info.dwMinorVersion & 0xFF));
    }
    const auto packed = static_cast<std::uint16_t>(info.dwBuildNumber >> 16);
    return packed == 0 ? kVersion51 : packed;
}

DWORD StringValueType(bool existingIsExpand, bool unnamedValue, std::uint16_t platformVersion)
{
    if (unnamedValue && platformVersion == kVersion40) {
        return REG_SZ;
    }
    return existingIsExpand ? REG_EXPAND_SZ : REG_SZ;
}

std::uint32_t ConvertValue(DWORD type, const BYTE* data, DWORD size, std::uint32_t defaultValue)
{
    BYTE first4[4] = {};  // bytes the data lacks count as 0
    std::memcpy(first4, data, size < sizeof first4 ? size : sizeof first4);
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
        std::int32_t value = 0;
        return ParseNumberText(data, size, &value) ? static_cast<std::uint32_t>(value)
                                                   : defaultValue;
    }
    case REG_BINARY:
    case REG_DWORD:
    case REG_QWORD:
        return static_cast<std::uint32_t>(first4[0]) |
               (static_cast<std::uint32_t>(first4[1]) << 8) |
               (static_cast<std::uint32_t>(first4[2]) << 16) |
               (static_cast<std::uint32_t>(first4[3]) << 24);
    case REG_DWORD_BIG_ENDIAN:
        return (static_cast<std::uint32_t>(first4[0]) << 24) |
               (static_cast<std::uint32_t>(first4[1]) << 16) |
               (static_cast<std::uint32_t>(first4[2]) << 8) |
               static_cast<std::uint32_t>(first4[3]);
    default:
        return defaultValue;
    }
}

}  // namespace regw_rules

REGW::~REGW()
{
    if (key_ != nullptr) {
        CloseKey();
        ShowMisuseWarning(kAutoClose);
    }
}

bool REGW::OpenKey(const wchar_t* path, unsigned flags)
{
    if (key_ != nullptr) {
        CloseKey();
        ShowMisuseWarning(kDoubleOpen);
    }
    if (path == nullptr) {
        return false;
    }
    const REGSAM access = (flags & OpenReadOnly) != 0 ? KEY_READ : KEY_ALL_ACCESS;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &key) != ERROR_SUCCESS) {
        key = nullptr;
        // Any failure of the open counts, not only an absent key.
        if ((flags & OpenCreate) != 0 &&
            RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            key = nullptr;
        }
    }
    key_ = key;
    return key_ != nullptr;
}

bool REGW::CloseKey()
{
    if (key_ == nullptr) {
        ShowMisuseWarning(kDoubleClose);
        return false;
    }
    const LONG result = RegCloseKey(key_);
    key_ = nullptr;
    return result == ERROR_SUCCESS;
}

std::int32_t REGW::ValueExistW(const wchar_t* name)
{
    if (key_ == nullptr) {
        ShowMisuseWarning(kValueExistUnheld);
        return -1;
    }
    DWORD size = 0;
    if (RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return -1;
    }
    return size > static_cast<DWORD>(kInt32Max) ? static_cast<std::int32_t>(kInt32Max)
                                                : static_cast<std::int32_t>(size);
}

std::uint32_t REGW::ReadIntegerW(const wchar_t* name, std::uint32_t defaultValue)
{
    if (key_ == nullptr) {
        ShowMisuseWarning(kReadIntegerUnheld);
        return defaultValue;
    }
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return defaultValue;
    }
    // One spare zero byte as ever; the conversion itself never relies on it.
    const std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[std::size_t{size} + 1]());
    if (!buffer) {
        return defaultValue;
    }
    DWORD readSize = size;
    if (RegQueryValueExW(key_, name, nullptr, &type, buffer.get(), &readSize) != ERROR_SUCCESS) {
        return defaultValue;
    }
    return regw_rules::ConvertValue(type, buffer.get(), readSize, defaultValue);
}

bool REGW::WriteStringW(const wchar_t* name, const wchar_t* text)
{
    if (key_ == nullptr) {
        ShowMisuseWarning(kWriteStringUnheld);
        return false;
    }
    if (text == nullptr) {
        text = L"";
    }
    DWORD existingType = REG_NONE;
    const bool existingIsExpand =
        RegQueryValueExW(key_, name, nullptr, &existingType, nullptr, nullptr) ==
            ERROR_SUCCESS &&
        existingType == REG_EXPAND_SZ;
    // The version matters only for the unnamed value, so it is asked only then.
    const bool unnamed = name == nullptr || name[0] == L'\0';
    const DWORD type = regw_rules::StringValueType(existingIsExpand, unnamed,
                                                   unnamed ? CurrentPlatformVersion() : 0);
    const std::size_t characters = std::wcslen(text) + 1;
    if (characters > std::numeric_limits<DWORD>::max() / sizeof(wchar_t)) {
        return false;  // no registry value holds that much
    }
    return RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(characters * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool REGW::WriteIntegerW(const wchar_t* name, std::uint32_t value)
{
    if (key_ == nullptr) {
        ShowMisuseWarning(kWriteIntegerUnheld);
        return false;
    }
    const DWORD data = value;
    return RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool REGW::DeleteValue(const wchar_t* name)
{
    if (key_ == nullptr) {
        ShowMisuseWarning(kDeleteValueUnheld);
        return false;
    }
    return RegDeleteValueW(key_, name) == ERROR_SUCCESS;
}

wchar_t* REGW::RegReadStringW(const wchar_t* name, std::uint32_t* length)
{
    std::int32_t n = -1;
    if (key_ == nullptr) {
        ShowMisuseWarning(kReadStringUnheld);
    } else {
        n = ValueExistW(name);
    }
    if (n <= 0) {
        wchar_t* empty = new (std::nothrow) wchar_t[1]();
        if (empty != nullptr && length != nullptr) {
            *length = 1;
        }
        return empty;
    }
    const std::size_t characters = static_cast<std::size_t>(n) + 1;
    std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[characters]());
    if (!text) {
        return nullptr;
    }
    // Exactly the size just asked: the data as stored, never a terminator the
    // platform might append in spare room. A value grown meanwhile fails the
    // read. The buffer's last character stays free for the terminator.
    DWORD bytes = static_cast<DWORD>(n);
    if (RegQueryValueExW(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.get()),
                         &bytes) != ERROR_SUCCESS) {
        return nullptr;
    }
    const std::size_t read = bytes / sizeof(wchar_t);
    text[read] = L'\0';
    if (length != nullptr) {
        *length = static_cast<std::uint32_t>(read + 1);
    }
    return text.release();
}

wchar_t* REGW::ReadStringCopyW(const wchar_t* name)
{
    std::uint32_t length = 0;
    const std::unique_ptr<wchar_t[]> text(RegReadStringW(name, &length));
    if (!text) {
        return nullptr;
    }
    wchar_t* copy = new wchar_t[length];
    std::memcpy(copy, text.get(), length * sizeof(wchar_t));
    return copy;
}

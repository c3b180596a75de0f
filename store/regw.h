// The registry wrapper: one object per store operation, holding at most one
// key under HKEY_CURRENT_USER. Misuse by the calling code (an operation with
// no key held, a double open or close, destruction with a key still held) is
// caught and shown in a warning box, and never reaches the registry.
#pragma once

#include <windows.h>

#include <cstdint>

class REGW {
public:
    enum : unsigned {
        OpenCreate = 1,    // create the key when it cannot be opened
        OpenReadOnly = 2,  // KEY_READ instead of KEY_ALL_ACCESS
    };

    REGW() = default;
    ~REGW();
    REGW(const REGW&) = delete;
    REGW& operator=(const REGW&) = delete;

    bool OpenKey(const wchar_t* path, unsigned flags);
    bool CloseKey();
    // Size in bytes of the value's data, -1 when it cannot be queried.
    std::int32_t ValueExistW(const wchar_t* name);
    // Texts that are number texts give their value (clamped to the signed
    // 32-bit range, returned in two's complement); binary kinds their first
    // four bytes; anything else the default.
    std::uint32_t ReadIntegerW(const wchar_t* name, std::uint32_t defaultValue);
    bool WriteStringW(const wchar_t* name, const wchar_t* text);
    bool WriteIntegerW(const wchar_t* name, std::uint32_t value);
    bool DeleteValue(const wchar_t* name);
    // A new[] text the caller releases with delete[], or null. *length, when
    // given, receives the characters read plus one.
    wchar_t* RegReadStringW(const wchar_t* name, std::uint32_t* length);
    // An owned array (delete[]) of exactly the characters read, or null.
    // Throws std::bad_alloc when the copy cannot be made.
    wchar_t* ReadStringCopyW(const wchar_t* name);

    // The held key, for the callers that list values themselves.
    HKEY Key() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Pieces of the wrapper's rules that depend on nothing but their inputs.
namespace regw_rules {

// The platform version as (major << 8) | minor, read from a GetVersionExA
// record: NT reports it directly; the older family packs it into the high
// word of the build number, and an empty high word means 5.1.
std::uint16_t PlatformVersion(const OSVERSIONINFOA& info);

// The type WriteStringW stores a text with: REG_SZ, or REG_EXPAND_SZ where the
// value already has that type, except for the unnamed value on version 4.0.
DWORD StringValueType(bool existingIsExpand, bool unnamedValue, std::uint16_t platformVersion);

// ReadIntegerW's conversion of a value's data of the given type and size.
std::uint32_t ConvertValue(DWORD type, const BYTE* data, DWORD size, std::uint32_t defaultValue);

}  // namespace regw_rules

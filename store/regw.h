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
    std::uint32_t ReadIntegerW(const wchar_t* name, std::uint32_t defaultValue);
    bool WriteStringW(const wchar_t* name, const wchar_t* text);
    bool WriteIntegerW(const wchar_t* name, std::uint32_t value);
    bool DeleteValue(const wchar_t* name);
    // A new[] text the caller releases with delete[], or null. *length, when
    // given, receives the characters read plus one.
    wchar_t* RegReadStringW(const wchar_t* name, std::uint32_t* length);
    // An owned array (delete[]) of exactly the characters read, or null.
    wchar_t* ReadStringCopyW(const wchar_t* name);

    // The held key, for the callers that list values themselves.
    HKEY Key() const { return key_; }

private:
    HKEY key_ = nullptr;
};

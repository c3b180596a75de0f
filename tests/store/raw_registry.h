// Direct registry access for store tests: values put in place and read back
// with the platform calls alone, so that the code under test is not used to
// check itself.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace raw {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

bool KeyExists(const wchar_t* path);
// Creates the key as needed and stores the value with exactly these bytes.
void Put(const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD size);
void PutDword(const wchar_t* path, const wchar_t* name, std::uint32_t value);
// A REG_SZ with its terminator.
void PutText(const wchar_t* path, const wchar_t* name, const std::wstring& text);
std::optional<Value> Get(const wchar_t* path, const wchar_t* name);
// The value's data as a four-byte REG_DWORD; nullopt when absent or of another kind.
std::optional<std::uint32_t> GetDword(const wchar_t* path, const wchar_t* name);
// Value names in listing order.
std::vector<std::wstring> Names(const wchar_t* path);
void DeleteKeyTree(const wchar_t* path);

// An existing key whose access list grants changing the list and, when
// ReadOnly, reading: it can no longer be opened for full access, nor
// "created" again, while the keys below it stay as open as they were. The
// list is opened up again by the destructor, so that the key can be deleted.
class LockedKey {
public:
    enum Access { ReadOnly, NoAccess };
    LockedKey(const wchar_t* path, Access access);
    ~LockedKey();
    LockedKey(const LockedKey&) = delete;
    LockedKey& operator=(const LockedKey&) = delete;

private:
    std::wstring path_;
};

// A hidden top-level window to own the error boxes of a save.
HWND OwnerWindow();

}  // namespace raw

// Names parameterised cases by their `name` member.
struct CaseName {
    template <typename Param>
    std::string operator()(const testing::TestParamInfo<Param>& info) const
    {
        return info.param.name;
    }
};

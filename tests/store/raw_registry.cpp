#include "tests/store/raw_registry.h"

#include "tests/support/private_profile.h"

#include <cstring>

namespace raw {

namespace {

// Keys opened here are released at once.
class Key {
public:
    explicit Key(HKEY key) : key_(key) {}
    ~Key()
    {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_;
};

HKEY Open(const wchar_t* path)
{
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS
               ? key
               : nullptr;
}

HKEY Create(const wchar_t* path)
{
    HKEY key = nullptr;
    return RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS
               ? key
               : nullptr;
}

}  // namespace

bool KeyExists(const wchar_t* path) { return Key(Open(path)).get() != nullptr; }

void Put(const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    // The platform quietly counts a text's terminator that its size left out
    // when one follows the data in memory; a non-null guard after the bytes
    // keeps the stored data exactly as given.
    std::vector<BYTE> bytes(std::size_t{size} + 4, 'X');
    if (size != 0) {
        std::memcpy(bytes.data(), data, size);
    }
    Key key(Create(path));
    RegSetValueExW(key.get(), name, 0, type, bytes.data(), size);
}

void PutDword(const wchar_t* path, const wchar_t* name, std::uint32_t value)
{
    const DWORD data = value;
    Put(path, name, REG_DWORD, &data, sizeof data);
}

void PutText(const wchar_t* path, const wchar_t* name, const std::wstring& text)
{
    Put(path, name, REG_SZ, text.c_str(),
        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<Value> Get(const wchar_t* path, const wchar_t* name)
{
    Key key(Open(path));
    DWORD size = 0;
    Value value;
    if (key.get() == nullptr ||
        RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) !=
            ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    RegQueryValueExW(key.get(), name, nullptr, &value.type, value.data.data(), &size);
    value.data.resize(size);
    return value;
}

std::optional<std::uint32_t> GetDword(const wchar_t* path, const wchar_t* name)
{
    const std::optional<Value> value = Get(path, name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value->data[0]) |
           (static_cast<std::uint32_t>(value->data[1]) << 8) |
           (static_cast<std::uint32_t>(value->data[2]) << 16) |
           (static_cast<std::uint32_t>(value->data[3]) << 24);
}

std::vector<std::wstring> Names(const wchar_t* path)
{
    std::vector<std::wstring> names;
    Key key(Open(path));
    if (key.get() == nullptr) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD chars = 16384;
        if (RegEnumValueW(key.get(), index, name, &chars, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, chars);
    }
    return names;
}

void DeleteKeyTree(const wchar_t* path) { RegDeleteTreeW(HKEY_CURRENT_USER, path); RegDeleteKeyW(HKEY_CURRENT_USER, path); }

ReadOnlyHkcu::ReadOnlyHkcu()
{
    // Open the private hive's root through the real HKCU, read access only.
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOpenKeyExW(HKEY_CURRENT_USER, PrivateHkcuPath().c_str(), 0, KEY_READ, &readOnly_);
    RegOverridePredefKey(HKEY_CURRENT_USER, readOnly_);
}

ReadOnlyHkcu::~ReadOnlyHkcu()
{
    // Back to the private hive opened with full access.
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    HKEY full = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, PrivateHkcuPath().c_str(), 0, KEY_ALL_ACCESS, &full);
    RegOverridePredefKey(HKEY_CURRENT_USER, full);
    RegCloseKey(full);
    RegCloseKey(readOnly_);
}

}  // namespace raw

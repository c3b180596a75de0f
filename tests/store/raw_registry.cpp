#include "tests/store/raw_registry.h"

#include <sddl.h>

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

// For reading back: read access, so that locked keys can be checked too.
HKEY Open(const wchar_t* path)
{
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS
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

void DeleteKeyTree(const wchar_t* path)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, path);
    RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

namespace {

void SetAccessList(const wchar_t* path, const wchar_t* descriptor)
{
    PSECURITY_DESCRIPTOR security = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor, SDDL_REVISION_1, &security,
                                                         nullptr);
    HKEY opened = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, WRITE_DAC, &opened);
    Key key(opened);
    RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, security);
    LocalFree(security);
}

}  // namespace

LockedKey::LockedKey(const wchar_t* path, Access access) : path_(path)
{
    const Key created(Create(path));
    // Everyone: WRITE_DAC, with KEY_READ or without, and nothing else.
    SetAccessList(path, access == ReadOnly ? L"D:P(A;;KRWD;;;WD)" : L"D:P(A;;WD;;;WD)");
}

LockedKey::~LockedKey() { SetAccessList(path_.c_str(), L"D:(A;;KA;;;WD)"); }

HWND OwnerWindow()
{
    static const HWND window =
        CreateWindowExW(0, L"Static", L"save owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    return window;
}

}  // namespace raw

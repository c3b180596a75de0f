#include "tests/reports/dialog_template.h"

#include <cstdint>
#include <cstring>

namespace {

class Reader {
public:
    Reader(const BYTE* data, size_t size) : start_(data), at_(data), end_(data + size) {}

    bool ok() const { return ok_; }

    template <typename T>
    T Get()
    {
        T value{};
        if (static_cast<size_t>(end_ - at_) < sizeof(T)) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }

    std::wstring String()
    {
        std::wstring text;
        for (wchar_t c = Get<wchar_t>(); ok_ && c != L'\0'; c = Get<wchar_t>()) {
            text += c;
        }
        return text;
    }

    // A name or an ordinal: 0x0000 none, 0xFFFF then the ordinal, else a text.
    void NameOrOrdinal(WORD& ordinal, std::wstring& name)
    {
        const WORD first = Get<WORD>();
        ordinal = 0;
        if (first == 0xFFFF) {
            ordinal = Get<WORD>();
        } else if (first != 0) {
            name = static_cast<wchar_t>(first);
            name += String();
        }
    }

    void AlignTo4()
    {
        while ((at_ - start_) % 4 != 0 && at_ < end_) {
            ++at_;
        }
    }

    void Skip(size_t bytes)
    {
        const auto left = static_cast<size_t>(end_ - at_);
        at_ += bytes <= left ? bytes : left;
    }

private:
    const BYTE* start_;
    const BYTE* at_;
    const BYTE* end_;
    bool ok_ = true;
};

}  // namespace

bool LoadDialogTemplate(WORD resourceId, DialogTemplate& result)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), RT_DIALOG);
    if (found == nullptr) {
        return false;
    }
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    Reader reader(data, SizeofResource(module, found));
    const WORD version = reader.Get<WORD>();
    const WORD signature = reader.Get<WORD>();
    if (version != 1 || signature != 0xFFFF) {
        return false;
    }
    result = DialogTemplate{};
    result.extended = true;
    reader.Get<DWORD>();  // help id
    result.exStyle = reader.Get<DWORD>();
    result.style = reader.Get<DWORD>();
    const WORD count = reader.Get<WORD>();
    result.x = reader.Get<short>();
    result.y = reader.Get<short>();
    result.cx = reader.Get<short>();
    result.cy = reader.Get<short>();
    WORD ordinal = 0;
    std::wstring name;
    reader.NameOrOrdinal(ordinal, name);  // menu
    reader.NameOrOrdinal(ordinal, name);  // window class
    result.caption = reader.String();
    if ((result.style & (DS_SETFONT | DS_SHELLFONT)) != 0) {
        result.pointSize = reader.Get<WORD>();
        reader.Get<WORD>();  // weight
        reader.Get<BYTE>();  // italic
        reader.Get<BYTE>();  // character set
        result.face = reader.String();
    }
    for (WORD i = 0; i < count && reader.ok(); ++i) {
        reader.AlignTo4();
        TemplateItem item;
        reader.Get<DWORD>();  // help id
        item.exStyle = reader.Get<DWORD>();
        item.style = reader.Get<DWORD>();
        item.x = reader.Get<short>();
        item.y = reader.Get<short>();
        item.cx = reader.Get<short>();
        item.cy = reader.Get<short>();
        item.id = reader.Get<DWORD>();
        reader.NameOrOrdinal(item.classAtom, item.className);
        WORD textOrdinal = 0;
        reader.NameOrOrdinal(textOrdinal, item.text);
        reader.Skip(reader.Get<WORD>());  // creation data
        result.items.push_back(item);
    }
    return reader.ok();
}

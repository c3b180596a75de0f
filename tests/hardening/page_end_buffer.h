// A buffer whose last byte is followed by a page that may not be touched: a
// read one byte past its end faults at once instead of passing unnoticed.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>

class PageEndBuffer {
public:
    explicit PageEndBuffer(std::size_t capacityBytes)
    {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        page_ = system.dwPageSize;
        usable_ = (capacityBytes + page_ - 1) / page_ * page_;
        base_ = static_cast<unsigned char*>(
            VirtualAlloc(nullptr, usable_ + page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + usable_, page_, PAGE_NOACCESS, &old);
    }
    ~PageEndBuffer() { VirtualFree(base_, 0, MEM_RELEASE); }
    PageEndBuffer(const PageEndBuffer&) = delete;
    PageEndBuffer& operator=(const PageEndBuffer&) = delete;

    bool Valid() const { return base_ != nullptr; }

    // Copies `bytes` so that its last byte is the last accessible one.
    void* Place(const void* data, std::size_t bytes)
    {
        unsigned char* start = base_ + usable_ - bytes;
        std::memcpy(start, data, bytes);
        return start;
    }

private:
    std::size_t page_ = 0;
    std::size_t usable_ = 0;
    unsigned char* base_ = nullptr;
};

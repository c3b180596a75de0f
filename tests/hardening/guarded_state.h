// Watches the fields of readingState on either side of currentArticle, so a
// write past the title buffer in either direction shows up at once, and
// fills the buffer itself with junk so that only the code under test can
// leave it terminated.
#pragma once

#include "accounting/reading_state.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

class GuardedTitle {
public:
    GuardedTitle() { Arm(); }

    // Rewrites the guards and the junk before each call under test.
    void Arm()
    {
        for (wchar_t& unit : readingState.dayKey) {
            unit = kGuardUnit;
        }
        std::memset(Gap(), kGuardByte, GapBytes());
        readingState.cachedWindow = kGuardWindow;
        for (wchar_t& unit : readingState.currentArticle) {
            unit = L'X';
        }
    }

    bool Intact() const
    {
        for (wchar_t unit : readingState.dayKey) {
            if (unit != kGuardUnit) {
                return false;
            }
        }
        const auto* gap = static_cast<const unsigned char*>(Gap());
        for (std::size_t i = 0; i < GapBytes(); ++i) {
            if (gap[i] != kGuardByte) {
                return false;
            }
        }
        return readingState.cachedWindow == kGuardWindow;
    }

    // Leaves readingState as a fresh process has it.
    ~GuardedTitle()
    {
        for (wchar_t& unit : readingState.dayKey) {
            unit = L'\0';
        }
        readingState.cachedWindow = nullptr;
        readingState.currentArticle[0] = L'\0';
    }

    GuardedTitle(const GuardedTitle&) = delete;
    GuardedTitle& operator=(const GuardedTitle&) = delete;

private:
    static constexpr wchar_t kGuardUnit = 0xA55A;
    static constexpr unsigned char kGuardByte = 0xC3;
    inline static const HWND kGuardWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x5A5A5A50));

    // Alignment padding between the end of currentArticle and cachedWindow.
    static void* Gap()
    {
        return reinterpret_cast<unsigned char*>(&readingState) + offsetof(ReadingState, currentArticle) +
               sizeof(readingState.currentArticle);
    }
    static std::size_t GapBytes()
    {
        return offsetof(ReadingState, cachedWindow) - offsetof(ReadingState, currentArticle) -
               sizeof(readingState.currentArticle);
    }
};

// Whether currentArticle holds a terminator inside its buffer.
inline bool TitleTerminated()
{
    for (wchar_t unit : readingState.currentArticle) {
        if (unit == L'\0') {
            return true;
        }
    }
    return false;
}

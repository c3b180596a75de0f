#include "accounting/companion_feed.h"

#include <cwchar>

void FeedCompanion(HWND mainWindow, const wchar_t* text)
{
    const HWND companion = FindWindowW(kCompanionClass, nullptr);
    if (companion == nullptr) {
        return;
    }
    COPYDATASTRUCT record{};
    record.dwData = kCompanionFeedTag;
    record.cbData = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
    record.lpData = const_cast<wchar_t*>(text);
    DWORD_PTR ignored = 0;
    // The answer is not examined; only the wait is bounded.
    SendMessageTimeoutW(companion, WM_COPYDATA, reinterpret_cast<WPARAM>(mainWindow),
                        reinterpret_cast<LPARAM>(&record), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                        kCompanionTimeoutMs, &ignored);
}

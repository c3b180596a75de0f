#include "observation/observation_pass.h"

#include "accounting/reading_state.h"
#include "observation/address_bar_routes.h"
#include "observation/firefox_helper_file.h"

#include <windows.h>

namespace {

// The address bar found by the last full scan, asked again through the route
// that found it without walking the browser's windows. True when it still
// shows an encyclopaedia address; otherwise the cache is dropped.
bool CachedAddressBarShowsPage()
{
    if (readingState.cachedWindow == nullptr || readingState.cachedRoute == nullptr) {
        return false;
    }
    HWND scratch = nullptr;
    if (readingState.cachedRoute(readingState.cachedWindow, reinterpret_cast<LPARAM>(&scratch)) !=
        TRUE) {
        readingState.graceTicks = kGraceFull;
        return true;
    }
    readingState.cachedWindow = nullptr;
    readingState.cachedRoute = nullptr;
    return false;
}

}  // namespace

void ObservationPass()
{
    if (ReadHelperFile(nullptr)) {
        return;
    }
    if (CachedAddressBarShowsPage()) {
        return;
    }
    if (ScanFirefoxProfiles()) {
        return;
    }
    EnumWindows(ScanTopLevelWindow, 0);
}

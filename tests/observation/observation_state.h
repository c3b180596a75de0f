// Puts the observation state back as it is at start: no remembered helper
// file, no marker seen, no cached address bar, nothing in view.
#pragma once

#include "accounting/reading_state.h"
#include "observation/firefox_helper_file.h"

inline void ResetObservationState()
{
    readingState = ReadingState{};
    helperFilePath[0] = L'\0';
    lastHelperMarker = kNoHelperMarker;
}

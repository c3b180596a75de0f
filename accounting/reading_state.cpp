#include "accounting/reading_state.h"

#include <cwchar>

ReadingState readingState;

void SetToday(const SYSTEMTIME& now)
{
    readingState.today = now;
    std::swprintf(readingState.dayKey, kDayKeyChars, L"%04d%02d%02d",
                  static_cast<int>(now.wYear), static_cast<int>(now.wMonth),
                  static_cast<int>(now.wDay));
}

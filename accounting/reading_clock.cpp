#include "accounting/reading_clock.h"

#include "accounting/clock_collaborators.h"
#include "accounting/companion_feed.h"
#include "accounting/notice_rules.h"
#include "accounting/reading_state.h"
#include "accounting/status_text.h"
#include "store/settings.h"

namespace {

// Set while the rollover's save runs. Its error boxes run a modal loop that
// keeps delivering ticks; those nested ticks must not start the same rollover.
bool rolloverInProgress = false;

void CountUp(std::uint32_t& counter)
{
    if (counter < kCounterMax) {
        ++counter;
    }
}

void ReadingStep(HWND mainWindow)
{
    if (readingState.noticeTicks > kNoticeLeaveTicks) {
        readingState.noticeTicks = kNoticeLeaveTicks;
    }
    CountUp(readingState.continuousSeconds);
    CountUp(readingState.todaySeconds);
    if (settings.historyEnabled && readingState.currentArticle[0] != L'\0') {
        clockCollaborators.updateArticleRank(readingState.currentArticle);
    }
    wchar_t text[kStatusTextChars];
    if (!settings.noTaskbarIcon) {
        FormatReadingText(text, kStatusTextChars, readingState.todaySeconds,
                          readingState.continuousSeconds);
        clockCollaborators.trayModify(mainWindow, clockCollaborators.readingIcon, text);
    }
    FormatReadingFeedText(text, kStatusTextChars, readingState.todaySeconds,
                          readingState.continuousSeconds);
    FeedCompanion(mainWindow, text);
    CheckMilestone(mainWindow);
}

void EndSpell(HWND mainWindow)
{
    if (!settings.noTaskbarIcon) {
        wchar_t text[kStatusTextChars];
        FormatMonitoringText(text, kStatusTextChars, readingState.todaySeconds,
                             readingState.continuousSeconds);
        clockCollaborators.trayModify(mainWindow, clockCollaborators.idleIcon, text);
    }
    FeedCompanion(mainWindow, L"");
    ApplyFinishRule(mainWindow);
}

void RollDayOver(HWND mainWindow, const SYSTEMTIME& now)
{
    rolloverInProgress = true;
    // Seconds counted by ticks nested in the save's message boxes were read
    // after midnight: they are not in the total just written and belong to
    // the new day.
    const std::uint32_t savedTotal = readingState.todaySeconds;
    clockCollaborators.saveSettings(mainWindow);
    SetToday(now);
    readingState.todaySeconds -= savedTotal;
    rolloverInProgress = false;
}

}  // namespace

void ClockTick(HWND mainWindow)
{
    if (readingState.graceTicks == kGraceFull) {
        ReadingStep(mainWindow);
    }
    if (readingState.graceTicks > 0) {
        --readingState.graceTicks;
        if (readingState.graceTicks == 0) {
            EndSpell(mainWindow);
        }
    }
    clockCollaborators.observationPass();

    SYSTEMTIME now{};
    clockCollaborators.readLocalTime(&now);
    if (now.wDay != readingState.today.wDay && !rolloverInProgress) {
        RollDayOver(mainWindow, now);
    }
    CheckHourlyChime(mainWindow, now);
    CheckAlarms(mainWindow, now);
}

#include "accounting/notice_rules.h"

#include "accounting/clock_collaborators.h"
#include "accounting/reading_state.h"
#include "store/settings.h"

#include <cwchar>
#include <string>

wchar_t chimeText[kChimeTextChars];

namespace {

// The alarm dialog may replace an alarm's message while that alarm's notice is
// on screen, releasing the old array; the notice therefore shows its own copy.
std::wstring alarmNoticeText;

void StopShownNoticeTimer(HWND mainWindow)
{
    if (readingState.noticeTimerId != 0) {
        clockCollaborators.stopTimer(mainWindow, readingState.noticeTimerId);
    }
}

}  // namespace

void StartNotice(HWND mainWindow, NoticeKind kind, const wchar_t* text)
{
    readingState.noticeTimerId = TimerIdOf(kind);
    readingState.noticeTicks = kNoticeStartTicks;
    readingState.noticeText = text;
    readingState.noticeHoldMs = kNoticeHoldMs;
    clockCollaborators.startTimer(mainWindow, TimerIdOf(kind), kNoticeStepMs);
}

void EndShownNotice(HWND mainWindow)
{
    StopShownNoticeTimer(mainWindow);
    readingState.noticeTimerId = 0;
    clockCollaborators.hideNoticeWindow(mainWindow);
}

void CheckMilestone(HWND mainWindow)
{
    const std::uint32_t reached = readingState.continuousSeconds;
    if (!settings.notifyTime || reached < MilestoneTable[0].seconds) {
        return;
    }
    for (const Milestone* row = MilestoneTable; row->text != nullptr && row->seconds <= reached;
         ++row) {
        if (row->seconds == reached) {
            // The milestone takes the window over; stopping the displaced
            // notice's timer keeps one timer per window, so the window ends
            // hidden with noticeTimerId 0 exactly when the milestone ends.
            if (readingState.noticeTimerId != TimerIdOf(NoticeKind::NoticeMilestone)) {
                StopShownNoticeTimer(mainWindow);
            }
            StartNotice(mainWindow, NoticeKind::NoticeMilestone, row->text);
            return;
        }
    }
}

void ApplyFinishRule(HWND mainWindow)
{
    if (settings.notifyFinish) {
        StopShownNoticeTimer(mainWindow);
        StartNotice(mainWindow, NoticeKind::NoticeFinish, nullptr);
    } else {
        // Nothing takes the window over, so a notice on screen ends now
        // rather than being left without a timer.
        if (readingState.noticeTimerId != 0) {
            EndShownNotice(mainWindow);
        }
        readingState.continuousSeconds = 0;
    }
}

void CheckHourlyChime(HWND mainWindow, const SYSTEMTIME& now)
{
    if (!settings.notifyHour || now.wMinute != 0 || now.wSecond != 0 ||
        readingState.noticeTimerId != 0) {
        return;
    }
    std::swprintf(chimeText, kChimeTextChars, L"%2d時をお知らせします。", static_cast<int>(now.wHour));
    StartNotice(mainWindow, NoticeKind::NoticeHour, chimeText);
}

void CheckAlarms(HWND mainWindow, const SYSTEMTIME& now)
{
    for (int i = 0; i < kAlarmCount; ++i) {
        if (!settings.alarmEnabled[i] || now.wHour != settings.alarmHour[i] ||
            now.wMinute != settings.alarmMinute[i] || readingState.noticeTimerId != 0) {
            continue;
        }
        settings.alarmEnabled[i] = false;  // one-shot
        const wchar_t* text = nullptr;
        if (settings.alarmMessage[i] != nullptr) {
            alarmNoticeText = settings.alarmMessage[i];
            text = alarmNoticeText.c_str();
        }
        StartNotice(mainWindow, NoticeKind::NoticeAlarm, text);
    }
}

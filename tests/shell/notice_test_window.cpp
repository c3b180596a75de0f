#include "tests/shell/notice_test_window.h"

#include "accounting/clock_collaborators.h"
#include "accounting/notice_rules.h"
#include "accounting/reading_state.h"
#include "resources/resource_ids.h"
#include "shell/notice_window.h"

namespace notice_test {

std::vector<TimerCall> timerCalls;
std::vector<UINT_PTR> timerMessages;

namespace {

constexpr wchar_t kClassName[] = L"yk_notice_test_window";
constexpr int kBitmapSize = 128;
bool realTimerCalls = false;

LRESULT CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintNotice(window);
        return 0;
    case WM_TIMER:
        timerMessages.push_back(wParam);
        if (IsNoticeTimer(wParam)) {
            StepNotice(window, wParam);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        NoticeClicked(window);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RecordStart(HWND window, UINT_PTR id, UINT intervalMs)
{
    timerCalls.push_back({true, id, intervalMs});
    if (realTimerCalls) {
        SetTimer(window, id, intervalMs, nullptr);
    }
}

void RecordStop(HWND window, UINT_PTR id)
{
    timerCalls.push_back({false, id, 0});
    if (realTimerCalls) {
        KillTimer(window, id);
    }
}

void RegisterOnce()
{
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = NoticeProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    registered = true;
}

}  // namespace

HWND CreateNoticeWindow(int dpi, bool realTimers)
{
    RegisterOnce();
    SetDpiScales(dpi, dpi);
    ComputeNoticeSize(kBitmapSize, kBitmapSize);
    noticeFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    readingState.noticeTimerId = 0;
    readingState.noticeText = nullptr;
    readingState.noticeTicks = 0;
    readingState.noticeHoldMs = kNoticeHoldMs;
    readingState.graceTicks = 0;
    readingState.continuousSeconds = 0;
    readingState.todaySeconds = 0;
    clockCollaborators = DefaultClockCollaborators();
    clockCollaborators.startTimer = RecordStart;
    clockCollaborators.stopTimer = RecordStop;
    realTimerCalls = realTimers;
    timerCalls.clear();
    timerMessages.clear();
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    return CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"ヨミカゼ",
                           WS_POPUP, workArea.right - noticeWidth, workArea.bottom - noticeHeight,
                           noticeWidth, noticeHeight, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

void DestroyNoticeWindow(HWND window)
{
    for (const NoticeKind kind : {NoticeKind::NoticeFinish, NoticeKind::NoticeHour,
                                  NoticeKind::NoticeMilestone, NoticeKind::NoticeAlarm}) {
        KillTimer(window, TimerIdOf(kind));
    }
    DestroyWindow(window);
    ReleaseNoticeImage();
    clockCollaborators = DefaultClockCollaborators();
    readingState.noticeTimerId = 0;
}

bool PrepareImageFromResource(HWND window)
{
    const HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kNoticeBitmapId));
    if (bitmap == nullptr) {
        return false;
    }
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    const bool prepared = PrepareNoticeImage(window, bitmap, info.bmWidth, info.bmHeight);
    DeleteObject(bitmap);
    return prepared;
}

Placement ReadPlacement(HWND window)
{
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT frame{};
    GetWindowRect(window, &frame);
    Placement placement{};
    placement.rise = workArea.bottom - frame.top;
    placement.rightGap = workArea.right - frame.right;
    GetLayeredWindowAttributes(window, &placement.key, &placement.alpha, &placement.flags);
    placement.visible = IsWindowVisible(window) != FALSE;
    return placement;
}

void BeginNotice(HWND window, NoticeKind kind, const wchar_t* text)
{
    StartNotice(window, kind, text);
}

}  // namespace notice_test

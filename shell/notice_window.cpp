#include "shell/notice_window.h"

#include "accounting/clock_collaborators.h"
#include "accounting/notice_kind.h"
#include "accounting/reading_state.h"
#include "accounting/time_text.h"

#include <cwchar>

double dpiScaleX = 1.0;
double dpiScaleY = 1.0;
int noticeWidth = 0;
int noticeHeight = 0;
HFONT noticeFont = nullptr;
NoticeImage noticeImage;

namespace {

constexpr double kBaseDpi = 96.0;
// Entry steps move the window up by one thirtieth of its height each.
constexpr int kSlideSteps = 30;
constexpr int kAlphaPerStep = 8;
constexpr std::int16_t kFullyShownTicks = 270;

int ScaleX(LONG x) { return static_cast<int>(x * dpiScaleX); }
int ScaleY(LONG y) { return static_cast<int>(y * dpiScaleY); }

// Shows the window at `alpha`, `rise` pixels above the work area's bottom
// edge and right-aligned with it; the work area is read at every step so that
// a notice follows a taskbar that moves while it is shown.
void PlaceNotice(HWND window, const RECT& workArea, int width, int rise, int alpha)
{
    SetLayeredWindowAttributes(window, kNoticeColourKey, static_cast<BYTE>(alpha),
                               LWA_COLORKEY | LWA_ALPHA);
    SetWindowPos(window, HWND_TOPMOST, workArea.right - width, workArea.bottom - rise, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void RestartTimer(HWND window, UINT_PTR timerId, UINT intervalMs)
{
    clockCollaborators.stopTimer(window, timerId);
    clockCollaborators.startTimer(window, timerId, intervalMs);
}

void EndNotice(HWND window, UINT_PTR timerId)
{
    clockCollaborators.stopTimer(window, timerId);
    readingState.noticeTimerId = 0;
    clockCollaborators.hideNoticeWindow(window);
    // The spell the finish notice reported is closed, unless reading has
    // resumed while it was shown.
    if (timerId == TimerIdOf(NoticeKind::NoticeFinish) && readingState.graceTicks == 0) {
        readingState.continuousSeconds = 0;
    }
}

}  // namespace

bool NoticeImage::Create(HDC reference, int width, int height)
{
    Release();
    dc_ = CreateCompatibleDC(reference);
    if (dc_ == nullptr) {
        return false;
    }
    bitmap_ = CreateCompatibleBitmap(reference, width, height);
    if (bitmap_ == nullptr) {
        Release();
        return false;
    }
    originalBitmap_ = SelectObject(dc_, bitmap_);
    return true;
}

void NoticeImage::Release()
{
    if (dc_ != nullptr) {
        if (originalBitmap_ != nullptr) {
            SelectObject(dc_, originalBitmap_);
        }
        DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    dc_ = nullptr;
    bitmap_ = nullptr;
    originalBitmap_ = nullptr;
}

void SetDpiScales(int logPixelsX, int logPixelsY)
{
    // A screen that cannot be asked reads as 0: keep the notice at its
    // designed size rather than make it vanish.
    dpiScaleX = logPixelsX > 0 ? logPixelsX / kBaseDpi : 1.0;
    dpiScaleY = logPixelsY > 0 ? logPixelsY / kBaseDpi : 1.0;
}

void MeasureDpi()
{
    const HDC screen = GetDC(nullptr);
    SetDpiScales(GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
}

void ComputeNoticeSize(int bitmapWidth, int bitmapHeight)
{
    noticeWidth = static_cast<int>(bitmapWidth * dpiScaleX);
    noticeHeight = static_cast<int>(bitmapHeight * dpiScaleY);
}

RECT NoticeTextRect()
{
    return RECT{ScaleX(kNoticeTextRect96.left), ScaleY(kNoticeTextRect96.top),
                ScaleX(kNoticeTextRect96.right), ScaleY(kNoticeTextRect96.bottom)};
}

bool PrepareNoticeImage(HWND window, HBITMAP bitmap, int bitmapWidth, int bitmapHeight)
{
    const HDC windowDc = GetDC(window);
    bool made = noticeImage.Create(windowDc, noticeWidth, noticeHeight);
    if (made) {
        const HDC source = CreateCompatibleDC(windowDc);
        if (source != nullptr) {
            const HGDIOBJ previous = SelectObject(source, bitmap);
            StretchBlt(noticeImage.Dc(), 0, 0, noticeWidth, noticeHeight, source, 0, 0, bitmapWidth,
                       bitmapHeight, SRCCOPY);
            SelectObject(source, previous);
            DeleteDC(source);
        } else {
            noticeImage.Release();
            made = false;
        }
    }
    ReleaseDC(window, windowDc);
    return made;
}

void ReleaseNoticeImage() { noticeImage.Release(); }

void StepNotice(HWND window, UINT_PTR timerId)
{
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int slide = height / kSlideSteps;
    const int n = readingState.noticeTicks;

    if (n > kFullyShownTicks) {
        // StartNotice begins at 300; anything above counts as the first step.
        const int k = n >= kNoticeStartTicks ? 0 : kNoticeStartTicks - n;
        PlaceNotice(window, workArea, width, slide * k, k * kAlphaPerStep);
        if (k == 0) {
            InvalidateRect(window, nullptr, TRUE);
        }
    } else if (n == kFullyShownTicks) {
        PlaceNotice(window, workArea, width, height, 255);
        RestartTimer(window, timerId, readingState.noticeHoldMs);
        readingState.noticeTicks = kNoticeLeaveTicks;
        return;
    } else if (n >= kNoticeLeaveTicks) {
        RestartTimer(window, timerId, kNoticeStepMs);
    } else {
        const int left = n > 0 ? n : 0;
        PlaceNotice(window, workArea, width, slide * left, left * kAlphaPerStep);
    }

    if (readingState.noticeTicks > 0) {
        --readingState.noticeTicks;
    }
    if (readingState.noticeTicks <= 0) {
        EndNotice(window, timerId);
    }
}

void FormatFinishNoticeText(wchar_t* out, std::size_t chars, std::uint32_t today,
                            std::uint32_t continuous)
{
    const Hms t = SplitSeconds(today);
    const Hms c = SplitSeconds(continuous);
    std::swprintf(out, chars,
                  L"本日の合計閲覧時間:\r\n%16u:%02u:%02u\r\n\r\n連続閲覧時間:\r\n%16u:%02u:%02u\r\n",
                  t.hours, t.minutes, t.seconds, c.hours, c.minutes, c.seconds);
}

void DrawNotice(HDC dc)
{
    RECT text = NoticeTextRect();
    if (noticeImage.Dc() != nullptr) {
        // The image's first row and column fall outside the window; the
        // window's last two rows and columns show the class background.
        BitBlt(dc, -1, -1, noticeWidth - 1, noticeHeight - 1, noticeImage.Dc(), 0, 0, SRCCOPY);
    }
    const HGDIOBJ previousFont = noticeFont != nullptr ? SelectObject(dc, noticeFont) : nullptr;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    constexpr UINT kFlags = DT_WORDBREAK | DT_NOPREFIX;
    if (readingState.noticeTimerId == TimerIdOf(NoticeKind::NoticeFinish)) {
        // The counters are read now, not when the notice started.
        wchar_t finish[kFinishNoticeTextChars];
        FormatFinishNoticeText(finish, kFinishNoticeTextChars, readingState.todaySeconds,
                               readingState.continuousSeconds);
        DrawTextW(dc, finish, -1, &text, kFlags);
    } else if (readingState.noticeText != nullptr) {
        DrawTextW(dc, readingState.noticeText, -1, &text, kFlags);
    }
    if (previousFont != nullptr) {
        SelectObject(dc, previousFont);
    }
}

void PaintNotice(HWND window)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (dc != nullptr) {
        DrawNotice(dc);
    }
    EndPaint(window, &paint);
}

void NoticeClicked(HWND window)
{
    if (readingState.noticeTimerId != 0 && readingState.noticeTicks >= kNoticeLeaveTicks) {
        RestartTimer(window, readingState.noticeTimerId, kNoticeStepMs);
        readingState.noticeTicks = kNoticeLeaveTicks;
    }
}

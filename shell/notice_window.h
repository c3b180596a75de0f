// The notice window: MainWindow shown as a small picture with text that rises
// from the bottom-right corner of the work area while fading in, holds, then
// sinks and fades out. Its scale, size and prepared image live here.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The screen's logical pixels per inch divided by 96, measured once.
extern double dpiScaleX;
extern double dpiScaleY;
// Bitmap 130 scaled by the two factors: the size of MainWindow.
extern int noticeWidth;
extern int noticeHeight;
// The stock DEFAULT_GUI_FONT, set when MainWindow is created.
extern HFONT noticeFont;

// A memory drawing surface with its own bitmap selected into it. Releasing it
// deletes the surface first (which lets go of the bitmap), then the bitmap.
class NoticeImage {
public:
    NoticeImage() = default;
    ~NoticeImage() { Release(); }
    NoticeImage(const NoticeImage&) = delete;
    NoticeImage& operator=(const NoticeImage&) = delete;

    // Makes a surface compatible with `reference` holding a width x height
    // bitmap; false (and nothing held) when either cannot be made.
    bool Create(HDC reference, int width, int height);
    void Release();
    HDC Dc() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ originalBitmap_ = nullptr;
};

extern NoticeImage noticeImage;

// The notice's colour key: pure green is see-through and lets clicks pass.
inline constexpr COLORREF kNoticeColourKey = RGB(0, 255, 0);
// The text rectangle at 96 dots per inch.
inline constexpr RECT kNoticeTextRect96 = {6, 41, 120, 120};

// Reads the screen's LOGPIXELSX and LOGPIXELSY into dpiScaleX and dpiScaleY.
void MeasureDpi();
// The arithmetic of MeasureDpi, for a given number of pixels per inch; a
// count of 0 or less (no screen to ask) counts as 96.
void SetDpiScales(int logPixelsX, int logPixelsY);
// noticeWidth and noticeHeight from the bitmap's size and the scales.
void ComputeNoticeSize(int bitmapWidth, int bitmapHeight);
// The text rectangle scaled to the screen, each value truncated toward zero.
RECT NoticeTextRect();

// Stretches `bitmap` (bitmapWidth x bitmapHeight) onto a new noticeImage of
// noticeWidth x noticeHeight made from `window`'s drawing context; the bitmap
// stays the caller's to release. False when no image could be made (the
// notice then paints only its text).
bool PrepareNoticeImage(HWND window, HBITMAP bitmap, int bitmapWidth, int bitmapHeight);
void ReleaseNoticeImage();

// One animation step, run when the notice timer `timerId` expires.
void StepNotice(HWND window, UINT_PTR timerId);
// Room for the finish notice's text at the largest counter values.
inline constexpr std::size_t kFinishNoticeTextChars = 96;
// The finish notice's two counters, today's total and the spell, as h:m:s.
void FormatFinishNoticeText(wchar_t* out, std::size_t chars, std::uint32_t today,
                            std::uint32_t continuous);
// Answers WM_PAINT.
void PaintNotice(HWND window);
// The notice's picture and text drawn onto `dc` as PaintNotice draws them on
// the window.
void DrawNotice(HDC dc);
// A click on the notice (WM_LBUTTONDOWN, WM_RBUTTONDOWN) while it enters or
// holds makes it leave at once; during its exit a click changes nothing.
void NoticeClicked(HWND window);

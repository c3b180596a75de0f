#include "accounting/notice_kind.h"
#include "accounting/reading_state.h"
#include "shell/notice_window.h"
#include "tests/shell/notice_test_window.h"
#include "tests/support/png_file.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

using namespace notice_test;

namespace {

constexpr std::uint32_t kGreen = 0x00FF00;    // 0xRRGGBB of the colour key
constexpr std::uint32_t kYellow = 0xD0D000;   // the text field

// A top-down 32-bit bitmap to paint the notice into.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        // The class background (COLOR_MENU) where the image does not reach.
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, GetSysColorBrush(COLOR_MENU));
    }
    ~Canvas()
    {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    std::uint32_t At(int x, int y) const
    {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits_)[y * width_ + x] & 0xFFFFFF;
    }
    std::vector<std::uint32_t> Pixels() const
    {
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits_);
        return std::vector<std::uint32_t>(p, p + width_ * height_);
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

// The bounding box of the pixels that differ between two paintings.
struct Difference {
    int count = 0;
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
};

Difference Compare(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                   int width)
{
    Difference d;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            const LONG x = static_cast<LONG>(i % width);
            const LONG y = static_cast<LONG>(i / width);
            ++d.count;
            d.box.left = std::min(d.box.left, x);
            d.box.top = std::min(d.box.top, y);
            d.box.right = std::max(d.box.right, x + 1);
            d.box.bottom = std::max(d.box.bottom, y + 1);
        }
    }
    return d;
}

class NoticePaint : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        window_ = CreateNoticeWindow(GetParam(), false);
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(PrepareImageFromResource(window_));
    }
    void TearDown() override { DestroyNoticeWindow(window_); }

    std::vector<std::uint32_t> Paint(std::uint32_t kind, const wchar_t* text)
    {
        readingState.noticeTimerId = kind;
        readingState.noticeText = text;
        Canvas canvas(noticeWidth, noticeHeight);
        DrawNotice(canvas.Dc());
        return canvas.Pixels();
    }

    // The pixels text adds to the picture lie inside the text rectangle.
    void ExpectTextInsideRectangle(std::uint32_t kind, const wchar_t* text)
    {
        const auto empty = Paint(TimerIdOf(NoticeKind::NoticeHour), nullptr);
        const auto drawn = Paint(kind, text);
        const Difference d = Compare(empty, drawn, noticeWidth);
        const RECT r = NoticeTextRect();
        ASSERT_GT(d.count, 20);
        EXPECT_GE(d.box.left, r.left);
        EXPECT_GE(d.box.top, r.top);
        EXPECT_LE(d.box.right, r.right);
        EXPECT_LE(d.box.bottom, r.bottom);
    }

    HWND window_ = nullptr;
};

TEST_P(NoticePaint, HeadingBandIsTheColourKeyAndTheFieldIsYellow)
{
    const auto pixels = Paint(TimerIdOf(NoticeKind::NoticeHour), nullptr);
    const int w = noticeWidth;
    const auto at = [&](int x, int y) { return pixels[y * w + x] & 0xFFFFFF; };
    // The heading's background and the rounded corners' outside are pure
    // green, so the colour key makes them see-through.
    for (const POINT p : {POINT{0, 0}, POINT{2, 2}, POINT{w - 3, 0}, POINT{w / 2, 1}}) {
        EXPECT_EQ(at(p.x, p.y), kGreen) << p.x << "," << p.y;
    }
    const int fieldTop = static_cast<int>(34 * dpiScaleY);
    EXPECT_EQ(at(0, fieldTop), kGreen);  // outside the rounded corner
    const RECT r = NoticeTextRect();
    for (int y = r.top; y < r.bottom; y += 3) {
        for (int x = r.left; x < r.right; x += 3) {
            ASSERT_EQ(at(x, y), kYellow) << x << "," << y;
        }
    }
    // The window's last two rows and columns are the class background.
    const std::uint32_t menu = GetSysColor(COLOR_MENU);
    const std::uint32_t menuRgb = ((menu & 0xFF) << 16) | (menu & 0xFF00) | ((menu >> 16) & 0xFF);
    EXPECT_EQ(at(w - 1, noticeHeight / 2), menuRgb);
    EXPECT_EQ(at(w / 2, noticeHeight - 2), menuRgb);

    // The window asks for that colour key at each step.
    readingState.noticeTicks = 300;
    StepNotice(window_, TimerIdOf(NoticeKind::NoticeHour));
    const Placement placement = ReadPlacement(window_);
    EXPECT_EQ(placement.key, RGB(0, 255, 0));
    EXPECT_TRUE(placement.flags & LWA_COLORKEY);
}

TEST_P(NoticePaint, FinishNoticeTextStaysInsideTheTextRectangle)
{
    readingState.todaySeconds = 12 * 3600 + 34 * 60 + 56;
    readingState.continuousSeconds = 1800;
    ExpectTextInsideRectangle(TimerIdOf(NoticeKind::NoticeFinish), nullptr);
}

TEST_P(NoticePaint, AlarmTextStaysInsideTheTextRectangle)
{
    ExpectTextInsideRectangle(TimerIdOf(NoticeKind::NoticeAlarm), L"お昼の時間です。");
}

TEST_P(NoticePaint, TextTooLongIsWrappedAndCutAtTheRectangle)
{
    std::wstring text;
    for (int i = 0; i < 40; ++i) {
        text += L"Wikipedia reading goes on and on ";
    }
    ExpectTextInsideRectangle(TimerIdOf(NoticeKind::NoticeMilestone), text.c_str());
    // It fills the rectangle to its bottom rather than stopping early.
    const auto empty = Paint(TimerIdOf(NoticeKind::NoticeHour), nullptr);
    const auto drawn = Paint(TimerIdOf(NoticeKind::NoticeMilestone), text.c_str());
    const Difference d = Compare(empty, drawn, noticeWidth);
    EXPECT_GE(d.box.bottom, NoticeTextRect().bottom - 12);
}

TEST_P(NoticePaint, AmpersandIsDrawnNotTakenAsAPrefix)
{
    // "&&" would draw one ampersand with prefix processing; without it both.
    const auto one = Paint(TimerIdOf(NoticeKind::NoticeAlarm), L"A&");
    const auto two = Paint(TimerIdOf(NoticeKind::NoticeAlarm), L"A&&");
    EXPECT_GT(Compare(one, two, noticeWidth).count, 0);
}

INSTANTIATE_TEST_SUITE_P(Dpi, NoticePaint, testing::Values(96, 120));

class NoticeText : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateNoticeWindow(96, false);
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(PrepareImageFromResource(window_));
    }
    void TearDown() override { DestroyNoticeWindow(window_); }

    std::vector<std::uint32_t> Paint()
    {
        Canvas canvas(noticeWidth, noticeHeight);
        DrawNotice(canvas.Dc());
        return canvas.Pixels();
    }

    HWND window_ = nullptr;
};

TEST_F(NoticeText, FinishTextHasBothCountersOnTheirOwnLines)
{
    wchar_t text[kFinishNoticeTextChars];
    FormatFinishNoticeText(text, kFinishNoticeTextChars, 3661, 59);
    EXPECT_STREQ(text,
                 L"本日の合計閲覧時間:\r\n               1:01:01\r\n\r\n"
                 L"連続閲覧時間:\r\n               0:00:59\r\n");
    FormatFinishNoticeText(text, kFinishNoticeTextChars, 4294967295u, 360000);
    EXPECT_STREQ(text,
                 L"本日の合計閲覧時間:\r\n         1193046:28:15\r\n\r\n"
                 L"連続閲覧時間:\r\n             100:00:00\r\n");
}

TEST_F(NoticeText, FinishCountersAreReadWhenPainting)
{
    readingState.noticeTimerId = TimerIdOf(NoticeKind::NoticeFinish);
    readingState.todaySeconds = 100;
    readingState.continuousSeconds = 100;
    const auto before = Paint();
    readingState.todaySeconds = 3 * 3600 + 100;
    const auto after = Paint();
    EXPECT_GT(Compare(before, after, noticeWidth).count, 0);
    // The finish notice ignores any text left in noticeText.
    readingState.noticeText = L"ignored text";
    EXPECT_EQ(Compare(after, Paint(), noticeWidth).count, 0);
}

TEST_F(NoticeText, NoticeWithoutTextShowsOnlyThePicture)
{
    readingState.noticeTimerId = TimerIdOf(NoticeKind::NoticeAlarm);
    readingState.noticeText = nullptr;
    const auto bare = Paint();
    const RECT r = NoticeTextRect();
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            ASSERT_EQ(bare[y * noticeWidth + x] & 0xFFFFFF, kYellow);
        }
    }
}

TEST_F(NoticeText, PicturesOfAFinishAndAnAlarmNoticeForPeopleToLookAt)
{
    const std::wstring folder = ExecutableFolder() + L"..\\";
    readingState.noticeTimerId = TimerIdOf(NoticeKind::NoticeFinish);
    readingState.todaySeconds = 2 * 3600 + 5 * 60 + 9;
    readingState.continuousSeconds = 47 * 60 + 3;
    EXPECT_TRUE(WritePng(folder + L"notice-finish.png", noticeWidth, noticeHeight, Paint()));
    readingState.noticeTimerId = TimerIdOf(NoticeKind::NoticeAlarm);
    readingState.noticeText = L"会議の時間です。資料を持って3階の会議室へ。";
    EXPECT_TRUE(WritePng(folder + L"notice-alarm.png", noticeWidth, noticeHeight, Paint()));
}

}  // namespace

namespace {

// The colour key on the real screen: what shows through the heading's green
// is the desktop, while the field shows the notice's own yellow.
TEST(NoticeOnScreen, GreenIsSeeThroughAndTheFieldIsNot)
{
    const HWND window = CreateNoticeWindow(96, false);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PrepareImageFromResource(window));
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const POINT headingPoint{workArea.right - noticeWidth + 3, workArea.bottom - noticeHeight + 3};
    const POINT fieldPoint{workArea.right - noticeWidth + 60, workArea.bottom - noticeHeight + 90};
    const auto screenPixel = [](POINT p) {
        const HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return colour;
    };
    const COLORREF desktop = screenPixel(headingPoint);

    readingState.noticeTimerId = TimerIdOf(NoticeKind::NoticeHour);
    readingState.noticeTicks = 270;  // the fully shown step: opaque, whole height
    StepNotice(window, TimerIdOf(NoticeKind::NoticeHour));
    UpdateWindow(window);
    PumpMessagesFor(300);
    ASSERT_EQ(ReadPlacement(window).rise, noticeHeight);

    EXPECT_NE(desktop, RGB(0, 255, 0));
    EXPECT_EQ(screenPixel(headingPoint), desktop);
    EXPECT_EQ(screenPixel(fieldPoint), RGB(208, 208, 0));
    // Wine's hit test ignores the colour key, so whether a click on the green
    // passes through cannot be seen here; a click on the field reaches us.
    EXPECT_EQ(WindowFromPoint(fieldPoint), window);
    DestroyNoticeWindow(window);
}

}  // namespace

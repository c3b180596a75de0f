// Both dialogs on screen, as the user sees them: every text they show must be
// drawable in its font (no missing-glyph boxes), and pictures of them are
// saved as PNG files into the build folder for people to look at.
#include "accounting/reading_state.h"
#include "reports/alarm_dialog.h"
#include "reports/log_viewer_dialog.h"
#include "reports/report_mode.h"
#include "resources/dialog_ids.h"
#include "resources/resource_ids.h"
#include "store/registry_layout.h"
#include "store/settings.h"
#include "tests/reports/dialog_driver.h"
#include "tests/support/png_file.h"
#include "tests/reports/registry_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

std::wstring ScreenshotFolder()
{
    const std::wstring folder = ExecutableFolder() + L"..\\screenshots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// The window's pixels as shown on the screen, three bytes a pixel.
std::vector<std::uint8_t> Capture(HWND window, int& width, int& height)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
        rgb.push_back(pixels[i * 4 + 2]);
        rgb.push_back(pixels[i * 4 + 1]);
        rgb.push_back(pixels[i * 4 + 0]);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rgb;
}

size_t DistinctColours(const std::vector<std::uint8_t>& rgb)
{
    std::set<std::uint32_t> colours;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        colours.insert((std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
    }
    return colours.size();
}

// The characters of `text` that `font` has no glyph for.
std::wstring MissingGlyphs(HFONT font, const std::wstring& text)
{
    std::wstring shown;
    for (const wchar_t c : text) {
        if (c != L'&' && c != L'\r' && c != L'\n') {
            shown += c;
        }
    }
    if (shown.empty()) {
        return L"";
    }
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    std::vector<WORD> glyphs(shown.size());
    GetGlyphIndicesW(dc, shown.c_str(), static_cast<int>(shown.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    DeleteDC(dc);
    std::wstring missing;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (glyphs[i] == 0xFFFF) {
            missing += shown[i];
        }
    }
    return missing;
}

// Every text of the dialog, caption included, has its glyphs; then the
// dialog's picture is saved.
void CheckAndSave(HWND dialog, const wchar_t* fileName)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);
    EXPECT_EQ(MissingGlyphs(captionFont, WindowText(dialog)), L"") << "caption";
    DeleteObject(captionFont);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(MissingGlyphs(font, WindowText(child)), L"") << GetDlgCtrlID(child);
    }

    ShowWindow(dialog, SW_SHOW);
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(dialog);
    UpdateWindow(dialog);
    PumpMessagesFor(500);
    int width = 0;
    int height = 0;
    const std::vector<std::uint8_t> rgb = Capture(dialog, width, height);
    EXPECT_GT(DistinctColours(rgb), 2u) << "nothing drawn";
    std::vector<std::uint32_t> pixels;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        pixels.push_back((std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
    }
    EXPECT_TRUE(WritePng(ScreenshotFolder() + fileName, width, height, pixels));
}

class DialogPictures : public testing::Test {
protected:
    void SetUp() override
    {
        ReleaseAlarmMessages();
        settings = Settings{};
        SYSTEMTIME now = {};
        GetLocalTime(&now);
        SetToday(now);
        readingState.todaySeconds = 3725;
    }
    void TearDown() override { ReleaseAlarmMessages(); }
};

TEST_F(DialogPictures, LogViewerWeekAndRanking)
{
    MessageBoxCapture boxes;
    StoreDword(kRankKeyPath, L"ヨミカゼ", 59);
    StoreDword(kRankKeyPath, L"日本語の表記体系", 3725);
    StoreDword(kRankKeyPath, L"Wikipedia:井戸端", 360000);
    struct Case {
        std::uint32_t mode;
        const wchar_t* file;
    };
    for (const Case& c : {Case{kReportWeek, L"log_viewer_week.png"},
                          Case{kReportRanking, L"log_viewer_ranking.png"}}) {
        reportMode = c.mode;
        const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr),
                                               MAKEINTRESOURCEW(kLogViewerDialogId), nullptr,
                                               LogViewerDialog, 0);
        ASSERT_NE(dialog, nullptr);
        CheckAndSave(dialog, c.file);
        DestroyWindow(dialog);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(DialogPictures, AlarmDialog)
{
    settings.alarmEnabled[0] = true;
    settings.alarmHour[0] = 7;
    settings.alarmMinute[0] = 30;
    const wchar_t text[] = L"おはようございます。記事を読む時間です";
    settings.alarmMessage[0] = new wchar_t[sizeof text / sizeof text[0]];
    std::memcpy(settings.alarmMessage[0], text, sizeof text);
    settings.alarmHour[2] = 23;
    const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr),
                                           MAKEINTRESOURCEW(kAlarmDialogId), nullptr, AlarmDialog, 0);
    ASSERT_NE(dialog, nullptr);
    CheckAndSave(dialog, L"alarm_dialog.png");
    DestroyWindow(dialog);
}

}  // namespace

#include "resources/dialog_ids.h"
#include "resources/resource_ids.h"
#include "tests/reports/dialog_template.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

struct Expected {
    int id;
    WORD classAtom;
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD style;
};

constexpr DWORD kNumber = kChild | ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kMessage = kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kCheck = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kLabel = kChild | SS_LEFT | WS_GROUP;

const Expected kLogViewerItems[] = {
    {IDCANCEL, kButton, L"閉じる(&C)", 307, 189, 60, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {kLogReportId, kEdit, L"", 7, 7, 360, 177,
     kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
         WS_HSCROLL | WS_BORDER | WS_TABSTOP},
    {kLogDeleteId, kButton, L"ログの削除(&D)", 7, 189, 83, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
};

const Expected kAlarmItems[] = {
    {1001, kButton, L"アラーム1有効(&A)", 7, 9, 71, 10, kCheck},
    {1000, kEdit, L"", 114, 7, 40, 14, kNumber},
    {65535, kStatic, L"時", 160, 10, 9, 8, kLabel},
    {1002, kEdit, L"", 175, 7, 40, 14, kNumber},
    {65535, kStatic, L"分", 221, 10, 9, 8, kLabel},
    {65535, kStatic, L"メッセージ(&M)：", 19, 26, 46, 8, kLabel},
    {1003, kEdit, L"", 67, 24, 232, 14, kMessage},
    {1004, kButton, L"アラーム2有効(&B)", 7, 49, 70, 10, kCheck},
    {1005, kEdit, L"", 114, 47, 40, 14, kNumber},
    {65535, kStatic, L"時", 160, 50, 9, 8, kLabel},
    {1006, kEdit, L"", 175, 47, 40, 14, kNumber},
    {65535, kStatic, L"分", 221, 50, 9, 8, kLabel},
    {65535, kStatic, L"メッセージ(&N)：", 19, 66, 45, 8, kLabel},
    {1007, kEdit, L"", 67, 64, 232, 14, kMessage},
    {1008, kButton, L"アラーム3有効(&C)", 7, 88, 71, 10, kCheck},
    {1009, kEdit, L"", 114, 86, 40, 14, kNumber},
    {65535, kStatic, L"時", 160, 89, 9, 8, kLabel},
    {1010, kEdit, L"", 175, 86, 40, 14, kNumber},
    {65535, kStatic, L"分", 221, 89, 9, 8, kLabel},
    {65535, kStatic, L"メッセージ(&L)：", 19, 105, 44, 8, kLabel},
    {1011, kEdit, L"", 67, 103, 232, 14, kMessage},
    {IDOK, kButton, L"OK", 195, 129, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, kButton, L"キャンセル", 249, 129, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
};

struct ExpectedDialog {
    const wchar_t* caption;
    DWORD style;
    short cx, cy;
    const wchar_t* face;
};

const ExpectedDialog kLogViewer = {L"記事閲覧ログ - ヨミカゼ",
                                   WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER |
                                       DS_SETFONT,
                                   374, 210, L"ＭＳ ゴシック"};
const ExpectedDialog kAlarm = {L"アラーム設定",
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
                                   DS_FIXEDSYS,
                               306, 150, L"ＭＳ Ｐゴシック"};

template <size_t N>
void ExpectItems(const DialogTemplate& dialog, const Expected (&expected)[N])
{
    ASSERT_EQ(dialog.items.size(), N);
    for (size_t i = 0; i < N; ++i) {
        const TemplateItem& item = dialog.items[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(testing::Message() << "control " << i << " id " << e.id);
        EXPECT_EQ(item.id, static_cast<DWORD>(e.id));
        EXPECT_EQ(item.classAtom, e.classAtom);
        EXPECT_EQ(item.text, e.text);
        EXPECT_EQ(item.x, e.x);
        EXPECT_EQ(item.y, e.y);
        EXPECT_EQ(item.cx, e.cx);
        EXPECT_EQ(item.cy, e.cy);
        EXPECT_EQ(item.style, e.style) << std::hex << item.style << " " << e.style;
        EXPECT_EQ(item.exStyle, 0u);
    }
}

// The controls of a live dialog in their window order, as the platform made
// them from the template.
struct LiveControl {
    int id;
    std::wstring className;
    std::wstring text;
};

std::vector<LiveControl> LiveControls(HWND dialog)
{
    std::vector<LiveControl> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        wchar_t text[64] = {};
        GetClassNameW(child, name, 32);
        GetWindowTextW(child, text, 64);
        controls.push_back({GetDlgCtrlID(child), name, text});
    }
    return controls;
}

INT_PTR CALLBACK InertDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

template <size_t N>
void ExpectLiveDialog(WORD resourceId, const ExpectedDialog& dialogExpected,
                      const Expected (&expected)[N])
{
    const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                           nullptr, InertDialog, 0);
    ASSERT_NE(dialog, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(dialog, title, 64);
    EXPECT_STREQ(title, dialogExpected.caption);
    const std::vector<LiveControl> controls = LiveControls(dialog);
    ASSERT_EQ(controls.size(), N);
    const wchar_t* const classes[] = {L"Button", L"Edit", L"Static"};
    for (size_t i = 0; i < N; ++i) {
        EXPECT_EQ(controls[i].id, expected[i].id == 65535 ? 65535 : expected[i].id) << i;
        EXPECT_EQ(controls[i].className, classes[expected[i].classAtom - kButton]) << i;
        EXPECT_EQ(controls[i].text, expected[i].text) << i;
    }
    // The font of the template, at 9 points.
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logFont = {};
    GetObjectW(font, sizeof logFont, &logFont);
    EXPECT_STREQ(logFont.lfFaceName, dialogExpected.face);
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(-logFont.lfHeight, MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    // The client area measures the template's size in dialog units.
    RECT expectedClient = {0, 0, dialogExpected.cx, dialogExpected.cy};
    MapDialogRect(dialog, &expectedClient);
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, expectedClient.right);
    EXPECT_EQ(client.bottom, expectedClient.bottom);
    DestroyWindow(dialog);
}

template <size_t N>
void ExpectTemplate(WORD resourceId, const ExpectedDialog& expected, const Expected (&items)[N])
{
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(resourceId, dialog));
    EXPECT_EQ(dialog.caption, expected.caption);
    EXPECT_EQ(dialog.style, expected.style) << std::hex << dialog.style;
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 0);  // no position of its own; the log viewer is centred
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, expected.cx);
    EXPECT_EQ(dialog.cy, expected.cy);
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.face, expected.face);
    ExpectItems(dialog, items);
}

TEST(LogViewerTemplate, CaptionFontStylesAndControls)
{
    ExpectTemplate(kLogViewerDialogId, kLogViewer, kLogViewerItems);
}

TEST(LogViewerTemplate, MadeForRealFromTheResource)
{
    ExpectLiveDialog(kLogViewerDialogId, kLogViewer, kLogViewerItems);
}

TEST(AlarmTemplate, CaptionFontStylesAndControls)
{
    ExpectTemplate(kAlarmDialogId, kAlarm, kAlarmItems);
}

TEST(AlarmTemplate, MadeForRealFromTheResource)
{
    ExpectLiveDialog(kAlarmDialogId, kAlarm, kAlarmItems);
}

TEST(AlarmTemplate, EachMessageLabelsMnemonicMovesTheFocusToItsField)
{
    const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr),
                                           MAKEINTRESOURCEW(kAlarmDialogId), nullptr, InertDialog, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    struct Case {
        wchar_t key;
        int field;
    };
    for (const Case& c : {Case{L'M', kAlarmMessageIds[0]}, Case{L'N', kAlarmMessageIds[1]},
                          Case{L'L', kAlarmMessageIds[2]}}) {
        SetFocus(GetDlgItem(dialog, kAlarmOnIds[0]));
        MSG message = {};
        message.hwnd = GetFocus();
        message.message = WM_SYSCHAR;
        message.wParam = c.key;
        message.lParam = 1 | (1 << 29);  // Alt held
        IsDialogMessageW(dialog, &message);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.field) << static_cast<char>(c.key);
    }
    DestroyWindow(dialog);
}

}  // namespace

#include "reports/alarm_dialog.h"

#include "accounting/clock_collaborators.h"
#include "accounting/notice_rules.h"
#include "accounting/reading_state.h"
#include "resources/dialog_ids.h"
#include "resources/resource_ids.h"
#include "store/settings.h"
#include "store/settings_store.h"
#include "tests/reports/dialog_driver.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

wchar_t* OwnedCopy(const wchar_t* text)
{
    const size_t n = std::wcslen(text) + 1;
    wchar_t* copy = new wchar_t[n];
    std::memcpy(copy, text, n * sizeof(wchar_t));
    return copy;
}

bool Checked(HWND dialog, int id)
{
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheck(HWND dialog, int id, bool on)
{
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Types a text into a control key by key, as the user would.
void Type(HWND dialog, int id, const wchar_t* keys)
{
    const HWND edit = GetDlgItem(dialog, id);
    for (const wchar_t* key = keys; *key != L'\0'; ++key) {
        SendMessageW(edit, WM_CHAR, *key, 1);
    }
}

// What the dialog shows, field by field, in the order of alarms 1, 2, 3.
struct Shown {
    bool on[3];
    std::wstring hour[3], minute[3], message[3];
};

Shown Read(HWND dialog)
{
    Shown shown;
    for (int i = 0; i < 3; ++i) {
        shown.on[i] = Checked(dialog, kAlarmOnIds[i]);
        shown.hour[i] = ItemText(dialog, kAlarmHourIds[i]);
        shown.minute[i] = ItemText(dialog, kAlarmMinuteIds[i]);
        shown.message[i] = ItemText(dialog, kAlarmMessageIds[i]);
    }
    return shown;
}

class Alarms : public testing::Test {
protected:
    void SetUp() override
    {
        ReleaseAlarmMessages();
        settings = Settings{};
    }
    void TearDown() override { ReleaseAlarmMessages(); }

    static DialogRun Open(const std::function<void(HWND)>& drive)
    {
        return RunDialog(kAlarmDialogId, AlarmDialog, drive);
    }

    // Opens the dialog and returns what it shows, closing it with cancel.
    static Shown Showing()
    {
        Shown shown;
        const DialogRun run = Open([&](HWND dialog) {
            shown = Read(dialog);
            Click(dialog, IDCANCEL);
        });
        EXPECT_EQ(run.result, IDCANCEL);
        return shown;
    }
};

TEST_F(Alarms, WithNothingStoredEverythingIsOffZeroAndEmpty)
{
    MessageBoxCapture boxes;
    Shown shown;
    std::vector<LRESULT> limits;
    const DialogRun run = Open([&](HWND dialog) {
        shown = Read(dialog);
        for (int i = 0; i < 3; ++i) {
            limits.push_back(SendDlgItemMessageW(dialog, kAlarmHourIds[i], EM_GETLIMITTEXT, 0, 0));
            limits.push_back(
                SendDlgItemMessageW(dialog, kAlarmMinuteIds[i], EM_GETLIMITTEXT, 0, 0));
        }
        const LRESULT defaultLimit =
            SendMessageW(CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 1, 1, dialog, nullptr,
                                         nullptr, nullptr),
                         EM_GETLIMITTEXT, 0, 0);
        for (const int id : kAlarmMessageIds) {
            EXPECT_EQ(SendDlgItemMessageW(dialog, id, EM_GETLIMITTEXT, 0, 0), defaultLimit);
        }
        Click(dialog, IDCANCEL);
    });
    EXPECT_TRUE(run.shown);
    EXPECT_EQ(run.result, IDCANCEL);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(shown.on[i]);
        EXPECT_EQ(shown.hour[i], L"0");
        EXPECT_EQ(shown.minute[i], L"0");
        EXPECT_EQ(shown.message[i], L"");
    }
    EXPECT_EQ(limits, std::vector<LRESULT>(6, 2));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Alarms, ShowsEachAlarmAsSetWithoutLeadingZeros)
{
    const bool on[3] = {true, false, true};
    const std::uint16_t hours[3] = {7, 23, 99};
    const std::uint16_t minutes[3] = {5, 0, 59};
    for (int i = 0; i < 3; ++i) {
        settings.alarmEnabled[i] = on[i];
        settings.alarmHour[i] = hours[i];
        settings.alarmMinute[i] = minutes[i];
    }
    settings.alarmMessage[0] = OwnedCopy(L"起きる時間です");
    settings.alarmMessage[2] = OwnedCopy(L"会議");
    const Shown shown = Showing();
    const wchar_t* const hourTexts[3] = {L"7", L"23", L"99"};
    const wchar_t* const minuteTexts[3] = {L"5", L"0", L"59"};
    const wchar_t* const messages[3] = {L"起きる時間です", L"", L"会議"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(shown.on[i], on[i]) << i;
        EXPECT_EQ(shown.hour[i], hourTexts[i]) << i;
        EXPECT_EQ(shown.minute[i], minuteTexts[i]) << i;
        EXPECT_EQ(shown.message[i], messages[i]) << i;
    }
}

TEST_F(Alarms, OkStoresEveryFieldAndASaveAndLoadBringsThemBack)
{
    const DialogRun run = Open([](HWND dialog) {
        SetCheck(dialog, kAlarmOnIds[0], true);
        SetDlgItemTextW(dialog, kAlarmHourIds[0], L"");
        Type(dialog, kAlarmHourIds[0], L"7");
        SetDlgItemTextW(dialog, kAlarmMinuteIds[0], L"");
        Type(dialog, kAlarmMinuteIds[0], L"5");
        SetDlgItemTextW(dialog, kAlarmMessageIds[0], L"お昼です");
        SetCheck(dialog, kAlarmOnIds[2], true);
        SetDlgItemTextW(dialog, kAlarmHourIds[2], L"23");
        SetDlgItemTextW(dialog, kAlarmMinuteIds[2], L"59");
        SetDlgItemTextW(dialog, kAlarmMessageIds[2], L"寝る");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_TRUE(settings.alarmEnabled[0]);
    EXPECT_FALSE(settings.alarmEnabled[1]);
    EXPECT_TRUE(settings.alarmEnabled[2]);
    EXPECT_EQ(settings.alarmHour[0], 7);
    EXPECT_EQ(settings.alarmMinute[0], 5);
    EXPECT_EQ(settings.alarmHour[2], 23);
    EXPECT_EQ(settings.alarmMinute[2], 59);
    ASSERT_NE(settings.alarmMessage[0], nullptr);
    EXPECT_STREQ(settings.alarmMessage[0], L"お昼です");
    ASSERT_NE(settings.alarmMessage[1], nullptr);  // an empty field gives an empty text
    EXPECT_STREQ(settings.alarmMessage[1], L"");
    EXPECT_STREQ(settings.alarmMessage[2], L"寝る");

    // Through the registry and back.
    MessageBoxCapture boxes;
    SaveSettings(nullptr);
    ReleaseAlarmMessages();
    settings = Settings{};
    LoadSettings();
    const Shown shown = Showing();
    EXPECT_TRUE(shown.on[0]);
    EXPECT_EQ(shown.hour[0], L"7");
    EXPECT_EQ(shown.minute[0], L"5");
    EXPECT_EQ(shown.message[0], L"お昼です");
    EXPECT_FALSE(shown.on[1]);
    EXPECT_EQ(shown.message[1], L"");
    EXPECT_EQ(shown.hour[2], L"23");
    EXPECT_EQ(shown.message[2], L"寝る");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Alarms, NumberFieldsTakeTwoDigitsAndReadEmptyOrNonNumbersAsZero)
{
    struct Case {
        const wchar_t* text;
        std::uint16_t stored;
    };
    // Texts put in by SetWindowText pass the two-digit limit, so the reading
    // itself is tested too: cut to 16 bits, no range check.
    const Case cases[] = {{L"", 0},     {L"99", 99}, {L"07", 7},
                          {L"ab", 0},   {L"60", 60}, {L"70000", 4464}};
    for (const Case& c : cases) {
        settings.alarmHour[1] = 12;
        settings.alarmMinute[1] = 34;
        const DialogRun run = Open([&](HWND dialog) {
            SetDlgItemTextW(dialog, kAlarmHourIds[1], c.text);
            SetDlgItemTextW(dialog, kAlarmMinuteIds[1], c.text);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(run.result, IDOK);
        EXPECT_EQ(settings.alarmHour[1], c.stored) << c.text;
        EXPECT_EQ(settings.alarmMinute[1], c.stored) << c.text;
    }
}

TEST_F(Alarms, AThirdDigitCannotBeTyped)
{
    std::wstring typed;
    const DialogRun run = Open([&](HWND dialog) {
        SetDlgItemTextW(dialog, kAlarmHourIds[0], L"");
        Type(dialog, kAlarmHourIds[0], L"999");
        typed = ItemText(dialog, kAlarmHourIds[0]);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(typed, L"99");
    EXPECT_EQ(settings.alarmHour[0], 99);
}

TEST_F(Alarms, CancelAfterEditingChangesNothing)
{
    settings.alarmEnabled[0] = true;
    settings.alarmHour[0] = 6;
    settings.alarmMinute[0] = 30;
    settings.alarmMessage[0] = OwnedCopy(L"朝");
    const wchar_t* const before = settings.alarmMessage[0];
    for (const bool escape : {false, true}) {
        const DialogRun run = Open([&](HWND dialog) {
            for (int i = 0; i < 3; ++i) {
                SetCheck(dialog, kAlarmOnIds[i], i != 0);
                SetDlgItemTextW(dialog, kAlarmHourIds[i], L"11");
                SetDlgItemTextW(dialog, kAlarmMinuteIds[i], L"22");
                SetDlgItemTextW(dialog, kAlarmMessageIds[i], L"変更");
            }
            if (escape) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
            } else {
                Click(dialog, IDCANCEL);
            }
        });
        EXPECT_EQ(run.result, IDCANCEL);
        EXPECT_TRUE(settings.alarmEnabled[0]);
        EXPECT_FALSE(settings.alarmEnabled[1]);
        EXPECT_EQ(settings.alarmHour[0], 6);
        EXPECT_EQ(settings.alarmMinute[0], 30);
        EXPECT_EQ(settings.alarmHour[1], 0);
        EXPECT_EQ(settings.alarmMessage[0], before);
        EXPECT_STREQ(settings.alarmMessage[0], L"朝");
        EXPECT_EQ(settings.alarmMessage[1], nullptr);
        EXPECT_EQ(settings.alarmMessage[2], nullptr);
    }
}

TEST_F(Alarms, OkWithoutChangesStillReplacesTheThreeMessages)
{
    settings.alarmEnabled[1] = true;
    settings.alarmHour[1] = 8;
    settings.alarmMinute[1] = 15;
    settings.alarmMessage[1] = OwnedCopy(L"出発");
    const DialogRun run = Open([](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_TRUE(settings.alarmEnabled[1]);
    EXPECT_EQ(settings.alarmHour[1], 8);
    EXPECT_EQ(settings.alarmMinute[1], 15);
    EXPECT_STREQ(settings.alarmMessage[1], L"出発");
    // The null messages come back as new, empty texts.
    for (const int i : {0, 2}) {
        ASSERT_NE(settings.alarmMessage[i], nullptr) << i;
        EXPECT_STREQ(settings.alarmMessage[i], L"") << i;
    }
}

TEST_F(Alarms, ANoticeOnScreenKeepsItsTextWhenOkReplacesTheMessage)
{
    clockCollaborators.startTimer = [](HWND, UINT_PTR, UINT) {};
    readingState.noticeTimerId = 0;
    settings.alarmEnabled[0] = true;
    settings.alarmHour[0] = 7;
    settings.alarmMinute[0] = 30;
    settings.alarmMessage[0] = OwnedCopy(L"起きる時間です");
    SYSTEMTIME now = {};
    now.wYear = 2026;
    now.wMonth = 3;
    now.wDay = 14;
    now.wHour = 7;
    now.wMinute = 30;
    CheckAlarms(nullptr, now);
    clockCollaborators = DefaultClockCollaborators();
    ASSERT_NE(readingState.noticeTimerId, 0u);
    // The notice shows a copy, not the array that OK releases.
    EXPECT_NE(readingState.noticeText, settings.alarmMessage[0]);

    const DialogRun run = Open([](HWND dialog) {
        SetDlgItemTextW(dialog, kAlarmMessageIds[0], L"もう一度");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_STREQ(settings.alarmMessage[0], L"もう一度");
    EXPECT_STREQ(readingState.noticeText, L"起きる時間です");
    readingState.noticeTimerId = 0;
}

TEST_F(Alarms, OtherCommandsLeaveTheDialogOpen)
{
    const DialogRun run = Open([](HWND dialog) {
        EXPECT_EQ(SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kAlarmHourIds[0], EN_CHANGE), 0), 0);
        EXPECT_TRUE(IsWindowVisible(dialog));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(run.result, IDCANCEL);
}

}  // namespace

#include "reports/log_viewer_dialog.h"

#include "accounting/reading_state.h"
#include "reports/calendar.h"
#include "reports/report_mode.h"
#include "resources/dialog_ids.h"
#include "resources/resource_ids.h"
#include "store/registry_layout.h"
#include "store/settings.h"
#include "tests/reports/dialog_driver.h"
#include "tests/reports/registry_fixture.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kNoRankingText[] =
    L"閲覧記事のランキングデータが見つかりません。\r\n\r\n"
    L"「閲覧記事のランキングを行う」のチェックがONになっていない場合は、ONにする必要があります。\r\n"
    L"また、ONにした後で、1つ以上のウィキペディアのページを閲覧しておく必要があります。";

// The day line of the report for a date and a number of seconds.
std::wstring DayLine(const SYSTEMTIME& date, unsigned seconds)
{
    wchar_t line[64] = {};
    std::swprintf(line, 64, L"%4u/%2u/%2u … %2u:%02u:%02u", unsigned{date.wYear},
                  unsigned{date.wMonth}, unsigned{date.wDay}, seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return line;
}

class LogViewer : public testing::Test {
protected:
    void SetUp() override
    {
        ReleaseAlarmMessages();
        settings = Settings{};
        GetLocalTime(&now);
        SetToday(now);
        readingState.todaySeconds = 3725;
    }
    void TearDown() override { ReleaseAlarmMessages(); }

    // Opens the viewer in a mode; `drive` sees the dialog and must end it.
    DialogRun Open(std::uint32_t mode, const std::function<void(HWND)>& drive,
                   HWND owner = nullptr)
    {
        reportMode = mode;
        return RunDialog(kLogViewerDialogId, LogViewerDialog, drive, owner);
    }

    // Opens the viewer, keeps its report text and closes it.
    std::wstring ReportOf(std::uint32_t mode)
    {
        std::wstring report;
        const DialogRun run = Open(mode, [&](HWND dialog) {
            report = ItemText(dialog, kLogReportId);
            Click(dialog, IDCANCEL);
        });
        EXPECT_TRUE(run.shown);
        EXPECT_EQ(run.result, kLogViewerClosed);
        return report;
    }

    SYSTEMTIME now = {};
};

TEST_F(LogViewer, WeekViewOnAFirstRunShowsTodaysReadingAndSixEmptyDays)
{
    MessageBoxCapture boxes;
    const std::wstring report = ReportOf(kReportWeek);
    EXPECT_TRUE(boxes.Boxes().empty());
    const std::vector<std::wstring> lines = Lines(report);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], L"過去7日間の合計閲覧時間です。");
    EXPECT_EQ(lines[2], DayLine(now, 3725));
    for (size_t i = 3; i < 9; ++i) {
        EXPECT_EQ(lines[i].substr(10), L" …  0:00:00");
    }
    EXPECT_EQ(lines[10], L"7日間の合計 …  1:02:05");
    EXPECT_EQ(lines[11], L"7日間の平均 …  0:08:52");
    // Opening saved today's total and the options first.
    EXPECT_EQ(StoredDword(kLogKeyPath, readingState.dayKey, 0), 3725u);
    EXPECT_EQ(StoredDword(kSettingsKeyPath, L"NotifyFinish", 7), 1u);
}

TEST_F(LogViewer, EachLogModeShowsItsNumberOfDays)
{
    struct Case {
        std::uint32_t mode;
        const wchar_t* header;
        size_t dayLines;
    };
    for (const Case& c : {Case{kReportWeek, L"過去7日間の合計閲覧時間です。", 7},
                          Case{kReportMonth, L"過去30日間の合計閲覧時間です。", 30},
                          Case{kReportYear, L"過去365日間の合計閲覧時間です。", 365}}) {
        const std::vector<std::wstring> lines = Lines(ReportOf(c.mode));
        ASSERT_EQ(lines.size(), 2 + c.dayLines + 3) << c.mode;
        EXPECT_EQ(lines[0], c.header);
        EXPECT_EQ(lines[2], DayLine(now, 3725));
    }
}

TEST_F(LogViewer, RankingViewListsTheStoredArticlesAndSavesTheDayToo)
{
    StoreDword(kRankKeyPath, L"日本", 10);
    StoreDword(kRankKeyPath, L"東京", 3725);
    settings.historyEnabled = true;
    EXPECT_EQ(ReportOf(kReportRanking),
              L"記事ランキング\r\n\r\n第  1位 ( 1:02:05) 東京\r\n第  2位 ( 0:00:10) 日本\r\n");
    EXPECT_EQ(StoredDword(kLogKeyPath, readingState.dayKey, 0), 3725u);
    EXPECT_EQ(StoredDword(kSettingsKeyPath, L"HistryEnabled", 0), 1u);
}

TEST_F(LogViewer, RankingViewWithoutARankingWarnsAndNeverShowsTheDialog)
{
    MessageBoxCapture boxes;
    const DialogRun run = Open(kReportRanking, [](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_FALSE(run.shown);
    EXPECT_EQ(run.result, kLogViewerNoData);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const CapturedBox& box = boxes.Boxes()[0];
    EXPECT_EQ(box.text, kNoRankingText);
    EXPECT_EQ(box.caption, L"ヨミカゼ");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_FALSE(KeyExists(kRankKeyPath));  // opened for reading only: nothing created
    EXPECT_EQ(StoredDword(kLogKeyPath, readingState.dayKey, 0), 3725u);
}

TEST_F(LogViewer, ALogThatCannotBeWrittenOrReadIsToldAndTheDialogNeverShows)
{
    // Under a volatile key no lasting key can be created, so the save fails
    // and the log key does not exist to be read.
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Marvoke", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(volatileKey);

    MessageBoxCapture boxes;
    const DialogRun run = Open(kReportWeek, [](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_FALSE(run.shown);
    EXPECT_EQ(run.result, kLogViewerNoData);
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    // The save's own boxes belong to the dialog ...
    EXPECT_EQ(boxes.Boxes()[0].text, L"本日の閲覧時間合計をログへ書き込めませんでした。");
    EXPECT_EQ(boxes.Boxes()[0].owner, run.dialog);
    EXPECT_EQ(boxes.Boxes()[1].text, L"設定をレジストリへ書き込めませんでした。");
    EXPECT_EQ(boxes.Boxes()[1].owner, run.dialog);
    // ... the viewer's own has no owner.
    const CapturedBox& box = boxes.Boxes()[2];
    EXPECT_EQ(box.text, L"閲覧時間ログデータを読み込めません。");
    EXPECT_EQ(box.caption, L"ヨミカゼ");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_NE(run.dialog, nullptr);
}

TEST_F(LogViewer, DeleteAnsweredNoLeavesTheDialogAndTheLogAsTheyWere)
{
    StoreDword(kLogKeyPath, L"20000101", 42);
    MessageBoxCapture boxes;
    const DialogRun run = Open(kReportMonth, [&](HWND dialog) {
        const std::wstring before = ItemText(dialog, kLogReportId);
        boxes.AnswerNext(IDNO);
        Click(dialog, kLogDeleteId);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(ItemText(dialog, kLogReportId), before);
        Click(dialog, IDCANCEL);
    });
    EXPECT_TRUE(run.shown);
    EXPECT_EQ(run.result, kLogViewerClosed);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const CapturedBox& box = boxes.Boxes()[0];
    EXPECT_EQ(box.text, L"ログデータを削除します。よろしいですか。");
    EXPECT_EQ(box.caption, L"ヨミカゼ");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(box.buttons, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(StoredDword(kLogKeyPath, L"20000101", 0), 42u);
}

TEST_F(LogViewer, DeleteAnsweredYesRemovesTheWholeKeyOfTheModeShown)
{
    struct Case {
        std::uint32_t mode;
        const wchar_t* deleted;
        const wchar_t* kept;
    };
    for (const Case& c : {Case{kReportWeek, kLogKeyPath, kRankKeyPath},
                          Case{kReportMonth, kLogKeyPath, kRankKeyPath},
                          Case{kReportYear, kLogKeyPath, kRankKeyPath},
                          Case{kReportRanking, kRankKeyPath, kLogKeyPath}}) {
        StoreDword(kLogKeyPath, L"19991231", 42);  // far older than any report reaches
        StoreDword(kRankKeyPath, L"日本", 10);
        MessageBoxCapture boxes;
        boxes.AnswerNext(IDYES);
        const DialogRun run = Open(c.mode, [](HWND dialog) { Click(dialog, kLogDeleteId); });
        EXPECT_TRUE(run.shown) << c.mode;
        EXPECT_EQ(run.result, kLogViewerDeleted) << c.mode;
        EXPECT_EQ(boxes.Boxes().size(), 1u) << c.mode;
        EXPECT_FALSE(KeyExists(c.deleted)) << c.mode;
        EXPECT_TRUE(KeyExists(c.kept)) << c.mode;
        EXPECT_TRUE(KeyExists(kSettingsKeyPath)) << c.mode;
        RegDeleteKeyW(HKEY_CURRENT_USER, kRankKeyPath);
        RegDeleteKeyW(HKEY_CURRENT_USER, kLogKeyPath);
    }
}

TEST_F(LogViewer, AfterDeletingTheLogTheNextWeekViewShowsTodayAndSixZeros)
{
    const SYSTEMTIME yesterday = [&] {
        SYSTEMTIME date = now;
        StepBackOneDay(date);
        return date;
    }();
    StoreDword(kLogKeyPath, DayKeyOf(yesterday).c_str(), 600);
    EXPECT_EQ(Lines(ReportOf(kReportWeek))[3], DayLine(yesterday, 600));

    MessageBoxCapture boxes;
    boxes.AnswerNext(IDYES);
    EXPECT_EQ(Open(kReportWeek, [](HWND dialog) { Click(dialog, kLogDeleteId); }).result,
              kLogViewerDeleted);
    EXPECT_FALSE(KeyExists(kLogKeyPath));

    const std::vector<std::wstring> lines = Lines(ReportOf(kReportWeek));
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[2], DayLine(now, 3725));
    EXPECT_EQ(lines[3], DayLine(yesterday, 0));
    EXPECT_EQ(lines[10], L"7日間の合計 …  1:02:05");
}

TEST_F(LogViewer, DeletingAKeyThatIsAlreadyGoneStillClosesWithTheDeleteResult)
{
    MessageBoxCapture boxes;
    boxes.AnswerNext(IDYES);
    const DialogRun run = Open(kReportWeek, [](HWND dialog) {
        RegDeleteKeyW(HKEY_CURRENT_USER, kLogKeyPath);
        Click(dialog, kLogDeleteId);
    });
    EXPECT_EQ(run.result, kLogViewerDeleted);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(LogViewer, EscapeAndOtherCommands)
{
    const DialogRun run = Open(kReportWeek, [](HWND dialog) {
        // A command the viewer does not know changes nothing.
        EXPECT_EQ(SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1012, EN_SETFOCUS), 0), 0);
        EXPECT_TRUE(IsWindowVisible(dialog));
        // Esc reaches the close command.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    });
    EXPECT_EQ(run.result, kLogViewerClosed);
}

// Records the z-order requests made for one window.
std::vector<HWND> insertAfterRequests;
HHOOK callHook = nullptr;

LRESULT CALLBACK WatchPositions(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGING) {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(call->lParam);
        if ((position->flags & SWP_NOZORDER) == 0 && GetClassLongPtrW(call->hwnd, GCW_ATOM) == 32770) {
            insertAfterRequests.push_back(position->hwndInsertAfter);
        }
    }
    return CallNextHookEx(callHook, code, wParam, lParam);
}

TEST_F(LogViewer, AsksToLeaveTheTopmostBandOfItsOwner)
{
    const HWND owner = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"owner",
                                       WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    insertAfterRequests.clear();
    callHook = SetWindowsHookExW(WH_CALLWNDPROC, WatchPositions, nullptr, GetCurrentThreadId());
    std::vector<HWND> beforeShown;
    const DialogRun run = Open(
        kReportWeek,
        [&](HWND dialog) {
            beforeShown = insertAfterRequests;
            Click(dialog, IDCANCEL);
        },
        owner);
    UnhookWindowsHookEx(callHook);
    DestroyWindow(owner);
    EXPECT_TRUE(run.shown);
    ASSERT_FALSE(beforeShown.empty());
    EXPECT_EQ(beforeShown.front(), HWND_NOTOPMOST);
}

}  // namespace

#include "reports/log_viewer_dialog.h"

#include "reports/daily_log_report.h"
#include "reports/ranking_report.h"
#include "reports/report_mode.h"
#include "resources/dialog_ids.h"
#include "resources/version.h"
#include "store/registry_layout.h"
#include "store/regw.h"
#include "store/settings_store.h"

namespace {

constexpr wchar_t kNoRankingText[] =
    L"閲覧記事のランキングデータが見つかりません。\r\n\r\n"
    L"「閲覧記事のランキングを行う」のチェックがONになっていない場合は、ONにする必要があります。\r\n"
    L"また、ONにした後で、1つ以上のウィキペディアのページを閲覧しておく必要があります。";
constexpr wchar_t kNoLogText[] = L"閲覧時間ログデータを読み込めません。";
constexpr wchar_t kDeleteQuestion[] = L"ログデータを削除します。よろしいですか。";

void InitLogViewer(HWND dialog)
{
    // The owner, the main window, is topmost; the viewer must not be.
    SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // Today's running total goes into the log first, so the report includes
    // the reading up to now. Its failures are told in boxes; the report goes on.
    SaveSettings(dialog);

    const std::uint32_t mode = reportMode;
    REGW key;
    const bool opened = key.OpenKey(ReportKeyPath(mode), REGW::OpenReadOnly);
    const HWND reportArea = GetDlgItem(dialog, kLogReportId);
    if (mode == kReportRanking) {
        if (opened) {
            ShowRankingReport(key, reportArea);
            key.CloseKey();
        } else {
            MessageBoxW(nullptr, kNoRankingText, kProductCaption, MB_ICONWARNING);
            EndDialog(dialog, kLogViewerNoData);
        }
    } else {
        if (opened) {
            ShowDailyLogReport(key, ReportDays(mode), reportArea);
            key.CloseKey();
        } else {
            MessageBoxW(nullptr, kNoLogText, kProductCaption, MB_ICONERROR);
            EndDialog(dialog, kLogViewerNoData);
        }
    }
}

void DeleteShownLog(HWND dialog)
{
    if (MessageBoxW(nullptr, kDeleteQuestion, kProductCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    // The whole key, not only the days shown. A key already gone is no error
    // worth telling: the dialog closes all the same.
    RegDeleteKeyW(HKEY_CURRENT_USER, ReportKeyPath(reportMode));
    EndDialog(dialog, kLogViewerDeleted);
}

}  // namespace

const wchar_t* ReportKeyPath(std::uint32_t mode)
{
    return mode == kReportRanking ? kRankKeyPath : kLogKeyPath;
}

int ReportDays(std::uint32_t mode)
{
    switch (mode) {
    case kReportMonth:
        return 30;
    case kReportYear:
        return 365;
    default:
        return 7;
    }
}

INT_PTR CALLBACK LogViewerDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitLogViewer(dialog);
        return TRUE;  // the focus goes to the first tab stop, the close button
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
            EndDialog(dialog, kLogViewerClosed);
            return TRUE;
        case kLogDeleteId:
            DeleteShownLog(dialog);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

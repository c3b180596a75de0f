#include "tests/accounting/clock_harness.h"

#include "accounting/reading_clock.h"

#include <cwchar>

namespace harness {

std::vector<TrayCall> trayCalls;
std::vector<std::wstring> rankCalls;
std::vector<SaveCall> saveCalls;
std::vector<TimerCall> timerCalls;
std::vector<std::wstring> feed;
int hideCalls = 0;
SYSTEMTIME now{};
bool pageInView = false;
std::wstring title;
std::function<void()> duringSave;

const HICON kReadingIcon = reinterpret_cast<HICON>(static_cast<UINT_PTR>(0x1320));
const HICON kIdleIcon = reinterpret_cast<HICON>(static_cast<UINT_PTR>(0x1330));

namespace {

HWND mainWindow = nullptr;
HWND companionWindow = nullptr;

LRESULT CALLBACK CompanionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const auto* text = static_cast<const wchar_t*>(record->lpData);
        feed.emplace_back(text, record->cbData / sizeof(wchar_t) - 1);
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void EnsureWindows()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (mainWindow == nullptr) {
        WNDCLASSW companionClass{};
        companionClass.lpfnWndProc = CompanionProc;
        companionClass.hInstance = instance;
        companionClass.lpszClassName = L"hovelkin";
        RegisterClassW(&companionClass);
        mainWindow = CreateWindowExW(0, L"Static", L"main window stand-in", WS_POPUP, 0, 0, 10,
                                     10, nullptr, nullptr, instance, nullptr);
    }
    if (!IsWindow(companionWindow)) {
        companionWindow = CreateWindowExW(0, L"hovelkin", L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                          nullptr, nullptr, instance, nullptr);
    }
}

void Observe()
{
    if (pageInView) {
        std::wcsncpy(readingState.currentArticle, title.c_str(), kTitleChars - 1);
        readingState.graceTicks = kGraceFull;
    }
}

void RecordTray(HWND, HICON icon, const wchar_t* text) { trayCalls.push_back({icon, text}); }
void RecordRank(const wchar_t* text) { rankCalls.emplace_back(text); }
void RecordSave(HWND)
{
    saveCalls.push_back({readingState.dayKey, readingState.todaySeconds});
    if (duringSave) {
        duringSave();
    }
}
void ReadNow(SYSTEMTIME* time) { *time = now; }
void RecordStart(HWND, UINT_PTR id, UINT ms) { timerCalls.push_back({true, id, ms}); }
void RecordStop(HWND, UINT_PTR id) { timerCalls.push_back({false, id, 0}); }
void RecordHide(HWND) { ++hideCalls; }

void AdvanceOneSecond()
{
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER value{{file.dwLowDateTime, file.dwHighDateTime}};
    value.QuadPart += 10'000'000ull;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    FileTimeToSystemTime(&file, &now);
}

}  // namespace

SYSTEMTIME Time(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return time;
}

void Reset(const SYSTEMTIME& start)
{
    EnsureWindows();
    readingState = ReadingState{};
    ReleaseAlarmMessages();
    settings = Settings{};
    trayCalls.clear();
    rankCalls.clear();
    saveCalls.clear();
    timerCalls.clear();
    feed.clear();
    hideCalls = 0;
    pageInView = false;
    title = L"Foo";
    duringSave = nullptr;
    now = start;
    SetToday(start);
    clockCollaborators = ClockCollaborators{Observe,   RecordTray,  RecordRank, RecordSave,
                                            ReadNow,   RecordStart, RecordStop, RecordHide,
                                            kReadingIcon, kIdleIcon};
}

HWND MainWindow() { return mainWindow; }

void DropInProcessCompanion()
{
    DestroyWindow(companionWindow);
    companionWindow = nullptr;
}

void Tick(int ticks, bool page)
{
    pageInView = page;
    for (int i = 0; i < ticks; ++i) {
        ClockTick(mainWindow);
        AdvanceOneSecond();
    }
}

}  // namespace harness

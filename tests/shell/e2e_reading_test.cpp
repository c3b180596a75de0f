// The real program counting real (imitated) browsers: an article in view for
// some seconds, then another site; the companion's feed, the finish notice
// and, after exit, what the registry holds.
#include "store/registry_layout.h"
#include "tests/fixtures/browser_protocol.h"
#include "tests/shell/e2e_support.h"
#include "tests/support/child_process.h"
#include "tests/support/companion_log.h"
#include "tests/support/private_profile.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

void SetAddress(HWND browser, const std::wstring& text)
{
    COPYDATASTRUCT record{};
    record.dwData = kBrowserSetTextBase;
    record.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    record.lpData = const_cast<wchar_t*>(text.c_str());
    SendMessageW(browser, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}

HWND TopWindowOf(DWORD processId, const wchar_t* className)
{
    HWND candidate = nullptr;
    while ((candidate = FindWindowExW(nullptr, candidate, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(candidate, &owner);
        if (owner == processId) {
            return candidate;
        }
    }
    return nullptr;
}

// Imitates the Firefox add-on: rewrites the helper file of one profile
// four times a second, with a new change marker each time.
class FirefoxAddOn {
public:
    explicit FirefoxAddOn(const std::wstring& address) : address_(address)
    {
        const std::wstring profile = PrivateAppData() + L"\\Mozilla\\Firefox\\Profiles\\e2e.default";
        SHCreateDirectoryExW(nullptr, profile.c_str(), nullptr);
        path_ = profile + L"\\ymkhelp_urltext.txt";
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 250, Write);
    }
    ~FirefoxAddOn()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    FirefoxAddOn(const FirefoxAddOn&) = delete;
    FirefoxAddOn& operator=(const FirefoxAddOn&) = delete;

    void Navigate(const std::wstring& address) { address_ = address; }

private:
    static void CALLBACK Write(HWND, UINT, UINT_PTR, DWORD)
    {
        FirefoxAddOn* self = current_;
        if (self == nullptr) {
            return;
        }
        std::wstring content;
        content += L'\xFEFF';
        content += static_cast<wchar_t>(++self->marker_);
        content += L' ';
        content += self->address_;
        const HANDLE file = CreateFileW(self->path_.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)),
                      &written, nullptr);
            CloseHandle(file);
        }
    }

    static inline FirefoxAddOn* current_ = nullptr;
    std::wstring address_;
    std::wstring path_;
    UINT_PTR timer_ = 0;
    wchar_t marker_ = 1;
};

struct BrowserCase {
    const char* name;
    const wchar_t* arguments;  // the browser fixture's, or null for Firefox
    const wchar_t* topClass;
};

class EndToEndReading : public testing::TestWithParam<BrowserCase> {
protected:
    void SetUp() override { UseRealHkcuWithoutProgramData(); }
    void TearDown() override { DeleteProgramData(); }
};

TEST_P(EndToEndReading, CountsTheArticleFeedsTheCompanionAndStoresTheTotals)
{
    const BrowserCase& c = GetParam();
    StoreDword(kSettingsKeyPath, L"HistryEnabled", 1);
    const std::wstring log = PrivateAppData() + L"\\companion.log";
    ChildProcess companion(L"companion_fixture.exe", L"\"--log=" + log + L"\"");
    ASSERT_TRUE(companion.Started());
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    const wchar_t* article = L"http://ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC";
    const wchar_t* elsewhere = L"http://www.example.com/";
    if (c.arguments == nullptr) {
        FirefoxAddOn addOn(article);
        PumpMessagesFor(4500);
        addOn.Navigate(elsewhere);
        PumpMessagesFor(1000);
    } else {
        ChildProcess browser(L"browser_fixture.exe", c.arguments);
        ASSERT_TRUE(browser.Started());
        const HWND top = TopWindowOf(browser.Id(), c.topClass);
        ASSERT_NE(top, nullptr);
        PumpMessagesFor(4500);
        SetAddress(top, elsewhere);
    }
    // Five ticks end the spell; the finish notice then rises in about half a second.
    const HWND notice = program.Window();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(notice) != FALSE; }, 9000));
    PumpMessagesFor(700);
    SaveScreenshot(L"finish-notice-" + std::wstring(c.name, c.name + std::strlen(c.name)));
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT placed{};
    GetWindowRect(notice, &placed);
    EXPECT_EQ(placed.right, workArea.right);
    EXPECT_EQ(placed.bottom, workArea.bottom);

    const std::vector<FeedLine> feed = ReadCompanionLog(log);
    ASSERT_GE(feed.size(), 4u);
    long long last = -1;
    size_t readingLines = 0;
    for (const FeedLine& line : feed) {
        EXPECT_EQ(line.tag, 102414u);
        EXPECT_EQ(line.sender, reinterpret_cast<UINT_PTR>(program.Window()));
        if (line.text.empty()) {
            break;
        }
        const long long seconds = FeedSeconds(line.text, 0);
        EXPECT_EQ(seconds, last < 0 ? seconds : last + 1) << line.text;
        EXPECT_EQ(FeedSeconds(line.text, 1), seconds) << "one spell from the start";
        last = seconds;
        ++readingLines;
    }
    ASSERT_GE(readingLines, 3u);
    ASSERT_LT(readingLines, feed.size()) << "the end of the spell feeds the empty text";
    EXPECT_EQ(feed[readingLines].bytes, 2u);

    SendMessageW(program.Window(), WM_QUERYENDSESSION, 0, 0);
    ASSERT_TRUE(program.WaitForExit(10000));
    const std::optional<std::uint32_t> today = ReadStoredDword(kLogKeyPath, TodayKey().c_str());
    ASSERT_TRUE(today.has_value());
    EXPECT_NEAR(static_cast<double>(*today), static_cast<double>(last), 1.0);
    const std::optional<std::uint32_t> ranked = ReadStoredDword(kRankKeyPath, L"日本");
    ASSERT_TRUE(ranked.has_value());
    EXPECT_NEAR(static_cast<double>(*ranked), static_cast<double>(last), 1.0);
    // The exit steps feed the empty text once more.
    const std::vector<FeedLine> after = ReadCompanionLog(log);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back().text, "");
}

INSTANTIATE_TEST_SUITE_P(
    Browsers, EndToEndReading,
    testing::Values(
        BrowserCase{"chrome_without_scheme",
                    L"--top=Chrome_WidgetWin_0 --branch=Chrome_OmniboxView "
                    L"--text=ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC",
                    L"Chrome_WidgetWin_0"},
        BrowserCase{"internet_explorer",
                    L"--top=IEFrame \"--branch=WorkerW/ReBarWindow32/Address Band Root/Edit\" "
                    L"--text=http://ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC",
                    L"IEFrame"},
        BrowserCase{"firefox_helper_file", nullptr, nullptr}),
    [](const testing::TestParamInfo<BrowserCase>& param) { return param.param.name; });

}  // namespace

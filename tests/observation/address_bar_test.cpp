#include "observation/address_bar_routes.h"
#include "observation/browser_tables.h"
#include "tests/observation/fixture_browser.h"
#include "tests/observation/observation_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Written here from the browsers' own class names, independently of the
// tables under test, so that a slip in either shows.
struct ExpectedRow {
    const wchar_t* topClass;
    AddressBarRoute route;
};

const ExpectedRow kExpectedRows[] = {
    {L"ExploreWClass", RouteIE},           {L"IEFrame", RouteIE},
    {L"Chrome_XPFrame", RouteChrome},      {L"Chrome_VistaFrame", RouteChrome},
    {L"Chrome_WidgetWin_0", RouteChrome},  {L"Chrome_WindowImpl_0", RouteChrome},
    {L"SleipnirMainWindow", RouteFenrir},  {L"GraniMainWindow", RouteFenrir},
    {L"Lunascape3MainWnd", RouteLunascape}, {L"Lunascape4MainWnd", RouteLunascape},
    {L"Lunascape5MainWnd", RouteLunascape}, {L"Lunascape6MainWnd", RouteLunascape},
    {L"Lunascape7MainWnd", RouteLunascape}, {L"Lunascape8MainWnd", RouteLunascape},
    {L"Lunascape3LiteMainWnd", RouteLunascape}, {L"Lunascape4LiteMainWnd", RouteLunascape},
    {L"Lunascape5LiteMainWnd", RouteLunascape}, {L"Lunascape6LiteMainWnd", RouteLunascape},
    {L"Lunascape7LiteMainWnd", RouteLunascape}, {L"Lunascape8LiteMainWnd", RouteLunascape},
    {L"WTL:DonutRAPT", RouteDonut},        {L"WTL:DonutL", RouteDonut},
    {L"WTL:DonutQ", RouteDonut},           {L"TFMain", RouteTFMain},
    {L"wndclass_desked_gsk", RouteCommandBar},
};

// One address bar per chain of every route, as windows from the top-level
// window down; classes that a chain leaves open ("") get names of their own.
struct ChainCase {
    const char* name;
    const wchar_t* topClass;
    AddressBarRoute route;
    const wchar_t* branch;
};

void PrintTo(const ChainCase& c, std::ostream* out) { *out << c.name; }

const ChainCase kChainCases[] = {
    {"IE1", L"IEFrame", RouteIE, L"ComboBoxEx32"},
    {"IE2", L"IEFrame", RouteIE, L"WorkerW/ReBarWindow32/Address Band Root/Edit"},
    {"Chrome1", L"Chrome_WidgetWin_0", RouteChrome, L"Chrome_AutocompleteEdit"},
    {"Chrome2", L"Chrome_WidgetWin_0", RouteChrome, L"Chrome_AutocompleteEditView"},
    {"Chrome3", L"Chrome_WidgetWin_0", RouteChrome, L"Chrome_OmniboxView"},
    {"Fenrir1", L"SleipnirMainWindow", RouteFenrir,
     L"ReBarWindow32/FenrirAdressBarCtrl/FenrirComboBoxCtrl/Edit"},
    {"Fenrir2", L"SleipnirMainWindow", RouteFenrir,
     L"ReBarWindow32/FenrirEmbeddedToolBar/FenrirAdressBarCtrl/FenrirComboBoxCtrl/Edit"},
    {"Fenrir3", L"GraniMainWindow", RouteFenrir,
     L"ReBarWindow32/FenrirEmbeddedToolBar/FenrirAdressBarCtrl/FenrirComboBoxCtrlEx/Edit"},
    {"Fenrir4", L"GraniMainWindow", RouteFenrir,
     L"ReBarWindow32/FenrirAdressBarCtrl/FenrirComboBoxCtrlEx/Edit"},
    {"Lunascape1", L"Lunascape6MainWnd", RouteLunascape, L"ReBarWindow32/AnyBand/ComboBoxEx32"},
    {"Lunascape2", L"Lunascape6MainWnd", RouteLunascape,
     L"ReBarWindow32/AnyBand/AnyPanel/ComboBox"},
    {"Donut1", L"WTL:DonutRAPT", RouteDonut, L"ReBarWindow32/Donut_AddressBar"},
    {"TFMain1", L"TFMain", RouteTFMain, L"TCoolBar/TPanel/TComboBox"},
    {"CommandBar1", L"wndclass_desked_gsk", RouteCommandBar, L"MsoCommandBarDock/MsoCommandBar/Edit"},
    {"CommandBar2", L"wndclass_desked_gsk", RouteCommandBar,
     L"MsoCommandBarDock/MsoCommandBar/RichEdit20W"},
};

// The first chain of each route, for the rows of the class table.
const wchar_t* FirstBranchOf(AddressBarRoute route)
{
    for (const ChainCase& c : kChainCases) {
        if (c.route == route) {
            return c.branch;
        }
    }
    return L"";
}

// Runs the full window scan as the observation pass does.
void FullScan() { EnumWindows(ScanTopLevelWindow, 0); }

class AddressBarDiscovery : public testing::Test {
protected:
    void SetUp() override { ResetObservationState(); }
};

TEST_F(AddressBarDiscovery, ClassTableHoldsEveryBrowserInOrder)
{
    ASSERT_EQ(std::size(kExpectedRows), kBrowserClassRows);
    for (size_t i = 0; i < kBrowserClassRows; ++i) {
        EXPECT_STREQ(BrowserClassTable[i].className, kExpectedRows[i].topClass) << "row " << i + 1;
        EXPECT_EQ(BrowserClassTable[i].route, kExpectedRows[i].route) << "row " << i + 1;
    }
}

class ClassTableRow : public AddressBarDiscovery,
                      public testing::WithParamInterface<ExpectedRow> {};

TEST_P(ClassTableRow, BrowserOfThisClassIsFoundAndCached)
{
    const ExpectedRow& row = GetParam();
    const std::wstring title = std::wstring(L"Row_") + row.topClass;
    FixtureBrowser browser(row.topClass, {{FirstBranchOf(row.route), ArticleAddress(title)}});
    ASSERT_TRUE(browser.Started());
    FullScan();
    EXPECT_EQ(readingState.cachedWindow, browser.AddressBar());
    EXPECT_EQ(readingState.cachedRoute, row.route);
    EXPECT_EQ(readingState.graceTicks, kGraceFull);
    EXPECT_EQ(std::wstring(readingState.currentArticle), title);
}

INSTANTIATE_TEST_SUITE_P(AllRows, ClassTableRow, testing::ValuesIn(kExpectedRows));

class RouteChainCase : public AddressBarDiscovery, public testing::WithParamInterface<ChainCase> {};

TEST_P(RouteChainCase, AddressBarOnThisChainIsFound)
{
    const ChainCase& c = GetParam();
    FixtureBrowser browser(c.topClass, {{c.branch, ArticleAddress(L"Chain")}});
    ASSERT_TRUE(browser.Started());
    FullScan();
    EXPECT_EQ(readingState.cachedWindow, browser.AddressBar());
    EXPECT_EQ(readingState.cachedRoute, c.route);
    EXPECT_EQ(std::wstring(readingState.currentArticle), L"Chain");
}

TEST_P(RouteChainCase, SameChainShowingAnotherSiteIsNotFound)
{
    const ChainCase& c = GetParam();
    FixtureBrowser browser(c.topClass, {{c.branch, L"http://www.example.com/wiki/Chain"}});
    ASSERT_TRUE(browser.Started());
    readingState.graceTicks = 2;
    FullScan();
    EXPECT_EQ(readingState.cachedWindow, nullptr);
    EXPECT_EQ(readingState.cachedRoute, nullptr);
    EXPECT_EQ(readingState.graceTicks, 2);
}

TEST_P(RouteChainCase, RouteCalledDirectlyOnTheAddressBar)
{
    const ChainCase& c = GetParam();
    FixtureBrowser browser(c.topClass, {{c.branch, ArticleAddress(L"Direct")}});
    ASSERT_TRUE(browser.Started());
    HWND found = nullptr;
    EXPECT_EQ(c.route(browser.AddressBar(), reinterpret_cast<LPARAM>(&found)), FALSE);
    EXPECT_EQ(found, browser.AddressBar());
    // Its parent is no address bar of this route.
    found = nullptr;
    EXPECT_EQ(c.route(GetParent(browser.AddressBar()), reinterpret_cast<LPARAM>(&found)), TRUE);
    EXPECT_EQ(found, nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllChains, RouteChainCase, testing::ValuesIn(kChainCases),
                         [](const testing::TestParamInfo<ChainCase>& param) {
                             return std::string(param.param.name);
                         });

// Window trees that a chain must or must not accept, through the full scan.
struct TreeCase {
    const char* name;
    const wchar_t* topClass;
    std::vector<FixtureBranch> branches;
    int foundBranch;  // -1: nothing found
};

void PrintTo(const TreeCase& c, std::ostream* out) { *out << c.name; }

const std::wstring kArticle = ArticleAddress(L"Tree");

const TreeCase kTreeCases[] = {
    {"ClassNamesIgnoreCase", L"ieframe",
     {{L"workerw/REBARWINDOW32/address band root/edit", kArticle}}, 0},
    {"EditDirectlyInRebarIsNotIEs", L"IEFrame", {{L"WorkerW/ReBarWindow32/Edit", kArticle}}, -1},
    {"MissingWorkerWIsNotIEs", L"IEFrame", {{L"ReBarWindow32/Address Band Root/Edit", kArticle}},
     -1},
    {"LevelsAboveTheChainAreNotExamined", L"IEFrame",
     {{L"Frame/Shell/WorkerW/ReBarWindow32/Address Band Root/Edit", kArticle}}, 0},
    {"AnyParentOfIEComboBox", L"ExploreWClass", {{L"Outer/Inner/ComboBoxEx32", kArticle}}, 0},
    {"WildcardTakesAnyClass", L"Lunascape3LiteMainWnd",
     {{L"Rebar/ReBarWindow32/Edit/ComboBoxEx32", kArticle}}, 0},
    {"WildcardLevelMustNotBeSkipped", L"Lunascape3MainWnd",
     {{L"ReBarWindow32/ComboBoxEx32", kArticle}}, -1},
    {"FenrirSpellingIsTheirs", L"SleipnirMainWindow",
     {{L"ReBarWindow32/FenrirAddressBarCtrl/FenrirComboBoxCtrl/Edit", kArticle}}, -1},
    {"ChainOfAnotherBrowserIsNotTaken", L"IEFrame", {{L"Chrome_OmniboxView", kArticle}}, -1},
    {"TopLevelClassInNoRow", L"MozillaWindowClass", {{L"ComboBoxEx32", kArticle}}, -1},
    {"TopLevelClassMustMatchWhole", L"IEFrame2", {{L"ComboBoxEx32", kArticle}}, -1},
    {"WindowWithoutTextFallsThrough", L"IEFrame",
     {{L"ComboBoxEx32", L""}, {L"WorkerW/ReBarWindow32/Address Band Root/Edit", kArticle}}, 1},
    {"OtherSiteLetsTheWalkGoOn", L"Lunascape8MainWnd",
     {{L"ReBarWindow32/Band/ComboBoxEx32", L"http://example.com/"},
      {L"ReBarWindow32/Band/ComboBoxEx32", kArticle}},
     1},
    {"TFMainNeedsItsOwnTopLevel", L"TFMain", {{L"TCoolBar/TPanel/TComboBox", kArticle}}, 0},
};

class WindowTree : public AddressBarDiscovery, public testing::WithParamInterface<TreeCase> {};

TEST_P(WindowTree, ScanFindsExactlyTheExpectedWindow)
{
    const TreeCase& c = GetParam();
    FixtureBrowser browser(c.topClass, c.branches);
    ASSERT_TRUE(browser.Started());
    FullScan();
    const HWND expected = c.foundBranch < 0 ? nullptr : browser.AddressBar(c.foundBranch);
    EXPECT_EQ(readingState.cachedWindow, expected);
    EXPECT_EQ(readingState.graceTicks, c.foundBranch < 0 ? 0 : kGraceFull);
}

INSTANTIATE_TEST_SUITE_P(Trees, WindowTree, testing::ValuesIn(kTreeCases),
                         [](const testing::TestParamInfo<TreeCase>& param) {
                             return std::string(param.param.name);
                         });

// A chain needs a window at every level it names, even where any class will
// do; GetParent of a top-level window gives none.
TEST_F(AddressBarDiscovery, MissingAncestorFailsTheChain)
{
    FixtureBrowser rebarAtTop(L"ReBarWindow32", {{L"AnyBand/ComboBoxEx32", kArticle},
                                                 {L"Donut_AddressBar", kArticle}});
    ASSERT_TRUE(rebarAtTop.Started());
    HWND found = nullptr;
    EXPECT_EQ(RouteLunascape(rebarAtTop.AddressBar(0), reinterpret_cast<LPARAM>(&found)), TRUE);
    EXPECT_EQ(RouteDonut(rebarAtTop.AddressBar(1), reinterpret_cast<LPARAM>(&found)), TRUE);
    EXPECT_EQ(found, nullptr);

    // One level more, and both pass.
    FixtureBrowser wrapped(L"AnyFrame", {{L"ReBarWindow32/AnyBand/ComboBoxEx32", kArticle},
                                         {L"ReBarWindow32/Donut_AddressBar", kArticle}});
    ASSERT_TRUE(wrapped.Started());
    EXPECT_EQ(RouteLunascape(wrapped.AddressBar(0), reinterpret_cast<LPARAM>(&found)), FALSE);
    EXPECT_EQ(found, wrapped.AddressBar(0));
    EXPECT_EQ(RouteDonut(wrapped.AddressBar(1), reinterpret_cast<LPARAM>(&found)), FALSE);
    EXPECT_EQ(found, wrapped.AddressBar(1));
}

TEST_F(AddressBarDiscovery, MatchClassChainReadsTheCandidatesText)
{
    FixtureBrowser browser(L"AnyFrame", {{L"MsoCommandBarDock/MsoCommandBar/RichEdit20W",
                                          L"テキスト http://x"},
                                         {L"MsoCommandBarDock/MsoCommandBar/Edit", L""}});
    ASSERT_TRUE(browser.Started());
    const wchar_t* const chain[] = {L"RichEdit20W", L"MsoCommandBar", L"", nullptr};
    wchar_t text[kWindowTextChars];
    EXPECT_TRUE(MatchClassChain(chain, browser.AddressBar(0), text));
    EXPECT_STREQ(text, L"テキスト http://x");

    const wchar_t* const editChain[] = {L"Edit", L"MsoCommandBar", nullptr};
    EXPECT_FALSE(MatchClassChain(editChain, browser.AddressBar(1), text));  // no text
    EXPECT_FALSE(MatchClassChain(editChain, browser.AddressBar(0), text));  // wrong class
}

// Texts longer than the buffer are cut by the read itself and stay terminated.
TEST_F(AddressBarDiscovery, OverlongTextIsCutToTheBuffer)
{
    const std::wstring longText = ArticleAddress(std::wstring(5000, L'x'));
    FixtureBrowser browser(L"IEFrame", {{L"ComboBoxEx32", longText}});
    ASSERT_TRUE(browser.Started());
    const wchar_t* const chain[] = {L"ComboBoxEx32", nullptr};
    wchar_t text[kWindowTextChars];
    ASSERT_TRUE(MatchClassChain(chain, browser.AddressBar(), text));
    EXPECT_EQ(std::wcslen(text), static_cast<size_t>(kWindowTextChars - 1));
    FullScan();
    EXPECT_EQ(readingState.cachedWindow, browser.AddressBar());
    EXPECT_EQ(std::wcslen(readingState.currentArticle), static_cast<size_t>(kWindowTextChars - 1 - 29));
}

struct ChromeCase {
    const char* name;
    const wchar_t* addressBarClass;
    std::wstring text;
    bool found;
    const wchar_t* title;
};

void PrintTo(const ChromeCase& c, std::ostream* out) { *out << c.name; }

const std::wstring kNoScheme = L"ja.wikipedia.org/wiki/";
const std::wstring kFits = kNoScheme + std::wstring(2092 - kNoScheme.size(), L'a');
const std::wstring kTooLong = kFits + L"a";

const ChromeCase kChromeCases[] = {
    {"OmniboxWithoutScheme", L"Chrome_OmniboxView", kNoScheme + L"Foo", true, L"Foo"},
    {"EditViewWithoutScheme", L"Chrome_AutocompleteEditView", kNoScheme + L"Foo", true, L"Foo"},
    {"AutocompleteEditTakesTextAsRead", L"Chrome_AutocompleteEdit", kNoScheme + L"Foo", false, L""},
    {"OmniboxHttps", L"Chrome_OmniboxView", L"https://" + kNoScheme + L"Foo", true, L"Foo"},
    {"EditViewHttps", L"Chrome_AutocompleteEditView", L"https://" + kNoScheme + L"Bar", true,
     L"Bar"},
    {"AutocompleteEditHttps", L"Chrome_AutocompleteEdit", L"https://" + kNoScheme + L"Foo", false,
     L""},
    {"AutocompleteEditWithScheme", L"Chrome_AutocompleteEdit", L"http://" + kNoScheme + L"Foo",
     true, L"Foo"},
    {"OmniboxWithScheme", L"Chrome_OmniboxView", L"http://" + kNoScheme + L"Foo", true, L"Foo"},
    {"UpperCaseSchemeIsPrefixedToo", L"Chrome_OmniboxView", L"HTTP://" + kNoScheme + L"Foo", true,
     L"Foo"},
    {"MediaHostWithoutScheme", L"Chrome_OmniboxView", L"upload.wikimedia.org/a.png", true, L""},
    {"OtherSiteWithoutScheme", L"Chrome_OmniboxView", L"example.com/wiki/Foo", false, L""},
    {"LongestTextThatFitsWithScheme", L"Chrome_OmniboxView", kFits, true, nullptr},
    {"TextTooLongForTheSchemeIsPassedOver", L"Chrome_OmniboxView", kTooLong, false, L""},
};

class ChromeSchemeRule : public AddressBarDiscovery,
                         public testing::WithParamInterface<ChromeCase> {};

TEST_P(ChromeSchemeRule, TextGoesToTheRecognizerWithTheRightScheme)
{
    const ChromeCase& c = GetParam();
    FixtureBrowser browser(L"Chrome_VistaFrame",
                           {{std::wstring(L"Pane/") + c.addressBarClass, c.text}});
    ASSERT_TRUE(browser.Started());
    FullScan();
    EXPECT_EQ(readingState.cachedWindow, c.found ? browser.AddressBar() : nullptr);
    if (c.title != nullptr) {
        EXPECT_EQ(std::wstring(readingState.currentArticle), c.title);
    } else {
        EXPECT_EQ(std::wstring(readingState.currentArticle), kFits.substr(kNoScheme.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ChromeSchemeRule, testing::ValuesIn(kChromeCases),
                         [](const testing::TestParamInfo<ChromeCase>& param) {
                             return std::string(param.param.name);
                         });

class Visibility : public AddressBarDiscovery, public testing::WithParamInterface<FixtureShow> {};

TEST_P(Visibility, MinimisedAndHiddenBrowsersAreFoundAlike)
{
    FixtureBrowser browser(L"IEFrame", {{L"ComboBoxEx32", ArticleAddress(L"Shown")}},
                           GetParam());
    ASSERT_TRUE(browser.Started());
    FullScan();
    EXPECT_EQ(readingState.cachedWindow, browser.AddressBar());
    EXPECT_EQ(std::wstring(readingState.currentArticle), L"Shown");
}

INSTANTIATE_TEST_SUITE_P(Shows, Visibility,
                         testing::Values(FixtureShow::Normal, FixtureShow::Minimized,
                                         FixtureShow::Hidden));

TEST_F(AddressBarDiscovery, BrowserShowingAnotherSiteLetsTheScanGoOn)
{
    FixtureBrowser other(L"IEFrame", {{L"ComboBoxEx32", L"http://www.example.com/"}});
    FixtureBrowser reading(L"Chrome_WidgetWin_0", {{L"Chrome_OmniboxView", kNoScheme + L"Go"}});
    ASSERT_TRUE(other.Started());
    ASSERT_TRUE(reading.Started());
    FullScan();
    EXPECT_EQ(readingState.cachedWindow, reading.AddressBar());
    EXPECT_EQ(readingState.cachedRoute, RouteChrome);
    EXPECT_EQ(std::wstring(readingState.currentArticle), L"Go");
}

}  // namespace

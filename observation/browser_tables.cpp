#include "observation/browser_tables.h"

namespace {

// The class names are those the observed programs give their windows, letter
// for letter ("FenrirAdressBarCtrl" with its single "d" is Fenrir's own).
constexpr const wchar_t* kIEComboBox[] = {L"ComboBoxEx32", nullptr};
constexpr const wchar_t* kIEAddressBand[] = {L"Edit", L"Address Band Root", L"ReBarWindow32",
                                             L"WorkerW", nullptr};
constexpr const wchar_t* kChromeAutocompleteEdit[] = {L"Chrome_AutocompleteEdit", nullptr};
constexpr const wchar_t* kChromeAutocompleteEditView[] = {L"Chrome_AutocompleteEditView", nullptr};
constexpr const wchar_t* kChromeOmniboxView[] = {L"Chrome_OmniboxView", nullptr};
constexpr const wchar_t* kFenrirRebar[] = {L"Edit", L"FenrirComboBoxCtrl", L"FenrirAdressBarCtrl",
                                           L"ReBarWindow32", nullptr};
constexpr const wchar_t* kFenrirToolBar[] = {L"Edit", L"FenrirComboBoxCtrl",
                                             L"FenrirAdressBarCtrl", L"FenrirEmbeddedToolBar",
                                             L"ReBarWindow32", nullptr};
constexpr const wchar_t* kFenrirExToolBar[] = {L"Edit", L"FenrirComboBoxCtrlEx",
                                               L"FenrirAdressBarCtrl", L"FenrirEmbeddedToolBar",
                                               L"ReBarWindow32", nullptr};
constexpr const wchar_t* kFenrirExRebar[] = {L"Edit", L"FenrirComboBoxCtrlEx",
                                             L"FenrirAdressBarCtrl", L"ReBarWindow32", nullptr};
constexpr const wchar_t* kLunascapeComboBoxEx[] = {L"ComboBoxEx32", L"", L"ReBarWindow32", L"",
                                                   nullptr};
constexpr const wchar_t* kLunascapeComboBox[] = {L"ComboBox", L"", L"", L"ReBarWindow32", L"",
                                                 nullptr};
constexpr const wchar_t* kDonutAddressBar[] = {L"Donut_AddressBar", L"ReBarWindow32", L"", nullptr};
constexpr const wchar_t* kTFMainComboBox[] = {L"TComboBox", L"TPanel", L"TCoolBar", L"TFMain",
                                              nullptr};
constexpr const wchar_t* kCommandBarEdit[] = {L"Edit", L"MsoCommandBar", L"MsoCommandBarDock", L"",
                                              nullptr};
constexpr const wchar_t* kCommandBarRichEdit[] = {L"RichEdit20W", L"MsoCommandBar",
                                                  L"MsoCommandBarDock", L"", nullptr};

constexpr RouteChain kIE[] = {{kIEComboBox, SchemeRule::AsRead},
                              {kIEAddressBand, SchemeRule::AsRead}};
// The oldest Chrome address bar showed the scheme; its successors do not.
constexpr RouteChain kChrome[] = {{kChromeAutocompleteEdit, SchemeRule::AsRead},
                                  {kChromeAutocompleteEditView, SchemeRule::PrefixHttp},
                                  {kChromeOmniboxView, SchemeRule::PrefixHttp}};
constexpr RouteChain kFenrir[] = {{kFenrirRebar, SchemeRule::AsRead},
                                  {kFenrirToolBar, SchemeRule::AsRead},
                                  {kFenrirExToolBar, SchemeRule::AsRead},
                                  {kFenrirExRebar, SchemeRule::AsRead}};
constexpr RouteChain kLunascape[] = {{kLunascapeComboBoxEx, SchemeRule::AsRead},
                                     {kLunascapeComboBox, SchemeRule::AsRead}};
constexpr RouteChain kDonut[] = {{kDonutAddressBar, SchemeRule::AsRead}};
constexpr RouteChain kTFMain[] = {{kTFMainComboBox, SchemeRule::AsRead}};
constexpr RouteChain kCommandBar[] = {{kCommandBarEdit, SchemeRule::AsRead},
                                      {kCommandBarRichEdit, SchemeRule::AsRead}};

}  // namespace

const std::span<const RouteChain> kIEChains = kIE;
const std::span<const RouteChain> kChromeChains = kChrome;
const std::span<const RouteChain> kFenrirChains = kFenrir;
const std::span<const RouteChain> kLunascapeChains = kLunascape;
const std::span<const RouteChain> kDonutChains = kDonut;
const std::span<const RouteChain> kTFMainChains = kTFMain;
const std::span<const RouteChain> kCommandBarChains = kCommandBar;

const BrowserClassRow BrowserClassTable[kBrowserClassRows] = {
    {L"ExploreWClass", RouteIE},
    {L"IEFrame", RouteIE},
    {L"Chrome_XPFrame", RouteChrome},
    {L"Chrome_VistaFrame", RouteChrome},
    {L"Chrome_WidgetWin_0", RouteChrome},
    {L"Chrome_WindowImpl_0", RouteChrome},
    {L"SleipnirMainWindow", RouteFenrir},
    {L"GraniMainWindow", RouteFenrir},
    {L"Lunascape3MainWnd", RouteLunascape},
    {L"Lunascape4MainWnd", RouteLunascape},
    {L"Lunascape5MainWnd", RouteLunascape},
    {L"Lunascape6MainWnd", RouteLunascape},
    {L"Lunascape7MainWnd", RouteLunascape},
    {L"Lunascape8MainWnd", RouteLunascape},
    {L"Lunascape3LiteMainWnd", RouteLunascape},
    {L"Lunascape4LiteMainWnd", RouteLunascape},
    {L"Lunascape5LiteMainWnd", RouteLunascape},
    {L"Lunascape6LiteMainWnd", RouteLunascape},
    {L"Lunascape7LiteMainWnd", RouteLunascape},
    {L"Lunascape8LiteMainWnd", RouteLunascape},
    {L"WTL:DonutRAPT", RouteDonut},
    {L"WTL:DonutL", RouteDonut},
    {L"WTL:DonutQ", RouteDonut},
    {L"TFMain", RouteTFMain},
    {L"wndclass_desked_gsk", RouteCommandBar},
};

#include "tests/observation/fixture_browser.h"

#include "tests/fixtures/browser_protocol.h"

namespace {

struct WindowSearch {
    DWORD processId;
    int controlId;  // 0: the top-level window
    HWND found;
};

BOOL CALLBACK FindTop(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindControl(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    if (GetDlgCtrlID(window) == search->controlId) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring Quoted(const std::wstring& argument) { return L"\"" + argument + L"\" "; }

}  // namespace

FixtureBrowser::FixtureBrowser(const std::wstring& topClass,
                               const std::vector<FixtureBranch>& branches, FixtureShow show)
{
    std::wstring arguments = Quoted(L"--top=" + topClass);
    for (const FixtureBranch& branch : branches) {
        arguments += Quoted(L"--branch=" + branch.classes);
        if (!branch.text.empty()) {
            arguments += Quoted(L"--text=" + branch.text);
        }
    }
    if (show == FixtureShow::Minimized) {
        arguments += L"--show=minimized";
    } else if (show == FixtureShow::Hidden) {
        arguments += L"--show=hidden";
    }
    process_ = std::make_unique<ChildProcess>(L"browser_fixture.exe", arguments);
    if (process_->Started()) {
        WindowSearch search{process_->Id(), 0, nullptr};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&search));
        top_ = search.found;
    }
    // A fixture that failed to build its windows counts as not started.
    for (size_t i = 0; top_ != nullptr && i < branches.size(); ++i) {
        if (AddressBar(static_cast<int>(i)) == nullptr) {
            top_ = nullptr;
        }
    }
}

HWND FixtureBrowser::AddressBar(int index) const
{
    WindowSearch search{process_->Id(), kBrowserAddressIdBase + index, nullptr};
    EnumChildWindows(top_, FindControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void FixtureBrowser::SetText(int index, const std::wstring& text) const
{
    COPYDATASTRUCT record{};
    record.dwData = kBrowserSetTextBase + static_cast<ULONG_PTR>(index);
    record.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    record.lpData = const_cast<wchar_t*>(text.c_str());
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(top_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_NORMAL,
                        5000, &ignored);
}

void FixtureBrowser::Hang(DWORD milliseconds) const
{
    PostMessageW(top_, kBrowserHangMessage, milliseconds, 0);
    // Give the fixture time to take the message and fall asleep.
    Sleep(200);
}

bool FixtureBrowser::Close()
{
    PostMessageW(top_, WM_CLOSE, 0, 0);
    const bool ended = process_->WaitForExit(5000);
    top_ = nullptr;
    return ended;
}

std::wstring ArticleAddress(const std::wstring& title)
{
    return L"http://ja.wikipedia.org/wiki/" + title;
}

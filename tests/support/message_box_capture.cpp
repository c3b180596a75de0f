#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

HHOOK hook = nullptr;
MessageBoxCapture* current = nullptr;
std::set<HWND> seen;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

struct Inspection {
    CapturedBox box;
    bool hasEdit = false;
    std::vector<int> buttonIds;
};

UINT IconFlagOf(HICON icon)
{
    struct Known {
        LPCWSTR id;
        UINT flag;
    };
    static const Known known[] = {{IDI_HAND, MB_ICONERROR},
                                  {IDI_EXCLAMATION, MB_ICONWARNING},
                                  {IDI_QUESTION, MB_ICONQUESTION},
                                  {IDI_ASTERISK, MB_ICONINFORMATION}};
    for (const Known& k : known) {
        if (LoadIconW(nullptr, k.id) == icon) {
            return k.flag;
        }
    }
    return 0;
}

BOOL CALLBACK InspectChild(HWND child, LPARAM param)
{
    auto* inspection = reinterpret_cast<Inspection*>(param);
    const std::wstring cls = ClassOf(child);
    if (lstrcmpiW(cls.c_str(), L"Edit") == 0) {
        inspection->hasEdit = true;
    } else if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
        inspection->buttonIds.push_back(GetDlgCtrlID(child));
    } else if (lstrcmpiW(cls.c_str(), L"Static") == 0) {
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            // The box itself is not visible yet at activation: look at the
            // icon control's own style, which the box clears when it has no icon.
            if ((style & WS_VISIBLE) != 0 && icon != nullptr) {
                inspection->box.icon = IconFlagOf(icon);
            }
        } else if (inspection->box.text.empty()) {
            inspection->box.text = TextOf(child);
        }
    }
    return TRUE;
}

UINT ButtonsFlagOf(std::vector<int> ids)
{
    std::set<int> set(ids.begin(), ids.end());
    if (set == std::set<int>{IDYES, IDNO}) return MB_YESNO;
    if (set == std::set<int>{IDYES, IDNO, IDCANCEL}) return MB_YESNOCANCEL;
    if (set == std::set<int>{IDOK, IDCANCEL}) return MB_OKCANCEL;
    if (set == std::set<int>{IDRETRY, IDCANCEL}) return MB_RETRYCANCEL;
    if (set == std::set<int>{IDABORT, IDRETRY, IDIGNORE}) return MB_ABORTRETRYIGNORE;
    return MB_OK;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        const auto window = reinterpret_cast<HWND>(wParam);
        if (ClassOf(window) == L"#32770" && seen.insert(window).second) {
            Inspection inspection;
            EnumChildWindows(window, InspectChild, reinterpret_cast<LPARAM>(&inspection));
            // Dialogs of our own hold edit controls; message boxes never do.
            if (!inspection.hasEdit && !inspection.buttonIds.empty()) {
                inspection.box.caption = TextOf(window);
                inspection.box.buttons = ButtonsFlagOf(inspection.buttonIds);
                inspection.box.owner = GetWindow(window, GW_OWNER);
                int answer = inspection.buttonIds.front();
                if (current != nullptr) {
                    answer = current->Record(inspection.box);
                } else {
                    ADD_FAILURE() << "unexpected message box";
                }
                if (answer == 0) {
                    answer = inspection.buttonIds.front();
                }
                PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
            } else {
                seen.erase(window);
            }
        }
    } else if (code == HCBT_DESTROYWND) {
        seen.erase(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

MessageBoxCapture::MessageBoxCapture() : previous_(current) { current = this; }

MessageBoxCapture::~MessageBoxCapture() { current = previous_; }

int MessageBoxCapture::Record(CapturedBox box)
{
    int answer = 0;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    box.answer = answer;
    boxes_.push_back(std::move(box));
    return answer;
}

void InstallMessageBoxHook()
{
    hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

void RemoveMessageBoxHook()
{
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

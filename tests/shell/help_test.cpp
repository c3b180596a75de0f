#include "shell/help.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kViewerClass[] = L"HH Parent";

class Help : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t current[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, current);
        previousFolder_ = current;
        // The program runs in its own folder, where the build puts ymk.chm.
        SetCurrentDirectoryW(ExecutableFolder().c_str());
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    }
    void TearDown() override
    {
        UseHelpControl(L"hhctrl.ocx");
        DestroyWindow(owner_);
        SetCurrentDirectoryW(previousFolder_.c_str());
    }

    std::wstring previousFolder_;
    HWND owner_ = nullptr;
};

TEST_F(Help, HelpFileIsBuiltBesideTheProgram)
{
    EXPECT_NE(GetFileAttributesW((ExecutableFolder() + L"ymk.chm").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(Help, OpensTheViewer)
{
    UseHelpControl(L"hhctrl.ocx");
    ShowHelp(owner_);
    ASSERT_TRUE(PumpUntil([] { return FindWindowW(kViewerClass, nullptr) != nullptr; }, 10000));
    const HWND viewer = FindWindowW(kViewerClass, nullptr);
    SendMessageW(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([] { return FindWindowW(kViewerClass, nullptr) == nullptr; }, 10000));
}

TEST_F(Help, DoesNothingWithoutTheHelpControl)
{
    UseHelpControl(L"yk_no_such_help_control.ocx");
    // No capture object: a message box here fails the test.
    ShowHelp(owner_);
    ShowHelp(owner_);
    PumpMessagesFor(300);
    EXPECT_EQ(FindWindowW(kViewerClass, nullptr), nullptr);
}

TEST_F(Help, DoesNothingWhenTheLibraryHasNoViewer)
{
    UseHelpControl(L"version.dll");  // a real system library without HtmlHelpW
    ShowHelp(owner_);
    PumpMessagesFor(300);
    EXPECT_EQ(FindWindowW(kViewerClass, nullptr), nullptr);
}

}  // namespace

#include "shell/startup_shortcut.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>

namespace {

constexpr wchar_t kCaption[] = L"ヨミカゼ";
constexpr wchar_t kAskCreate[] =
    L"このユーザーへログオンしたときに、ヨミカゼを起動できるようにしますか?\r\n\r\n"
    L"※[はい]を押すと、このユーザーのスタートメニュー内のスタートアップに、"
    L"ヨミカゼへのショートカットを作成します。";
constexpr wchar_t kAskDelete[] = L"スタートアップのショートカットを削除しますか?";

struct JoinCase {
    const wchar_t* folder;
    const wchar_t* path;
};

TEST(ShortcutPath, JoinsFolderNameAndExtensionWithOneSeparator)
{
    const JoinCase cases[] = {
        {L"D:\\Startup", L"D:\\Startup\\ヨミカゼ.lnk"},
        {L"D:\\Startup\\", L"D:\\Startup\\ヨミカゼ.lnk"},
        {L"D:/Startup/", L"D:/Startup/ヨミカゼ.lnk"},
        {L"C:\\", L"C:\\ヨミカゼ.lnk"},
        {L"", L"ヨミカゼ.lnk"},
    };
    for (const JoinCase& c : cases) {
        wchar_t out[kShortcutPathChars];
        JoinShortcutPath(c.folder, out, kShortcutPathChars);
        EXPECT_STREQ(out, c.path) << c.folder;
    }
}

TEST(ShortcutPath, APathThatDoesNotFitIsLeftEmpty)
{
    wchar_t out[16] = L"untouched";
    JoinShortcutPath(L"D:\\Startup", out, 16);  // needs 20 with the terminator
    EXPECT_STREQ(out, L"");
    JoinShortcutPath(L"D:\\Startu", out, 20);   // exactly 19 + 1
    EXPECT_STREQ(out, L"D:\\Startu\\ヨミカゼ.lnk");
}

// Each test: COM on this thread, the Startup folder of the private profile
// made, shortcutPath built from it and no shortcut there yet.
class StartupShortcut : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        wchar_t folder[MAX_PATH];
        ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, 0, folder),
                  S_OK);
        folder_ = folder;
        BuildShortcutPath();
        DeleteFileW(shortcutPath);
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    }
    void TearDown() override
    {
        DeleteFileW(shortcutPath);
        DestroyWindow(owner_);
        CoUninitialize();
    }

    // The ShowCommand field of the link's header, 60 bytes into the file.
    static DWORD ShowCommandInFile()
    {
        const HANDLE file = CreateFileW(shortcutPath, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD header[16] = {};
        DWORD read = 0;
        ReadFile(file, header, sizeof header, &read, nullptr);
        CloseHandle(file);
        return read == sizeof header ? header[15] : 0;
    }

    static bool FileThere() { return GetFileAttributesW(shortcutPath) != INVALID_FILE_ATTRIBUTES; }

    static void ExpectBox(const CapturedBox& box, const std::wstring& text, UINT icon, UINT buttons,
                          HWND owner)
    {
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.icon, icon);
        EXPECT_EQ(box.buttons, buttons);
        EXPECT_EQ(box.owner, owner);
    }

    std::wstring folder_;
    HWND owner_ = nullptr;
};

TEST_F(StartupShortcut, PathIsInTheUsersStartupFolder)
{
    std::wstring expected = folder_;
    if (expected.back() != L'\\') {
        expected += L'\\';
    }
    expected += L"ヨミカゼ.lnk";
    EXPECT_EQ(std::wstring(shortcutPath), expected);
}

TEST_F(StartupShortcut, ExistsRestoresTheCriticalErrorMode)
{
    const UINT original = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    EXPECT_FALSE(StartupShortcutExists());
    EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    SetErrorMode(original);
}

TEST_F(StartupShortcut, CreatedStartsThisProgramWithoutArgumentsThenIsDeleted)
{
    MessageBoxCapture boxes;
    boxes.AnswerNext(IDYES);
    ToggleStartupShortcut(owner_);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    ExpectBox(boxes.Boxes()[0], kAskCreate, MB_ICONQUESTION, MB_YESNO, owner_);
    ExpectBox(boxes.Boxes()[1],
              std::wstring(L"下記の位置にヨミカゼへのショートカットを作成しました。\r\n\r\n") +
                  shortcutPath,
              MB_ICONINFORMATION, MB_OK, owner_);
    EXPECT_TRUE(StartupShortcutExists());

    // The link as the shell reads it back.
    IShellLinkW* link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    IPersistFile* file = nullptr;
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
    ASSERT_EQ(file->Load(shortcutPath, STGM_READ), S_OK);
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    wchar_t text[MAX_PATH] = L"?";
    link->GetPath(text, MAX_PATH, nullptr, 0);
    EXPECT_EQ(lstrcmpiW(text, program), 0) << text;
    text[0] = L'?';
    link->GetArguments(text, MAX_PATH);
    EXPECT_STREQ(text, L"");
    text[0] = L'?';
    link->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_STREQ(text, L"");
    // The link format keeps only normal, maximised and minimised: SW_SHOW
    // reads back as SW_SHOWNORMAL, while the file holds what was asked for.
    int show = 0;
    link->GetShowCmd(&show);
    EXPECT_EQ(show, SW_SHOWNORMAL);
    EXPECT_EQ(ShowCommandInFile(), static_cast<DWORD>(SW_SHOW));
    WORD hotkey = 1;
    link->GetHotkey(&hotkey);
    EXPECT_EQ(hotkey, 0);
    file->Release();
    link->Release();

    boxes.Clear();
    boxes.AnswerNext(IDYES);
    ToggleStartupShortcut(owner_);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    ExpectBox(boxes.Boxes()[0], kAskDelete, MB_ICONQUESTION, MB_YESNO, owner_);
    ExpectBox(boxes.Boxes()[1], std::wstring(L"ショートカットを削除しました。\n\n") + shortcutPath,
              MB_ICONINFORMATION, MB_OK, owner_);
    EXPECT_FALSE(FileThere());
    EXPECT_FALSE(StartupShortcutExists());
}

TEST_F(StartupShortcut, NoToEitherQuestionChangesNothing)
{
    MessageBoxCapture boxes;
    boxes.AnswerNext(IDNO);
    ToggleStartupShortcut(owner_);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, kAskCreate);
    EXPECT_FALSE(FileThere());

    ASSERT_TRUE(CreateStartupShortcut(L"C:\\windows\\notepad.exe"));
    boxes.Clear();
    boxes.AnswerNext(IDNO);
    ToggleStartupShortcut(owner_);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, kAskDelete);
    EXPECT_TRUE(FileThere());
}

// Deletes the shortcut while the delete question is on screen, as a user
// would by hand, then lets the capture answer the box.
HHOOK removerHook = nullptr;
LRESULT CALLBACK RemoveWhenAsked(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        wchar_t className[16] = L"";
        GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16);
        if (lstrcmpW(className, L"#32770") == 0) {
            DeleteFileW(shortcutPath);
        }
    }
    return CallNextHookEx(removerHook, code, wParam, lParam);
}

TEST_F(StartupShortcut, RemovedByHandDuringTheQuestionGivesTheDeletionFailure)
{
    ASSERT_TRUE(CreateStartupShortcut(L"C:\\windows\\notepad.exe"));
    MessageBoxCapture boxes;
    boxes.AnswerNext(IDYES);
    removerHook = SetWindowsHookExW(WH_CBT, RemoveWhenAsked, nullptr, GetCurrentThreadId());
    ASSERT_NE(removerHook, nullptr);
    ToggleStartupShortcut(owner_);
    UnhookWindowsHookEx(removerHook);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, kAskDelete);
    ExpectBox(boxes.Boxes()[1],
              std::wstring(L"ショートカットの削除に失敗しました。\n\n") + shortcutPath,
              MB_ICONERROR, MB_OK, owner_);
}

TEST_F(StartupShortcut, CreationIntoAMissingFolderFailsWithItsMessage)
{
    const std::wstring missing = folder_ + L"\\no such folder\\ヨミカゼ.lnk";
    lstrcpynW(shortcutPath, missing.c_str(), static_cast<int>(kShortcutPathChars));
    EXPECT_FALSE(CreateStartupShortcut(L"C:\\windows\\notepad.exe"));

    MessageBoxCapture boxes;
    boxes.AnswerNext(IDYES);
    ToggleStartupShortcut(owner_);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    ExpectBox(boxes.Boxes()[1],
              std::wstring(L"ショートカットの作成に失敗しました。\n\n") + missing, MB_ICONERROR,
              MB_OK, owner_);
    EXPECT_FALSE(StartupShortcutExists());
}

TEST_F(StartupShortcut, WithoutAStartupFolderNothingIsFoundOrWritten)
{
    shortcutPath[0] = L'\0';
    EXPECT_FALSE(StartupShortcutExists());
    EXPECT_FALSE(CreateStartupShortcut(L"C:\\windows\\notepad.exe"));
}

TEST_F(StartupShortcut, CreationWithoutComFails)
{
    CoUninitialize();
    EXPECT_FALSE(CreateStartupShortcut(L"C:\\windows\\notepad.exe"));
    EXPECT_FALSE(FileThere());
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
}

}  // namespace

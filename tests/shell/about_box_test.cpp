#include "resources/version.h"
#include "shell/about_box.h"
#include "tests/support/child_process.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

const std::wstring kTail = L"\r\n\r\n[WebSite]\r\n" YK_WEBSITE;

std::wstring OwnPath()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

TEST(AboutBox, ReadsTheProgramsOwnVersionResource)
{
    VersionStrings strings;
    ASSERT_TRUE(ReadVersionStrings(OwnPath().c_str(), &strings));
    EXPECT_EQ(strings.fileVersion, L"1, 6, 7, 0");
    EXPECT_EQ(strings.fileDescription, L"ヨミカゼ");
    EXPECT_EQ(strings.specialBuild, L"Professional Edition");
    EXPECT_EQ(strings.legalCopyright, L"" YK_COPYRIGHT);
}

TEST(AboutBox, ShowsTheVersionBoxOwnedByTheWindow)
{
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr);
    MessageBoxCapture boxes;
    ShowAboutBox(owner);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const CapturedBox& box = boxes.Boxes()[0];
    EXPECT_EQ(box.caption, L"バージョン情報");
    EXPECT_EQ(box.text, L"ヨミカゼ version 1.67 (x86) \r\nProfessional Edition\r\n\r\n" YK_COPYRIGHT +
                            kTail);
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, owner);
    DestroyWindow(owner);
}

struct TextCase {
    VersionStrings strings;
    std::wstring firstLine;
};

TEST(AboutBox, TextFollowsTheVersionLetterRule)
{
    const TextCase cases[] = {
        {{L"1, 6, 7, 2", L"ヨミカゼ", L"Pro", L"(C)"}, L"ヨミカゼ version 1.67b (x86) "},
        {{L"1,6,7,1", L"ヨミカゼ", L"Pro", L"(C)"}, L"ヨミカゼ version 1.67a (x86) "},
        {{L" 2,  0, 10, 26", L"ヨミカゼ", L"Pro", L"(C)"}, L"ヨミカゼ version 2.010z (x86) "},
        {{L"1, 6, 7, 0", L"ヨミカゼ", L"Pro", L"(C)"}, L"ヨミカゼ version 1.67 (x86) "},
        // Without four numbers the version is shown as it is written.
        {{L"1, 6", L"ヨミカゼ", L"Pro", L"(C)"}, L"ヨミカゼ version 1, 6 (x86) "},
        {{L"beta", L"ヨミカゼ", L"Pro", L"(C)"}, L"ヨミカゼ version beta (x86) "},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(AboutText(c.strings), c.firstLine + L"\r\nPro\r\n\r\n(C)" + kTail)
            << c.strings.fileVersion;
    }
}

TEST(AboutBox, MissingStringsLeaveEmptyLines)
{
    EXPECT_EQ(AboutText({L"1, 6, 7, 0", L"", L"", L""}),
              L" version 1.67 (x86) \r\n\r\n\r\n" + kTail);
}

TEST(AboutBox, FileWithoutVersionResourceShowsNothing)
{
    const std::wstring plain = ExecutableFolder() + L"about-no-version.txt";
    FILE* out = _wfopen(plain.c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    std::fputs("not a program", out);
    std::fclose(out);
    VersionStrings strings;
    EXPECT_FALSE(ReadVersionStrings(plain.c_str(), &strings));
    // No capture object: a box shown here fails the test.
    ShowAboutBoxFor(nullptr, plain.c_str());
    ShowAboutBoxFor(nullptr, (ExecutableFolder() + L"no-such-file.exe").c_str());
    ShowAboutBoxFor(nullptr, L"");
    DeleteFileW(plain.c_str());
}

}  // namespace

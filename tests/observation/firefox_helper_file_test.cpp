#include "observation/firefox_helper_file.h"

#include "tests/observation/fixture_browser.h"
#include "tests/observation/helper_files.h"
#include "tests/observation/observation_state.h"
#include "tests/support/child_process.h"
#include "tests/support/private_profile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

class FirefoxHelperFile : public testing::Test {
protected:
    void SetUp() override { ResetObservationState(); }

    static std::wstring Title() { return readingState.currentArticle; }
    static std::wstring Remembered() { return helperFilePath; }
};

class ByteOrderMark : public FirefoxHelperFile, public testing::WithParamInterface<bool> {};

TEST_P(ByteOrderMark, FileIsReadAlikeWithOrWithoutIt)
{
    const std::wstring path = HelperPath(L"abcd1234.default");
    WriteHelperFile(path, {L'\x0102', ArticleAddress(L"%E6%97%A5%E6%9C%AC"), GetParam()});
    EXPECT_TRUE(ScanFirefoxProfiles());
    EXPECT_EQ(Title(), L"日本");
    EXPECT_EQ(Remembered(), path);
    EXPECT_EQ(lastHelperMarker, 0x0102);
    EXPECT_EQ(readingState.graceTicks, kGraceFull);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithout, ByteOrderMark, testing::Bool());

class FirstRead : public FirefoxHelperFile, public testing::WithParamInterface<int> {};

TEST_P(FirstRead, AcceptsAnyMarkerButTheInitialOne)
{
    const wchar_t marker = static_cast<wchar_t>(GetParam());
    const std::wstring path = HelperPath(L"p.default");
    WriteHelperFile(path, {marker, ArticleAddress(L"Foo")});
    const bool accepted = marker != kNoHelperMarker;
    EXPECT_EQ(ReadHelperFile(path.c_str()), accepted);
    EXPECT_EQ(Remembered(), accepted ? path : L"");
    EXPECT_EQ(lastHelperMarker, marker);
}

INSTANTIATE_TEST_SUITE_P(Markers, FirstRead, testing::Values(0, 1, 0x0A, 0xFEFF, 0xFFFE, 0xFFFF));

TEST_F(FirefoxHelperFile, RememberedFileCountsWhileWrittenAnewAndIsForgottenWhenStale)
{
    const std::wstring path = HelperPath(L"p.default");
    WriteHelperFile(path, {1, ArticleAddress(L"Foo")});
    ASSERT_TRUE(ScanFirefoxProfiles());
    for (wchar_t marker = 2; marker < 5; ++marker) {
        readingState.graceTicks = 3;
        WriteHelperFile(path, {marker, ArticleAddress(L"Bar")});
        EXPECT_TRUE(ReadHelperFile(nullptr));
        EXPECT_EQ(readingState.graceTicks, kGraceFull);
        EXPECT_EQ(Title(), L"Bar");
    }
    readingState.graceTicks = 3;
    EXPECT_FALSE(ReadHelperFile(nullptr));  // not written since
    EXPECT_EQ(Remembered(), L"");
    EXPECT_EQ(readingState.graceTicks, 3);
    // Nothing remembered: nothing is read.
    WriteHelperFile(path, {9, ArticleAddress(L"Bar")});
    EXPECT_FALSE(ReadHelperFile(nullptr));
    EXPECT_EQ(lastHelperMarker, 4);
}

TEST_F(FirefoxHelperFile, StaleFileReadByTheScanGivesFalseAndKeepsThePath)
{
    const std::wstring path = HelperPath(L"p.default");
    WriteHelperFile(path, {7, ArticleAddress(L"Foo")});
    ASSERT_TRUE(ScanFirefoxProfiles());
    EXPECT_FALSE(ScanFirefoxProfiles());
    EXPECT_EQ(Remembered(), path);  // a failed read with a path leaves it
}

TEST_F(FirefoxHelperFile, NewMarkerWithAnotherSiteIsStoredAndForgetsTheFile)
{
    const std::wstring path = HelperPath(L"p.default");
    WriteHelperFile(path, {1, ArticleAddress(L"Foo")});
    ASSERT_TRUE(ScanFirefoxProfiles());
    WriteHelperFile(path, {2, L"http://www.example.com/"});
    EXPECT_FALSE(ReadHelperFile(nullptr));
    EXPECT_EQ(lastHelperMarker, 2);
    EXPECT_EQ(Remembered(), L"");
    EXPECT_EQ(Title(), L"");

    WriteHelperFile(path, {3, L"http://www.example.com/"});
    EXPECT_FALSE(ScanFirefoxProfiles());
    EXPECT_EQ(lastHelperMarker, 3);
}

TEST_F(FirefoxHelperFile, RememberedFileThatIsGoneIsForgottenAndMarkerKept)
{
    const std::wstring path = HelperPath(L"p.default");
    WriteHelperFile(path, {1, ArticleAddress(L"Foo")});
    ASSERT_TRUE(ScanFirefoxProfiles());
    DeleteFileW(path.c_str());
    EXPECT_FALSE(ReadHelperFile(nullptr));
    EXPECT_EQ(Remembered(), L"");
    EXPECT_EQ(lastHelperMarker, 1);
}

struct ShortFileCase {
    const char* name;
    std::string bytes;
    std::uint16_t marker;
};

void PrintTo(const ShortFileCase& c, std::ostream* out) { *out << c.name; }

class ShortFile : public FirefoxHelperFile, public testing::WithParamInterface<ShortFileCase> {};

TEST_P(ShortFile, GivesNoAddress)
{
    WriteRawFile(HelperPath(L"p.default"), GetParam().bytes);
    EXPECT_FALSE(ScanFirefoxProfiles());
    EXPECT_EQ(lastHelperMarker, GetParam().marker);
    EXPECT_EQ(Remembered(), L"");
}

INSTANTIATE_TEST_SUITE_P(Files, ShortFile,
                         testing::Values(ShortFileCase{"Empty", "", 0},
                                         ShortFileCase{"OnlyTheMark", "\xFF\xFE", 0},
                                         ShortFileCase{"OddByte", "\x05", 5},
                                         ShortFileCase{"OnlyTheMarker", std::string("\x07\x00", 2), 7}),
                         [](const testing::TestParamInfo<ShortFileCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(FirefoxHelperFile, LineBreakAfterTheAddressEndsUpInTheTitle)
{
    WriteHelperFile(HelperPath(L"p.default"), {1, ArticleAddress(L"Foo") + L"\r\n"});
    EXPECT_TRUE(ScanFirefoxProfiles());
    EXPECT_EQ(Title(), L"Foo\r\n");
}

TEST_F(FirefoxHelperFile, OnlyTheStartOfTheFileIsRead)
{
    // 2099 code units are read: the mark, the marker, the spare unit and 2096
    // of the address; what follows is not read.
    const std::wstring prefix = ArticleAddress(L"");
    const std::wstring address = prefix + std::wstring(2095 - prefix.size(), L'a') + L"b" +
                                 std::wstring(3000, L'c');
    WriteHelperFile(HelperPath(L"p.default"), {1, address});
    EXPECT_TRUE(ScanFirefoxProfiles());
    EXPECT_EQ(Title(), std::wstring(2095 - prefix.size(), L'a') + L"b");
}

TEST_F(FirefoxHelperFile, NoProfilesFolderGivesFalse)
{
    EXPECT_FALSE(ScanFirefoxProfiles());
    std::error_code ignored;
    std::filesystem::create_directories(PrivateAppData() + L"\\Mozilla\\Firefox", ignored);
    EXPECT_FALSE(ScanFirefoxProfiles());
    EXPECT_EQ(lastHelperMarker, kNoHelperMarker);
}

// A helper file directly in the profiles folder, or one level above it, is
// what "." and ".." would lead to; a plain file is no profile.
TEST_F(FirefoxHelperFile, PlainFilesAndDotEntriesAreSkipped)
{
    WriteHelperFile(ProfilesFolder() + L"ymkhelp_urltext.txt", {1, ArticleAddress(L"Dot")});
    WriteHelperFile(ProfilesFolder() + L"..\\ymkhelp_urltext.txt", {2, ArticleAddress(L"DotDot")});
    WriteHelperFile(ProfilesFolder() + L"plain.default", {3, ArticleAddress(L"Plain")});
    EXPECT_FALSE(ScanFirefoxProfiles());
    EXPECT_EQ(lastHelperMarker, kNoHelperMarker);

    const std::wstring path = HelperPath(L"real.default");
    WriteHelperFile(path, {4, ArticleAddress(L"Real")});
    EXPECT_TRUE(ScanFirefoxProfiles());
    EXPECT_EQ(Remembered(), path);
}

std::vector<std::wstring> ProfilesInFileSystemOrder()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((ProfilesFolder() + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

TEST_F(FirefoxHelperFile, EveryProfileIsReadAndTheLastSuccessRemembered)
{
    WriteHelperFile(HelperPath(L"one.default"), {10, ArticleAddress(L"one.default")});
    WriteHelperFile(HelperPath(L"two.default"), {11, ArticleAddress(L"two.default")});
    std::error_code ignored;
    std::filesystem::create_directories(ProfilesFolder() + L"empty.default", ignored);
    const std::vector<std::wstring> order = ProfilesInFileSystemOrder();
    ASSERT_EQ(order.size(), 3u);
    std::wstring last;
    for (const std::wstring& name : order) {
        if (name != L"empty.default") {
            last = name;
        }
    }
    EXPECT_TRUE(ScanFirefoxProfiles());
    EXPECT_EQ(Remembered(), HelperPath(last));
    EXPECT_EQ(Title(), last);
    EXPECT_EQ(lastHelperMarker, last == L"one.default" ? 10 : 11);
}

TEST_F(FirefoxHelperFile, FileHeldOpenForWritingByTheAddOnIsRead)
{
    const std::wstring path = HelperPath(L"busy.default");
    std::error_code ignored;
    std::filesystem::create_directories(ProfilesFolder() + L"busy.default", ignored);
    ChildProcess writer(L"helper_writer_fixture.exe",
                        L"\"--file=" + path + L"\" --marker=42 \"--text=" + ArticleAddress(L"Busy") +
                            L"\"");
    ASSERT_TRUE(writer.Started());
    EXPECT_TRUE(ScanFirefoxProfiles());
    EXPECT_EQ(Title(), L"Busy");
    EXPECT_EQ(lastHelperMarker, 42);
}

// Profiles whose paths do not fit the 520-code-unit buffers are skipped; the
// others are read as usual.
TEST_F(FirefoxHelperFile, ProfilePathTooLongForTheBuffersIsSkipped)
{
    // An application-data folder that leaves the profiles folder at 480 code units.
    const size_t base = PrivateAppData().size() + 1 + std::wstring(L"\\Mozilla\\Firefox\\Profiles\\").size();
    ASSERT_LT(base + 10, 480u);
    // Folder names of at most 100 characters each, as file systems allow.
    std::wstring padding(480 - base, L'd');
    for (size_t i = 100; i + 1 < padding.size(); i += 101) {
        padding[i] = L'\\';
    }
    const std::wstring appData = PrivateAppData() + L"\\" + padding;
    struct LongFolders {
        std::wstring top;
        ~LongFolders() { RemoveTree(top); }
    } cleanup{PrivateAppData() + L"\\" + padding.substr(0, padding.find(L'\\'))};
    const std::wstring profiles = appData + L"\\Mozilla\\Firefox\\Profiles\\";
    ASSERT_EQ(profiles.size(), 480u);
    SetEnvironmentVariableW(L"APPDATA", appData.c_str());

    const std::wstring longName(60, L'p');
    std::error_code error;
    std::filesystem::create_directories(profiles + longName, error);
    const std::wstring longPath = profiles + longName + L"\\ymkhelp_urltext.txt";
    WriteHelperFile(longPath, {5, ArticleAddress(L"Long")});
    if (GetFileAttributesW(longPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "the file system takes no path this long";
    }
    EXPECT_FALSE(ScanFirefoxProfiles());
    EXPECT_EQ(lastHelperMarker, kNoHelperMarker);

    const std::wstring shortPath = profiles + L"s\\ymkhelp_urltext.txt";
    ASSERT_LT(shortPath.size(), static_cast<size_t>(kPathChars));
    WriteHelperFile(shortPath, {6, ArticleAddress(L"Short")});
    EXPECT_TRUE(ScanFirefoxProfiles());
    EXPECT_EQ(Remembered(), shortPath);
    EXPECT_EQ(lastHelperMarker, 6);

    // A profiles folder that does not fit at all is not searched.
    const std::wstring tooLong = appData + L"\\" + std::wstring(60, L'x');
    SetEnvironmentVariableW(L"APPDATA", tooLong.c_str());
    WriteHelperFile(tooLong + L"\\Mozilla\\Firefox\\Profiles\\s\\ymkhelp_urltext.txt",
                    {7, ArticleAddress(L"TooLong")});
    EXPECT_FALSE(ScanFirefoxProfiles());
}

}  // namespace

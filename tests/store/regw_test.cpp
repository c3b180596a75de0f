#include "store/registry_layout.h"
#include "store/regw.h"
#include "tests/store/raw_registry.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kKey[] = L"Software\\Marvoke\\Yomikaze\\CurrentVersion";
constexpr wchar_t kOtherKey[] = L"Software\\Marvoke\\Yomikaze\\CurrentVersion\\Rank";
constexpr wchar_t kReportLine[] =
    L"このメッセージが表示されたら、現在編集している/していたダイアログの名前を、"
    L"メッセージの内容と共に正確に作者まで報告して下さい。";

std::wstring Warning(const wchar_t* firstLine) { return std::wstring(firstLine) + L"\n" + kReportLine; }

void ExpectOneWarning(const MessageBoxCapture& capture, const wchar_t* firstLine)
{
    ASSERT_EQ(capture.Boxes().size(), 1u);
    const CapturedBox& box = capture.Boxes()[0];
    EXPECT_EQ(box.caption, L"Registory Class");
    EXPECT_EQ(box.text, Warning(firstLine));
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, nullptr);
}

std::vector<BYTE> Bytes(const std::wstring& text, std::size_t byteCount)
{
    std::vector<BYTE> bytes(byteCount);
    std::memcpy(bytes.data(), text.data(), std::min(byteCount, text.size() * sizeof(wchar_t)));
    return bytes;
}

std::vector<BYTE> TextWithNull(const std::wstring& text)
{
    return Bytes(text + L'\0', (text.size() + 1) * sizeof(wchar_t));
}

TEST(RegwOpen, ReadOnlyOfMissingKeyFailsCreatingNothing)
{
    MessageBoxCapture capture;
    REGW registry;
    EXPECT_FALSE(registry.OpenKey(kLogKeyPath, REGW::OpenReadOnly));
    EXPECT_EQ(registry.Key(), nullptr);
    EXPECT_FALSE(raw::KeyExists(L"Software\\Marvoke"));
    EXPECT_TRUE(capture.Boxes().empty());
}

TEST(RegwOpen, CreateMakesTheWholeMissingPath)
{
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kLogKeyPath, REGW::OpenCreate));
    EXPECT_TRUE(registry.CloseKey());
    EXPECT_TRUE(raw::KeyExists(kLogKeyPath));
    EXPECT_TRUE(capture.Boxes().empty());
}

TEST(RegwOpen, ReadOnlyHandleCannotWrite)
{
    raw::PutDword(kKey, L"x", 1);
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenReadOnly));
    EXPECT_EQ(registry.ReadIntegerW(L"x", 0), 1u);
    EXPECT_FALSE(registry.WriteIntegerW(L"x", 2));
    registry.CloseKey();
    EXPECT_EQ(raw::GetDword(kKey, L"x"), 1u);
}

TEST(RegwOpen, NullPathHoldsNothingSilently)
{
    MessageBoxCapture capture;
    REGW registry;
    EXPECT_FALSE(registry.OpenKey(nullptr, REGW::OpenCreate));
    EXPECT_EQ(registry.Key(), nullptr);
    EXPECT_TRUE(capture.Boxes().empty());
}

TEST(RegwOpen, SecondOpenClosesTheFirstWarnsAndHoldsTheSecond)
{
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenCreate));
    ASSERT_TRUE(registry.OpenKey(kOtherKey, REGW::OpenCreate));
    ExpectOneWarning(capture,
                     L"レジストリキーを多重オープンしようとしたので保護しました(REGW::OpenKey())。");
    EXPECT_TRUE(registry.WriteIntegerW(L"marker", 7));
    EXPECT_TRUE(registry.CloseKey());
    EXPECT_EQ(raw::GetDword(kOtherKey, L"marker"), 7u);
    EXPECT_FALSE(raw::Get(kKey, L"marker"));
}

TEST(RegwClose, SecondCloseWarnsAndFails)
{
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenCreate));
    EXPECT_TRUE(registry.CloseKey());
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_FALSE(registry.CloseKey());
    ExpectOneWarning(capture, L"レジストリを多重クローズしようとしたので保護しました(REGW::CloseKey)。");
}

TEST(RegwLifetime, EndingWithAKeyClosesItAndWarns)
{
    MessageBoxCapture capture;
    {
        REGW registry;
        ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenCreate));
    }
    ExpectOneWarning(capture, L"レジストリを自動クローズしました。");
}

TEST(RegwLifetime, EndingWithoutAKeyIsSilent)
{
    MessageBoxCapture capture;
    {
        REGW registry;
        ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenCreate));
        registry.CloseKey();
    }
    { REGW unused; }
    EXPECT_TRUE(capture.Boxes().empty());
}

TEST(RegwLifetime, AnExceptionLeavingTheScopeStillClosesTheKey)
{
    MessageBoxCapture capture;
    try {
        REGW registry;
        ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenCreate));
        throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
    }
    ExpectOneWarning(capture, L"レジストリを自動クローズしました。");
}

// Every operation on an object that holds no key: its warning, its fixed
// result, and no registry access.
struct UnheldCase {
    const char* name;
    std::function<bool(REGW&)> resultIsAsStated;
    const wchar_t* firstLine;
};

class RegwUnheld : public testing::TestWithParam<UnheldCase> {};

TEST_P(RegwUnheld, WarnsAndGivesItsFixedResult)
{
    raw::PutDword(kKey, L"v", 5);
    MessageBoxCapture capture;
    REGW registry;
    EXPECT_TRUE(GetParam().resultIsAsStated(registry));
    ExpectOneWarning(capture, GetParam().firstLine);
    EXPECT_EQ(raw::GetDword(kKey, L"v"), 5u);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, RegwUnheld,
    testing::Values(
        UnheldCase{"ValueExistW", [](REGW& r) { return r.ValueExistW(L"v") == -1; },
                   L"開かれていないキーを対象に ValueExistW が行われようとしたので保護します。"},
        UnheldCase{"ReadIntegerW", [](REGW& r) { return r.ReadIntegerW(L"v", 99) == 99u; },
                   L"開かれていないキーを対象に ReadIntegerW が行われようとしたので保護します。"},
        UnheldCase{"WriteStringW", [](REGW& r) { return !r.WriteStringW(L"v", L"x"); },
                   L"開かれていないキーを対象に WriteStringW が行われようとしたので保護します。"},
        UnheldCase{"WriteIntegerW", [](REGW& r) { return !r.WriteIntegerW(L"v", 1); },
                   L"開かれていないキーを対象に WriteIntegerW が行われようとしたので保護します。"},
        UnheldCase{"DeleteValue", [](REGW& r) { return !r.DeleteValue(L"v"); },
                   L"開かれていないキーを対象に REGW::DeleteValue が行われようとしたので保護します。"},
        UnheldCase{"RegReadStringW",
                   [](REGW& r) {
                       std::uint32_t length = 0;
                       const std::unique_ptr<wchar_t[]> text(r.RegReadStringW(L"v", &length));
                       return text && text[0] == L'\0' && length == 1;
                   },
                   L"開かれていないキーを対象に (new)RegReadStringW が行われようとしたので保護します。"},
        UnheldCase{"ReadStringCopyW",
                   [](REGW& r) {
                       const std::unique_ptr<wchar_t[]> text(r.ReadStringCopyW(L"v"));
                       return text && text[0] == L'\0';
                   },
                   L"開かれていないキーを対象に (new)RegReadStringW が行われようとしたので保護します。"}),
    CaseName());

// ReadIntegerW over every kind of stored data.
struct ReadCase {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    std::uint32_t expected;  // with the default kDefault
};

constexpr std::uint32_t kDefault = 0xDEFA017u;

class RegwReadInteger : public testing::TestWithParam<ReadCase> {};

TEST_P(RegwReadInteger, ConvertsByStoredType)
{
    const ReadCase& c = GetParam();
    raw::Put(kKey, L"value", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenReadOnly));
    EXPECT_EQ(registry.ReadIntegerW(L"value", kDefault), c.expected);
    registry.CloseKey();
    EXPECT_TRUE(capture.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    StoredTypes, RegwReadInteger,
    testing::Values(
        ReadCase{"Text42", REG_SZ, TextWithNull(L"42"), 42u},
        ReadCase{"TextMinus7", REG_SZ, TextWithNull(L"-7"), static_cast<std::uint32_t>(-7)},
        ReadCase{"TextPlusSeven", REG_SZ, TextWithNull(L"+7"), 7u},
        ReadCase{"LonePlus", REG_SZ, TextWithNull(L"+"), 0u},
        ReadCase{"LoneMinus", REG_SZ, TextWithNull(L"-"), 0u},
        ReadCase{"EmptyText", REG_SZ, TextWithNull(L""), kDefault},
        ReadCase{"NoDataAtAll", REG_SZ, {}, kDefault},
        ReadCase{"InnerSpace", REG_SZ, TextWithNull(L"4 2"), kDefault},
        ReadCase{"LeadingSpace", REG_SZ, TextWithNull(L" 42"), kDefault},
        ReadCase{"TrailingLetter", REG_SZ, TextWithNull(L"12a"), kDefault},
        ReadCase{"ElevenNines", REG_SZ, TextWithNull(L"99999999999"), 2147483647u},
        ReadCase{"ElevenNinesNegative", REG_SZ, TextWithNull(L"-99999999999"), 0x80000000u},
        ReadCase{"Int32Max", REG_SZ, TextWithNull(L"2147483647"), 2147483647u},
        ReadCase{"Int32MaxPlusOne", REG_SZ, TextWithNull(L"2147483648"), 2147483647u},
        ReadCase{"Int32Min", REG_SZ, TextWithNull(L"-2147483648"), 0x80000000u},
        ReadCase{"ManyDigits", REG_SZ, TextWithNull(std::wstring(300, L'9')), 2147483647u},
        ReadCase{"StopsAtFirstNull", REG_SZ, Bytes(std::wstring(L"5\0x", 3), 8), 5u},
        ReadCase{"ExpandText", REG_EXPAND_SZ, TextWithNull(L"42"), 42u},
        ReadCase{"MultiTextFirstString", REG_MULTI_SZ,
                 Bytes(std::wstring(L"17\0" L"3\0\0", 6), 12), 17u},
        ReadCase{"UnterminatedText", REG_SZ, Bytes(L"42", 4), 42u},
        ReadCase{"UnterminatedOneDigit", REG_SZ, Bytes(L"7", 2), 7u},
        ReadCase{"UnterminatedLetters", REG_SZ, Bytes(L"12a", 6), kDefault},
        ReadCase{"OddSizeDropsTheHalfCharacter", REG_SZ, {'4', 0, '2', 0, '9'}, 42u},
        ReadCase{"SingleByteText", REG_SZ, {'4'}, kDefault},
        ReadCase{"BinaryOneByte", REG_BINARY, {0x2A}, 0x2Au},
        ReadCase{"BinaryThreeBytes", REG_BINARY, {0x01, 0x02, 0x03}, 0x030201u},
        ReadCase{"BinaryEmpty", REG_BINARY, {}, 0u},
        ReadCase{"BinaryLong", REG_BINARY, {1, 0, 0, 0, 9, 9}, 1u},
        ReadCase{"Dword", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, 0x12345678u},
        ReadCase{"DwordBigEndian", REG_DWORD_BIG_ENDIAN, {0x12, 0x34, 0x56, 0x78}, 0x12345678u},
        ReadCase{"QwordLowHalf", REG_QWORD, {5, 0, 0, 0, 1, 0, 0, 0}, 5u},
        ReadCase{"None", REG_NONE, {1, 0, 0, 0}, kDefault},
        ReadCase{"Link", REG_LINK, TextWithNull(L"42"), kDefault},
        ReadCase{"ResourceList", REG_RESOURCE_LIST, {1, 0, 0, 0}, kDefault}),
    CaseName());

TEST(RegwReadIntegerAbsent, GivesTheDefaultSilently)
{
    raw::PutDword(kKey, L"other", 1);
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenReadOnly));
    EXPECT_EQ(registry.ReadIntegerW(L"absent", 1234u), 1234u);
    registry.CloseKey();
    EXPECT_TRUE(capture.Boxes().empty());
}

// The conversion is bounded by the data's size, whatever lies beyond it: a
// text stored without its terminator is never read past its last character.
TEST(RegwConversion, NeverReadsBeyondTheData)
{
    const std::wstring memory = L"4299";  // only "42" belongs to the data
    const auto* data = reinterpret_cast<const BYTE*>(memory.c_str());
    EXPECT_EQ(regw_rules::ConvertValue(REG_SZ, data, 4, kDefault), 42u);
    EXPECT_EQ(regw_rules::ConvertValue(REG_SZ, data, 5, kDefault), 42u);
    EXPECT_EQ(regw_rules::ConvertValue(REG_SZ, data, 0, kDefault), kDefault);
    const BYTE binary[] = {0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(regw_rules::ConvertValue(REG_BINARY, binary, 2, kDefault), 0x2211u);
    EXPECT_EQ(regw_rules::ConvertValue(REG_DWORD_BIG_ENDIAN, binary, 2, kDefault), 0x11220000u);
}

TEST(RegwValueExist, ReportsDataSizes)
{
    raw::PutText(kKey, L"abc", L"abc");
    raw::Put(kKey, L"empty", REG_BINARY, nullptr, 0);
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenReadOnly));
    EXPECT_EQ(registry.ValueExistW(L"abc"), 8);
    EXPECT_EQ(registry.ValueExistW(L"empty"), 0);
    EXPECT_EQ(registry.ValueExistW(L"absent"), -1);
    registry.CloseKey();
    EXPECT_TRUE(capture.Boxes().empty());
}

// RegReadStringW: the text and the length it gives back.
struct StringCase {
    const char* name;
    bool store;
    DWORD type;
    std::vector<BYTE> data;
    std::wstring text;
    std::uint32_t length;
};

class RegwReadString : public testing::TestWithParam<StringCase> {};

TEST_P(RegwReadString, GivesTextAndLength)
{
    const StringCase& c = GetParam();
    raw::PutDword(kKey, L"other", 0);
    if (c.store) {
        raw::Put(kKey, L"value", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    }
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenReadOnly));
    std::uint32_t length = 0;
    const std::unique_ptr<wchar_t[]> text(registry.RegReadStringW(L"value", &length));
    ASSERT_TRUE(text);
    EXPECT_EQ(std::wstring(text.get()), c.text);
    EXPECT_EQ(length, c.length);
    const std::unique_ptr<wchar_t[]> copy(registry.ReadStringCopyW(L"value"));
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::wstring(copy.get()), c.text);
    registry.CloseKey();
    EXPECT_TRUE(capture.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, RegwReadString,
    testing::Values(StringCase{"Absent", false, REG_SZ, {}, L"", 1u},
                    StringCase{"Abc", true, REG_SZ, TextWithNull(L"abc"), L"abc", 5u},
                    StringCase{"EmptyData", true, REG_SZ, {}, L"", 1u},
                    StringCase{"EmptyText", true, REG_SZ, TextWithNull(L""), L"", 2u},
                    StringCase{"Unterminated", true, REG_SZ, Bytes(L"abc", 6), L"abc", 4u},
                    StringCase{"OddSize", true, REG_SZ, Bytes(L"abc", 7), L"abc", 4u},
                    StringCase{"Japanese", true, REG_SZ, TextWithNull(L"日本語"), L"日本語", 5u},
                    StringCase{"ExpandKeptAsStored", true, REG_EXPAND_SZ,
                               TextWithNull(L"%APPDATA%"), L"%APPDATA%", 11u},
                    StringCase{"DwordReadAsCharacters", true, REG_DWORD, {'h', 0, 'i', 0}, L"hi",
                               3u}),
    CaseName());

TEST(RegwWriteString, StoresTextWithTerminatorAsPlainText)
{
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenCreate));
    EXPECT_TRUE(registry.WriteStringW(L"new", L"日本"));
    EXPECT_TRUE(registry.WriteStringW(L"empty", L""));
    registry.CloseKey();
    const auto stored = raw::Get(kKey, L"new");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->data, TextWithNull(L"日本"));
    EXPECT_EQ(raw::Get(kKey, L"empty")->data, TextWithNull(L""));
}

struct OverwriteCase {
    const char* name;
    const wchar_t* valueName;
    DWORD existingType;
    DWORD writtenType;
};

class RegwWriteStringOver : public testing::TestWithParam<OverwriteCase> {};

TEST_P(RegwWriteStringOver, KeepsOnlyTheExpandType)
{
    const OverwriteCase& c = GetParam();
    const std::vector<BYTE> old = TextWithNull(L"old");
    raw::Put(kKey, c.valueName, c.existingType, old.data(), static_cast<DWORD>(old.size()));
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenCreate));
    EXPECT_TRUE(registry.WriteStringW(c.valueName, L"%TEMP%\\x"));
    registry.CloseKey();
    const auto stored = raw::Get(kKey, c.valueName);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, c.writtenType);
    EXPECT_EQ(stored->data, TextWithNull(L"%TEMP%\\x"));
}

// wine reports an NT version above 4.0, so the unnamed value keeps its type too.
INSTANTIATE_TEST_SUITE_P(
    ExistingTypes, RegwWriteStringOver,
    testing::Values(OverwriteCase{"Expand", L"v", REG_EXPAND_SZ, REG_EXPAND_SZ},
                    OverwriteCase{"Dword", L"v", REG_DWORD, REG_SZ},
                    OverwriteCase{"Multi", L"v", REG_MULTI_SZ, REG_SZ},
                    OverwriteCase{"Plain", L"v", REG_SZ, REG_SZ},
                    OverwriteCase{"UnnamedExpand", L"", REG_EXPAND_SZ, REG_EXPAND_SZ}),
    CaseName());

struct VersionCase {
    const char* name;
    DWORD platformId;
    DWORD major;
    DWORD minor;
    DWORD build;
    std::uint16_t expected;
};

class RegwPlatformVersion : public testing::TestWithParam<VersionCase> {};

TEST_P(RegwPlatformVersion, ReadsTheRecordByFamily)
{
    const VersionCase& c = GetParam();
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    info.dwPlatformId = c.platformId;
    info.dwMajorVersion = c.major;
    info.dwMinorVersion = c.minor;
    info.dwBuildNumber = c.build;
    EXPECT_EQ(regw_rules::PlatformVersion(info), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Families, RegwPlatformVersion,
    testing::Values(VersionCase{"Nt40", 2, 4, 0, 1381, 0x0400},
                    VersionCase{"Nt61", 2, 6, 1, 7601, 0x0601},
                    VersionCase{"Nt100", 2, 10, 0, 19045, 0x0A00},
                    VersionCase{"OlderFamilyPackedBuild", 1, 0, 0, 0x040A08AEu, 0x040A},
                    VersionCase{"OlderFamilyPacked40", 1, 9, 9, 0x040003B6u, 0x0400},
                    VersionCase{"OlderFamilyEmptyHighWord", 1, 4, 0, 950, 0x0501}),
    CaseName());

TEST(RegwStringValueType, UnnamedValueOnVersion40IsAlwaysPlainText)
{
    EXPECT_EQ(regw_rules::StringValueType(true, true, 0x0400), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(regw_rules::StringValueType(false, true, 0x0400), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(regw_rules::StringValueType(true, true, 0x0501),
              static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(regw_rules::StringValueType(true, false, 0x0400),
              static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(regw_rules::StringValueType(false, false, 0x0601), static_cast<DWORD>(REG_SZ));
}

TEST(RegwWriteInteger, StoresFourBytesAndDeleteRemoves)
{
    raw::PutText(kKey, L"v", L"12");
    MessageBoxCapture capture;
    REGW registry;
    ASSERT_TRUE(registry.OpenKey(kKey, REGW::OpenCreate));
    EXPECT_TRUE(registry.WriteIntegerW(L"v", 0xFFFFFFFFu));
    const auto stored = raw::Get(kKey, L"v");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored->data, (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(registry.DeleteValue(L"v"));
    EXPECT_FALSE(registry.DeleteValue(L"v"));
    registry.CloseKey();
    EXPECT_FALSE(raw::Get(kKey, L"v"));
    EXPECT_TRUE(capture.Boxes().empty());
}

}  // namespace

#include "store/daily_log.h"
#include "store/registry_layout.h"
#include "store/settings_store.h"
#include "tests/store/raw_registry.h"
#include "tests/store/store_fixture.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

class DailyLog : public StoreTest {};

TEST_F(DailyLog, RestartOnTheSameDayGoesOnFromTheStoredTotal)
{
    raw::PutDword(kLogKeyPath, L"20260313", 500);
    raw::PutDword(kLogKeyPath, L"20260314", 3725);
    MessageBoxCapture capture;
    LoadSettings();
    EXPECT_EQ(readingState.todaySeconds, 3725u);
    readingState.todaySeconds += 10;
    SaveSettings(raw::OwnerWindow());
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260314"), 3735u);
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260313"), 500u);
    EXPECT_TRUE(capture.Boxes().empty());
}

TEST_F(DailyLog, RestartOnANewDayStartsAtZeroAndKeepsYesterday)
{
    raw::PutDword(kLogKeyPath, L"20260313", 500);
    MessageBoxCapture capture;
    readingState.todaySeconds = 0;
    LoadSettings();
    EXPECT_EQ(readingState.todaySeconds, 0u);
    SaveSettings(raw::OwnerWindow());
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260314"), 0u);
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260313"), 500u);
}

TEST_F(DailyLog, TodaysValueStoredAsTextIsReadAsItsNumber)
{
    raw::PutText(kLogKeyPath, L"20260314", L"61");
    MessageBoxCapture capture;
    LoadSettings();
    EXPECT_EQ(readingState.todaySeconds, 61u);
    SaveSettings(raw::OwnerWindow());
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260314"), 61u);
}

struct NameCase {
    const char* name;
    const wchar_t* valueName;
    std::int32_t number;
};

class DayNumber : public testing::TestWithParam<NameCase> {};

TEST_P(DayNumber, ReadsLikeTheStandardConversion)
{
    EXPECT_EQ(DayNumberOfName(GetParam().valueName), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Names, DayNumber,
                         testing::Values(NameCase{"DayKey", L"20260314", 20260314},
                                         NameCase{"LeadingBlanks", L" \t42", 42},
                                         NameCase{"TrailingLetters", L"42abc", 42},
                                         NameCase{"Plus", L"+8", 8},
                                         NameCase{"Minus", L"-7", -7},
                                         NameCase{"LettersOnly", L"abc", 0},
                                         NameCase{"Empty", L"", 0},
                                         NameCase{"SignOnly", L"-", 0},
                                         NameCase{"ClampedHigh", L"99999999999", INT32_MAX},
                                         NameCase{"ClampedLow", L"-99999999999", INT32_MIN}),
                         CaseName());

// The log as stored, then one trim: which names remain.
struct TrimCase {
    const char* name;
    int days;                           // consecutive day keys from 1 January 2025
    std::vector<std::wstring> extra;    // other names stored beside them
    std::vector<std::wstring> removed;  // names expected gone
    std::size_t remaining;
};

class LogTrim : public StoreTest, public testing::WithParamInterface<TrimCase> {};

TEST_P(LogTrim, KeepsTheLargestDayNumbers)
{
    const TrimCase& c = GetParam();
    std::vector<std::wstring> names = DayKeys(2025, 1, 1, c.days);
    names.insert(names.end(), c.extra.begin(), c.extra.end());
    // Stored newest first, so that nothing depends on the order of creation.
    std::reverse(names.begin(), names.end());
    for (const std::wstring& name : names) {
        raw::PutDword(kLogKeyPath, name.c_str(), 1);
    }
    MessageBoxCapture capture;
    TrimDailyLog();
    const std::vector<std::wstring> left = raw::Names(kLogKeyPath);
    EXPECT_EQ(left.size(), c.remaining);
    for (const std::wstring& name : names) {
        const bool expectGone =
            std::find(c.removed.begin(), c.removed.end(), name) != c.removed.end();
        EXPECT_EQ(std::find(left.begin(), left.end(), name) == left.end(), expectGone) << name;
    }
    EXPECT_TRUE(capture.Boxes().empty());
}

std::vector<std::wstring> First(int count)
{
    return DayKeys(2025, 1, 1, count);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, LogTrim,
    testing::Values(TrimCase{"Empty", 0, {}, {}, 0},
                    TrimCase{"Exactly366", 366, {}, {}, 366},
                    TrimCase{"Days367OldestGoes", 367, {}, First(1), 366},
                    TrimCase{"Days400ThirtyFourGo", 400, {}, First(34), 366},
                    TrimCase{"LettersOnlyGoesFirst", 366, {L"abc"}, {L"abc"}, 366},
                    TrimCase{"LettersOnlyStaysWithinTheBound", 365, {L"abc"}, {}, 366},
                    TrimCase{"NegativeBeforeLetters", 365, {L"abc", L"-5"}, {L"-5"}, 366},
                    TrimCase{"LeadingNumberCounts", 366, {L"30000101x"}, First(1), 366}),
    CaseName());

TEST_F(DailyLog, SaveTrimsAfterWritingToday)
{
    std::vector<std::wstring> days = DayKeys(2025, 2, 8, 399);  // up to 13 March 2026
    for (const std::wstring& day : days) {
        raw::PutDword(kLogKeyPath, day.c_str(), 60);
    }
    readingState.todaySeconds = 5;
    MessageBoxCapture capture;
    SaveSettings(raw::OwnerWindow());
    const std::vector<std::wstring> left = raw::Names(kLogKeyPath);
    ASSERT_EQ(left.size(), 366u);
    EXPECT_EQ(left.back(), L"20260314");
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260314"), 5u);
    EXPECT_EQ(left.front(), days[34]);
}

TEST_F(DailyLog, MissingLogKeyIsCreatedByTheSave)
{
    raw::PutDword(kSettingsKeyPath, L"NotifyFinish", 1);
    readingState.todaySeconds = 12;
    MessageBoxCapture capture;
    SaveSettings(raw::OwnerWindow());
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_EQ(raw::GetDword(kLogKeyPath, L"20260314"), 12u);
}

TEST_F(DailyLog, UnreadableLogKeyRestoresNothingSilently)
{
    raw::PutDword(kLogKeyPath, L"20260314", 3725);
    const raw::LockedKey locked(kLogKeyPath, raw::LockedKey::NoAccess);
    readingState.todaySeconds = 0;
    MessageBoxCapture capture;
    LoadSettings();
    EXPECT_EQ(readingState.todaySeconds, 0u);
    EXPECT_TRUE(capture.Boxes().empty());
}

}  // namespace

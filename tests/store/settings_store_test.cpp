#include "store/registry_layout.h"
#include "store/settings_store.h"
#include "tests/store/raw_registry.h"
#include "tests/store/store_fixture.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kToday[] = L"20260314";

// The sixteen values a save writes, in listing order (wine lists names
// sorted without regard to case).
const std::vector<std::wstring> kSavedNames = {
    L"Alarm1Enable", L"Alarm1h",      L"Alarm1m",      L"Alarm1Mes",
    L"Alarm2Enable", L"Alarm2h",      L"Alarm2m",      L"Alarm2Mes",
    L"Alarm3Enable", L"Alarm3h",      L"Alarm3m",      L"Alarm3Mes",
    L"HistryEnabled", L"NotifyFinish", L"NotifyHour",  L"NotifyTime"};

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

std::vector<std::wstring> SortedWithoutCase(std::vector<std::wstring> names)
{
    std::sort(names.begin(), names.end(),
              [](const std::wstring& a, const std::wstring& b) { return Lower(a) < Lower(b); });
    return names;
}

std::wstring StoredText(const wchar_t* name)
{
    const auto value = raw::Get(kSettingsKeyPath, name);
    if (!value) {
        return L"<absent>";
    }
    if (value->type != REG_SZ || value->data.size() % 2 != 0 || value->data.size() < 2) {
        return L"<not a terminated REG_SZ>";
    }
    std::wstring text(value->data.size() / 2, L'\0');
    std::memcpy(text.data(), value->data.data(), value->data.size());
    if (text.back() != L'\0') {
        return L"<not a terminated REG_SZ>";
    }
    text.pop_back();
    return text;
}

wchar_t* Owned(const wchar_t* text)
{
    const std::size_t length = std::wcslen(text) + 1;
    auto* copy = new wchar_t[length];
    std::wmemcpy(copy, text, length);
    return copy;
}

class SettingsStore : public StoreTest {};

TEST_F(SettingsStore, FirstRunKeepsInitialValuesSilently)
{
    MessageBoxCapture capture;
    LoadSettings();
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_TRUE(settings.notifyFinish);
    EXPECT_FALSE(settings.notifyHour);
    EXPECT_FALSE(settings.notifyTime);
    EXPECT_FALSE(settings.historyEnabled);
    EXPECT_FALSE(settings.noTaskbarIcon);
    for (int i = 0; i < kAlarmCount; ++i) {
        EXPECT_FALSE(settings.alarmEnabled[i]);
        EXPECT_EQ(settings.alarmHour[i], 0);
        EXPECT_EQ(settings.alarmMinute[i], 0);
        EXPECT_EQ(settings.alarmMessage[i], nullptr);
    }
    EXPECT_EQ(readingState.todaySeconds, 0u);
    EXPECT_FALSE(raw::KeyExists(L"Software\\Marvoke"));
}

TEST_F(SettingsStore, FirstSaveWritesSixteenValuesAndTodaysTotal)
{
    MessageBoxCapture capture;
    LoadSettings();
    SaveSettings(raw::OwnerWindow());
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_EQ(raw::Names(kSettingsKeyPath), SortedWithoutCase(kSavedNames));
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"NotifyFinish"), 1u);
    for (const std::wstring& name : kSavedNames) {
        if (name.find(L"Mes") != std::wstring::npos) {
            EXPECT_EQ(StoredText(name.c_str()), L"") << name;
        } else if (name != L"NotifyFinish") {
            EXPECT_EQ(raw::GetDword(kSettingsKeyPath, name.c_str()), 0u) << name;
        }
    }
    EXPECT_FALSE(raw::Get(kSettingsKeyPath, L"NoTaskbarIcon"));
    // A new day's first save writes its value even at 0.
    EXPECT_EQ(raw::Names(kLogKeyPath), std::vector<std::wstring>{kToday});
    EXPECT_EQ(raw::GetDword(kLogKeyPath, kToday), 0u);
}

TEST_F(SettingsStore, EveryFieldSurvivesSaveAndLoad)
{
    settings.notifyFinish = false;
    settings.notifyHour = true;
    settings.notifyTime = true;
    settings.historyEnabled = true;
    const bool enabled[kAlarmCount] = {true, false, true};
    const std::uint16_t hours[kAlarmCount] = {7, 23, 99};
    const std::uint16_t minutes[kAlarmCount] = {30, 59, 65535};
    const wchar_t* messages[kAlarmCount] = {L"起きる時間です", L"", L"%TEMP% は展開しない"};
    for (int i = 0; i < kAlarmCount; ++i) {
        settings.alarmEnabled[i] = enabled[i];
        settings.alarmHour[i] = hours[i];
        settings.alarmMinute[i] = minutes[i];
        settings.alarmMessage[i] = Owned(messages[i]);
    }
    readingState.todaySeconds = 4321;
    MessageBoxCapture capture;
    SaveSettings(raw::OwnerWindow());

    ReleaseAlarmMessages();
    settings = Settings{};
    readingState.todaySeconds = 0;
    LoadSettings();
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_FALSE(settings.notifyFinish);
    EXPECT_TRUE(settings.notifyHour);
    EXPECT_TRUE(settings.notifyTime);
    EXPECT_TRUE(settings.historyEnabled);
    for (int i = 0; i < kAlarmCount; ++i) {
        EXPECT_EQ(settings.alarmEnabled[i], enabled[i]) << i;
        EXPECT_EQ(settings.alarmHour[i], hours[i]) << i;
        EXPECT_EQ(settings.alarmMinute[i], minutes[i]) << i;
        ASSERT_NE(settings.alarmMessage[i], nullptr) << i;
        EXPECT_STREQ(settings.alarmMessage[i], messages[i]) << i;
    }
    EXPECT_EQ(readingState.todaySeconds, 4321u);
}

// "NotifyFinish" in its stored forms, with the key itself present.
struct FinishCase {
    const char* name;
    bool store;
    DWORD type;
    std::wstring text;  // REG_SZ data, or ignored for REG_DWORD
    std::uint32_t number;
    bool loadsOn;
};

class NotifyFinishForms : public StoreTest, public testing::WithParamInterface<FinishCase> {};

TEST_P(NotifyFinishForms, LoadAsStated)
{
    const FinishCase& c = GetParam();
    raw::PutDword(kSettingsKeyPath, L"NotifyHour", 0);
    if (c.store && c.type == REG_SZ) {
        raw::PutText(kSettingsKeyPath, L"NotifyFinish", c.text);
    } else if (c.store) {
        raw::PutDword(kSettingsKeyPath, L"NotifyFinish", c.number);
    }
    settings.notifyFinish = !c.loadsOn;
    MessageBoxCapture capture;
    LoadSettings();
    EXPECT_EQ(settings.notifyFinish, c.loadsOn);
    EXPECT_TRUE(capture.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(StoredForms, NotifyFinishForms,
                         testing::Values(FinishCase{"Absent", false, REG_DWORD, L"", 0, true},
                                         FinishCase{"DwordZero", true, REG_DWORD, L"", 0, false},
                                         FinishCase{"DwordTwo", true, REG_DWORD, L"", 2, true},
                                         FinishCase{"TextZero", true, REG_SZ, L"0", 0, false},
                                         FinishCase{"TextOne", true, REG_SZ, L"1", 0, true},
                                         FinishCase{"TextAbc", true, REG_SZ, L"abc", 0, true},
                                         FinishCase{"TextEmpty", true, REG_SZ, L"", 0, true}),
                         CaseName());

struct TaskbarCase {
    const char* name;
    bool store;
    std::uint32_t stored;
    bool loadsOn;
};

class NoTaskbarIconValue : public StoreTest, public testing::WithParamInterface<TaskbarCase> {};

TEST_P(NoTaskbarIconValue, IsReadAndNeverWritten)
{
    const TaskbarCase& c = GetParam();
    raw::PutDword(kSettingsKeyPath, L"NotifyHour", 0);
    if (c.store) {
        raw::PutDword(kSettingsKeyPath, L"NoTaskbarIcon", c.stored);
    }
    MessageBoxCapture capture;
    LoadSettings();
    EXPECT_EQ(settings.noTaskbarIcon, c.loadsOn);
    settings.noTaskbarIcon = !settings.noTaskbarIcon;  // memory never reaches the registry
    for (int save = 0; save < 3; ++save) {
        SaveSettings(raw::OwnerWindow());
    }
    if (c.store) {
        EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"NoTaskbarIcon"), c.stored);
    } else {
        EXPECT_FALSE(raw::Get(kSettingsKeyPath, L"NoTaskbarIcon"));
    }
    EXPECT_TRUE(capture.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(StoredForms, NoTaskbarIconValue,
                         testing::Values(TaskbarCase{"One", true, 1, true},
                                         TaskbarCase{"Zero", true, 0, false},
                                         TaskbarCase{"Absent", false, 0, false}),
                         CaseName());

// Hours and minutes keep the low 16 bits of whatever number is stored.
struct TimeFieldCase {
    const char* name;
    bool asText;
    std::uint32_t number;
    std::wstring text;
    std::uint16_t loaded;
};

class AlarmTimeFields : public StoreTest, public testing::WithParamInterface<TimeFieldCase> {};

TEST_P(AlarmTimeFields, KeepTheLowSixteenBitsAndSaveThemBack)
{
    const TimeFieldCase& c = GetParam();
    if (c.asText) {
        raw::PutText(kSettingsKeyPath, L"Alarm1h", c.text);
        raw::PutText(kSettingsKeyPath, L"Alarm3m", c.text);
    } else {
        raw::PutDword(kSettingsKeyPath, L"Alarm1h", c.number);
        raw::PutDword(kSettingsKeyPath, L"Alarm3m", c.number);
    }
    MessageBoxCapture capture;
    LoadSettings();
    EXPECT_EQ(settings.alarmHour[0], c.loaded);
    EXPECT_EQ(settings.alarmMinute[2], c.loaded);
    SaveSettings(raw::OwnerWindow());
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"Alarm1h"), std::uint32_t{c.loaded});
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"Alarm3m"), std::uint32_t{c.loaded});
}

INSTANTIATE_TEST_SUITE_P(
    StoredNumbers, AlarmTimeFields,
    testing::Values(TimeFieldCase{"TwoToTheSixteenPlusFive", false, 65541, L"", 5},
                    TimeFieldCase{"AllBits", false, 0xFFFFFFFFu, L"", 65535},
                    TimeFieldCase{"OutOfRangeKept", false, 99, L"", 99},
                    TimeFieldCase{"TextNumber", true, 0, L"65543", 7},
                    TimeFieldCase{"TextMinusOne", true, 0, L"-1", 65535},
                    TimeFieldCase{"TextNotANumber", true, 0, L"7h", 0}),
    CaseName());

TEST_F(SettingsStore, FiredAlarmIsSavedOffWithItsTimeAndMessage)
{
    raw::PutDword(kSettingsKeyPath, L"Alarm2Enable", 1);
    raw::PutDword(kSettingsKeyPath, L"Alarm2h", 7);
    raw::PutDword(kSettingsKeyPath, L"Alarm2m", 30);
    raw::PutText(kSettingsKeyPath, L"Alarm2Mes", L"会議の時間です");
    raw::PutDword(kSettingsKeyPath, L"Alarm3Enable", 1);
    MessageBoxCapture capture;
    LoadSettings();
    ASSERT_TRUE(settings.alarmEnabled[1]);
    settings.alarmEnabled[1] = false;  // as the alarm check does when it goes off
    SaveSettings(raw::OwnerWindow());
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"Alarm2Enable"), 0u);
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"Alarm2h"), 7u);
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"Alarm2m"), 30u);
    EXPECT_EQ(StoredText(L"Alarm2Mes"), L"会議の時間です");
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"Alarm3Enable"), 1u);
}

TEST_F(SettingsStore, ToggledOptionReachesTheRegistryOnlyAtTheNextSave)
{
    MessageBoxCapture capture;
    SaveSettings(raw::OwnerWindow());
    settings.historyEnabled = true;
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"HistryEnabled"), 0u);
    SaveSettings(raw::OwnerWindow());
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"HistryEnabled"), 1u);
}

TEST_F(SettingsStore, MessagesOfAnOpenedKeyAreNeverNull)
{
    raw::PutDword(kSettingsKeyPath, L"NotifyHour", 1);
    raw::PutText(kSettingsKeyPath, L"Alarm1Mes", L"abc");
    raw::Put(kSettingsKeyPath, L"Alarm3Mes", REG_SZ, nullptr, 0);
    MessageBoxCapture capture;
    LoadSettings();
    ASSERT_NE(settings.alarmMessage[0], nullptr);
    EXPECT_STREQ(settings.alarmMessage[0], L"abc");
    ASSERT_NE(settings.alarmMessage[1], nullptr);  // absent: an empty text
    EXPECT_STREQ(settings.alarmMessage[1], L"");
    ASSERT_NE(settings.alarmMessage[2], nullptr);  // empty data: an empty text
    EXPECT_STREQ(settings.alarmMessage[2], L"");
}

TEST_F(SettingsStore, ExpandableMessageKeepsItsType)
{
    const std::wstring text = L"%USERNAME% さん";
    raw::Put(kSettingsKeyPath, L"Alarm1Mes", REG_EXPAND_SZ, text.c_str(),
             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    MessageBoxCapture capture;
    LoadSettings();
    SaveSettings(raw::OwnerWindow());
    const auto stored = raw::Get(kSettingsKeyPath, L"Alarm1Mes");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(stored->data.size(), (text.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(StoredText(L"Alarm2Mes"), L"");
}

void ExpectSaveError(const CapturedBox& box, const wchar_t* text)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, L"ヨミカゼ");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, raw::OwnerWindow());
}

constexpr wchar_t kSettingsError[] = L"設定をレジストリへ書き込めませんでした。";
constexpr wchar_t kLogError[] = L"本日の閲覧時間合計をログへ書き込めませんでした。";

void PutDays(const std::vector<std::wstring>& days)
{
    for (const std::wstring& day : days) {
        raw::PutDword(kLogKeyPath, day.c_str(), 60);
    }
}

TEST_F(SettingsStore, UnwritableSettingsKeyShowsOneBoxAndStillLogsAndTrims)
{
    PutDays(DayKeys(2025, 3, 13, 366));  // with today's value: 367
    raw::PutDword(kSettingsKeyPath, L"NotifyFinish", 0);
    const raw::LockedKey locked(kSettingsKeyPath, raw::LockedKey::ReadOnly);
    readingState.todaySeconds = 77;
    settings.notifyFinish = true;
    MessageBoxCapture capture;
    SaveSettings(raw::OwnerWindow());
    ASSERT_EQ(capture.Boxes().size(), 1u);
    ExpectSaveError(capture.Boxes()[0], kSettingsError);
    EXPECT_EQ(raw::GetDword(kLogKeyPath, kToday), 77u);
    EXPECT_EQ(raw::Names(kLogKeyPath).size(), 366u);
    EXPECT_FALSE(raw::Get(kLogKeyPath, L"20250313"));  // the oldest went
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"NotifyFinish"), 0u);
}

TEST_F(SettingsStore, UnwritableLogKeyShowsItsBoxAndStillSavesTheSettings)
{
    PutDays(DayKeys(2025, 3, 10, 367));
    const raw::LockedKey locked(kLogKeyPath, raw::LockedKey::ReadOnly);
    readingState.todaySeconds = 77;
    settings.notifyHour = true;
    MessageBoxCapture capture;
    SaveSettings(raw::OwnerWindow());
    ASSERT_EQ(capture.Boxes().size(), 1u);
    ExpectSaveError(capture.Boxes()[0], kLogError);
    EXPECT_EQ(raw::GetDword(kSettingsKeyPath, L"NotifyHour"), 1u);
    EXPECT_FALSE(raw::Get(kLogKeyPath, kToday));
    EXPECT_EQ(raw::Names(kLogKeyPath).size(), 367u);  // the trim could not open it either
}

TEST_F(SettingsStore, BothKeysUnwritableShowTheLogBoxFirst)
{
    raw::PutDword(kLogKeyPath, L"20260313", 5);
    const raw::LockedKey lockedLog(kLogKeyPath, raw::LockedKey::ReadOnly);
    const raw::LockedKey lockedSettings(kSettingsKeyPath, raw::LockedKey::ReadOnly);
    MessageBoxCapture capture;
    SaveSettings(raw::OwnerWindow());
    ASSERT_EQ(capture.Boxes().size(), 2u);
    ExpectSaveError(capture.Boxes()[0], kLogError);
    ExpectSaveError(capture.Boxes()[1], kSettingsError);
}

// The settings key unreadable: nothing is loaded, nothing shown, and today's
// total still comes from the log.
TEST_F(SettingsStore, UnopenableSettingsKeyLoadsNothingSilently)
{
    raw::PutDword(kSettingsKeyPath, L"NotifyHour", 1);
    raw::PutDword(kLogKeyPath, kToday, 900);
    const raw::LockedKey locked(kSettingsKeyPath, raw::LockedKey::NoAccess);
    MessageBoxCapture capture;
    LoadSettings();
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_EQ(readingState.todaySeconds, 900u);
    EXPECT_FALSE(settings.notifyHour);
    EXPECT_EQ(settings.alarmMessage[0], nullptr);
}

}  // namespace

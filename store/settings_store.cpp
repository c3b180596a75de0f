#include "store/settings_store.h"

#include "store/daily_log.h"
#include "store/registry_layout.h"
#include "store/regw.h"
#include "store/settings.h"
#include "store/store_error.h"

#include <cstdint>

namespace {

constexpr wchar_t kSettingsWriteFailed[] = L"設定をレジストリへ書き込めませんでした。";

constexpr wchar_t kNotifyFinish[] = L"NotifyFinish";
constexpr wchar_t kNotifyHour[] = L"NotifyHour";
constexpr wchar_t kNotifyTime[] = L"NotifyTime";
constexpr wchar_t kHistoryEnabled[] = L"HistryEnabled";  // the stored spelling
constexpr wchar_t kNoTaskbarIcon[] = L"NoTaskbarIcon";
constexpr const wchar_t* kAlarmEnable[kAlarmCount] = {L"Alarm1Enable", L"Alarm2Enable",
                                                      L"Alarm3Enable"};
constexpr const wchar_t* kAlarmHour[kAlarmCount] = {L"Alarm1h", L"Alarm2h", L"Alarm3h"};
constexpr const wchar_t* kAlarmMinute[kAlarmCount] = {L"Alarm1m", L"Alarm2m", L"Alarm3m"};
constexpr const wchar_t* kAlarmMessage[kAlarmCount] = {L"Alarm1Mes", L"Alarm2Mes",
                                                       L"Alarm3Mes"};

bool ReadFlag(REGW& registry, const wchar_t* name, bool defaultValue)
{
    return registry.ReadIntegerW(name, defaultValue ? 1 : 0) != 0;
}

// Hours and minutes keep the low 16 bits; the alarm check compares them as
// they are, out of range or not.
std::uint16_t ReadTimeField(REGW& registry, const wchar_t* name)
{
    return static_cast<std::uint16_t>(registry.ReadIntegerW(name, 0) & 0xFFFFu);
}

}  // namespace

void LoadSettings()
{
    REGW registry;
    RestoreDailyTotal(registry);
    if (!registry.OpenKey(kSettingsKeyPath, REGW::OpenReadOnly)) {
        return;
    }
    settings.notifyFinish = ReadFlag(registry, kNotifyFinish, true);
    settings.notifyHour = ReadFlag(registry, kNotifyHour, false);
    settings.notifyTime = ReadFlag(registry, kNotifyTime, false);
    settings.historyEnabled = ReadFlag(registry, kHistoryEnabled, false);
    settings.noTaskbarIcon = ReadFlag(registry, kNoTaskbarIcon, false);
    for (int i = 0; i < kAlarmCount; ++i) {
        settings.alarmEnabled[i] = ReadFlag(registry, kAlarmEnable[i], false);
    }
    for (int i = 0; i < kAlarmCount; ++i) {
        settings.alarmHour[i] = ReadTimeField(registry, kAlarmHour[i]);
    }
    for (int i = 0; i < kAlarmCount; ++i) {
        settings.alarmMinute[i] = ReadTimeField(registry, kAlarmMinute[i]);
    }
    for (int i = 0; i < kAlarmCount; ++i) {
        // May throw std::bad_alloc; the wrapper's destructor then closes the key.
        wchar_t* message = registry.ReadStringCopyW(kAlarmMessage[i]);
        // Null at start-up; released here only should a load ever run twice.
        delete[] settings.alarmMessage[i];
        settings.alarmMessage[i] = message;
    }
    registry.CloseKey();
}

void SaveSettings(HWND owner)
{
    REGW registry;
    WriteDailyTotal(registry, owner);
    if (registry.OpenKey(kSettingsKeyPath, REGW::OpenCreate)) {
        registry.WriteIntegerW(kNotifyFinish, settings.notifyFinish ? 1 : 0);
        registry.WriteIntegerW(kNotifyHour, settings.notifyHour ? 1 : 0);
        registry.WriteIntegerW(kNotifyTime, settings.notifyTime ? 1 : 0);
        registry.WriteIntegerW(kHistoryEnabled, settings.historyEnabled ? 1 : 0);
        // NoTaskbarIcon is the user's own edit: read, never written.
        for (int i = 0; i < kAlarmCount; ++i) {
            registry.WriteIntegerW(kAlarmEnable[i], settings.alarmEnabled[i] ? 1 : 0);
        }
        for (int i = 0; i < kAlarmCount; ++i) {
            registry.WriteIntegerW(kAlarmHour[i], settings.alarmHour[i]);
        }
        for (int i = 0; i < kAlarmCount; ++i) {
            registry.WriteIntegerW(kAlarmMinute[i], settings.alarmMinute[i]);
        }
        for (int i = 0; i < kAlarmCount; ++i) {
            const wchar_t* message = settings.alarmMessage[i];
            registry.WriteStringW(kAlarmMessage[i], message != nullptr ? message : L"");
        }
        registry.CloseKey();
    } else {
        ShowSaveError(owner, kSettingsWriteFailed);
    }
    TrimDailyLog();
}

// The user's options: one process-wide record, loaded at start and written by
// every save. The clock, the tray menu and the alarm dialog change it in memory.
#pragma once

#include <cstdint>

inline constexpr int kAlarmCount = 3;

struct Settings {
    bool notifyFinish = true;   // a notice when a reading spell ends
    bool notifyHour = false;    // the hourly chime
    bool notifyTime = false;    // milestone notices during reading
    bool historyEnabled = false;  // the article ranking is recorded
    bool noTaskbarIcon = false;   // set only by editing the stored value
    bool alarmEnabled[kAlarmCount] = {};
    std::uint16_t alarmHour[kAlarmCount] = {};
    std::uint16_t alarmMinute[kAlarmCount] = {};
    // Owned arrays (new[]/delete[]); each may be null.
    wchar_t* alarmMessage[kAlarmCount] = {};
};

extern Settings settings;

// Releases the three alarm texts (at exit, after the last save).
void ReleaseAlarmMessages();

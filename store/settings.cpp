#include "store/settings.h"

Settings settings;

void ReleaseAlarmMessages()
{
    for (wchar_t*& message : settings.alarmMessage) {
        delete[] message;
        message = nullptr;
    }
}

// Used by fixture programs: signal the test that started them that they are
// ready (their windows exist), through the event named by "--ready=<name>".
#pragma once

#include <windows.h>

#include <string>

inline void SignalReady(int argc, wchar_t** argv)
{
    const std::wstring prefix = L"--ready=";
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument.rfind(prefix, 0) == 0) {
            const HANDLE event =
                OpenEventW(EVENT_MODIFY_STATE, FALSE, argument.substr(prefix.size()).c_str());
            if (event != nullptr) {
                SetEvent(event);
                CloseHandle(event);
            }
        }
    }
}

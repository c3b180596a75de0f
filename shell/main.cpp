// Entry point: one instance, the program's folder as current directory,
// today's date and the stored options, then MainWindow and its message loop.
#include "accounting/reading_state.h"
#include "shell/main_window.h"
#include "shell/single_instance.h"
#include "shell/wiring.h"
#include "shell/working_folder.h"
#include "store/settings_store.h"

#include <windows.h>
#include <objbase.h>

namespace {

// COM for the shell link of the start-up shortcut, for the loop's lifetime.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment()
    {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

int RunMessageLoop()
{
    MSG message{};
    BOOL fetched;
    while ((fetched = GetMessageW(&message, nullptr, 0, 0)) != 0 && fetched != -1) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return fetched == -1 ? 0 : static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    const InstanceMutex mutex;
    if (mutex.AlreadyRunning()) {
        RunSecondInstancePath();
        return 0;
    }
    SetWorkingFolder();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SetToday(now);
    LoadSettings();
    RegisterMainClass(instance);
    if (!CreateMainWindow(instance)) {
        return 0;
    }
    ConnectClockToSubsystems();
    const ComApartment com;
    return RunMessageLoop();
}

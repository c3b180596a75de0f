// Entry point. For now it only runs the message loop; the main window, the
// tray icon and the tick come with the application shell.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    MSG message;
    BOOL fetched;
    while ((fetched = GetMessageW(&message, nullptr, 0, 0)) != 0 && fetched != -1) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

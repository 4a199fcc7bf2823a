#include <windows.h>
#include <objbase.h>

#include "app/main_window.h"
#include "app/main_window_win32.h"
#include "app/shared_state.h"
#include "platform/desktop_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    // The shell calls (special folders, opening the mail address) want COM.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    tunebridge::Win32Desktop desktop;
    tunebridge::SharedState shared(desktop);
    tunebridge::MainWindow logic(desktop, shared);
    int exitCode = 1;
    {
        tunebridge::MainWindowView window(logic, desktop);
        if (window.Start(showCommand)) exitCode = desktop.RunMessageLoop();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return exitCode;
}

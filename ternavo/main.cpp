// Ternavo: lets several copies of ICQ run side by side, for the older ICQ
// generations through their registry preference, for ICQ 7 through Kestrun.
#include <windows.h>
#include <commctrl.h>
#include "common/layout.h"
#include "common/winutil.h"
#include "ternavo/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    // The controls take the system's visual style.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    // The shell's file dialog and shortcut objects want COM on this thread.
    win::ComScope com;
    HWND window = CreateMainWindow();
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    return RunMessageLoop();
}

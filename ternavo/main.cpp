// Ternavo: lets several copies of ICQ run side by side, for the older ICQ
// generations through their registry preference, for ICQ 7 through Kestrun.
#include <windows.h>
#include <commctrl.h>
#include "common/dll_search.h"
#include "common/layout.h"
#include "common/rules/startuptext.h"
#include "ternavo/window/main_window.h"
#include "ternavo/rules/switches.h"
#include "ternavo/steps/worker.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    LimitLibrarySearchToSystemFolder();
    // Started by the window "as administrator": the steps only, no window.
    std::wstring arguments = ArgumentText(GetCommandLineW());
    if (startup::IsWorkerCall(arguments)) return RunWorker(arguments);
    // The controls take the system's visual style.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HWND window = CreateMainWindow();
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    return RunMessageLoop();
}

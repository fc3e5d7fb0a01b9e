// Kestrun.exe: each run starts one more ICQ 7 instance from the folder it lives in.
#include <windows.h>
#include <commctrl.h>
#include "common/layout.h"
#include "kestrun/app.h"
#include "kestrun/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The window uses a tab strip, an image list and an image combo box.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    if (!CreateForm1()) return 1;
    StartUp();
    return RunMessageLoop();
}

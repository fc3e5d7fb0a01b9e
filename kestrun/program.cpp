#include "kestrun/program.h"
#include <windows.h>
#include "kestrun/run_state.h"
#include "kestrun/window.h"

void ShowWarning(const wchar_t* english, const wchar_t* german) {
    MessageBoxW(MainWindow(), g_run.UseEnglish ? english : german, g_run.UseEnglish ? L"Error" : L"Fehler",
                MB_OK | MB_ICONWARNING);
}

void EndProgram() {
    if (HWND w = MainWindow(); w && IsWindow(w)) DestroyWindow(w);
    PostQuitMessage(0);
}

#include "kestrun/program.h"
#include "kestrun/run_state.h"

void ShowWarning(const wchar_t* english, const wchar_t* german, HWND owner) {
    MessageBoxW(owner, g_run.UseEnglish ? english : german, g_run.UseEnglish ? L"Error" : L"Fehler",
                MB_OK | MB_ICONWARNING);
}

void EndProgram(int exitCode) { PostQuitMessage(exitCode); }

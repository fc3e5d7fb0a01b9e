// Kestrun's start-up: where its files are, which language it speaks, the
// refusals (a second copy, a wrong name), the switches, and whether the window
// is shown or ICQ 7 is launched at once or after a delay.
#include "kestrun/startup.h"
#include "common/module1.h"
#include "common/winutil.h"
#include "kestrun/app.h"
#include "kestrun/rules/launchrules.h"

std::wstring ProgramDir;
std::wstring SettingsPath;
std::wstring CommandLineText;
bool UseEnglish = false;
StartOptions Options;

namespace {

// Held until the process ends, so that a second Kestrun is refused for the
// whole run, including the follow-up after ICQ 7 was started.
HANDLE g_singleRun = nullptr;

bool AnotherCopyRuns() {
    g_singleRun = CreateMutexW(nullptr, FALSE, L"Local\\Kestrun.SingleRun");
    return g_singleRun && GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring LowerCase(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The name Kestrun runs under, with a short (8.3) path expanded to the long name.
std::wstring RunningExeName() {
    std::wstring path = win::ModulePath();
    std::wstring buf(32768, L'\0');
    DWORD n = GetLongPathNameW(path.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n > 0 && n < buf.size()) path.assign(buf.data(), n);
    return ExeBaseName(path);
}

}  // namespace

void ShowWarning(const wchar_t* english, const wchar_t* german) {
    MessageBoxW(MainWindow(), UseEnglish ? english : german, UseEnglish ? L"Error" : L"Fehler",
                MB_OK | MB_ICONWARNING);
}

void EndProgram() {
    if (HWND w = MainWindow(); w && IsWindow(w)) DestroyWindow(w);
    PostQuitMessage(0);
}

void StartUp() {
    if (HWND w = MainWindow()) ShowWindow(w, SW_HIDE);

    CommandLineText = LowerCase(ArgumentText(GetCommandLineW()));
    ProgramDir = win::ModuleDir();
    SettingsPath = ProgramDir + L"kestrun.ini";

    UseEnglish = ChooseEnglish(ReadLocaleInfo(LOCALE_SNATIVELANGNAME), CommandLineText,
                               ReadIniValue(SettingsPath, L"Kestrun", L"Language"));

    if (AnotherCopyRuns()) {
        ShowWarning(L"Ternavo Starter is already running.", L"Der Ternavo Starter läuft bereits.");
        EndProgram();
        return;
    }

    LoadSettings();
    ParseCommandLine(CommandLineText, Options);

    if (!IsKestrunName(RunningExeName())) {
        ShowWarning(L"Wrong EXE name of Ternavo Starter.", L"Falscher EXE-Name des Ternavo Starters");
        EndProgram();
        return;
    }

    if (ReadIniValue(SettingsPath, L"Kestrun", L"ShowMe") == L"0" && !Options.ForceWindow) {
        StartOrDelay();
        return;
    }
    PrepareAndShowForm1();
}

void StartOrDelay() {
    if (Options.WaitSeconds < 1) {
        LaunchInstance();
        return;
    }
    HWND w = MainWindow();
    KillTimer(w, kTimer2);
    SetTimer(w, kTimer2, static_cast<UINT>(Options.WaitSeconds) * 1000u, nullptr);
}

void OnTimer2() {
    KillTimer(MainWindow(), kTimer2);  // fires once
    LaunchInstance();
}

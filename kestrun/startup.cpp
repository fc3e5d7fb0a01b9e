// Kestrun's start-up: where its files are, which language it speaks, the
// refusals (a second copy, a wrong name), the switches, and whether the window
// is shown or ICQ 7 is launched at once or after a delay.
#include "kestrun/startup.h"
#include "common/ini_file.h"
#include "common/locale_info.h"
#include "common/winutil.h"
#include "kestrun/copies.h"
#include "kestrun/launcher.h"
#include "kestrun/program.h"
#include "kestrun/rules/launchrules.h"
#include "kestrun/run_state.h"
#include "kestrun/settings.h"
#include "kestrun/timers.h"
#include "kestrun/window.h"

namespace {

// Held until the process ends, so that a second Kestrun is refused for the
// whole run, including the follow-up after ICQ 7 was started.
HANDLE g_singleRun = nullptr;

UINT_PTR g_startDelayTimer = 0;  // a timer of the thread, armed by StartOrDelay

bool AnotherCopyRuns() {
    g_singleRun = CreateMutexW(nullptr, FALSE, L"Local\\Kestrun.SingleRun");
    DWORD error = GetLastError();
    // A Kestrun started with other rights (as administrator, say) holds a
    // mutex that this one may not open: it runs all the same.
    return g_singleRun ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
}

std::wstring LowerCase(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The name Kestrun runs under, with a short (8.3) path expanded to the long
// name; the right name as it stands needs no look at the disk.
std::wstring RunningExeName() {
    std::wstring path = win::ModulePath();
    if (std::wstring name = ExeBaseName(path); IsKestrunName(name)) return name;
    std::wstring buf(32768, L'\0');
    DWORD n = GetLongPathNameW(path.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n > 0 && n < buf.size()) path.assign(buf.data(), n);
    return ExeBaseName(path);
}

// A silent launch starts ICQ 7 first. Only then is the hidden window made
// through which a close request or the end of the session reaches Kestrun
// while it follows up; ICQ 7 is already starting while it is made.
void LaunchSilently() {
    if (!StartInstance()) return;
    CreateMainWindow();
    FollowInstance();
}

// Shift held while Kestrun starts shows the window whatever the settings say:
// the way back for a user who hid it and starts Kestrun from its shortcut.
bool ShiftHeld() { return GetAsyncKeyState(VK_SHIFT) < 0; }

// The start delay has passed (its timer fires once).
void CALLBACK StartDelayElapsed(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(nullptr, g_startDelayTimer);
    g_startDelayTimer = 0;
    LaunchSilently();
}

}  // namespace

void StartUp() {
    g_run.CommandLineText = LowerCase(ArgumentText(GetCommandLineW()));
    g_run.ProgramDir = win::ModuleDir();
    g_run.MayWrite = MayWriteIn(g_run.ProgramDir);
    g_run.SettingsPath = SettingsFileFor(g_run.ProgramDir, g_run.MayWrite);
    const IniSection stored(g_run.SettingsPath, L"Kestrun");  // read once, for the language and the settings

    g_run.UseEnglish = ChooseEnglish(ReadLocaleInfo(LOCALE_SNATIVELANGNAME), g_run.CommandLineText,
                                   stored.Value(L"Language"));

    if (AnotherCopyRuns()) {
        ShowWarning(L"Ternavo Starter is already running.", L"Der Ternavo Starter läuft bereits.");
        EndProgram();
        return;
    }

    g_run.Settings = LoadSettings(stored, g_run.Settings);
    ParseCommandLine(g_run.CommandLineText, g_run.Options);

    if (!IsKestrunName(RunningExeName())) {
        ShowWarning(L"Wrong EXE name of Ternavo Starter.", L"Falscher EXE-Name des Ternavo Starters");
        EndProgram();
        return;
    }

    if (!g_run.Settings.ShowWindow && !g_run.Options.ForceWindow && !ShiftHeld()) {
        StartOrDelay();
        return;
    }
    if (!ShowMainWindow()) EndProgram(1);
}

void StartOrDelay() {
    if (g_run.Options.WaitSeconds < 1) {
        LaunchSilently();
        return;
    }
    // Kestrun waits with its hidden window, so that a close request or the end
    // of the session ends the wait; ICQ 7 is seconds away in any case.
    CreateMainWindow();
    if (g_startDelayTimer) KillTimer(nullptr, g_startDelayTimer);
    g_startDelayTimer = StartThreadTimer(static_cast<UINT>(g_run.Options.WaitSeconds) * 1000u, StartDelayElapsed);
    // Without its timer the delay would never end, and the single-run mutex
    // would refuse every later Kestrun: the launch comes now.
    if (!g_startDelayTimer) LaunchSilently();
}

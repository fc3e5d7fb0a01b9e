// The launcher: copies ICQ.exe to the next numbered name, starts the copy with
// ICQ 7's parameters, hides it or takes it off the taskbar as the switches and
// the settings ask, records the number used, waits for the marker file of the
// new instance and ends.
#include "kestrun/launcher.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "kestrun/copies.h"
#include "kestrun/program.h"
#include "kestrun/rules/failuretexts.h"
#include "kestrun/rules/icqwindow.h"
#include "kestrun/rules/launchrules.h"
#include "kestrun/run_state.h"
#include "kestrun/timers.h"

namespace {

// Kept from the start of the copy to the end of its follow-up.
struct LaunchState {
    std::wstring SourcePath;
    std::wstring CopyName;
    std::wstring CopyPath;
    int16_t TickCount = 0;
    LaunchNumbers Numbers;    // as corrected for this launch
    std::wstring Program;     // what was started: the copy, or ICQ.exe itself
    DWORD StartError = 0;     // why nothing was started, or 0
    StartedProgram Started;   // the new instance, until its window is handled
};
LaunchState g_launch;
bool g_launched = false;     // one launch per run, even if a click arrives while it waits
bool g_started = false;      // started; FollowInstance has not run yet
bool g_countersDue = false;  // "LastNr" and "Starts" are still to be written
bool g_tidyUpDue = false;    // the copy and its marker are still to be tidied up
UINT_PTR g_followUpTimer = 0;  // a timer of the thread: the follow-up needs no window

std::wstring MarkerFile() { return g_launch.CopyPath + L".csassembly"; }

struct FindCtx {
    DWORD pid;
    HWND found;
};

// The helper windows that the system gives a program's window thread are
// top-level too, and may come first: they are never its main window.
bool IsHelperWindow(HWND hwnd) {
    wchar_t cls[64];
    int n = GetClassNameW(hwnd, cls, 64);
    return n > 0 && IsHelperWindowClass(std::wstring(cls, static_cast<size_t>(n)));
}

BOOL CALLBACK FindTopWindow(HWND hwnd, LPARAM lp) {
    auto* ctx = reinterpret_cast<FindCtx*>(lp);
    if (GetParent(hwnd)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != ctx->pid || IsHelperWindow(hwnd)) return TRUE;
    ctx->found = hwnd;
    return FALSE;
}

HWND TopWindowOf(DWORD pid) {
    FindCtx ctx{pid, nullptr};
    EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

// Ticks left until `deadline`, 0 when it has passed.
DWORD Remaining(DWORD start, DWORD limitMs) {
    DWORD spent = GetTickCount() - start;
    return spent >= limitMs ? 0 : limitMs - spent;
}

// How often the new instance's window is looked at while Kestrun waits for it.
constexpr DWORD kPollMs = 25;

void WriteCounters() {
    if (!g_countersDue) return;
    g_countersDue = false;
    const LaunchNumbers& numbers = g_launch.Numbers;
    WriteIniValue(g_run.SettingsPath, L"Kestrun", L"LastNr", DecimalText(numbers.LastNr));
    WriteIniValue(g_run.SettingsPath, L"Kestrun", L"Starts", DecimalText(numbers.Starts));
}

void FinalCleanUp() {
    if (g_followUpTimer) KillTimer(nullptr, g_followUpTimer);
    g_followUpTimer = 0;
    if (g_tidyUpDue) {
        g_tidyUpDue = false;
        // Succeeds only when no ICQ.exe is there any more.
        MoveFileW(g_launch.CopyPath.c_str(), g_launch.SourcePath.c_str());
        DeleteFileW(MarkerFile().c_str());
    }
    EndProgram();
}

// One tick of the follow-up: ends once the marker is there or the ticks are used up.
void CALLBACK FollowUpTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_launch.TickCount > kLastTick || FileExists(MarkerFile())) {
        FinalCleanUp();
        return;
    }
    ++g_launch.TickCount;
}

}  // namespace

bool WaitWithEvents(DWORD ms, HANDLE object) {
    // A pending quit would wake the wait below at once, again and again.
    if (win::QuitRequested()) return false;
    // Sleeps until a window event arrives, `object` is signalled or the time is up.
    MsgWaitForMultipleObjectsEx(object ? 1 : 0, object ? &object : nullptr, ms, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    return win::DoEvents();
}

StartedProgram StartProgram(const std::wstring& program, const std::wstring& arguments, int showStyle,
                            DWORD* startError) {
    if (startError) *startError = 0;
    // The path is quoted and also given as the application name: in a folder
    // such as "C:\Program Files\ICQ7" Windows must not try "C:\Program" first.
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    // ICQ 7 runs in its own folder, not in whatever folder Kestrun was started from.
    std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showStyle);
    PROCESS_INFORMATION pi{};
    StartedProgram started;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        if (startError) *startError = GetLastError();
        return started;
    }
    win::Handle thread(pi.hThread);
    started.process.reset(pi.hProcess);
    started.id = pi.dwProcessId;
    return started;
}

HWND FindNewWindow(const StartedProgram& started, DWORD limitMs) {
    if (!started.process) return nullptr;
    // The new instance needs a moment to make its window: look again until it
    // is there, the process has ended or the limit has passed.
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = TopWindowOf(started.id)) return found;
        if (WaitForSingleObject(started.process.get(), 0) == WAIT_OBJECT_0) return nullptr;
        DWORD left = Remaining(start, limitMs);
        if (left == 0) return nullptr;
        if (!WaitWithEvents(left < kPollMs ? left : kPollMs, started.process.get())) return nullptr;
    }
}

bool WaitForWindowReady(HWND window, DWORD limitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (!IsWindow(window)) return false;
        if (IsShownStyle(static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE)))) return true;
        DWORD left = Remaining(start, limitMs);
        // Still not shown after the limit (a window started hidden may never
        // be): handle it as it is.
        if (left == 0) return true;
        if (!WaitWithEvents(left < kPollMs ? left : kPollMs)) return false;
    }
}

bool WaitForWindowHidden(HWND window, DWORD limitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
        DWORD left = Remaining(start, limitMs);
        if (left == 0) return false;
        if (!WaitWithEvents(left < kPollMs ? left : kPollMs)) return false;
    }
}

void SetTaskbarButton(HWND window, bool keepHidden) {
    // A tool window has no taskbar button; hiding and showing it around the
    // change makes the taskbar drop the button at once. The window belongs to
    // another program: it is shown and hidden without waiting for it.
    if (!keepHidden) ShowWindowAsync(window, SW_HIDE);
    win::DoEvents();
    if (!IsHungAppWindow(window)) {
        auto exStyle = static_cast<uint32_t>(GetWindowLongPtrW(window, GWL_EXSTYLE));
        SetWindowLongPtrW(window, GWL_EXSTYLE, static_cast<LONG_PTR>(ToolWindowExStyle(exStyle)));
    }
    win::DoEvents();
    if (!keepHidden) ShowWindowAsync(window, SW_SHOW);
}

void LaunchInstance() {
    if (StartInstance()) FollowInstance();
}

bool StartInstance() {
    if (g_launched) return false;
    g_launched = true;

    const IniSection stored(g_run.SettingsPath, L"Kestrun");
    LaunchNumbers numbers = CorrectLaunchNumbers(stored.Value(L"LastNr"), stored.Value(L"MaxNr"),
                                                 stored.Value(L"Starts"), g_run.Options.InstanceLimit);
    g_launch.SourcePath = g_run.ProgramDir + L"ICQ.exe";
    if (!FileExists(g_launch.SourcePath)) {
        ShowWarning(L"Couldn't find the file ICQ.exe! Transaction canceled.",
                    L"Die Datei ICQ.exe konnte nicht gefunden werden! Vorgang abgebrochen.");
        EndProgram();
        return false;
    }

    std::wstring program = g_launch.SourcePath;
    DWORD copyError = 0;
    bool usable = true;
    if (numbers.MaxNr > 1) {
        // Never a stale copy: the turn's copy made current, or another current one.
        ChosenCopy copy = PrepareCopy(g_run.ProgramDir, numbers.LastNr, numbers.MaxNr, g_run.MayWrite);
        numbers.LastNr = copy.nr;
        usable = copy.usable;
        copyError = copy.copyError;
        g_launch.CopyName = CopyNameFor(numbers.LastNr);
        g_launch.CopyPath = g_run.ProgramDir + g_launch.CopyName;
        win::DoEvents();
        program = g_launch.CopyPath;
    }

    ApplyStartModes(g_run.Options, g_run.Settings);
    std::wstring arguments = IcqArguments(g_run.Options);

    g_launch.Numbers = numbers;
    g_launch.Program = program;
    // No usable copy: nothing is started, and the box gives the copy's error.
    if (usable)
        g_launch.Started = StartProgram(program, arguments, g_run.Options.Minimized ? SW_HIDE : SW_SHOWNORMAL,
                                        &g_launch.StartError);
    else
        g_launch.StartError = copyError ? copyError : ERROR_FILE_NOT_FOUND;
    g_started = true;
    // From here on the copy is in use: however the run ends, it is recorded and tidied up.
    g_countersDue = g_tidyUpDue = numbers.MaxNr > 1;
    return true;
}

void FollowInstance() {
    if (!g_started) return;
    g_started = false;
    const LaunchNumbers& numbers = g_launch.Numbers;

    if (DWORD startError = g_launch.StartError) {
        // Nothing was started (the copy could not be made and nothing is
        // there, access is denied, the file is no program): say why. Ternavo
        // helps only where Kestrun may not write: where it may, a copy in use
        // or a full disk is no matter of rights.
        std::wstring reason = win::SystemErrorText(startError, g_run.UseEnglish);
        bool refused = !g_run.MayWrite;
        ShowWarning(StartFailedText(true, reason, g_launch.Program, refused).c_str(),
                    StartFailedText(false, reason, g_launch.Program, refused).c_str());
    } else if (HWND window = FindNewWindow(g_launch.Started); window && WaitForWindowReady(window)) {
        win::DoEvents();
        // Hidden through ICQ's own queue, so that a hung ICQ cannot hold
        // Kestrun; Kestrun waits for the hide to take effect up to the limit.
        if (g_run.Options.Minimized) {
            ShowWindowAsync(window, SW_HIDE);
            WaitForWindowHidden(window);
        }
        win::DoEvents();
        if (g_run.Options.NoTaskbar) {
            SetTaskbarButton(window, g_run.Options.Minimized);
            win::DoEvents();
        }
    }
    g_launch.Started = StartedProgram();

    if (numbers.MaxNr < 2) {
        EndProgram();
        return;
    }

    win::DoEvents();
    WriteCounters();
    win::DoEvents();

    // Nothing to wait for when nothing was started, the program is asked to
    // quit or the launch is through already: the clean-up runs now.
    if (g_launch.StartError || win::QuitRequested() || !g_tidyUpDue || FileExists(MarkerFile())) {
        FinalCleanUp();
        return;
    }
    g_launch.TickCount = 0;
    g_followUpTimer = StartThreadTimer(FollowUpInterval(numbers.Starts), FollowUpTick);
    // Without its timer the follow-up would never end, and the single-run
    // mutex would refuse every later Kestrun: the clean-up runs now.
    if (!g_followUpTimer) FinalCleanUp();
}

void FinishLaunch() {
    WriteCounters();
    if (g_tidyUpDue) FinalCleanUp();
}

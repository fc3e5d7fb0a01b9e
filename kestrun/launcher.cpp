// The launcher: copies ICQ.exe to the next numbered name, starts the copy with
// ICQ 7's parameters, hides it or takes it off the taskbar as the switches and
// the settings ask, records the number used, waits for the marker file of the
// new instance and ends.
#include "kestrun/launcher.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "common/winutil.h"
#include "kestrun/program.h"
#include "kestrun/rules/launchrules.h"
#include "kestrun/run_state.h"
#include "kestrun/timers.h"
#include "kestrun/window.h"

namespace {

// Kept between the launch and its follow-up timer.
struct LaunchState {
    std::wstring SourcePath;
    std::wstring CopyName;
    std::wstring CopyPath;
    int16_t TickCount = 0;
};
LaunchState g_launch;
bool g_launched = false;  // one launch per run, even if a click arrives while it waits

std::wstring MarkerFile() { return g_launch.CopyPath + L".csassembly"; }

struct FindCtx {
    DWORD pid;
    HWND found;
};

// The input-method windows that the system gives every program with windows
// are top-level too, and may come first: they are never its main window.
bool IsInputMethodWindow(HWND hwnd) {
    wchar_t cls[32];
    int n = GetClassNameW(hwnd, cls, 32);
    return (n == 3 && wcscmp(cls, L"IME") == 0) || (n > 0 && wcscmp(cls, L"MSCTFIME UI") == 0);
}

BOOL CALLBACK FindTopWindow(HWND hwnd, LPARAM lp) {
    auto* ctx = reinterpret_cast<FindCtx*>(lp);
    if (GetParent(hwnd)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != ctx->pid || IsInputMethodWindow(hwnd)) return TRUE;
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

void FinalCleanUp() {
    KillTimer(MainWindow(), kFollowUpTimer);
    // Succeeds only when no ICQ.exe is there any more.
    MoveFileW(g_launch.CopyPath.c_str(), g_launch.SourcePath.c_str());
    DeleteFileW(MarkerFile().c_str());
    EndProgram();
}

}  // namespace

void WaitWithEvents(DWORD ms, HANDLE object) {
    // Sleeps until a window event arrives, `object` is signalled or the time is up.
    MsgWaitForMultipleObjectsEx(object ? 1 : 0, object ? &object : nullptr, ms, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    win::DoEvents();
}

HWND StartAndFindWindow(const std::wstring& program, const std::wstring& arguments, int showStyle,
                        DWORD limitMs) {
    // The path is quoted and also given as the application name: in a folder
    // such as "C:\Program Files\ICQ7" Windows must not try "C:\Program" first.
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showStyle);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return nullptr;
    win::Handle process(pi.hProcess);
    win::Handle thread(pi.hThread);

    // The new instance needs a moment to make its window: look again until it
    // is there, the process has ended or the limit has passed.
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = TopWindowOf(pi.dwProcessId)) return found;
        if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) return nullptr;
        DWORD left = Remaining(start, limitMs);
        if (left == 0) return nullptr;
        WaitWithEvents(left < kPollMs ? left : kPollMs, process.get());
    }
}

bool WaitForWindowReady(HWND window, DWORD limitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (!IsWindow(window)) return false;
        if (GetWindowLongW(window, GWL_STYLE) >= kShownStyle) return true;
        DWORD left = Remaining(start, limitMs);
        // Still not shown after the limit (a window started hidden may never
        // be): handle it as it is.
        if (left == 0) return true;
        WaitWithEvents(left < kPollMs ? left : kPollMs);
    }
}

void SetTaskbarButton(HWND window, bool keepHidden) {
    // A tool window has no taskbar button; hiding and showing it around the
    // change makes the taskbar drop the button at once.
    if (!keepHidden) ShowWindow(window, SW_HIDE);
    win::DoEvents();
    SetWindowLongPtrW(window, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    win::DoEvents();
    if (!keepHidden) ShowWindow(window, SW_SHOW);
}

void LaunchInstance() {
    if (g_launched) return;
    g_launched = true;

    LaunchNumbers numbers = CorrectLaunchNumbers(ReadIniValue(g_run.SettingsPath, L"Kestrun", L"LastNr"),
                                                 ReadIniValue(g_run.SettingsPath, L"Kestrun", L"MaxNr"),
                                                 ReadIniValue(g_run.SettingsPath, L"Kestrun", L"Starts"),
                                                 g_run.Options.InstanceLimit);
    g_launch.SourcePath = g_run.ProgramDir + L"ICQ.exe";
    if (!FileExists(g_launch.SourcePath)) {
        ShowWarning(L"Couldn't find the file ICQ.exe! Transaction canceled.",
                    L"Die Datei ICQ.exe konnte nicht gefunden werden! Vorgang abgebrochen.");
        EndProgram();
        return;
    }

    std::wstring program = g_launch.SourcePath;
    if (numbers.MaxNr > 1) {
        g_launch.CopyName = CopyNameFor(numbers.LastNr);
        g_launch.CopyPath = g_run.ProgramDir + g_launch.CopyName;
        // A copy that is still running can be neither deleted nor replaced; it
        // is then started as it is.
        if (FileExists(g_launch.CopyPath)) DeleteFileW(g_launch.CopyPath.c_str());
        CopyFileW(g_launch.SourcePath.c_str(), g_launch.CopyPath.c_str(), FALSE);
        win::DoEvents();
        program = g_launch.CopyPath;
    }

    ApplyStartModes(g_run.Options, g_run.Settings);
    std::wstring arguments = IcqArguments(g_run.Options);

    HWND window = StartAndFindWindow(program, arguments, g_run.Options.Minimized ? SW_HIDE : SW_SHOWNORMAL);
    if (window && WaitForWindowReady(window)) {
        win::DoEvents();
        if (g_run.Options.Minimized) ShowWindow(window, SW_HIDE);
        win::DoEvents();
        if (g_run.Options.NoTaskbar) {
            SetTaskbarButton(window, g_run.Options.Minimized);
            win::DoEvents();
        }
    }

    if (numbers.MaxNr < 2) {
        EndProgram();
        return;
    }

    win::DoEvents();
    WriteIniValue(g_run.SettingsPath, L"Kestrun", L"LastNr", DecimalText(numbers.LastNr));
    WriteIniValue(g_run.SettingsPath, L"Kestrun", L"Starts", DecimalText(numbers.Starts));
    win::DoEvents();

    if (FileExists(MarkerFile())) {
        FinalCleanUp();
        return;
    }
    g_launch.TickCount = 0;
    SetTimer(MainWindow(), kFollowUpTimer, FollowUpInterval(numbers.Starts), nullptr);
}

void OnFollowUpTick() {
    if (g_launch.TickCount > kLastTick || FileExists(MarkerFile())) {
        FinalCleanUp();
        return;
    }
    ++g_launch.TickCount;
}

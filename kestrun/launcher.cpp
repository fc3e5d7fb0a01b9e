// The launcher: copies ICQ.exe to the next numbered name, starts the copy with
// ICQ 7's parameters, hides it or takes it off the taskbar as the switches and
// the settings ask, records the number used, waits for the marker file of the
// new instance and ends.
#include "kestrun/launcher.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "common/winutil.h"
#include "kestrun/program.h"
#include "kestrun/copies.h"
#include "kestrun/rules/failuretexts.h"
#include "kestrun/rules/icqwindow.h"
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
bool g_followUp = false;  // the follow-up timer waits for the marker; the clean-up is still due

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

void FinalCleanUp() {
    g_followUp = false;
    KillTimer(MainWindow(), kFollowUpTimer);
    // Succeeds only when no ICQ.exe is there any more.
    MoveFileW(g_launch.CopyPath.c_str(), g_launch.SourcePath.c_str());
    DeleteFileW(MarkerFile().c_str());
    EndProgram();
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

HWND StartAndFindWindow(const std::wstring& program, const std::wstring& arguments, int showStyle,
                        DWORD* startError, DWORD limitMs) {
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
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        if (startError) *startError = GetLastError();
        return nullptr;
    }
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
        if (!WaitWithEvents(left < kPollMs ? left : kPollMs, process.get())) return nullptr;
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
    DWORD copyError = 0;
    bool usable = true;
    if (numbers.MaxNr > 1) {
        // Never a stale copy: the turn's copy made current, or another current one.
        ChosenCopy copy = PrepareCopy(g_run.ProgramDir, numbers.LastNr, numbers.MaxNr);
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

    // No usable copy: nothing is started, and the box gives the copy's error.
    DWORD startError = usable ? 0 : (copyError ? copyError : ERROR_FILE_NOT_FOUND);
    HWND window = usable ? StartAndFindWindow(program, arguments, g_run.Options.Minimized ? SW_HIDE : SW_SHOWNORMAL,
                                              &startError)
                         : nullptr;
    if (startError) {
        // Nothing was started (the copy could not be made and nothing is
        // there, access is denied, the file is no program): say why.
        std::wstring reason = win::SystemErrorText(startError, g_run.UseEnglish);
        bool refused = CopyWasRefused(copyError);
        ShowWarning(StartFailedText(true, reason, program, refused).c_str(),
                    StartFailedText(false, reason, program, refused).c_str());
    } else if (window && WaitForWindowReady(window)) {
        win::DoEvents();
        // Hidden without waiting for it: a busy ICQ must not hold Kestrun.
        if (g_run.Options.Minimized) ShowWindowAsync(window, SW_HIDE);
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

    // Nothing to wait for when nothing was started or the program is asked to
    // quit: the clean-up runs now.
    if (startError || win::QuitRequested() || FileExists(MarkerFile())) {
        FinalCleanUp();
        return;
    }
    g_launch.TickCount = 0;
    g_followUp = true;
    SetTimer(MainWindow(), kFollowUpTimer, FollowUpInterval(numbers.Starts), nullptr);
}

void FinishFollowUp() {
    if (g_followUp) FinalCleanUp();
}

void OnFollowUpTick() {
    if (g_launch.TickCount > kLastTick || FileExists(MarkerFile())) {
        FinalCleanUp();
        return;
    }
    ++g_launch.TickCount;
}

#pragma once
// The launcher: one ICQ 7 per run, and its pieces below LaunchInstance:
// starting the copy, finding its window, waiting for that window, the
// taskbar switch. It needs no window of Kestrun's own: its follow-up waits on
// a timer of the thread.
#include <windows.h>
#include <string>
#include "common/winutil.h"

// Launches one ICQ 7 (once per run) and ends the program, at once or after
// the follow-up: StartInstance, then FollowInstance.
void LaunchInstance();
// The first half: the numbers, the copy, ICQ 7's parameters and its start;
// only what the start needs comes before it. False when the launch ends here
// (ICQ.exe is missing, or this run launched already).
bool StartInstance();
// The second half: the new instance's window, the counters and the follow-up
// that waits for the marker file.
void FollowInstance();
// The run ends before the launch is through (a close request, the end of the
// session): what it still owes is done now, the counters when they are not
// written yet and the tidy-up (the copy moved back where it can be, the
// marker deleted). Does nothing when nothing is owed.
void FinishLaunch();

// How long Kestrun looks for the new instance's window, and how long it then
// waits for that window to become visible before handling it all the same.
constexpr DWORD kFindWindowMs = 10000;
constexpr DWORD kWindowReadyMs = 3000;

// A started program: its process, closed by its owner.
struct StartedProgram {
    win::Handle process;
    DWORD id = 0;
};
// Starts `program` (quoted in front of `arguments`, in its own folder) with
// show style 0 (hidden) or 1 (normal). When it could not be started at all,
// the result holds no process and `startError` gets the system's error code
// (else 0).
StartedProgram StartProgram(const std::wstring& program, const std::wstring& arguments, int showStyle,
                            DWORD* startError = nullptr);
// The started program's top-level window without a parent, waited for until
// it appears, the process ends, the limit passes or Kestrun is asked to quit.
HWND FindNewWindow(const StartedProgram& started, DWORD limitMs = kFindWindowMs);
// Waits until `window` is valid and shown, processing window events; false
// when the window is gone or the program is asked to quit. When the limit
// passes first, the window is taken as it is.
bool WaitForWindowReady(HWND window, DWORD limitMs = kWindowReadyMs);
// Waits until `window` is hidden or gone, processing window events; false
// when the limit passes first or the program is asked to quit.
bool WaitForWindowHidden(HWND window, DWORD limitMs = kWindowReadyMs);
// Takes a window off the taskbar: the tool-window bit on, the app-window bit
// off. A hung window keeps its style: changing it would wait for that window.
void SetTaskbarButton(HWND window, bool keepHidden);
// Lets window events through for up to `ms` without using the processor;
// false, at once, when the program is asked to quit.
bool WaitWithEvents(DWORD ms, HANDLE object = nullptr);

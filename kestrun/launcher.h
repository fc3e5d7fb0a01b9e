#pragma once
// The launcher: one ICQ 7 per run, and its pieces below LaunchInstance, open
// to the tests: starting the copy and finding its window, waiting for that
// window, the taskbar switch.
#include <windows.h>
#include <string>

// Launches one ICQ 7 (once per run) and ends the program, at once or after the follow-up.
void LaunchInstance();
// One tick of the follow-up timer: ends once the marker is there or the ticks are used up.
void OnFollowUpTick();
// After the message loop: a launch whose follow-up was cut short by a request
// to quit (logoff, a close message) still renames its copy back and deletes the marker.
void FinishFollowUp();

// How long Kestrun looks for the new instance's window, and how long it then
// waits for that window to become visible before handling it all the same.
constexpr DWORD kFindWindowMs = 10000;
constexpr DWORD kWindowReadyMs = 3000;

// Starts `program` (quoted in front of `arguments`, in its own folder) with
// show style 0 (hidden) or 1 (normal) and returns the new process's top-level
// window without a parent, waiting for it until it appears, the process ends,
// the limit passes or the program is asked to quit. When the program could
// not be started at all, `startError` gets the system's error code (else 0).
HWND StartAndFindWindow(const std::wstring& program, const std::wstring& arguments, int showStyle,
                        DWORD* startError = nullptr, DWORD limitMs = kFindWindowMs);
// Waits until `window` is valid and shown, processing window events; false
// when the window is gone or the program is asked to quit. When the limit
// passes first, the window is taken as it is.
bool WaitForWindowReady(HWND window, DWORD limitMs = kWindowReadyMs);
// Takes a window off the taskbar: the tool-window bit on, the app-window bit
// off. A hung window keeps its style: changing it would wait for that window.
void SetTaskbarButton(HWND window, bool keepHidden);
// Lets window events through for up to `ms` without using the processor;
// false, at once, when the program is asked to quit.
bool WaitWithEvents(DWORD ms, HANDLE object = nullptr);

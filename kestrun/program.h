#pragma once
// The two ways Kestrun's run ends early or on time: the warning box of its
// refusals, and the end of the message loop.
#include <windows.h>

// The warning box, in the chosen language. Only a shown window owns it; a box
// of a run without one (a refusal, a failed launch) stands on its own.
void ShowWarning(const wchar_t* english, const wchar_t* german, HWND owner = nullptr);
// Ends the message loop with `exitCode`; windows go with the process.
void EndProgram(int exitCode = 0);

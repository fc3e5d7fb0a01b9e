#pragma once
// Kestrun's start-up sequence and the way the program ends.
#include <string>

// Runs from the window's creation up to the launch, the delay or the shown window.
void StartUp();
// The warning box of Kestrun's refusals, in the chosen language.
void ShowWarning(const wchar_t* english, const wchar_t* german);
// Closes the main window and ends the message loop.
void EndProgram();

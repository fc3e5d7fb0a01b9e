#pragma once
// The two ways Kestrun's run ends early or on time: the warning box of its
// refusals, and closing the window with the message loop.

// The warning box, in the chosen language.
void ShowWarning(const wchar_t* english, const wchar_t* german);
// Closes the main window and ends the message loop.
void EndProgram();

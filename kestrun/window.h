#pragma once
// Kestrun's window: four tab pages of settings and help, the status list with
// its pictures, Save and "Start ICQ", and the links to our web site. It shows
// and edits the settings record; a silent run creates it but never shows it.
#include <windows.h>

// Creates the window hidden, without its controls (a silent run never needs them).
bool CreateMainWindow();
HWND MainWindow();
// Builds the controls with the settings record, puts the English texts on
// them when English is chosen, and shows the window.
void ShowMainWindow();

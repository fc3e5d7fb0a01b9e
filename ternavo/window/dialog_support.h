#pragma once
// What Ternavo's three windows share: modal showing of the dialogs, centring
// and the keyboard focus.
#include <windows.h>

// Registers a window class of Ternavo's: arrow cursor, the face colour behind
// it. Registering it again changes nothing.
void RegisterWindowClass(const wchar_t* name, WNDPROC proc);
// Shows `dialog` over its owner, keeps the owner disabled and runs the
// messages until the dialog is hidden again.
void RunModal(HWND dialog);
// Hides a dialog shown by RunModal and gives the owner back its input.
void HideModal(HWND dialog);
// Centres a window over another one (on the screen when there is none).
void CenterOver(HWND window, HWND owner);
// The first control that takes the keyboard, nullptr when none does.
HWND FirstTabStop(HWND root);
// Enter: the push button that has the focus is pressed.
void PressFocusedButton(HWND root);
// Gives the focus back to the control that had it when the window was left.
void RememberFocus(HWND root, WPARAM activateParam, HWND& lastFocus);

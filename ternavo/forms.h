#pragma once
// What Ternavo's three windows share: the main window's construction, modal
// showing of the dialogs, and sizing labels to their text.
#include <windows.h>
#include "common/layout.h"

// Creates the main window hidden and runs its start-up: language, texts,
// icons, hand pointer, the saved choices. nullptr when it cannot be created.
HWND CreateForm1();

// The about box, created on first use and then only hidden.
void ShowForm2Modal();
// Ends the about box (when the program ends).
void UnloadForm2();
// Puts the English texts on the settings dialog (creates it when needed).
void SetForm3EnglishTexts();

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

// Sizes a label to its text; a centred label keeps its centre.
void SizeToText(Layout& layout, const char* name);

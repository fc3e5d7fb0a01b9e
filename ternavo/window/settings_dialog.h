#pragma once
// Ternavo's ICQ 7 settings dialog: the ICQ 7 folder, chosen by typing or with
// the shell's file browser, checked and saved; and the desktop shortcut box.
// It exists from its first use until the program ends and is only ever hidden.
#include <string>

// The folder box (the hidden dialog is created when needed).
std::wstring SettingsDialogFolder();
void SetSettingsDialogFolder(const std::wstring& dir);
// The desktop shortcut box.
bool SettingsDialogShortcut();
void SetSettingsDialogShortcut(bool checked);
// Shows the dialog modally. True when it was left with OK (the folder saved).
bool ShowSettingsDialog();
// Puts the English texts on the dialog (creates it when needed).
void SetSettingsDialogEnglishTexts();

#pragma once
// Ternavo's ICQ 7 settings dialog: the ICQ 7 folder, chosen by typing or with
// the shell's file browser, checked and saved; and the desktop shortcut box.
// It is made when first shown, exists from then until the program ends and
// is only ever hidden; until then its boxes' values are kept without it.
#include <string>

// The folder box.
std::wstring SettingsDialogFolder();
void SetSettingsDialogFolder(const std::wstring& dir);
// The desktop shortcut box.
bool SettingsDialogShortcut();
void SetSettingsDialogShortcut(bool checked);
// Shows the dialog modally. True when it was left with OK (the folder saved).
bool ShowSettingsDialog();

#pragma once
// Kestrun in the ICQ 7 folder: written whole from the copy Ternavo carries, or
// removed with its settings file and numbered copies; and its desktop
// shortcut. Plain steps over a folder ending in "\": they show nothing and
// return what came of them, in the window and in the worker alike.
#include <string>

// True when Kestrun.exe, kestrun.ini, a numbered copy or a marker file in
// `dir` is a reparse point (a junction or symbolic link): none of them is to
// be written or deleted. The folder itself is checked where the run holds it.
bool StarterFilesHaveReparsePoint(const std::wstring& dir);

// Writes Kestrun.exe whole and, once it is in place, deletes kestrun.ini.
// False when Kestrun.exe could not be written (the previous one stays).
bool InstallStarter(const std::wstring& dir);
// Deletes Kestrun.exe, kestrun.ini and Kestrun's numbered copies with their
// markers. False when Kestrun.exe is still there afterwards.
bool RemoveStarter(const std::wstring& dir);

// Kestrun.exe in `dir` is byte for byte the one Ternavo carries.
bool StarterInPlace(const std::wstring& dir);

// The user's own steps, done by the window for the user who pressed Start:
// Kestrun.lnk on that user's desktop, made for `dir` or deleted (whoever made it).
void CreateDesktopShortcut(const std::wstring& dir);
void DeleteDesktopShortcut();

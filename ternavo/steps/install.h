#pragma once
// Kestrun in the ICQ 7 folder: written whole from the copy Ternavo carries, or
// removed with its settings file and numbered copies; and its desktop
// shortcut. Plain steps over a folder ending in "\": they show nothing and
// return what came of them, in the window and in the worker alike.
#include <string>
#include <vector>
#include "ternavo/steps/held_folder.h"
#include "ternavo/rules/applyplan.h"

// True when Kestrun.exe, kestrun.ini, a numbered copy or a marker file in
// the folder is a reparse point (a junction or symbolic link): none of them is
// to be written or deleted. The folder itself is checked where it is held.
bool StarterFilesHaveReparsePoint(const HeldFolder& folder);

// Writes Kestrun.exe whole, makes the numbered copies current (how many is
// read from the old kestrun.ini), then deletes kestrun.ini. Returns what failed, each with the system's
// reason: Kestrun.exe that could not be written (the previous one stays, and
// nothing else is done), or copies nobody runs that could not be made current.
std::vector<apply::Failure> InstallStarter(const HeldFolder& folder);
// Deletes Kestrun.exe, kestrun.ini and Kestrun's numbered copies with their
// markers. 0, or the system's reason when Kestrun.exe is still there afterwards.
unsigned long RemoveStarter(const HeldFolder& folder);

// Kestrun.exe in `dir` is byte for byte the one Ternavo carries.
bool StarterInPlace(const std::wstring& dir);

// The user's own steps, done by the window for the user who pressed Start:
// Kestrun.lnk on that user's desktop, made for `dir` or deleted (whoever made it).
void CreateDesktopShortcut(const std::wstring& dir);
void DeleteDesktopShortcut();

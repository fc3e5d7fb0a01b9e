#pragma once
// Kestrun in the ICQ 7 folder: written whole from the copy Ternavo carries, or
// removed with its settings file and numbered copies; and its desktop
// shortcut. Plain steps over a folder ending in "\": they show nothing and
// return what came of them, in the window and in the worker alike.
#include <string>
#include <vector>
#include "ternavo/steps/held_folder.h"
#include "ternavo/rules/applyplan.h"

// Why the files the steps read, write or delete in the folder are not to be
// touched, or None: ICQ.exe, MCore.dll, Kestrun.exe, kestrun.ini, each
// numbered copy with its marker and temporary file. Refused (Link) where one
// is a reparse point (a junction or symbolic link) or a file with more than
// one name (a hard link could lead to a file outside, whose attributes or
// content the steps would change or hand on); FolderUnavailable where one
// cannot be looked at. The folder itself is checked where it is held.
apply::Refusal StarterFilesRefusal(const HeldFolder& folder);

// Writes Kestrun.exe whole, makes the numbered copies current from the checked
// ICQ.exe open as `icqFile` (how many is read from the old kestrun.ini), then
// deletes kestrun.ini. Returns what failed, each with the system's reason:
// Kestrun.exe that could not be written (the previous one stays, and nothing
// else is done), or copies nobody runs that could not be made current.
std::vector<apply::Failure> InstallStarter(const HeldFolder& folder, HANDLE icqFile);
// Deletes Kestrun.exe, kestrun.ini and Kestrun's numbered copies with their
// markers, whether Kestrun.exe is still there or not. Returns Kestrun.exe when
// it is still there afterwards, and each copy that stayed (it runs: left in
// use, see apply::LeftInUse), each with the system's reason.
std::vector<apply::Failure> RemoveStarter(const HeldFolder& folder);

// Kestrun.exe in `dir` is byte for byte the one Ternavo carries.
bool StarterInPlace(const std::wstring& dir);

// The user's own steps, done by the window for the user who pressed Start:
// Kestrun.lnk on that user's desktop, made for `dir` or deleted (whoever made it).
void CreateDesktopShortcut(const std::wstring& dir);
void DeleteDesktopShortcut();

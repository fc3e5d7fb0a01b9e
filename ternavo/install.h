#pragma once
// Kestrun in the ICQ 7 folder: writing it (with its desktop shortcut) and removing it.
#include <string>

// The install step of an apply run: copies Kestrun into a confirmed ICQ 7
// folder, or opens the settings dialog to ask for one (its OK resumes the run).
void InstallStarter();
// Writes Kestrun into `dir` (ending in "\"), then finishes the run with the pass after the installation.
void CopyStarter(const std::wstring& dir);
// Deletes Kestrun, its settings file and the desktop shortcut.
void RemoveStarter();

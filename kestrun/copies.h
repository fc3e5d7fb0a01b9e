#pragma once
// Kestrun for every user: where this run keeps its settings and counters, and
// which numbered copy of ICQ.exe it starts. Where the user may write in the
// ICQ 7 folder, everything stays there as it always was: kestrun.ini beside
// Kestrun, and the copy of the turn made anew when it is stale. Where only
// administrators may write (ICQ 7 below "Program Files"), Kestrun writes
// nothing there: its settings file is the user's own, and it starts one of the
// copies that Ternavo's installation prepared, never a stale one.
#include <cstdint>
#include <string>
#include "common/rules/copyrule.h"

// Whether this user may create files in `dir` (ending in "\"), tried by
// making a file there that the system deletes when it is closed. Only "access
// denied" says no: any other failure leaves Kestrun where it always was, in its
// own folder, with the errors it reports there.
bool MayWriteIn(const std::wstring& dir);

// The settings file of this run for Kestrun in `programDir` (ending in "\"):
// kestrun.ini there where this user may create files (`mayWrite`), else
// kestrun.ini in the user's own application data folder ("Kestrun" below
// LOCALAPPDATA), which is made when missing.
std::wstring SettingsFileFor(const std::wstring& programDir, bool mayWrite);

// The copy a launch with `maxNr` (2..99) copies starts, whose turn is `turn`:
// chosen by ChooseCopy, which is told what it asks of ICQ.exe's copies and of
// the running programs; a stale copy refreshed where it chooses so.
ChosenCopy PrepareCopy(const std::wstring& programDir, int32_t turn, int32_t maxNr, bool mayWrite);

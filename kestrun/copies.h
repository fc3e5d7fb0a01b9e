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

// The settings file of this run for Kestrun in `programDir` (ending in "\"):
// kestrun.ini there where this user may create files, else kestrun.ini in the
// user's own application data folder ("Kestrun" below LOCALAPPDATA), which is
// made when missing.
std::wstring SettingsFileFor(const std::wstring& programDir);

struct ChosenCopy {
    int32_t nr = 0;               // the copy to start (the turn's number when none is usable)
    bool usable = false;          // false: no current copy could be found or made
    unsigned long copyError = 0;  // why the turn's copy could not be made current (a system error code)
};
// The copy a launch with `maxNr` (2..99) copies starts, whose turn is `turn`:
// the turn's copy when it is current or could be made so (where the user may
// not write, only when no one runs it); otherwise another current copy,
// looking on from the turn (ChooseUsableCopy).
ChosenCopy PrepareCopy(const std::wstring& programDir, int32_t turn, int32_t maxNr);

#pragma once
// What this user may do, asked of the system. Kept in a file of its own: a
// test build of Ternavo links another answer in its place, to walk the road of
// a user without administrator rights under a system that grants them all.
#include <string>

// True when this process has administrator rights, and where the system
// cannot tell (before Vista): there Ternavo has whatever rights it will get.
bool IsElevated();
// True when the policy "EnableLUA" is 0: user account control is off, and a
// copy started as administrator would run with the same rights as this one.
bool UacSwitchedOff();
// True when this user may create (and delete) a file in `dir`: a temporary
// file is made there and deleted again at once.
bool CanWriteFolder(const std::wstring& dir);

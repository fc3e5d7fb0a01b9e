#pragma once
// What user account control means for Ternavo: whether it runs with
// administrator rights, whether the system has switched the control off, and
// starting itself again "as administrator".
#include <windows.h>
#include <string>

// True when this process has administrator rights, and where the system
// cannot tell (before Vista): there Ternavo has whatever rights it will get.
bool IsElevated();
// True when the policy "EnableLUA" is 0: user account control is off, and a
// copy started as administrator would run with the same rights as this one.
bool UacSwitchedOff();
// Starts this program again with administrator rights, with `arguments`, in
// its own folder; the system asks the user first. 0 when the copy started,
// else the error: ERROR_CANCELLED when the user declined.
DWORD StartElevatedCopy(HWND owner, const std::wstring& arguments);

// Linked into the test build Ternavo_standard_user in place of Ternavo's own
// rights probe: that build believes it runs for a user without administrator
// rights, under user account control, on a system that grants every program
// all rights and has the control switched off. Such a user may write anywhere
// but below "Program Files", as on Windows.
#include <cwctype>
#include <string>
#include "ternavo/system/rights_probe.h"

bool IsElevated() { return false; }
bool UacSwitchedOff() { return false; }

bool CanWriteFolder(const std::wstring& dir) {
    std::wstring lower = dir;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower.find(L"\\program files") == std::wstring::npos;
}

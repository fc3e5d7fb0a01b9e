#pragma once
// What Ternavo decides at start-up from its command line, the system locale
// and ternavo.ini. Platform-free, so the rules can be checked natively.
#include <string>

namespace startup {

// The argument text of a process command line: the program name (quoted or
// not) is dropped, and blanks at both ends of the rest are removed.
std::wstring ArgumentText(const std::wstring& commandLine);

// Removes blanks (spaces only) at both ends.
std::wstring TrimBlanks(const std::wstring& text);

// The interface language; each rule overrides the one before it:
// the locale's native language name ("Deutsch" anywhere gives German),
// "-german" anywhere in the arguments, "-english" anywhere in them,
// then "Language" in ternavo.ini when it is exactly "English" or "German".
// True means English.
bool ChooseEnglish(const std::wstring& nativeLanguageName, const std::wstring& arguments,
                   const std::wstring& languageSetting);

// A stored check box state: only exactly "1" counts as checked.
inline bool StoredChecked(const std::wstring& value) { return value == L"1"; }
// The stored Combo1 choice: "1" selects "only one instance", anything else item 0.
inline int StoredInstances(const std::wstring& value) { return value == L"1" ? 1 : 0; }

}  // namespace startup

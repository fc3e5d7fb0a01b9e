#pragma once
// Start-up rules both programs share: the argument text of the process command
// line and the choice of the interface language. Platform-free.
#include <string>

// Removes blanks (spaces only) at both ends.
std::wstring TrimBlanks(const std::wstring& text);

// The arguments of a full process command line: the program name (quoted or
// up to the first blank or tab outside quotes) is dropped, and so are the
// blanks and tabs after it and the blanks at the end.
std::wstring ArgumentText(const std::wstring& commandLine);

// The interface language; each rule overrides the one before it: the locale's
// native language name ("Deutsch" anywhere gives German), "-german" anywhere in
// the arguments, "-english" anywhere in them, then the settings key "Language"
// when it is exactly "English" or "German". True means English.
bool ChooseEnglish(const std::wstring& nativeLanguageName, const std::wstring& arguments,
                   const std::wstring& languageSetting);

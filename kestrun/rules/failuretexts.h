#pragma once
// The two warning boxes of Kestrun that give the system's reason: ICQ 7 could
// not be started, and the settings could not be saved. Each text is the
// message, then the system's own text for the error on a line of its own.
#include <string>

// The system's text for an error as it goes into a box: the line break and
// blanks that end it are dropped.
std::wstring ReasonLine(const std::wstring& systemText);
// "ICQ 7 could not be started." with the reason; when the copy into the ICQ 7
// folder was refused, a last line on what the user can do about it.
std::wstring StartFailedText(bool english, const std::wstring& systemText, bool copyRefused);
// "The settings could not be saved." with the reason.
std::wstring SaveFailedText(bool english, const std::wstring& systemText);
// The copy's error (a system error code) means the folder refused the write.
inline bool CopyWasRefused(unsigned long copyError) { return copyError == 5; }  // ERROR_ACCESS_DENIED

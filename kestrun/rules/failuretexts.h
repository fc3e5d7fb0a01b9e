#pragma once
// The two warning boxes of Kestrun that give the system's reason: ICQ 7 could
// not be started, and the settings could not be saved. Each text is the
// message, then the system's own text for the error on a line of its own.
#include <string>

// The system's text for an error as it goes into a box: "%1", where the
// system names the file concerned, becomes `file`, and the line break and
// blanks that end the text are dropped.
std::wstring ReasonLine(const std::wstring& systemText, const std::wstring& file);
// "ICQ 7 could not be started." with the reason (`file` is the program that
// was started); where Kestrun may not write in the ICQ 7 folder, a last line on
// what helps: Ternavo, which runs with the rights to write there, prepares the
// copies. Kestrun itself never asks for more rights: ICQ 7 runs with the user's.
std::wstring StartFailedText(bool english, const std::wstring& systemText, const std::wstring& file, bool folderClosed);
// "The settings could not be saved." with the reason (`file` is the settings file).
std::wstring SaveFailedText(bool english, const std::wstring& systemText, const std::wstring& file);

// Ternavo's run-wide state. It lives on its own so that the helpers that only
// need `LastStatus` do not bring the whole window with them.
#include "ternavo/app.h"

std::wstring ProgramDir;
std::wstring SettingsPath;
std::wstring CommandLine;
bool UseEnglish = false;

std::wstring LastStatus;
bool StartPending = false;
bool ResumeFromDialog = false;

#pragma once
// Ternavo's run-wide values, in one record that the program owns for the
// whole run. The main window sets the paths and the language at start-up.
#include <string>

struct RunState {
    std::wstring ProgramDir;    // folder of Ternavo.exe, ending in "\"
    std::wstring SettingsPath;  // ProgramDir + "ternavo.ini"
    std::wstring CommandLine;   // arguments, trimmed of blanks
    bool UseEnglish = false;
};
extern RunState g_run;

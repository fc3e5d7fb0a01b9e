#pragma once
// Ternavo's run-wide values, in one record that the program owns for the
// whole run. The main window sets the paths and the language at start-up;
// an apply run keeps its outcome and its progress through the settings
// dialog here.
#include <string>
#include "ternavo/rules/applyplan.h"

struct RunState {
    std::wstring ProgramDir;    // folder of Ternavo.exe, ending in "\"
    std::wstring SettingsPath;  // ProgramDir + "ternavo.ini"
    std::wstring CommandLine;   // arguments, trimmed of blanks
    bool UseEnglish = false;

    // One apply run.
    apply::Outcome Outcome = apply::Outcome::Succeeded;
    bool StartPending = false;      // the installer opened the settings dialog; its OK resumes the run
    bool ResumeFromDialog = false;  // the pass after that dialog runs
};
extern RunState g_run;

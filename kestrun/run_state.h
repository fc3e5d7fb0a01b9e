#pragma once
// Kestrun's run-wide values, in one record that the program owns for the
// whole run. Start-up fills it; the window, the settings file and the
// launcher read and change it.
#include <string>
#include "kestrun/rules/cmdline.h"
#include "kestrun/rules/settings_record.h"

struct RunState {
    std::wstring ProgramDir;       // folder of Kestrun.exe, ending in "\"
    bool MayWrite = true;          // this user may create files in ProgramDir (MayWriteIn, once per run)
    std::wstring SettingsPath;     // kestrun.ini beside Kestrun, or the user's own (SettingsFileFor)
    std::wstring CommandLineText;  // arguments, trimmed and lower-cased
    bool UseEnglish = false;
    StartOptions Options;          // switches of the command line
    KestrunSettings Settings;      // as loaded, and as last saved from the window
};
extern RunState g_run;

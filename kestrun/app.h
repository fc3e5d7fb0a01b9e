#pragma once
// Kestrun's run-wide state and the seams between start-up, settings, launcher
// and the window. The main window owns this state for the whole run.
#include <windows.h>
#include <string>
#include "kestrun/rules/cmdline.h"

extern std::wstring ProgramDir;       // folder of Kestrun.exe, ending in "\"
extern std::wstring SettingsPath;     // ProgramDir + "kestrun.ini"
extern std::wstring CommandLineText;  // arguments, trimmed and lower-cased
extern bool UseEnglish;
extern StartOptions Options;          // switches of the command line

// Timer ids of the main window.
constexpr UINT_PTR kTimer1 = 1;  // follow-up after a launch (launcher)
constexpr UINT_PTR kTimer2 = 2;  // start delay of "-wait=" (start-up)

// --- Provided by the window (form1.cpp) ---
HWND MainWindow();
// The settings below are read and changed the same way before and after the
// window is shown; its controls exist only once it is shown (never in a silent run).
bool CreateForm1();                   // creates the window hidden, without its controls
HWND Control(const char* name);       // a control of the window table by name, e.g. "Check2"; nullptr until shown
bool IsOn(const char* name);          // check box / option button state
void SetOn(const char* name, bool on);
std::wstring MaxNrText();             // Text1, the number of instances as shown
void SetMaxNrText(const std::wstring& text);
int SelectedStatusItem();             // 1..7, the selected entry of ImageCombo1
void SelectStatusItem(int item);
void FillStatusList();                // builds ImageCombo1's seven entries in the current language
void SetSaveEnabled(bool enabled);    // Command2
void PrepareAndShowForm1();           // controls with the settings, English texts, icons, pages; then shows it

// --- Provided by settings.cpp ---
void LoadSettings();
void SaveSettings();

// --- Provided by the launcher (launcher.cpp) ---
void LaunchInstance();
void OnTimer1();
// --- Provided by start-up (startup.cpp) ---
void StartOrDelay();
void OnTimer2();

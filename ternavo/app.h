#pragma once
// Ternavo's run-wide state and the seams between its parts. The main window
// owns this state for the whole run; the apply sequence, the ICQ 7 search and
// the installer read and change it through the functions below.
#include <windows.h>
#include <string>

// Set once at start-up.
extern std::wstring ProgramDir;    // folder of Ternavo.exe, ending in "\"
extern std::wstring SettingsPath;  // ProgramDir + "ternavo.ini"
extern std::wstring CommandLine;   // arguments, trimmed of blanks
extern bool UseEnglish;

// One apply run.
extern std::wstring LastStatus;    // "" while all is well, "No!" once a step failed
extern bool StartPending;          // the settings dialog was opened by the installer
extern bool ResumeFromDialog;      // the second pass after that dialog runs

// --- Provided by the main window (form1.cpp) and the dialogs (form3.cpp) ---
HWND MainWindow();
bool OptionChecked(int n);         // Check1..Check4 of the main window
int InstancesChoice();             // selected index of Combo1: 0 allow, 1 only one
enum class StatusLine { Idle, IdleAfterResult, Busy };
void ShowStatus(StatusLine which); // Label1's idle or busy text
void ShowResult();                 // success/failure from LastStatus, Timer1, SaveOptions
void EnableTimer2();               // resumes an apply run from the message loop
std::wstring Form3Directory();     // Form3's Text1 (creates the hidden dialog if needed)
void SetForm3Directory(const std::wstring& dir);
bool Form3ShortcutChecked();       // Form3's Check1
void ShowForm3Modal();

// --- Provided by the ICQ 7 search (icq7path.cpp) ---
bool IsICQDirectory(const std::wstring& dir);
bool IsICQ7Version(const std::wstring& dirWithBackslash);  // both files' versions begin with "7."
void GetICQ7Path();                // fills Form3's Text1 with the found folder or ""

// --- Provided by the apply sequence and installer (apply.cpp, install.cpp) ---
void ApplyOptions(int mode);
void InstallStarter();
void CopyStarter(const std::wstring& dir);
void RemoveStarter();

#pragma once
// Ternavo's worker: "Ternavo.exe -worker ...", started by Ternavo's window
// "as administrator" for the steps that need rights the user lacks. It reads
// its steps and the ICQ 7 folder from its command line only (never from
// ternavo.ini), shows nothing, makes no shortcut, and ends with its exit code.
#include <string>

// Runs the steps the argument text names. 0 every step done, 1 a step failed,
// 2 refused before any change.
int RunWorker(const std::wstring& arguments);

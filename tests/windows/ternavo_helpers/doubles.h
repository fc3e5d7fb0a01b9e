#pragma once
// Stand-ins for the main window and the settings dialog, so that Ternavo's
// engine runs inside this test program and its effects can be read back.
#include <string>
#include <vector>

namespace doubles {
extern bool checked[5];          // Check1..Check4 (index 0 unused)
extern int instances;            // Combo1
extern std::wstring form3Text1;  // the settings dialog's folder box
extern bool form3Check1;         // its shortcut box
extern std::vector<std::wstring> results;  // LastStatus at every ShowResult
extern int form3Shown;
void Reset();
}  // namespace doubles

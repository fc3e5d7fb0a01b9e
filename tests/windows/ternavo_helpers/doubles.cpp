#include "tests/windows/ternavo_helpers/doubles.h"
#include "ternavo/app.h"

// The run-wide state itself comes from Ternavo's library; the doubles stand
// in for the windows only.
namespace doubles {
bool checked[5];
int instances = 0;
std::wstring form3Text1;
bool form3Check1 = true;
std::vector<std::wstring> results;
int form3Shown = 0;

void Reset() {
    for (bool& c : checked) c = false;
    instances = 0;
    form3Text1.clear();
    form3Check1 = true;
    results.clear();
    form3Shown = 0;
    UseEnglish = true;
    LastStatus.clear();
    StartPending = ResumeFromDialog = false;
}
}  // namespace doubles

HWND MainWindow() { return nullptr; }
bool OptionChecked(int n) { return n >= 1 && n <= 4 && doubles::checked[n]; }
int InstancesChoice() { return doubles::instances; }
void ShowStatus(StatusLine) {}
void ShowResult() { doubles::results.push_back(LastStatus); }
void EnableTimer2() {}
std::wstring Form3Directory() { return doubles::form3Text1; }
void SetForm3Directory(const std::wstring& dir) { doubles::form3Text1 = dir; }
bool Form3ShortcutChecked() { return doubles::form3Check1; }
void ShowForm3Modal() { ++doubles::form3Shown; }

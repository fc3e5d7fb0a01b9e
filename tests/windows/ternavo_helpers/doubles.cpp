#include "tests/windows/ternavo_helpers/doubles.h"
#include "ternavo/main_window.h"
#include "ternavo/run_state.h"
#include "ternavo/settings_dialog.h"

// The run-wide state itself comes from Ternavo's library; the doubles stand
// in for the windows only.
namespace doubles {
apply::Choices choices;
std::vector<apply::Outcome> results;
int settingsDialogShown = 0;

void Reset() {
    choices = apply::Choices{};
    results.clear();
    settingsDialogShown = 0;
    g_run.UseEnglish = true;
    g_run.Outcome = apply::Outcome::Succeeded;
    g_run.StartPending = g_run.ResumeFromDialog = false;
}
}  // namespace doubles

HWND MainWindow() { return nullptr; }
apply::Choices CurrentChoices() { return doubles::choices; }
void ShowStatus(StatusLine) {}
void ShowResult() { doubles::results.push_back(g_run.Outcome); }
void ResumeAfterDialog() {}
void SetSettingsDialogFolder(const std::wstring& dir) { doubles::choices.icq7Folder = dir; }
void ShowSettingsDialog() { ++doubles::settingsDialogShown; }

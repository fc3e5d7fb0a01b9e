#include "tests/windows/ternavo_helpers/doubles.h"
#include "ternavo/window/main_window.h"
#include "ternavo/window/run_state.h"
#include "ternavo/window/settings_dialog.h"

// The run-wide state itself comes from Ternavo's library; the doubles stand
// in for the windows only.
namespace doubles {
apply::Choices choices;

void Reset() {
    choices = apply::Choices{};
    g_run.UseEnglish = true;
}
}  // namespace doubles

HWND MainWindow() { return nullptr; }
apply::Choices CurrentChoices() { return doubles::choices; }
void ShowStatus(StatusLine) {}
void SetSettingsDialogFolder(const std::wstring& dir) { doubles::choices.icq7Folder = dir; }
bool ShowSettingsDialog() { return false; }

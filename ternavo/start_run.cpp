#include "ternavo/start_run.h"
#include <windows.h>
#include <string>
#include "common/files.h"
#include "common/ini_file.h"
#include "common/winutil.h"
#include "ternavo/apply.h"
#include "ternavo/elevation.h"
#include "ternavo/icq7path.h"
#include "ternavo/install.h"
#include "ternavo/long_path.h"
#include "ternavo/main_window.h"
#include "ternavo/real_path.h"
#include "ternavo/rights_probe.h"
#include "ternavo/rules/switches.h"
#include "ternavo/run_state.h"
#include "ternavo/settings_dialog.h"
#include "ternavo/windows_version.h"

namespace {

enum class Message { WrongVersion, NoPath, WrongVersionRemove, NotDeleted, Removed };

void Tell(Message m) {
    struct Text { const wchar_t* en; const wchar_t* de; UINT icon; };
    static const Text kTexts[] = {
        {L"There was no correct version of ICQ 7 found.",
         L"Es wurde keine passende Version von ICQ 7 gefunden.", MB_ICONEXCLAMATION},
        {L"There was no ICQ 7 path found. Please edit settings.",
         L"Es wurde kein ICQ 7 Pfad gefunden. Bitte die Einstellungen anpassen.", MB_ICONEXCLAMATION},
        {L"There was no correct version of ICQ 7 found. Please delete the file Kestrun.exe and all shortcuts manually.",
         L"Es wurde keine passende Version von ICQ 7 gefunden. Bitte löschen Sie die Datei Kestrun.exe und alle "
         L"Verknüpfungen manuell.",
         MB_ICONEXCLAMATION},
        {L"The file Kestrun.exe couldn't be deleted. Please delete the file Kestrun.exe and all shortcuts manually.",
         L"Die Datei Kestrun.exe konnte nicht entfernt werden. Bitte löschen Sie die diese und alle Verknüpfungen "
         L"manuell.",
         MB_ICONEXCLAMATION},
        {L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.",
         L"Alle selbst erstellten Verknüpfungen von Kestrun.exe müssen manuell gelöscht werden.", MB_ICONINFORMATION},
    };
    if (!MainWindow()) return;  // closed while the worker ran: nobody to tell
    const Text& t = kTexts[static_cast<int>(m)];
    MessageBoxW(MainWindow(), g_run.UseEnglish ? t.en : t.de, L"ICQ 7", MB_OK | t.icon);
}

// Whether a copy "as administrator" would have more rights than this one:
// asked of the system once.
bool CanAskForRights() {
    static const bool can = startup::CanAskForRights(IsElevated(), WindowsMajorVersion(), UacSwitchedOff());
    return can;
}

std::wstring SavedFolder() { return ReadIniValue(g_run.SettingsPath, L"Ternavo", L"ICQ7Path"); }

// The folder the installation takes without asking: the saved one while it
// holds ICQ, else (once a folder was saved at all) the one the dialog shows.
// Empty text: the settings dialog has to ask.
std::wstring ConfirmedFolder(const apply::Choices& c) {
    std::wstring saved = SavedFolder();
    if (saved.size() <= 2) return {};
    saved = win::WithBackslash(saved);
    if (IsICQDirectory(saved)) return saved;
    std::wstring shown = win::WithBackslash(c.icq7Folder);
    if (shown.size() > 2 && IsICQDirectory(shown)) return shown;
    return {};
}

// The folder the removal takes: the saved one while it holds ICQ, else the
// one the dialog shows; empty text when neither does.
std::wstring KnownFolder(const apply::Choices& c) {
    std::wstring saved = win::WithBackslash(SavedFolder());
    if (IsICQDirectory(saved)) return saved;
    std::wstring shown = win::WithBackslash(c.icq7Folder);
    return IsICQDirectory(shown) ? shown : std::wstring();
}

apply::Outcome Worse(apply::Outcome a, apply::Outcome b) {
    return a == apply::Outcome::Succeeded ? b : (b == apply::Outcome::Succeeded ? a : apply::Outcome::Failed);
}

// The steps of this press in the folder `dir` (ending in "\", or empty
// without ICQ 7), everything decided.
void RunPress(const apply::Choices& chosen, const std::wstring& dir) {
    const bool install = chosen.icq7 && chosen.instances == apply::Instances::Allow;
    const bool remove = chosen.icq7 && chosen.instances == apply::Instances::OnlyOne;
    apply::Outcome outcome = apply::Outcome::Succeeded;
    apply::Choices steps = chosen;
    // The ICQ 7 folder is tested here, with its message, before anything is asked or changed.
    if (install && !IsICQ7Version(dir)) {
        Tell(Message::WrongVersion);
        outcome = apply::Outcome::Failed;
        steps.icq7 = false;
    } else if (remove && dir.empty()) {
        Tell(Message::NoPath);
        outcome = apply::Outcome::Failed;
        steps.icq7 = false;
    } else if (remove && !IsICQ7Version(dir)) {  // not ours to touch: nothing is deleted
        Tell(Message::WrongVersionRemove);
        outcome = apply::Outcome::Failed;
        steps.icq7 = false;
    }

    const bool askRights = CanAskForRights();
    apply::Choices worker = startup::WorkerShare(steps, askRights, steps.icq7 && CanWriteFolder(dir));
    apply::Choices own = startup::OwnShare(steps, worker);
    apply::Outcome icq7Outcome = apply::Outcome::Refused;  // until a run has taken ICQ 7
    if (apply::AnyGeneration(worker)) {
        SetStartBusy(true);
        // The worker gets the folder whole: a relative one would name another there,
        // and a drive letter of this user's own session none at all.
        WorkerRun run = RunWorkerAsAdministrator(
            MainWindow(), startup::WorkerArgumentText(worker, PathForAdministrator(GetFullPath(dir))));
        SetStartBusy(false);
        // Declined: nothing changed, and nothing is shown, as with the system's own dialogs.
        if (run.startError == ERROR_CANCELLED) {
            ShowStatus(StatusLine::Idle);
            return;
        }
        apply::Outcome workerOutcome =
            run.startError == ERROR_SUCCESS ? startup::OutcomeOfExitCode(run.exitCode) : apply::Outcome::Failed;
        if (run.startError != ERROR_SUCCESS) own = apply::Choices{};  // the rights were not to be had
        outcome = Worse(outcome, workerOutcome);
        if (worker.icq7) icq7Outcome = workerOutcome;
    }
    if (apply::AnyGeneration(own)) {
        apply::Outcome ownOutcome = RunSteps(own, dir);
        outcome = Worse(outcome, ownOutcome);
        if (own.icq7) icq7Outcome = ownOutcome;
    }

    // The user's own steps, for the user who pressed Start, once the folder's were taken.
    if (steps.icq7 && icq7Outcome != apply::Outcome::Refused) {
        if (install && chosen.shortcut && StarterInPlace(dir)) CreateDesktopShortcut(dir);
        if (remove) {
            // Whoever made it, a desktop shortcut of this name goes too.
            DeleteDesktopShortcut();
            if (FileExists(dir + L"Kestrun.exe")) {
                Tell(Message::NotDeleted);
                outcome = apply::Outcome::Failed;
            } else {
                Tell(Message::Removed);
            }
        }
    }
    ShowResult(outcome, chosen);
}

}  // namespace

void PressStart() {
    g_run.StartPending = false;
    apply::Choices c = CurrentChoices();
    if (c.icq7 && c.instances == apply::Instances::Allow) {
        std::wstring dir = ConfirmedFolder(c);
        if (dir.empty()) {
            // No confirmed folder yet: the settings dialog asks, and its OK resumes the press.
            ShowStatus(StatusLine::Idle);
            g_run.StartPending = true;
            ShowSettingsDialog();
            return;
        }
        RunPress(c, dir);
    } else {
        RunPress(c, c.icq7 ? KnownFolder(c) : std::wstring());
    }
}

void ResumeStartAfterDialog() {
    apply::Choices c = CurrentChoices();
    std::wstring dir = win::WithBackslash(c.icq7Folder);
    if (!c.icq7 || c.instances != apply::Instances::Allow || !IsICQDirectory(dir)) {
        PressStart();  // the choices changed meanwhile: as a new press
        return;
    }
    RunPress(c, dir);
}

bool StartAsksForRights(const apply::Choices& c) {
    if (!CanAskForRights()) return false;
    if (apply::AnyOlderGeneration(c)) return true;
    if (!c.icq7) return false;
    std::wstring dir = KnownFolder(c);
    return !dir.empty() && !CanWriteFolder(dir);
}

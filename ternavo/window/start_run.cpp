#include "ternavo/window/start_run.h"
#include <windows.h>
#include <string>
#include "common/files.h"
#include "common/ini_file.h"
#include "common/winutil.h"
#include "ternavo/steps/apply.h"
#include "ternavo/system/elevation.h"
#include "ternavo/steps/icq7path.h"
#include "ternavo/steps/install.h"
#include "ternavo/system/long_path.h"
#include "ternavo/system/real_path.h"
#include "ternavo/system/rights_probe.h"
#include "ternavo/rules/switches.h"
#include "ternavo/rules/trouble_text.h"
#include "ternavo/window/run_state.h"
#include "ternavo/system/windows_version.h"
#include "ternavo/steps/worker_report.h"

namespace {

enum class Message { WrongVersion, NoPath, WrongVersionRemove, NotDeleted, Removed, RealDrive };

void Tell(HWND owner, Message m) {
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
        {L"The ICQ 7 folder lies on a drive letter that only your own account knows (a network drive or a drive "
         L"made with subst), and the step with administrator rights cannot reach it there. Please choose the ICQ 7 "
         L"folder in the settings by its real drive or network path.",
         L"Der ICQ 7 Ordner liegt auf einem Laufwerksbuchstaben, den nur Ihr eigenes Konto kennt (ein Netzlaufwerk "
         L"oder ein mit subst angelegtes Laufwerk), und der Schritt mit Administratorrechten erreicht ihn dort nicht. "
         L"Bitte wählen Sie den ICQ 7 Ordner in den Einstellungen über sein echtes Laufwerk oder seinen Netzwerkpfad.",
         MB_ICONEXCLAMATION},
    };
    if (!IsWindow(owner)) return;  // closed while the worker ran: nobody to tell
    const Text& t = kTexts[static_cast<int>(m)];
    MessageBoxW(owner, g_run.UseEnglish ? t.en : t.de, L"ICQ 7", MB_OK | t.icon);
}

std::wstring Reason(unsigned long error) {
    std::wstring text = win::SystemErrorText(error, g_run.UseEnglish);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text.empty() ? L"#" + std::to_wstring(error) : text;
}

trouble::Audience TextAudience() { return {g_run.UseEnglish, WindowsMajorVersion() < 6}; }

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
PressResult RunPress(const apply::Choices& chosen, const std::wstring& dir, const PressWindow& window) {
    auto tell = [&window](Message m) { Tell(window.owner, m); };
    const bool install = chosen.icq7 && chosen.instances == apply::Instances::Allow;
    const bool remove = chosen.icq7 && chosen.instances == apply::Instances::OnlyOne;
    apply::Outcome outcome = apply::Outcome::Succeeded;
    apply::Choices steps = chosen;
    // The ICQ 7 folder is tested here, with its message, before anything is asked or changed.
    if (install && !IsICQ7Version(dir)) {
        tell(Message::WrongVersion);
        outcome = apply::Outcome::Failed;
        steps.icq7 = false;
    } else if (remove && dir.empty()) {
        tell(Message::NoPath);
        outcome = apply::Outcome::Failed;
        steps.icq7 = false;
    } else if (remove && !IsICQ7Version(dir)) {  // not ours to touch: nothing is deleted
        tell(Message::WrongVersionRemove);
        outcome = apply::Outcome::Failed;
        steps.icq7 = false;
    }

    const bool askRights = CanAskForRights();
    apply::Choices worker = startup::WorkerShare(steps, askRights, steps.icq7 && CanWriteFolder(dir));
    apply::Choices own = startup::OwnShare(steps, worker);
    // The worker gets the folder whole: a relative one would name another
    // there, and a drive letter of this user's own session none at all.
    const std::wstring workerDir = worker.icq7 ? PathForAdministrator(GetFullPath(dir)) : std::wstring();
    if (worker.icq7 && workerDir.empty()) {
        tell(Message::RealDrive);
        outcome = apply::Outcome::Failed;
        worker.icq7 = false;
    }
    apply::Outcome icq7Outcome = apply::Outcome::Refused;  // until a run has taken ICQ 7
    trouble::Trouble trouble;
    if (apply::AnyGeneration(worker)) {
        if (window.waiting) window.waiting(true);
        WorkerReport report;
        WorkerRun run =
            RunWorkerAsAdministrator(window.owner, startup::WorkerArgumentText(worker, workerDir, report.Number()));
        if (window.waiting) window.waiting(false);
        // Declined: nothing changed, and nothing is shown, as with the system's own dialogs.
        if (run.startError == ERROR_CANCELLED) return {PressResult::End::Declined, outcome, {}};
        apply::Outcome workerOutcome =
            run.startError == ERROR_SUCCESS ? startup::OutcomeOfExitCode(run.exitCode) : apply::Outcome::Failed;
        if (run.startError != ERROR_SUCCESS) own = apply::Choices{};  // the rights were not to be had
        outcome = Worse(outcome, workerOutcome);
        if (worker.icq7) icq7Outcome = workerOutcome;
        trouble.failures = report.Failures();
        trouble.refusal = run.startError == ERROR_SUCCESS ? startup::RefusalOfExitCode(run.exitCode)
                                                          : apply::Refusal::None;
        trouble.rightsError = run.startError;
    }
    if (apply::AnyGeneration(own)) {
        apply::Report ownRun = RunSteps(own, dir);
        outcome = Worse(outcome, ownRun.outcome);
        if (own.icq7) icq7Outcome = ownRun.outcome;
        trouble.failures.insert(trouble.failures.end(), ownRun.failures.begin(), ownRun.failures.end());
        if (trouble.refusal == apply::Refusal::None) trouble.refusal = ownRun.refusal;
    }

    // The user's own steps, for the user who pressed Start, once the folder's were taken.
    if (steps.icq7 && icq7Outcome != apply::Outcome::Refused) {
        if (install && chosen.shortcut && StarterInPlace(dir)) CreateDesktopShortcut(dir);
        if (remove) {
            // Whoever made it, a desktop shortcut of this name goes too.
            DeleteDesktopShortcut();
            if (FileExists(dir + L"Kestrun.exe")) {
                tell(Message::NotDeleted);
                outcome = apply::Outcome::Failed;
            } else {
                tell(Message::Removed);
            }
        }
    }
    PressResult result{PressResult::End::Done, outcome, {}};
    if (outcome != apply::Outcome::Succeeded && trouble::AnythingToTell(trouble))
        result.boxes.push_back(trouble::TroubleText(trouble, TextAudience(), Reason));
    std::wstring left = trouble::CopiesLeftText(trouble.failures, g_run.UseEnglish);
    if (!left.empty()) result.boxes.push_back(left);
    return result;
}

}  // namespace

PressResult PressStart(const apply::Choices& c, const PressWindow& window) {
    if (c.icq7 && c.instances == apply::Instances::Allow) {
        std::wstring dir = ConfirmedFolder(c);
        // No confirmed folder yet: the settings dialog asks, and its OK resumes the press.
        if (dir.empty()) return {PressResult::End::AskFolder, apply::Outcome::Succeeded, {}};
        return RunPress(c, dir, window);
    }
    return RunPress(c, c.icq7 ? KnownFolder(c) : std::wstring(), window);
}

PressResult ResumeStartAfterDialog(const apply::Choices& c, const PressWindow& window) {
    std::wstring dir = win::WithBackslash(c.icq7Folder);
    // The choices changed meanwhile: as a new press.
    if (!c.icq7 || c.instances != apply::Instances::Allow || !IsICQDirectory(dir)) return PressStart(c, window);
    return RunPress(c, dir, window);
}

bool StartAsksForRights(const apply::Choices& c) {
    if (!CanAskForRights()) return false;
    if (apply::AnyOlderGeneration(c)) return true;
    if (!c.icq7) return false;
    std::wstring dir = KnownFolder(c);
    return !dir.empty() && !CanWriteFolder(dir);
}

// Kestrun in the ICQ 7 folder: written whole from the copy Ternavo carries,
// with its desktop shortcut; or removed with its settings file and shortcut.
#include "ternavo/install.h"
#include <shlobj.h>
#include "common/files.h"
#include "common/ini_file.h"
#include "common/winutil.h"
#include "kestrun/rules/copyrule.h"
#include "ternavo/apply.h"
#include "ternavo/icq7path.h"
#include "ternavo/main_window.h"
#include "ternavo/numbered_copies.h"
#include "ternavo/resource.h"
#include "ternavo/resource_file.h"
#include "ternavo/run_state.h"
#include "ternavo/settings_dialog.h"
#include "ternavo/shortcut.h"
#include "ternavo/special_folder.h"

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
    const Text& t = kTexts[static_cast<int>(m)];
    MessageBoxW(MainWindow(), g_run.UseEnglish ? t.en : t.de, L"ICQ 7", MB_OK | t.icon);
}

std::wstring SavedDirectory() { return ReadIniValue(g_run.SettingsPath, L"Ternavo", L"ICQ7Path"); }

// The user's desktop folder with "\", or empty text when the system does not
// name one (a shortcut is then neither made nor deleted: "\Kestrun.lnk" would
// be the root of the current drive).
std::wstring DesktopFolder() {
    std::wstring desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    return desktop.empty() ? desktop : win::WithBackslash(desktop);
}

// Clears read-only and the like, then deletes; a missing or locked file is passed over.
void DeleteStarterFiles(const std::wstring& dir) {
    SetFileAttributesW((dir + L"Kestrun.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW((dir + L"Kestrun.exe").c_str());
    DeleteFileW((dir + L"kestrun.ini").c_str());
}

// Kestrun's numbered copies of ICQ.exe and their marker files, read-only ones
// included. A copy that is running cannot be deleted (the system refuses,
// error 5): it stays, and that is no failure.
void DeleteNumberedCopies(const std::wstring& dir) {
    for (int32_t nr = 1; nr <= kMostCopies; ++nr) RemoveNumberedCopy(dir, nr);
}

// Puts the embedded starter in place of `target`, whole or not at all; a
// failure marks the run as failed. The old copy is not deleted first: the new
// file replaces it in one move, so a write that fails (a full disk, a scanner
// holding the old copy) keeps it as it was, read-only included.
bool WriteStarter(const std::wstring& target) {
    DWORD attributes = GetFileAttributesW(target.c_str());
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file cannot be replaced
    if (ExtractResource(IDR_STARTER, L"Custom", target) == 0) return true;
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), attributes);
    return false;
}

}  // namespace

void InstallStarter() {
    if (g_run.ResumeFromDialog) {  // second pass: the folder the user just confirmed
        CopyStarter(win::WithBackslash(CurrentChoices().icq7Folder));
        return;
    }
    std::wstring saved = SavedDirectory();
    if (saved.size() > 2) {
        saved = win::WithBackslash(saved);
        if (IsICQDirectory(saved)) {
            CopyStarter(saved);
            return;
        }
        std::wstring shown = win::WithBackslash(CurrentChoices().icq7Folder);
        if (shown.size() > 2 && IsICQDirectory(shown)) {
            CopyStarter(shown);
            return;
        }
    }
    // No confirmed folder yet: the settings dialog asks, and its OK resumes the run.
    ShowStatus(StatusLine::Idle);
    g_run.StartPending = true;
    ShowSettingsDialog();
}

void CopyStarter(const std::wstring& dir) {
    if (!IsICQDirectory(dir)) return;
    if (!IsICQ7Version(dir)) {
        Tell(Message::WrongVersion);
        g_run.Outcome = apply::Outcome::Failed;
    } else if (WriteStarter(dir + L"Kestrun.exe")) {
        // Kestrun run by a user who may not write here starts these copies.
        PrepareNumberedCopies(dir);
        // The old settings and the shortcut go with the new starter only.
        DeleteFileW((dir + L"kestrun.ini").c_str());
        if (CurrentChoices().shortcut) {
            std::wstring desktop = DesktopFolder();
            if (!desktop.empty()) CreateShortcut(dir + L"Kestrun.exe", desktop + L"Kestrun.lnk", dir);
        }
    }
    ShowStatus(StatusLine::Busy);
    g_run.ResumeFromDialog = false;
    g_run.StartPending = false;
    ApplyOptions(apply::Pass::AfterInstall);
}

void RemoveStarter() {
    std::wstring dir = win::WithBackslash(SavedDirectory());
    if (!IsICQDirectory(dir)) {
        dir = win::WithBackslash(CurrentChoices().icq7Folder);
        if (!IsICQDirectory(dir)) {
            Tell(Message::NoPath);
            g_run.Outcome = apply::Outcome::Failed;
            return;
        }
    }
    if (!IsICQ7Version(dir)) {  // not ours to touch: nothing is deleted
        Tell(Message::WrongVersionRemove);
        g_run.Outcome = apply::Outcome::Failed;
        return;
    }
    DeleteStarterFiles(dir);
    DeleteNumberedCopies(dir);
    // Whoever made it, a desktop shortcut of this name goes too.
    std::wstring desktop = DesktopFolder();
    if (!desktop.empty()) DeleteFileW((desktop + L"Kestrun.lnk").c_str());
    if (FileExists(dir + L"Kestrun.exe")) {
        Tell(Message::NotDeleted);
        g_run.Outcome = apply::Outcome::Failed;
    } else {
        Tell(Message::Removed);
    }
}

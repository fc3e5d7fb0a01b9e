#include "ternavo/steps/apply.h"
#include <windows.h>
#include "ternavo/steps/folder_security.h"
#include "ternavo/steps/held_folder.h"
#include "ternavo/steps/icq7path.h"
#include "ternavo/steps/install.h"
#include "ternavo/steps/registry_switch.h"
#include "ternavo/system/admin_token.h"

namespace {

// What one step could not do; empty when it was done.
std::vector<apply::Failure> RunStep(apply::Step step, const HeldFolder& folder, HANDLE icqFile) {
    using apply::Step;
    unsigned long error = 0;
    switch (step) {
        case Step::InstallStarter: return InstallStarter(folder, icqFile);
        case Step::AllowLite: error = AllowMultiInstance(ClassicTarget::Lite); break;
        case Step::AllowPro: error = AllowMultiInstance(ClassicTarget::Pro); break;
        case Step::AllowICQ6: error = AllowMultiInstance(ClassicTarget::ICQ6); break;
        case Step::ForbidLite: error = ForbidMultiInstance(ClassicTarget::Lite); break;
        case Step::ForbidPro: error = ForbidMultiInstance(ClassicTarget::Pro); break;
        case Step::ForbidICQ6: error = ForbidMultiInstance(ClassicTarget::ICQ6); break;
        case Step::RemoveStarter: return RemoveStarter(folder);
    }
    if (error == 0) return {};
    return {{step, error, 0}};
}

// The folder test the window made before it asked for anything, made again
// before anything changes: ICQ.exe and MCore.dll of ICQ 7.
bool IsICQ7Folder(const HeldFolder& folder) {
    return IsICQDirectory(folder.Path()) && IsICQ7Version(folder.Path());
}

// Why the steps may not touch the held folder, or None. ICQ.exe is open
// already (`icqOpen`), without sharing for writing or deleting: the file that
// is checked here is the one the copies are made from.
apply::Refusal FolderRefusal(const HeldFolder& folder, bool icqOpen) {
    if (!folder.Held()) return folder.Linked() ? apply::Refusal::Link : apply::Refusal::FolderUnavailable;
    // With administrator rights, however they came (the worker, or Ternavo
    // itself started as administrator, with user account control off, on XP),
    // a folder that others may change is no place for these steps: its files
    // could be swapped under them. Such a folder needs no administrator.
    if (HoldsAdministratorRights() && !OnlyAdministratorsMayChange(folder.Handle()))
        return apply::Refusal::OthersMayChange;
    if (!IsICQ7Folder(folder)) return apply::Refusal::NotICQ7;
    if (!icqOpen) return apply::Refusal::FolderUnavailable;
    return StarterFilesRefusal(folder);
}

}  // namespace

apply::Report RunSteps(const apply::Choices& steps, const std::wstring& icq7Dir) {
    apply::Report report;
    HeldFolder folder(steps.icq7 ? icq7Dir : std::wstring());
    win::Handle icqFile;
    if (folder.Held())
        icqFile.reset(CreateFileW(folder.File(L"ICQ.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (steps.icq7) report.refusal = FolderRefusal(folder, icqFile.valid());
    if (report.refusal != apply::Refusal::None) {
        report.outcome = apply::Outcome::Refused;
        return report;
    }
    for (apply::Step step : apply::ApplyPlan(steps)) {
        std::vector<apply::Failure> failed;
        try {
            failed = RunStep(step, folder, icqFile.get());
        } catch (...) {
            failed = {{step, ERROR_OUTOFMEMORY, 0}};
        }
        report.failures.insert(report.failures.end(), failed.begin(), failed.end());
    }
    // A copy left in use is no failure: the removal is done, the copy goes with the next one.
    for (const apply::Failure& f : report.failures)
        if (!apply::LeftInUse(f)) report.outcome = apply::Outcome::Failed;
    return report;
}

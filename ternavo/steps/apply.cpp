#include "ternavo/steps/apply.h"
#include <windows.h>
#include "ternavo/steps/folder_security.h"
#include "ternavo/steps/held_folder.h"
#include "ternavo/steps/icq7path.h"
#include "ternavo/steps/install.h"
#include "ternavo/steps/registry_switch.h"

namespace {

// What one step could not do; empty when it was done.
std::vector<apply::Failure> RunStep(apply::Step step, const HeldFolder& folder) {
    using apply::Step;
    unsigned long error = 0;
    switch (step) {
        case Step::InstallStarter: return InstallStarter(folder);
        case Step::AllowLite: error = AllowMultiInstance(ClassicTarget::Lite); break;
        case Step::AllowPro: error = AllowMultiInstance(ClassicTarget::Pro); break;
        case Step::AllowICQ6: error = AllowMultiInstance(ClassicTarget::ICQ6); break;
        case Step::ForbidLite: error = ForbidMultiInstance(ClassicTarget::Lite); break;
        case Step::ForbidPro: error = ForbidMultiInstance(ClassicTarget::Pro); break;
        case Step::ForbidICQ6: error = ForbidMultiInstance(ClassicTarget::ICQ6); break;
        case Step::RemoveStarter: error = RemoveStarter(folder); break;
    }
    if (error == 0) return {};
    return {{step, error, 0}};
}

// The folder test the window made before it asked for anything, made again
// before anything changes: ICQ.exe and MCore.dll of ICQ 7.
bool IsICQ7Folder(const HeldFolder& folder) {
    return IsICQDirectory(folder.Path()) && IsICQ7Version(folder.Path());
}

}  // namespace

apply::Report RunSteps(const apply::Choices& steps, const std::wstring& icq7Dir, bool asWorker) {
    apply::Report report;
    HeldFolder folder(steps.icq7 ? icq7Dir : std::wstring());
    if (steps.icq7 && (!folder.Held() || (asWorker && !OnlyAdministratorsMayChange(folder.Handle())) ||
                       !IsICQ7Folder(folder) || StarterFilesHaveReparsePoint(folder))) {
        report.outcome = apply::Outcome::Refused;
        return report;
    }
    for (apply::Step step : apply::ApplyPlan(steps)) {
        std::vector<apply::Failure> failed;
        try {
            failed = RunStep(step, folder);
        } catch (...) {
            failed = {{step, ERROR_OUTOFMEMORY, 0}};
        }
        report.failures.insert(report.failures.end(), failed.begin(), failed.end());
    }
    if (!report.failures.empty()) report.outcome = apply::Outcome::Failed;
    return report;
}

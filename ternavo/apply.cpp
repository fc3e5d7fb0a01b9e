#include "ternavo/apply.h"
#include <windows.h>
#include "common/winutil.h"
#include "ternavo/folder_security.h"
#include "ternavo/icq7path.h"
#include "ternavo/install.h"
#include "ternavo/registry_switch.h"

namespace {

// The ICQ 7 folder held open for the run: as long as it is, nobody can
// rename it or put a link in its place, so every step finds the folder that
// was checked. Opened as itself, never through a reparse point.
class HeldFolder {
public:
    explicit HeldFolder(const std::wstring& dir) {
        std::wstring folder = dir;
        while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
        handle_.reset(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        ok_ = handle_ && GetFileInformationByHandle(handle_.get(), &info) &&
              (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
              !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    bool ok() const { return ok_; }
    HANDLE get() const { return handle_.get(); }

private:
    win::Handle handle_;
    bool ok_ = false;
};

bool RunStep(apply::Step step, const std::wstring& icq7Dir) {
    using apply::Step;
    switch (step) {
        case Step::InstallStarter: return InstallStarter(icq7Dir);
        case Step::AllowLite: return AllowMultiInstance(ClassicTarget::Lite);
        case Step::AllowPro: return AllowMultiInstance(ClassicTarget::Pro);
        case Step::AllowICQ6: return AllowMultiInstance(ClassicTarget::ICQ6);
        case Step::ForbidLite: return ForbidMultiInstance(ClassicTarget::Lite);
        case Step::ForbidPro: return ForbidMultiInstance(ClassicTarget::Pro);
        case Step::ForbidICQ6: return ForbidMultiInstance(ClassicTarget::ICQ6);
        case Step::RemoveStarter: return RemoveStarter(icq7Dir);
    }
    return false;
}

// The folder test the window made before it asked for anything, made again
// before anything changes: ICQ.exe and MCore.dll of ICQ 7.
bool IsICQ7Folder(const std::wstring& dir) { return IsICQDirectory(dir) && IsICQ7Version(dir); }

}  // namespace

apply::Outcome RunSteps(const apply::Choices& steps, const std::wstring& icq7Dir, bool asWorker) {
    std::wstring dir = win::WithBackslash(icq7Dir);
    HeldFolder held(steps.icq7 ? dir : std::wstring());
    if (steps.icq7 && (!IsICQ7Folder(dir) || !held.ok() || StarterFilesHaveReparsePoint(dir)))
        return apply::Outcome::Refused;
    // The worker's rights are needed only where nobody but administrators may write.
    if (steps.icq7 && asWorker && !OnlyAdministratorsMayChange(held.get())) return apply::Outcome::Refused;
    apply::Outcome outcome = apply::Outcome::Succeeded;
    for (apply::Step step : apply::ApplyPlan(steps)) {
        bool done = false;
        try {
            done = RunStep(step, dir);
        } catch (...) {
        }
        if (!done) outcome = apply::Outcome::Failed;
    }
    return outcome;
}

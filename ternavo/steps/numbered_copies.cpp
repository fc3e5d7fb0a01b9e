#include "ternavo/steps/numbered_copies.h"
#include <windows.h>
#include "common/copy_whole.h"
#include "common/ini_file.h"
#include "common/rules/copyrule.h"

namespace {

// Writes what the system still holds of a file to the disk. 0 or the error.
DWORD FlushToDisk(const std::wstring& path) {
    win::Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return GetLastError();
    return FlushFileBuffers(file.get()) ? 0 : GetLastError();
}

}  // namespace

std::vector<apply::Failure> PrepareNumberedCopies(const HeldFolder& folder) {
    int32_t highest = 0;
    for (int32_t nr = kMostCopies; nr >= 1 && highest == 0; --nr)
        if (GetFileAttributesW(folder.File(CopyNameFor(nr)).c_str()) != INVALID_FILE_ATTRIBUTES) highest = nr;
    const int32_t count = CopiesToPrepare(ReadIniValue(folder.File(L"kestrun.ini"), L"Kestrun", L"MaxNr"), highest);

    const std::wstring source = folder.File(L"ICQ.exe");
    const FileFacts icq = FactsOfFile(source);
    std::vector<std::wstring> running;  // asked of the system only when a copy will not be written
    std::vector<apply::Failure> failed;
    for (int32_t nr = 1; nr <= count; ++nr) {
        const std::wstring copy = folder.File(CopyNameFor(nr));
        if (!NeedsCopy(JudgeCopy(icq, FactsOfFile(copy)))) {
            ClearAttributes(copy);
            continue;
        }
        DWORD error = CopyWhole(source, copy);
        if (error == 0) error = FlushToDisk(copy);
        if (error == 0) continue;
        if (running.empty()) running = RunningProgramNames();
        bool runs = false;
        for (const std::wstring& name : running) runs = runs || CopyNumberOf(name) == nr;
        if (!runs) failed.push_back({apply::Step::InstallStarter, error, nr});
    }
    return failed;
}

void RemoveNumberedCopy(const HeldFolder& folder, int32_t nr) {
    const std::wstring copy = folder.File(CopyNameFor(nr));
    for (const std::wstring& file : {copy, copy + L".tmp", copy + L".csassembly"}) {
        ClearAttributes(file);
        DeleteFileW(file.c_str());
    }
}

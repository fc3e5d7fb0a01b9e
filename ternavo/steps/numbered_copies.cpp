#include "ternavo/steps/numbered_copies.h"
#include <windows.h>
#include <algorithm>
#include "common/copy_whole.h"
#include "common/ini_file.h"
#include "common/rules/copyrule.h"

std::vector<apply::Failure> PrepareNumberedCopies(const HeldFolder& folder, HANDLE icqFile) {
    int32_t highest = 0;
    for (int32_t nr = kMostCopies; nr >= 1 && highest == 0; --nr)
        if (GetFileAttributesW(folder.File(CopyNameFor(nr)).c_str()) != INVALID_FILE_ATTRIBUTES) highest = nr;
    const int32_t count = CopiesToPrepare(ReadIniValue(folder.File(L"kestrun.ini"), L"Kestrun", L"MaxNr"), highest);

    const FileFacts icq = FactsOfHandle(icqFile);
    std::vector<int32_t> running;  // asked of the system only when a copy will not be written
    bool asked = false;
    std::vector<apply::Failure> failed;
    for (int32_t nr = 1; nr <= count; ++nr) {
        const std::wstring copy = folder.File(CopyNameFor(nr));
        if (!NeedsCopy(JudgeCopy(icq, FactsOfFile(copy)))) {
            ClearAttributes(copy);
            continue;
        }
        DWORD error = CopyWhole(icqFile, copy);
        if (error == 0) continue;
        // In use means this very copy runs: a program of the same name
        // elsewhere hides no failure.
        if (!asked) {
            running = RunningCopiesIn(folder.Path());
            asked = true;
        }
        if (std::find(running.begin(), running.end(), nr) == running.end()) failed.push_back({apply::Step::InstallStarter, error, nr});
    }
    return failed;
}

unsigned long RemoveNumberedCopy(const HeldFolder& folder, int32_t nr) {
    const std::wstring copy = folder.File(CopyNameFor(nr));
    DWORD error = 0;
    for (const std::wstring& file : {copy, copy + L".tmp", copy + L".csassembly"}) {
        ClearAttributes(file);
        if (!DeleteFileW(file.c_str()) && file == copy) error = GetLastError();
    }
    if (GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    return error != 0 ? error : ERROR_ACCESS_DENIED;  // reported deleted, yet there
}

#include "ternavo/numbered_copies.h"
#include <windows.h>
#include "common/copy_whole.h"
#include "common/ini_file.h"
#include "kestrun/rules/copyrule.h"
#include "kestrun/rules/launchrules.h"

int32_t PrepareNumberedCopies(const std::wstring& dir) {
    int32_t highest = 0;
    for (int32_t nr = kMostCopies; nr >= 1 && highest == 0; --nr)
        if (GetFileAttributesW((dir + CopyNameFor(nr)).c_str()) != INVALID_FILE_ATTRIBUTES) highest = nr;
    const int32_t count = CopiesToPrepare(ReadIniValue(dir + L"kestrun.ini", L"Kestrun", L"MaxNr"), highest);

    const std::wstring source = dir + L"ICQ.exe";
    const FileFacts icq = FactsOfFile(source);
    for (int32_t nr = 1; nr <= count; ++nr) {
        const std::wstring copy = dir + CopyNameFor(nr);
        if (NeedsCopy(JudgeCopy(icq, FactsOfFile(copy)))) CopyWhole(source, copy);
        else ClearAttributes(copy);
    }
    return count;
}

void RemoveNumberedCopy(const std::wstring& dir, int32_t nr) {
    const std::wstring copy = dir + CopyNameFor(nr);
    for (const std::wstring& file : {copy, copy + L".tmp", copy + L".csassembly"}) {
        ClearAttributes(file);
        DeleteFileW(file.c_str());
    }
}

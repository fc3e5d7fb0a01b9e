#include "kestrun/rules/copyrule.h"
#include "kestrun/rules/numbers.h"

CopyState JudgeCopy(const FileFacts& source, const FileFacts& copy) {
    if (!copy.plainFile) return CopyState::Missing;
    if (!source.plainFile || copy.size != source.size) return CopyState::StaleBySize;
    if (copy.lastWrite != source.lastWrite) return CopyState::StaleByTime;
    return CopyState::Current;
}

int32_t ChooseUsableCopy(const std::vector<CopySeen>& seen, int32_t first) {
    const auto count = static_cast<int32_t>(seen.size());
    if (count == 0) return 0;
    if (first < 1 || first > count) first = 1;
    for (bool mayRun : {false, true}) {
        for (int32_t step = 0; step < count; ++step) {
            int32_t nr = (first - 1 + step) % count + 1;
            const CopySeen& copy = seen[static_cast<size_t>(nr - 1)];
            if (copy.current && (mayRun || !copy.running)) return nr;
        }
    }
    return 0;
}

int32_t CopiesToPrepare(const std::wstring& storedMaxNr, int32_t highestCopy) {
    int32_t count = 5;
    int32_t stored = 0;
    if (ToInt32(storedMaxNr, stored) && stored >= 1 && stored <= kMostCopies && stored > count) count = stored;
    if (highestCopy > count && highestCopy <= kMostCopies) count = highestCopy;
    return count;
}

int32_t CopyNumberOf(const std::wstring& fileName) {
    const std::wstring stem = L"icq.exe";
    if (fileName.size() <= stem.size() || fileName.size() > stem.size() + 2) return 0;
    for (size_t i = 0; i < stem.size(); ++i) {
        wchar_t c = fileName[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != stem[i]) return 0;
    }
    int32_t nr = 0;
    for (size_t i = stem.size(); i < fileName.size(); ++i) {
        if (fileName[i] < L'0' || fileName[i] > L'9') return 0;
        nr = nr * 10 + (fileName[i] - L'0');
    }
    // "ICQ.exe01" is no name Kestrun gives.
    return fileName[stem.size()] == L'0' ? 0 : nr;
}

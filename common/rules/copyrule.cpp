#include "common/rules/copyrule.h"
#include "common/rules/numbers.h"

CopyState JudgeCopy(const FileFacts& source, const FileFacts& copy) {
    if (!copy.plainFile) return CopyState::Missing;
    if (!source.plainFile || copy.size != source.size) return CopyState::StaleBySize;
    if (copy.lastWrite != source.lastWrite) return CopyState::StaleByTime;
    return CopyState::Current;
}

CopyTable NewCopyTable(int32_t turn, int32_t maxNr, bool mayWrite) {
    CopyTable table;
    table.turn = turn < 1 ? 1 : turn;
    table.maxNr = maxNr < 1 ? 1 : maxNr;
    table.mayWrite = mayWrite;
    table.seen.resize(static_cast<size_t>(table.turn > table.maxNr ? table.turn : table.maxNr));
    return table;
}

void NoteRunningProgram(CopyTable& table, const std::wstring& exeFile) {
    int32_t nr = CopyNumberOf(exeFile);
    if (nr >= 1 && static_cast<size_t>(nr) <= table.seen.size()) table.seen[static_cast<size_t>(nr - 1)].running = true;
}

ChosenCopy ChooseCopy(CopyTable table, const RefreshCopy& refresh) {
    // A table made elsewhere, or cut short, is made whole: what it does not
    // hold counts as stale and not running.
    const CopyTable whole = NewCopyTable(table.turn, table.maxNr, table.mayWrite);
    if (table.seen.size() < whole.seen.size()) table.seen.resize(whole.seen.size());
    const int32_t turn = whole.turn, maxNr = whole.maxNr;
    auto seen = [&](int32_t nr) -> CopySeen& { return table.seen[static_cast<size_t>(nr - 1)]; };

    ChosenCopy chosen;
    chosen.nr = turn;
    if (!seen(turn).current && table.mayWrite) {
        chosen.copyError = refresh(turn);
        if (chosen.copyError == 0) seen(turn) = {true, false};
    } else if (!seen(turn).current) {
        // Where Kestrun may not write it touches no copy: a stale one stays
        // as the administrator's installation left it.
        chosen.copyError = kAccessDenied;
    }
    auto take = [&](int32_t nr) {
        chosen.nr = nr;
        chosen.usable = true;
        return chosen;
    };
    if (table.mayWrite && seen(turn).current) return take(turn);

    // The turn, then the cycle on from it; a turn above the maximum in force
    // goes on at 1.
    std::vector<int32_t> order{turn};
    const int32_t from = turn <= maxNr ? turn : 1;
    for (int32_t step = 0; step < maxNr; ++step) {
        int32_t nr = (from - 1 + step) % maxNr + 1;
        if (nr != turn) order.push_back(nr);
    }
    for (int32_t nr : order)
        if (seen(nr).current && !seen(nr).running) return take(nr);
    // A stale copy of the turn that runs cannot be replaced (ICQ 7 was
    // updated under an old instance): where Kestrun writes, the next copy
    // that no one runs is made current in its place.
    if (table.mayWrite && seen(turn).running) {
        for (int32_t nr : order) {
            if (seen(nr).current || seen(nr).running || nr == turn) continue;
            if (refresh(nr) == 0) return take(nr);
            break;
        }
    }
    for (int32_t nr : order)
        if (seen(nr).current) return take(nr);
    return chosen;
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

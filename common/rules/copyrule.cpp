#include "common/rules/copyrule.h"
#include <vector>
#include "common/rules/numbers.h"

CopyState JudgeCopy(const FileFacts& source, const FileFacts& copy) {
    if (!copy.plainFile) return CopyState::Missing;
    if (!source.plainFile || copy.size != source.size) return CopyState::StaleBySize;
    if (copy.lastWrite != source.lastWrite) return CopyState::StaleByTime;
    return CopyState::Current;
}

ChosenCopy ChooseCopy(int32_t turn, int32_t maxNr, bool mayWrite, const CopyLooks& look, const RefreshCopy& refresh) {
    if (turn < 1) turn = 1;
    if (maxNr < 1) maxNr = 1;
    // What has been looked up of each copy, ICQ.exe1 .. ICQ.exeN with N the
    // larger of turn and maximum: -1 not yet, else 0 or 1.
    const size_t count = static_cast<size_t>(turn > maxNr ? turn : maxNr);
    std::vector<signed char> current(count, -1), running(count, -1);
    auto ask = [](std::vector<signed char>& known, const std::function<bool(int32_t)>& lookUp, int32_t nr) {
        signed char& fact = known[static_cast<size_t>(nr - 1)];
        if (fact < 0) fact = lookUp(nr) ? 1 : 0;
        return fact == 1;
    };
    auto isCurrent = [&](int32_t nr) { return ask(current, look.current, nr); };
    auto isRunning = [&](int32_t nr) { return ask(running, look.running, nr); };

    ChosenCopy chosen;
    chosen.nr = turn;
    const bool turnCurrent = isCurrent(turn);
    if (!turnCurrent && mayWrite) {
        chosen.copyError = refresh(turn);
        // Replaced in place: the copy is current, and no process runs it.
        if (chosen.copyError == 0) {
            current[static_cast<size_t>(turn - 1)] = 1;
            running[static_cast<size_t>(turn - 1)] = 0;
        }
    } else if (!turnCurrent) {
        // Where Kestrun may not write it touches no copy: a stale one stays
        // as the administrator's installation left it.
        chosen.copyError = kAccessDenied;
    }
    auto take = [&](int32_t nr) {
        chosen.nr = nr;
        chosen.usable = true;
        return chosen;
    };
    if (mayWrite && isCurrent(turn)) return take(turn);

    // The turn, then the cycle on from it; a turn above the maximum in force
    // goes on at 1.
    std::vector<int32_t> order{turn};
    const int32_t from = turn <= maxNr ? turn : 1;
    for (int32_t step = 0; step < maxNr; ++step) {
        int32_t nr = (from - 1 + step) % maxNr + 1;
        if (nr != turn) order.push_back(nr);
    }
    for (int32_t nr : order)
        if (isCurrent(nr) && !isRunning(nr)) return take(nr);
    // A stale copy of the turn that runs cannot be replaced (ICQ 7 was
    // updated under an old instance): where Kestrun writes, the next copy
    // that no one runs is made current in its place.
    if (mayWrite && isRunning(turn)) {
        for (int32_t nr : order) {
            if (nr == turn || isCurrent(nr) || isRunning(nr)) continue;
            if (refresh(nr) == 0) return take(nr);
            break;
        }
    }
    for (int32_t nr : order)
        if (isCurrent(nr)) return take(nr);
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

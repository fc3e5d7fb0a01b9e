#include "kestrun/copies.h"
#include <windows.h>
#include <vector>
#include "common/copy_whole.h"
#include "common/winutil.h"
#include "kestrun/rules/copyrule.h"
#include "kestrun/rules/launchrules.h"

namespace {

// Whether this user may create files in `dir`, tried once per run by making a
// file that the system deletes as soon as it is closed. Only "access denied"
// says no: a path the system cannot take or a leftover of that name leaves
// Kestrun where it always was, in its own folder, with the errors it reports there.
bool MayWriteIn(const std::wstring& dir) {
    static int known = -1;
    if (known < 0) {
        HANDLE probe = CreateFileW((dir + L"kestrun.ini.probe").c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (probe != INVALID_HANDLE_VALUE) {
            CloseHandle(probe);
            known = 1;
        } else {
            known = GetLastError() == ERROR_ACCESS_DENIED ? 0 : 1;
        }
    }
    return known == 1;
}

// The user's own folder for Kestrun's settings, ending in "\"; empty when the
// system names none. Windows before Vista has no LOCALAPPDATA: APPDATA there.
std::wstring UserSettingsFolder() {
    for (const wchar_t* name : {L"LOCALAPPDATA", L"APPDATA"}) {
        wchar_t buf[MAX_PATH];
        DWORD n = GetEnvironmentVariableW(name, buf, MAX_PATH);
        if (n > 0 && n < MAX_PATH) return win::WithBackslash(std::wstring(buf, n)) + L"Kestrun\\";
    }
    return L"";
}

}  // namespace

std::wstring SettingsFileFor(const std::wstring& programDir) {
    std::wstring beside = programDir + L"kestrun.ini";
    if (MayWriteIn(programDir)) return beside;
    std::wstring own = UserSettingsFolder();
    if (own.empty()) return beside;
    CreateDirectoryW(own.c_str(), nullptr);
    return own + L"kestrun.ini";
}

ChosenCopy PrepareCopy(const std::wstring& programDir, int32_t turn, int32_t maxNr) {
    ChosenCopy chosen;
    chosen.nr = turn;
    const std::wstring source = programDir + L"ICQ.exe";
    const FileFacts icq = FactsOfFile(source);
    auto isCurrent = [&](int32_t nr) { return !NeedsCopy(JudgeCopy(icq, FactsOfFile(programDir + CopyNameFor(nr)))); };

    // A current copy is what a new one would be, byte for byte: it stays, and
    // the 20 MB of ICQ.exe are not written again.
    bool current = isCurrent(turn);
    if (!current) {
        chosen.copyError = CopyWhole(source, programDir + CopyNameFor(turn));
        current = chosen.copyError == 0;
    }
    const bool mayWrite = MayWriteIn(programDir);
    std::vector<bool> running;
    if (current && !mayWrite) running = RunningCopies(maxNr);
    // Where Kestrun writes, the turn's copy is started even when it runs, as
    // ever; where it cannot, a copy no one runs comes first.
    if (current && (mayWrite || !running[static_cast<size_t>(turn)])) {
        chosen.usable = true;
        return chosen;
    }

    // The turn's copy is stale and cannot be made anew (the folder is not
    // ours, or the stale copy runs), or it runs: another current copy serves.
    if (running.empty()) running = RunningCopies(maxNr);
    std::vector<CopySeen> seen(static_cast<size_t>(maxNr));
    for (int32_t nr = 1; nr <= maxNr; ++nr)
        seen[static_cast<size_t>(nr - 1)] = {nr == turn ? current : isCurrent(nr), running[static_cast<size_t>(nr)]};
    if (int32_t other = ChooseUsableCopy(seen, turn)) {
        chosen.nr = other;
        chosen.usable = true;
    }
    return chosen;
}

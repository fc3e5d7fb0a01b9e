#include "kestrun/copies.h"
#include <windows.h>
#include <algorithm>
#include "common/copy_whole.h"
#include "common/winutil.h"
#include "kestrun/rules/launchrules.h"

namespace {

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

bool MayWriteIn(const std::wstring& dir) {
    // A name of this run's own: a probe of another Kestrun that the system
    // has not deleted yet (a scanner still holds it) would answer "access
    // denied" to the same name, although the folder is open.
    const std::wstring probePath = dir + L"kestrun-" + DecimalText(GetCurrentProcessId()) + L"-" +
                                   DecimalText(GetTickCount()) + L".probe";
    win::Handle probe(CreateFileW(probePath.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return probe || GetLastError() != ERROR_ACCESS_DENIED;
}

std::wstring SettingsFileFor(const std::wstring& programDir, bool mayWrite) {
    std::wstring beside = programDir + L"kestrun.ini";
    if (mayWrite) return beside;
    std::wstring own = UserSettingsFolder();
    if (own.empty()) return beside;
    CreateDirectoryW(own.c_str(), nullptr);
    return own + L"kestrun.ini";
}

ChosenCopy PrepareCopy(const std::wstring& programDir, int32_t turn, int32_t maxNr, bool mayWrite) {
    const std::wstring source = programDir + L"ICQ.exe";
    const FileFacts icq = FactsOfFile(source);
    // The running copies are asked for once, and only when the choice needs
    // them: a launch whose copy is current looks at two files and nothing else.
    std::vector<int32_t> running;
    bool runningKnown = false;
    const CopyLooks look{
        [&](int32_t nr) { return !NeedsCopy(JudgeCopy(icq, FactsOfFile(programDir + CopyNameFor(nr)))); },
        [&](int32_t nr) {
            if (!runningKnown) {
                running = RunningCopiesIn(programDir);
                runningKnown = true;
            }
            return std::find(running.begin(), running.end(), nr) != running.end();
        }};
    // A copy made current is what a new one would be, byte for byte; a current
    // one stays, and the 20 MB of ICQ.exe are not written again.
    return ChooseCopy(turn, maxNr, mayWrite, look,
                      [&](int32_t nr) { return CopyWhole(source, programDir + CopyNameFor(nr)); });
}

#include "ternavo/steps/icq7path.h"
#include "common/files.h"
#include "common/winutil.h"
#include "ternavo/system/file_version.h"
#include "ternavo/system/long_path.h"
#include "ternavo/system/registry.h"
#include "ternavo/rules/icq7search.h"

bool IsICQDirectory(const std::wstring& dir) {
    std::wstring d = win::WithBackslash(dir);
    // Both files are always looked at, even when the first is missing.
    bool core = FileExists(d + L"MCore.dll");
    bool program = FileExists(d + L"ICQ.exe");
    return d.size() > 3 && core && program;
}

bool IsICQ7Version(const std::wstring& dirWithBackslash) {
    bool program = icq7::IsICQ7VersionText(GetFileVersion(dirWithBackslash + L"ICQ.exe"));
    bool core = icq7::IsICQ7VersionText(GetFileVersion(dirWithBackslash + L"MCore.dll"));
    return program && core;
}

namespace {

HKEY RootOf(icq7::Source source) {
    switch (source) {
        case icq7::Source::HKLM: return HKEY_LOCAL_MACHINE;
        case icq7::Source::HKCU: return HKEY_CURRENT_USER;
        case icq7::Source::HKCR: return HKEY_CLASSES_ROOT;
        default: return nullptr;
    }
}

}  // namespace

ICQDirectoryFound FindICQDirectory(const std::wstring& programDir) {
    // One text for all passes: a registry value that cannot be read leaves the
    // previous pass's text in place, and that text is then tested again under
    // this pass's cleaning rules.
    std::wstring raw;
    for (int i = 0; i < icq7::kCandidateCount; ++i) {
        const icq7::Candidate& c = icq7::kCandidates[i];
        switch (c.source) {
            case icq7::Source::ProgramDir: raw = win::WithBackslash(programDir); break;
            case icq7::Source::Fixed: raw = c.key; break;
            default: RegReadValue(RootOf(c.source), c.key, c.value, raw); break;
        }
        std::wstring dir = icq7::CleanCandidate(raw, i, GetLongPath);
        if (IsICQDirectory(dir)) return {i, dir};
    }
    return {};
}

std::wstring FindICQ7Directory(const std::wstring& programDir) {
    ICQDirectoryFound found = FindICQDirectory(programDir);
    // An older or newer ICQ found first ends the search: later candidates are not tried.
    if (found.index < 0 || !IsICQ7Version(found.dir)) return {};
    return found.dir.substr(0, found.dir.size() - 1);
}

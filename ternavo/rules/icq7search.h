#pragma once
// Where Ternavo looks for ICQ 7 and how it turns what it finds there into a
// folder to test. Platform-free, so that it can be unit-tested and fuzzed natively.
#include <functional>
#include <string>

namespace icq7 {

// Where the raw text of a candidate comes from.
enum class Source {
    ProgramDir,  // Ternavo's own folder
    Fixed,       // a fixed folder (`key` holds it)
    HKLM,        // a registry value: `key` below the root, value `value` ("" = the default value)
    HKCU,
    HKCR,
};

struct Candidate {
    Source source;
    const wchar_t* key;
    const wchar_t* value;
};

constexpr int kCandidateCount = 24;
// The places the installers of ICQ 7 are known to use, tried in this order.
extern const Candidate kCandidates[kCandidateCount];

// Turns the raw text of candidate `index` into the folder to test (always
// ending in "\"). `longPath` gives the long form of a path, or the path itself
// when it cannot be converted.
std::wstring CleanCandidate(const std::wstring& raw, int index,
                            const std::function<std::wstring(const std::wstring&)>& longPath);

// True when a version text "major.minor.build.revision" belongs to ICQ 7:
// it must begin with "7." exactly, so 17.x and 70.x do not pass.
bool IsICQ7VersionText(const std::wstring& version);

}  // namespace icq7

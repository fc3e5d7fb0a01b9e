#pragma once
// The ICQ 7 search: which folder holds ICQ, which holds ICQ 7, and the
// search over the known places for the folder that start-up shows.
#include <string>

// A folder with both ICQ.exe and MCore.dll.
bool IsICQDirectory(const std::wstring& dir);
// Both files' versions begin with "7.".
bool IsICQ7Version(const std::wstring& dirWithBackslash);

struct ICQDirectoryFound {
    int index = -1;    // the candidate that was accepted, -1 when none
    std::wstring dir;  // its cleaned folder, ending in "\"
};

// Tries the candidates in order and stops at the first ICQ folder (any version).
// It pumps no messages: Ternavo runs it once its main window is shown, and
// what the user does meanwhile waits until it has ended.
ICQDirectoryFound FindICQDirectory(const std::wstring& programDir);
// The ICQ 7 folder without trailing "\", or empty text when the first ICQ
// folder found is not ICQ 7 or none was found.
std::wstring FindICQ7Directory(const std::wstring& programDir);

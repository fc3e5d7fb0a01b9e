#pragma once
// The ICQ 7 search in detail (GetICQ7Path in app.h puts its result into the
// settings dialog).
#include <string>

struct ICQDirectoryFound {
    int index = -1;    // the candidate that was accepted, -1 when none
    std::wstring dir;  // its cleaned folder, ending in "\"
};

// Tries the candidates in order and stops at the first ICQ folder (any version).
ICQDirectoryFound FindICQDirectory(const std::wstring& programDir);
// The ICQ 7 folder without trailing "\", or empty text when the first ICQ
// folder found is not ICQ 7 or none was found.
std::wstring FindICQ7Directory(const std::wstring& programDir);

#include "common/files.h"
#include <windows.h>

bool FileExists(const std::wstring& path) {
    // A direct attribute query: no automation object needed, and folders do not count.
    if (path.empty()) return false;
    DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

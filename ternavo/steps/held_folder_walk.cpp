#include "ternavo/steps/held_folder_looks.h"

// Any folder on the way to `path` (the drive's root left out) that is a
// junction or symbolic link. Asked by name, one folder at a time: that is what
// every Windows and Wine report, even before the system has final paths.
bool LinkOnTheWay(const std::wstring& path) {
    // The first name below the root: after "C:\" or after "\\server\share\".
    size_t root = 2;
    if (path.rfind(L"\\\\", 0) == 0) {
        root = path.find(L'\\', path.find(L'\\', 2) + 1);
        if (root == std::wstring::npos) return false;  // the share itself
    }
    for (size_t cut = path.find(L'\\', root + 1);; cut = path.find(L'\\', cut + 1)) {
        DWORD attributes = GetFileAttributesW(path.substr(0, cut).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        if (cut == std::wstring::npos) return false;
    }
}

#include "ternavo/system/special_folder.h"
#include <shlobj.h>

// No owner window: the folders asked for here exist already and need no dialog.
std::wstring GetSpecialFolder(int csidl) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return {};
    wchar_t path[512] = {};
    BOOL ok = SHGetPathFromIDListW(items, path);
    CoTaskMemFree(items);
    return ok ? std::wstring(path) : std::wstring();
}

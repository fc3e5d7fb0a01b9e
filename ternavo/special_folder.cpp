#include "ternavo/special_folder.h"
#include <shlobj.h>
#include "ternavo/main_window.h"

std::wstring GetSpecialFolder(int csidl) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(MainWindow(), csidl, &items)) || !items) return {};
    wchar_t path[512] = {};
    BOOL ok = SHGetPathFromIDListW(items, path);
    CoTaskMemFree(items);
    return ok ? std::wstring(path) : std::wstring();
}

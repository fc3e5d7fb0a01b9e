#include "ternavo/system/long_path.h"
#include <windows.h>
#include <vector>

std::wstring GetLongPath(const std::wstring& path) {
    // A path of MAX_PATH characters or more is not converted: the registry
    // texts of the ICQ 7 search can be that long, and the system's conversion
    // of a very long name overran its own buffer (seen under Wine with a
    // 64 KB value) and ended Ternavo at start-up.
    if (path.size() >= MAX_PATH) return path;
    std::vector<wchar_t> buffer(260);
    for (;;) {
        DWORD n = GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return path;
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(n + 1);  // a long form of 260 characters or more: ask again with room for it
    }
}

std::wstring GetFullPath(const std::wstring& path) {
    if (path.empty()) return path;
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (n == 0) return path;
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(n);  // too small: n is the room needed, its NUL included
    }
}

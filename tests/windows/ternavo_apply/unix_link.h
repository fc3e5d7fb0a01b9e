#pragma once
// Links as a standard user could plant them, made from inside a Wine test.
#include <windows.h>
#include <string>
#include "tests/windows/support/wt.h"

namespace wt {

// A Unix symbolic link in the prefix. Wine reports one that points at a
// folder as a reparse point (0x410); one that points at a file reads as a
// plain file there, so the tests link folders.
inline bool MakeUnixLink(const std::wstring& target, const std::wstring& link) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return false;
    auto wide = [&](const std::wstring& path) {
        char* name = unixName(path.c_str());
        std::string s = name ? name : "";
        HeapFree(GetProcessHeap(), 0, name);
        return std::wstring(s.begin(), s.end());  // the test folders are ASCII
    };
    wt::Process ln(L"C:\\windows\\system32\\start.exe",
                   L"/wait /unix /bin/ln -s \"" + wide(target) + L"\" \"" + wide(link) + L"\"");
    ln.WaitExit(15000);
    return wt::WaitFor([&] { return (GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                                    GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; },
                       5000);
}

}  // namespace wt

#pragma once
// Copies of the stand-in MCore.dll that carry any file version we need.
#include <windows.h>
#include <string>
#include <vector>
#include "tests/windows/support/wt.h"

namespace versioned {

// A version resource holding only the fixed file information.
inline std::vector<BYTE> VersionBlock(WORD a, WORD b, WORD c, WORD d) {
    std::vector<BYTE> block(92, 0);
    auto put16 = [&](size_t at, WORD v) { memcpy(&block[at], &v, 2); };
    put16(0, 92);  // wLength
    put16(2, sizeof(VS_FIXEDFILEINFO));
    put16(4, 0);  // binary
    const wchar_t key[] = L"VS_VERSION_INFO";
    memcpy(&block[6], key, sizeof(key));
    VS_FIXEDFILEINFO info{};
    info.dwSignature = 0xFEEF04BD;
    info.dwStrucVersion = 0x10000;
    info.dwFileVersionMS = MAKELONG(b, a);
    info.dwFileVersionLS = MAKELONG(d, c);
    info.dwProductVersionMS = MAKELONG(9, 9);  // never looked at
    memcpy(&block[40], &info, sizeof(info));
    return block;
}

inline BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) {
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(lang);
    return TRUE;
}

// Writes `path` as a PE file whose only version resource says a.b.c.d.
inline bool Make(const std::wstring& path, WORD a, WORD b, WORD c, WORD d) {
    std::wstring source = wt::FixtureDir(L"icq7") + L"MCore.dll";
    if (!CopyFileW(source.c_str(), path.c_str(), FALSE)) return false;
    std::vector<WORD> languages;
    if (HMODULE m = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        EnumResourceLanguagesW(m, RT_VERSION, MAKEINTRESOURCEW(1), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        FreeLibrary(m);
    }
    HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
    if (!update) return false;
    for (WORD lang : languages) UpdateResourceW(update, RT_VERSION, MAKEINTRESOURCEW(1), lang, nullptr, 0);
    std::vector<BYTE> block = VersionBlock(a, b, c, d);
    UpdateResourceW(update, RT_VERSION, MAKEINTRESOURCEW(1), 0x409, block.data(), static_cast<DWORD>(block.size()));
    return EndUpdateResourceW(update, FALSE) != FALSE;
}

}  // namespace versioned

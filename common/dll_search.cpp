#include "common/dll_search.h"
#include <delayimp.h>
#include <string>

namespace {

// Whether the default search already stops at the system folder.
bool searchLimited = false;

bool BoundByManifest(const wchar_t* name) {
    ACTCTX_SECTION_KEYED_DATA found{};
    found.cbSize = sizeof(found);
    return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &found) != FALSE;
}

// The delay-load helper asks before it loads a DLL by its bare name (which
// would search the program's folder first); the DLL this returns is used.
// Handing back nothing would let the helper load the bare name after all, so
// a DLL the system folder cannot give ends the program instead.
FARPROC WINAPI BeforeDelayLoad(unsigned notice, PDelayLoadInfo info) {
    if (notice != dliNotePreLoadLibrary) return nullptr;
    std::wstring name;
    if (info->szDll)
        for (const char* c = info->szDll; *c; ++c) name.push_back(static_cast<unsigned char>(*c));
    HMODULE library = name.empty() ? nullptr : LoadSystemLibrary(name.c_str());
    if (!library) ExitProcess(kSystemLibraryMissingExitCode);
    return reinterpret_cast<FARPROC>(library);
}

}  // namespace

void LimitLibrarySearchToSystemFolder() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"));
    searchLimited = setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    __pfnDliNotifyHook2 = BeforeDelayLoad;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (BoundByManifest(name)) return LoadLibraryW(name);
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    // Without the limited default search, the DLL's own imports are looked
    // for in its folder first rather than in the program's.
    return LoadLibraryExW(path.c_str(), nullptr, searchLimited ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

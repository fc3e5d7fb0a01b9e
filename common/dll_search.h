#pragma once
// Libraries that the programs load themselves (delay-loaded system DLLs, the
// lookups before GetProcAddress) come from the system folder only, never from
// the program's own folder: Ternavo is usually started from the Downloads
// folder, and a DLL planted there under a system DLL's name would run inside
// it, with administrator rights after Start.
#include <windows.h>

// The exit code of a program whose delay-loaded system DLL could not be
// loaded from the system folder: the program ends at that call rather than
// load a DLL of that name from anywhere else. The value is the system's own
// error code for a module that was not found (ERROR_MOD_NOT_FOUND).
constexpr UINT kSystemLibraryMissingExitCode = 126;

// First thing in wWinMain: where Windows offers it (8 and later, 7 with its
// update), the default library search is limited to the system folder; on
// every Windows the delay-load helper loads by full path in the system folder.
void LimitLibrarySearchToSystemFolder();

// Loads a system DLL (a plain name such as L"shell32.dll") by its full path in
// the system folder. A DLL that the program's manifest binds side by side (the
// common controls 6.0) is loaded by name: Windows takes it from its own
// assembly store then, before any folder.
HMODULE LoadSystemLibrary(const wchar_t* name);

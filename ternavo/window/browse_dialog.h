#pragma once
// The shell's file browse dialog.
#include <windows.h>
#include <string>

// The file browse dialog of the shell; the chosen file's full path, or empty
// text when the user cancels. The filter alternates display text and pattern,
// separated by "|".
std::wstring BrowseForFile(HWND owner, const std::wstring& initialDir = L"",
                           const std::wstring& filter = L"Alle Dateien|*.*", const std::wstring& defaultExt = L"",
                           const std::wstring& title = L"Datei wählen");

#pragma once
// Desktop shortcuts (shell links).
#include <windows.h>
#include <string>

// Creates (or overwrites) the shortcut file `link` pointing at `target`, with
// `workingDir` as working folder and the target's own first icon.
HRESULT CreateShortcut(const std::wstring& target, const std::wstring& link, const std::wstring& workingDir);

#pragma once
// The ICQ 7 folder as the administrator's run will see it. Drive letters that
// the user made ("subst") or mapped to a network share belong to the user's
// own logon session; the worker, started "as administrator", runs in another
// session and lacks them.
#include <string>

// `dir` (a full path) with a substituted drive replaced by its folder and a
// mapped network drive by its network path ("\\server\share\..."); any other
// path unchanged. Empty text when the path lies on a network drive or a
// substituted drive whose real place the system does not tell: the user then
// has to choose the folder by its real drive (the window says so).
std::wstring PathForAdministrator(const std::wstring& dir);

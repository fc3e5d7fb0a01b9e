#pragma once
// Long (not 8.3) and full (not relative) forms of paths.
#include <string>

// Long form of a path; the path unchanged when it cannot be converted (for
// instance because it does not exist or has arguments after it).
std::wstring GetLongPath(const std::wstring& path);

// Absolute form of a path, taken against the current folder and drive; the
// path unchanged when the system cannot give one (the empty text, for instance).
std::wstring GetFullPath(const std::wstring& path);

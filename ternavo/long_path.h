#pragma once
// Long (not 8.3) forms of paths.
#include <string>

// Long form of a path; the path unchanged when it cannot be converted (for
// instance because it does not exist or has arguments after it).
std::wstring GetLongPath(const std::wstring& path);

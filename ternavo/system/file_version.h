#pragma once
// The version resource of a file.
#include <string>

// "major.minor.build.revision" of a file's version resource; empty text for a
// file without one.
std::wstring GetFileVersion(const std::wstring& path);

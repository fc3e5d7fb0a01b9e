#pragma once
// The file test both programs use.
#include <string>

// True only for an existing file: a folder, an empty path or a missing drive give false.
bool FileExists(const std::wstring& path);

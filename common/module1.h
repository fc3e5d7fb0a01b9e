#pragma once
// Settings-file, locale and file helpers shared by both programs. None of them
// reports an error: each returns its benign failure value instead.
#include <string>
#include "common/rules/digits.h"

// Value of section/key in an INI file; empty text when the file, section or key is missing.
std::wstring ReadIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key);
// Writes one key; the system creates file and section when they are missing.
void WriteIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value);
// Item of the system default locale (not the user's), e.g. 4 = native language name.
std::wstring ReadLocaleInfo(unsigned long item);
// True only for an existing file: a folder, an empty path or a missing drive give false.
bool FileExists(const std::wstring& path);

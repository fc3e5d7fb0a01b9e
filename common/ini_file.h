#pragma once
// Reading and writing one key of a settings (INI) file. Neither reports an
// error: a missing file, section or key reads as empty text, and a write that
// fails is lost.
#include <string>
#include <utility>
#include <vector>

// Value of section/key in an INI file; empty text when the file, section or key is missing.
std::wstring ReadIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key);
// Writes one key; the system creates file and section when they are missing.
// False when it could not be written (the system's reason in GetLastError).
bool WriteIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value);

// Every key of one section, read from the file at once: a program that needs
// several keys at its start looks at the file once instead of once per key.
// Value() gives what ReadIniValue would give for that key.
class IniSection {
public:
    IniSection(const std::wstring& file, const std::wstring& section);
    std::wstring Value(const std::wstring& key) const;

private:
    std::vector<std::pair<std::wstring, std::wstring>> entries_;  // in file order
};

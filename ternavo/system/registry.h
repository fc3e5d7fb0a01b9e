#pragma once
// Ternavo's registry access: keys and values in the view the older ICQ
// generations use. None of them shows a message; each returns a plain value.
#include <windows.h>
#include <cstdint>
#include <string>

// Ours, not the old Win16-style registry call of the same name.
#undef RegCreateKey

// The older ICQ generations are 32-bit programs and read the 32-bit registry
// view. Ternavo reads and writes exactly where they do: a 64-bit build adds
// the view flag that a 32-bit program gets implicitly. Returns the flag for a
// key (0 where no view applies).
REGSAM RegistryView(HKEY root, const std::wstring& key);

// True only when the key did not exist and was created (with missing parents).
bool RegCreateKey(HKEY root, const std::wstring& key, const std::wstring& className);
// True when the key can be opened for reading.
bool RegKeyExists(HKEY root, const std::wstring& key);
// Writes into an existing key (never creates it). False on failure, a key
// that cannot be opened included; GetLastError() then gives the reason.
bool RegWriteValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
bool RegWriteValue(HKEY root, const std::wstring& key, const std::wstring& name, int32_t value);
// Reads a value as text into `out`: 0 on success, else the Windows error code
// and `out` is left as it was. An empty name reads the key's default value.
long RegReadValue(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& out);

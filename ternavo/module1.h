#pragma once
// Ternavo's wrappers of the Windows services its windows need: registry, the
// Windows family, long path names, file versions, special folders, its own
// resources, desktop shortcuts and the file browse dialog. None of them shows
// a message; each returns a plain value.
#include <windows.h>
#include <cstdint>
#include <string>

// Ours, not the old Win16-style registry call of the same name.
#undef RegCreateKey

// The file browse dialog of the shell; the chosen file's full path, or empty
// text when the user cancels. The filter alternates display text and pattern,
// separated by "|".
std::wstring BrowseForFile(HWND owner, const std::wstring& initialDir = L"",
                           const std::wstring& filter = L"Alle Dateien|*.*", const std::wstring& defaultExt = L"",
                           const std::wstring& title = L"Datei wählen");

bool IsWindowsNT();

// The older ICQ generations are 32-bit programs and read the 32-bit registry
// view. Ternavo reads and writes exactly where they do: a 64-bit build adds
// the view flag that a 32-bit program gets implicitly. Returns the flag for a
// key (0 where no view applies).
REGSAM RegistryView(HKEY root, const std::wstring& key);

// True only when the key did not exist and was created (with missing parents).
bool RegCreateKey(HKEY root, const std::wstring& key, const std::wstring& className);
// True when the key can be opened for reading.
bool RegKeyExists(HKEY root, const std::wstring& key);
// Writes into an existing key (never creates it). False on failure; a key that
// cannot be opened also sets LastStatus to "No!".
bool RegWriteValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
bool RegWriteValue(HKEY root, const std::wstring& key, const std::wstring& name, int32_t value);
// Reads a value as text into `out`: 0 on success, else the Windows error code
// and `out` is left as it was. An empty name reads the key's default value.
long RegReadValue(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& out);

// Long form of a path; the path unchanged when it cannot be converted (for
// instance because it does not exist or has arguments after it).
std::wstring GetLongPath(const std::wstring& path);

// "major.minor.build.revision" of a file's version resource; empty text for a
// file without one.
std::wstring GetFileVersion(const std::wstring& path);

// Writes resource `id` of type `typeName` (of `module`, nullptr = this program)
// into `target` as a whole: the bytes go to a new file beside it that then
// replaces `target`, so a failure never leaves a half-written file. 0 on
// success, else the error number and LastStatus = "No!".
long ExtractResource(int16_t id, const std::wstring& typeName, const std::wstring& target,
                     HMODULE module = nullptr);

// Creates (or overwrites) the shortcut file `link` pointing at `target`, with
// `workingDir` as working folder and the target's own first icon.
HRESULT CreateShortcut(const std::wstring& target, const std::wstring& link, const std::wstring& workingDir);

// Path of a shell folder (CSIDL) without trailing "\"; empty text when unknown.
std::wstring GetSpecialFolder(int csidl);

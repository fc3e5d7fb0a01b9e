#include "common/ini_file.h"
#include "common/winutil.h"

namespace {

// The system's settings-file functions take a path of fewer than MAX_PATH
// characters; given a longer one, they may read and write the settings file
// opened before it instead. A longer path is reached through the short form of
// its folder; when even that is too long, the file counts as missing and
// nothing is written. The empty text stands for such a file.
std::wstring ProfilePath(const std::wstring& file) {
    if (file.size() < MAX_PATH) return file;
    size_t slash = file.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    std::wstring dir = file.substr(0, slash);
    std::wstring longForm = dir;
    if (dir.compare(0, 4, L"\\\\?\\") != 0)
        longForm = dir.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC\\" + dir.substr(2) : L"\\\\?\\" + dir;
    std::wstring shortDir(32768, L'\0');
    DWORD n = GetShortPathNameW(longForm.c_str(), shortDir.data(), static_cast<DWORD>(shortDir.size()));
    if (n == 0 || n >= shortDir.size()) return {};
    shortDir.resize(n);
    if (shortDir.compare(0, 8, L"\\\\?\\UNC\\") == 0) shortDir = L"\\\\" + shortDir.substr(8);
    else if (shortDir.compare(0, 4, L"\\\\?\\") == 0) shortDir.erase(0, 4);
    std::wstring shortFile = shortDir + file.substr(slash);
    return shortFile.size() < MAX_PATH ? shortFile : std::wstring();
}

}  // namespace

std::wstring ReadIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    std::wstring path = ProfilePath(file);
    // (An empty name would make the system read its own win.ini.)
    if (path.empty()) return {};
    // 9999 characters: a longer value is cut to 9998, as the settings files have always been read.
    std::wstring buf(9999, L' ');
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), nullptr, buf.data(), 9999, path.c_str());
    buf.resize(n);
    return buf;
}

bool WriteIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) {
    std::wstring path = ProfilePath(file);
    if (path.empty()) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

#include "common/ini_file.h"
#include <cwchar>
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

// 9999 characters: a longer value is cut to 9998, as the settings files have always been read.
constexpr DWORD kValueChars = 9999;

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

std::wstring ReadIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    std::wstring path = ProfilePath(file);
    // (An empty name would make the system read its own win.ini.)
    if (path.empty()) return {};
    std::wstring buf(kValueChars, L' ');
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), nullptr, buf.data(), kValueChars, path.c_str());
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

IniSection::IniSection(const std::wstring& file, const std::wstring& section) {
    std::wstring path = ProfilePath(file);
    if (path.empty()) return;
    // "key=value" texts one after the other, each ending in a NUL; a buffer
    // that was too small comes back filled to two characters short of its size.
    std::wstring buf(16384, L'\0');
    DWORD n;
    for (;;) {
        n = GetPrivateProfileSectionW(section.c_str(), buf.data(), static_cast<DWORD>(buf.size()), path.c_str());
        if (n + 2 < buf.size() || buf.size() >= (1u << 24)) break;
        buf.assign(buf.size() * 4, L'\0');
    }
    for (size_t at = 0; at < n;) {
        size_t end = buf.find(L'\0', at);
        if (end == std::wstring::npos || end > n) end = n;
        std::wstring line = buf.substr(at, end - at);
        at = end + 1;
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;  // a line without a value reads as empty
        entries_.emplace_back(Trimmed(line.substr(0, eq)), Trimmed(line.substr(eq + 1)));
    }
}

std::wstring IniSection::Value(const std::wstring& key) const {
    const std::wstring wanted = Trimmed(key);
    for (const auto& [name, stored] : entries_) {
        if (_wcsicmp(name.c_str(), wanted.c_str()) != 0) continue;
        std::wstring value = stored;
        // One pair of matching quotes around the value is taken off, as the
        // system does when it reads one key.
        if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        if (value.size() > kValueChars - 1) value.resize(kValueChars - 1);
        return value;
    }
    return {};
}

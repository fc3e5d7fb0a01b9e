#include "common/module1.h"
#include "common/winutil.h"

std::wstring ReadIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    // 9999 characters: a longer value is cut to 9998, as the settings files have always been read.
    std::wstring buf(9999, L' ');
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), nullptr, buf.data(), 9999, file.c_str());
    buf.resize(n);
    return buf;
}

void WriteIniValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) {
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

std::wstring ReadLocaleInfo(unsigned long item) {
    LCID lcid = GetSystemDefaultLCID();
    int size = GetLocaleInfoW(lcid, item, nullptr, 0);
    if (size <= 0) return {};
    std::wstring buf(static_cast<size_t>(size), L'\0');
    int n = GetLocaleInfoW(lcid, item, buf.data(), size);
    if (n <= 0) return {};
    buf.resize(static_cast<size_t>(n) - 1);
    return buf;
}

bool FileExists(const std::wstring& path) {
    // A direct attribute query: no automation object needed, and folders do not count.
    if (path.empty()) return false;
    DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

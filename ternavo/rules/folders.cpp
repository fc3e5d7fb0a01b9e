#include "ternavo/rules/folders.h"

namespace folders {

namespace {

// File names compare without regard to case; "ICQ.exe" needs only ASCII letters.
wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameNameNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace

std::wstring FolderOfPickedIcq(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos || !SameNameNoCase(path.substr(slash + 1), L"ICQ.exe")) return {};
    return path.substr(0, slash);
}

}  // namespace folders

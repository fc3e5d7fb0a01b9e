#include "ternavo/window/browse_dialog.h"
#include <vector>
#include "common/dll_search.h"
#include "common/winutil.h"

std::wstring BrowseForFile(HWND owner, const std::wstring& initialDir, const std::wstring& filter,
                           const std::wstring& defaultExt, const std::wstring& title) {
    // The shell exports this dialog by ordinal only.
    using BrowseFn = BOOL(WINAPI*)(HWND, LPWSTR, UINT, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR);
    win::Library shell(LoadSystemLibrary(L"shell32.dll"));
    if (!shell.get()) return {};
    auto browse = reinterpret_cast<BrowseFn>(GetProcAddress(shell.get(), MAKEINTRESOURCEA(63)));
    if (!browse) return {};

    // "Text|pattern|..." becomes the dialog's list: NUL-separated, ending in two NULs.
    std::wstring list = filter;
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    list.push_back(L'\0');

    // A blank buffer: the dialog's file box starts empty, and a cancelled
    // dialog leaves it empty, which is the "no choice" answer.
    std::vector<wchar_t> buffer(257, L'\0');
    win::ComScope com;  // the file dialog hosts shell objects
    browse(owner, buffer.data(), 256, initialDir.empty() ? nullptr : initialDir.c_str(),
           defaultExt.empty() ? nullptr : defaultExt.c_str(), list.c_str(), title.c_str());
    std::wstring chosen(buffer.data());
    size_t first = chosen.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    size_t last = chosen.find_last_not_of(L' ');
    return chosen.substr(first, last - first + 1);
}

#include "common/winutil.h"

namespace win {

std::wstring ModulePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) { buf.resize(n); return buf; }
        buf.resize(buf.size() * 2);  // long paths: grow until the name fits
    }
}

std::wstring ModuleDir() {
    std::wstring path = ModulePath();
    size_t slash = path.find_last_of(L"\\/");
    return WithBackslash(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::wstring WithBackslash(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

namespace {
bool quitRequested = false;
}

bool DoEvents() {
    MSG msg;
    while (!quitRequested && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {  // keep the quit for the main loop
            quitRequested = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return !quitRequested;
}

bool QuitRequested() { return quitRequested; }

std::wstring SystemErrorText(DWORD code, bool english) {
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    WORD language = MAKELANGID(english ? LANG_ENGLISH : LANG_GERMAN, SUBLANG_DEFAULT);
    for (DWORD langId : {static_cast<DWORD>(language), 0ul}) {
        wchar_t* buf = nullptr;
        DWORD n = FormatMessageW(flags, nullptr, code, langId, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
        if (!buf) continue;
        std::wstring text(buf, n);
        LocalFree(buf);
        if (n) return text;
    }
    return {};
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace win

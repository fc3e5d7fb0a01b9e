#include "ternavo/steps/held_folder_looks.h"

// Where the handle really leads, as "C:\..." or "\\server\share\...": from
// Vista on the system knows. Empty text where it cannot tell.
std::wstring FinalPathOf(HANDLE handle) {
    using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const auto finalPath = reinterpret_cast<FinalPathFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (!finalPath) return {};
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = finalPath(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = finalPath(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    if (n == 0 || n >= buffer.size()) return {};
    buffer.resize(n);
    if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + buffer.substr(7);
    if (buffer.rfind(L"\\\\?\\", 0) == 0) return buffer.substr(4);
    return buffer;
}

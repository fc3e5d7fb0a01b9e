#include "ternavo/system/real_path.h"
#include <windows.h>
#include <winnetwk.h>
#include <vector>
#include "common/dll_search.h"
#include "common/winutil.h"
#include "ternavo/rules/drive_paths.h"

namespace {

// The system's first name for a drive letter ("X:"); empty text when it has none.
std::wstring DeviceOf(const std::wstring& drive) {
    std::vector<wchar_t> buffer(1024);
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (QueryDosDeviceW(drive.c_str(), buffer.data(), static_cast<DWORD>(buffer.size())))
            return std::wstring(buffer.data());
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        buffer.resize(buffer.size() * 4);
    }
    return {};
}

// The network path of a path on a mapped drive, asked of the network
// provider library (loaded from the system folder when first needed).
std::wstring UniversalName(const std::wstring& path) {
    using UniversalNameFn = DWORD(WINAPI*)(LPCWSTR, DWORD, LPVOID, LPDWORD);
    win::Library mpr(LoadSystemLibrary(L"mpr.dll"));
    if (!mpr) return {};
    auto universalName = reinterpret_cast<UniversalNameFn>(
        reinterpret_cast<void*>(GetProcAddress(mpr.get(), "WNetGetUniversalNameW")));
    if (!universalName) return {};
    std::vector<BYTE> buffer(4096);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD rc = universalName(path.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
        if (rc == NO_ERROR) {
            const wchar_t* name = reinterpret_cast<UNIVERSAL_NAME_INFOW*>(buffer.data())->lpUniversalName;
            return name ? std::wstring(name) : std::wstring();
        }
        if (rc != ERROR_MORE_DATA) return {};
        buffer.resize(size);
    }
    return {};
}

}  // namespace

std::wstring PathForAdministrator(const std::wstring& dir) {
    std::wstring path = dir;
    // A substituted drive may name a folder on another substituted drive.
    for (int depth = 0;; ++depth) {
        std::wstring drive = drive_paths::DriveOf(path);
        if (drive.empty()) return path;
        drive_paths::Resolved resolved = drive_paths::ThroughSubstitute(path, DeviceOf(drive));
        if (!resolved.substituted) break;
        if (resolved.path.empty() || depth == 8) return {};
        path = resolved.path;
    }
    std::wstring root = drive_paths::DriveOf(path) + L"\\";
    if (GetDriveTypeW(root.c_str()) != DRIVE_REMOTE) return path;
    std::wstring network = UniversalName(path);
    // The provider answers for the path as given; a folder keeps its closing "\".
    if (!network.empty() && path.back() == L'\\' && network.back() != L'\\') network += L'\\';
    return network;
}

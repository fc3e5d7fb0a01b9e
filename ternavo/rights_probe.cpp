#include "ternavo/rights_probe.h"
#include <windows.h>
#include "common/winutil.h"

bool IsElevated() {
    win::Handle token;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()) ||
        !GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size))
        return true;
    return elevation.TokenIsElevated != 0;
}

bool CanWriteFolder(const std::wstring& dir) {
    if (dir.empty()) return false;
    // A name of its own, so that nothing of anyone else is touched; the system
    // deletes the file when its handle closes, whatever happens in between.
    std::wstring probe = win::WithBackslash(dir) + L"~ternavo-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(GetTickCount()) + L".tmp";
    win::Handle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid();
}

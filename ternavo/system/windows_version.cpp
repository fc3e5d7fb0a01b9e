#include "ternavo/system/windows_version.h"

namespace {

OSVERSIONINFOA WindowsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return OSVERSIONINFOA{};
#pragma GCC diagnostic pop
    return info;
}

}  // namespace

bool IsWindowsNT() { return WindowsVersion().dwPlatformId == VER_PLATFORM_WIN32_NT; }

unsigned WindowsMajorVersion() { return WindowsVersion().dwMajorVersion; }

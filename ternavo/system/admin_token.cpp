#include "ternavo/system/admin_token.h"
#include <windows.h>
#include "common/winutil.h"

bool HoldsAdministratorRights() {
    win::Handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return true;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size))
        return elevation.TokenIsElevated != 0;
    // XP knows no elevation: a member of Administrators has all its rights.
    alignas(DWORD) BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD length = sizeof(administrators);
    BOOL member = TRUE;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &length) ||
        !CheckTokenMembership(nullptr, administrators, &member))
        return true;
    return member != FALSE;
}

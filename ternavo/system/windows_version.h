#pragma once
// Which Windows family Ternavo runs on.
#include <windows.h>

bool IsWindowsNT();
// 5 for Windows 2000 and XP, 6 from Vista on (10 where the system tells);
// 0 when the system does not say.
unsigned WindowsMajorVersion();

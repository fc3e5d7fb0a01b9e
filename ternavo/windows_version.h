#pragma once
// Which Windows family Ternavo runs on.
#include <windows.h>

bool IsWindowsNT();

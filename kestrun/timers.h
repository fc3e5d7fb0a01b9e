#pragma once
// The timers of Kestrun's main window, by purpose.
#include <windows.h>

constexpr UINT_PTR kFollowUpTimer = 1;    // after a launch: waits for the new instance's marker file
constexpr UINT_PTR kStartDelayTimer = 2;  // the "-wait=" delay before the launch

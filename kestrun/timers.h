#pragma once
// The thread timers of Kestrun's waits (the start delay and the follow-up of
// a launch), in a file of their own so that a test build can link one that
// fails: a Kestrun that cannot make its timer must still end.
#include <windows.h>

// A timer of this thread that calls `tick` every `ms` milliseconds; 0 when
// the system makes none.
UINT_PTR StartThreadTimer(UINT ms, TIMERPROC tick);

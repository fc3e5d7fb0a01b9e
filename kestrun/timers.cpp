#include "kestrun/timers.h"

UINT_PTR StartThreadTimer(UINT ms, TIMERPROC tick) { return SetTimer(nullptr, 0, ms, tick); }

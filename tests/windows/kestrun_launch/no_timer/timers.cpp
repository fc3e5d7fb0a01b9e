// Linked into the test build Kestrun_no_timer in place of Kestrun's own
// timers: the system makes none, as when a session has used up its timers.
#include "kestrun/timers.h"

UINT_PTR StartThreadTimer(UINT, TIMERPROC) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
}

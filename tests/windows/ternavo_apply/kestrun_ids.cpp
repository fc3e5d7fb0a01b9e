// Kestrun's control ids, kept apart because its window table shares names with Ternavo's.
#include "kestrun/window_table.h"

int KestrunStartButtonId() { return ControlId(kWindowControls, kWindowControlCount, "StartButton"); }

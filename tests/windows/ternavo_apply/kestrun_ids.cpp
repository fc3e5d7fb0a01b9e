// Kestrun's control ids, kept apart because its window table shares names with Ternavo's.
#include "kestrun/form1_table.h"

int KestrunStartButtonId() { return ControlId(kForm1, kForm1Count, "Command1"); }

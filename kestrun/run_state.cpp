#include "kestrun/run_state.h"

RunState g_run;

// Ternavo's run-wide values. They live on their own so that the helpers that
// only need the paths or the language do not bring the whole window with them.
#include "ternavo/window/run_state.h"

RunState g_run;

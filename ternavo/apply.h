#pragma once
// One apply run: the steps that the choices call for, pass by pass.
#include "ternavo/rules/applyplan.h"

// Runs one pass. The choices are read afresh before every step; a step that
// fails marks the run as failed and the next one still runs.
void ApplyOptions(apply::Pass pass);

#pragma once
// One press of Start as the window runs it. Everything the user decides comes
// first, in the window they see: the settings dialog when no ICQ 7 folder is
// confirmed yet, the ICQ 7 version test and its message. Then the steps that
// need rights the user lacks go to the worker, started "as administrator" and
// waited for while the window stays usable; the window does the others
// itself, then the user's own steps (the desktop shortcut, ternavo.ini), and
// shows the result.
#include "ternavo/rules/applyplan.h"

// Start was pressed (by hand or by "-start").
void PressStart();
// The settings dialog confirmed the ICQ 7 folder that Start asked for: the
// press goes on with it.
void ResumeStartAfterDialog();
// Start would ask for administrator rights for these choices: the shield shows.
bool StartAsksForRights(const apply::Choices& c);

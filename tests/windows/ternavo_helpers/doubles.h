#pragma once
// Stand-ins for the main window and the settings dialog, so that Ternavo's
// engine runs inside this test program and its effects can be read back.
#include <string>
#include <vector>
#include "ternavo/rules/applyplan.h"

namespace doubles {
extern apply::Choices choices;              // what the windows show: boxes, list, folder box, shortcut box
void Reset();
}  // namespace doubles

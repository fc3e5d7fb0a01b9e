#pragma once
// One press of Start as the window runs it. Everything the user decides comes
// first, in the window they see: the settings dialog when no ICQ 7 folder is
// confirmed yet, the ICQ 7 version test and its message. Then the steps that
// need rights the user lacks go to the worker, started "as administrator" and
// waited for while the window stays usable; the window does the others
// itself, then the user's own steps (the desktop shortcut), and hands back how
// the press ended. The press knows the window only by what it is given here.
#include <windows.h>
#include <string>
#include <vector>
#include "ternavo/rules/applyplan.h"

// What the press needs of the window that runs it.
struct PressWindow {
    HWND owner = nullptr;            // owns the press's boxes and the rights prompt
    void (*waiting)(bool) = nullptr;  // the worker runs (true) or has ended (false)
};

// How a press ended, for the window to show.
struct PressResult {
    enum class End {
        Done,        // the steps ran: `outcome` says how
        AskFolder,   // no confirmed ICQ 7 folder: the settings dialog has to ask first
        Declined,    // the user declined the rights prompt: nothing changed, nothing to show
    };
    End end = End::Done;
    apply::Outcome outcome = apply::Outcome::Succeeded;
    // Boxes after the result: what failed and what to do (unless the press's
    // own messages said it all), the copies that a removal left in use.
    std::vector<std::wstring> boxes;
};

// Start was pressed (by hand or by "-start") with these choices.
PressResult PressStart(const apply::Choices& choices, const PressWindow& window);
// The settings dialog confirmed the ICQ 7 folder that Start asked for: the
// press goes on with it (or starts anew when the choices changed meanwhile).
PressResult ResumeStartAfterDialog(const apply::Choices& choices, const PressWindow& window);
// Start would ask for administrator rights for these choices: the shield shows.
bool StartAsksForRights(const apply::Choices& c);

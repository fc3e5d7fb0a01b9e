#pragma once
// Ternavo's command-line switches besides the language (which keeps its own
// rule, see ChooseEnglish): the ICQ generations to tick, the instances choice
// and an immediate Start; and the argument text that hands the window's
// current choices on to a second copy of Ternavo. Platform-free.
#include <string>
#include "ternavo/rules/applyplan.h"

namespace startup {

struct Switches {
    apply::Choices choices;         // what the switches below name
    bool generationsGiven = false;  // "-lite", "-pro", "-icq6" or "-icq7": exactly these boxes are ticked
    bool instancesGiven = false;    // "-allow" or "-onlyone"; the last one given counts
    bool start = false;             // "-start": Start is pressed once the window is shown
};

// Reads the argument text: switches are whole words between blanks or tabs,
// in any letter case; words it does not know are passed over.
Switches ReadSwitches(const std::wstring& arguments);

// The argument text that gives another copy of Ternavo these choices and this
// language, followed by "-start" when asked for; ReadSwitches and ChooseEnglish
// read it back.
std::wstring SwitchText(const apply::Choices& choices, bool english, bool start);

// Start has to be run by a copy of Ternavo with administrator rights: the
// choices write below HKEY_LOCAL_MACHINE or into a folder of the programs, and
// from Vista (major version 6) on user account control runs Ternavo without
// those rights unless it is started elevated. Where user account control is
// switched off, a copy started "as administrator" would get no more rights than
// this one (and would ask again); with nothing ticked Start needs none.
constexpr unsigned kFirstWindowsWithUac = 6;
inline bool StartNeedsElevation(bool elevated, unsigned windowsMajor, bool uacSwitchedOff, bool anyTicked) {
    return !elevated && windowsMajor >= kFirstWindowsWithUac && !uacSwitchedOff && anyTicked;
}

}  // namespace startup

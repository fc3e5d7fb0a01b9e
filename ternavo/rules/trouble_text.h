#pragma once
// The box after "Changes failed!": what failed, each cause named once, and the
// advice that fits each cause. Platform-free: the system's error texts come
// in through `ReasonText`.
#include <functional>
#include <string>
#include <vector>
#include "ternavo/rules/applyplan.h"

namespace trouble {

// What a press could not do.
struct Trouble {
    std::vector<apply::Failure> failures;             // the steps that failed, with the system's reasons
    apply::Refusal refusal = apply::Refusal::None;    // the ICQ 7 folder was refused before any change
    unsigned long rightsError = 0;                    // the worker could not be started (not: declined)
};

// Where the text is shown: its language, and whether the system is older
// than Vista (there a program gets administrator rights through "Run as…").
struct Audience {
    bool english = false;
    bool beforeVista = false;
};

// The system's text for an error code.
using ReasonText = std::function<std::wstring(unsigned long)>;

// Whether there is more to say than the "ICQ 7" messages said already (the
// removal's own failure has its own message).
bool AnythingToTell(const Trouble& t);
// The box's text: the failed steps, copies with one reason in one line; the
// refusal and its cause; then "What to do:" with one line per fitting advice.
std::wstring TroubleText(const Trouble& t, const Audience& audience, const ReasonText& reason);
// The box after a removal that left copies in use (apply::LeftInUse): names
// them and says how they go. Empty text when none was left.
std::wstring CopiesLeftText(const std::vector<apply::Failure>& failures, bool english);

}  // namespace trouble

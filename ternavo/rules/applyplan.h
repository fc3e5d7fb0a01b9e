#pragma once
// Which steps one run of the apply sequence takes for the user's choices.
// Platform-free, so that the whole table can be checked natively.
#include <vector>

namespace apply {

enum class Step {
    InstallStarter,
    AllowLite,
    AllowPro,
    AllowICQ6,
    ForbidLite,
    ForbidPro,
    ForbidICQ6,
    RemoveStarter,
    ShowResult,
};

// What the main window shows at the moment of a test.
struct Choices {
    bool lite = false;   // Check1: ICQ Lite (4.x, 5.x)
    bool pro = false;    // Check2: ICQ Pro 2003
    bool icq6 = false;   // Check3: ICQ 6 / ICQ Lite 7
    bool icq7 = false;   // Check4: ICQ 7
    int instances = 0;   // Combo1: 0 = allow multiple instances, 1 = only one instance
};

// Every step a mode may take, in order (mode 1 = Start, 2 = after the settings
// dialog, 3 = after the installation). Any other mode has none.
const std::vector<Step>& StepsOfMode(int mode);
// Whether a step runs for these choices.
bool StepApplies(Step step, const Choices& c);
// Mode 1 hands the whole run over to the installation, which finishes it itself.
bool EndsRun(int mode, Step step);
// The steps that run for fixed choices (the apply sequence re-reads the choices
// before every step; with unchanged choices it takes exactly these).
std::vector<Step> ApplyPlan(int mode, const Choices& c);

}  // namespace apply

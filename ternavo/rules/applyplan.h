#pragma once
// Which steps one run of the apply sequence takes for the user's choices.
// Platform-free, so that the whole table can be checked natively.
#include <string>
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

// The passes of one apply run. Start is the run a click on Start begins; a run
// that had to ask for the ICQ 7 folder goes on after the settings dialog; the
// installation of Kestrun finishes the run with the steps after it.
enum class Pass { Start = 1, AfterSettingsDialog = 2, AfterInstall = 3 };

// How an apply run ended: any failed step makes the whole run fail.
enum class Outcome { Succeeded, Failed };

// The two entries of the instances list, in their order.
enum class Instances { Allow = 0, OnlyOne = 1 };

// Ternavo's choices as one record: the settings file loads and saves it, the
// windows show and edit it, the apply run reads it before every step.
struct Choices {
    bool lite = false;   // ICQ Lite (4.x, 5.x)
    bool pro = false;    // ICQ Pro 2003
    bool icq6 = false;   // ICQ 6 / ICQ Lite 7
    bool icq7 = false;   // ICQ 7
    Instances instances = Instances::Allow;
    std::wstring icq7Folder;  // the settings dialog's folder box
    bool shortcut = true;     // the settings dialog's desktop shortcut box
};

// Every step a pass may take, in order. Any other value has none.
const std::vector<Step>& StepsOfPass(Pass pass);
// Whether a step runs for these choices.
bool StepApplies(Step step, const Choices& c);
// The start pass hands the whole run over to the installation, which finishes it itself.
bool EndsRun(Pass pass, Step step);
// The steps that run for fixed choices (the apply sequence re-reads the choices
// before every step; with unchanged choices it takes exactly these).
std::vector<Step> ApplyPlan(Pass pass, const Choices& c);

}  // namespace apply

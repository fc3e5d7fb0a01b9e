#include "ternavo/apply.h"
#include "ternavo/install.h"
#include "ternavo/main_window.h"
#include "ternavo/registry_switch.h"
#include "ternavo/run_state.h"

namespace {

void RunStep(apply::Step step) {
    using apply::Step;
    switch (step) {
        case Step::InstallStarter: InstallStarter(); break;
        case Step::AllowLite: AllowMultiInstance(ClassicTarget::Lite); break;
        case Step::AllowPro: AllowMultiInstance(ClassicTarget::Pro); break;
        case Step::AllowICQ6: AllowMultiInstance(ClassicTarget::ICQ6); break;
        case Step::ForbidLite: ForbidMultiInstance(ClassicTarget::Lite); break;
        case Step::ForbidPro: ForbidMultiInstance(ClassicTarget::Pro); break;
        case Step::ForbidICQ6: ForbidMultiInstance(ClassicTarget::ICQ6); break;
        case Step::RemoveStarter: RemoveStarter(); break;
        case Step::ShowResult: ShowResult(); break;
    }
}

}  // namespace

void ApplyOptions(apply::Pass pass) {
    for (apply::Step step : apply::StepsOfPass(pass)) {
        if (!apply::StepApplies(step, CurrentChoices())) continue;
        try {
            RunStep(step);
        } catch (...) {
            g_run.Outcome = apply::Outcome::Failed;
        }
        if (apply::EndsRun(pass, step)) return;
    }
}

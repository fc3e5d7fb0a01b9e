#include "ternavo/rules/applyplan.h"

namespace apply {

const std::vector<Step>& StepsOfPass(Pass pass) {
    using S = Step;
    static const std::vector<Step> kStart = {S::InstallStarter, S::AllowLite,  S::AllowPro,  S::AllowICQ6,
                                             S::ForbidLite,     S::ForbidPro,  S::ForbidICQ6, S::RemoveStarter,
                                             S::ShowResult};
    static const std::vector<Step> kResume = {S::AllowLite,  S::AllowPro,   S::AllowICQ6,     S::InstallStarter,
                                              S::ForbidLite, S::ForbidPro,  S::ForbidICQ6,    S::RemoveStarter,
                                              S::ShowResult};
    static const std::vector<Step> kAfterInstall = {S::AllowLite, S::AllowPro,   S::AllowICQ6,    S::ForbidLite,
                                                    S::ForbidPro, S::ForbidICQ6, S::RemoveStarter, S::ShowResult};
    static const std::vector<Step> kNone;
    switch (pass) {
        case Pass::Start: return kStart;
        case Pass::AfterSettingsDialog: return kResume;
        case Pass::AfterInstall: return kAfterInstall;
        default: return kNone;
    }
}

bool StepApplies(Step step, const Choices& c) {
    const bool allow = c.instances == Instances::Allow;
    const bool forbid = c.instances == Instances::OnlyOne;
    switch (step) {
        case Step::InstallStarter: return c.icq7 && allow;
        case Step::AllowLite: return c.lite && allow;
        case Step::AllowPro: return c.pro && allow;
        case Step::AllowICQ6: return c.icq6 && allow;
        case Step::ForbidLite: return c.lite && forbid;
        case Step::ForbidPro: return c.pro && forbid;
        case Step::ForbidICQ6: return c.icq6 && forbid;
        case Step::RemoveStarter: return c.icq7 && forbid;
        case Step::ShowResult: return true;
    }
    return false;
}

bool EndsRun(Pass pass, Step step) { return pass == Pass::Start && step == Step::InstallStarter; }

std::vector<Step> ApplyPlan(Pass pass, const Choices& c) {
    std::vector<Step> plan;
    for (Step s : StepsOfPass(pass)) {
        if (!StepApplies(s, c)) continue;
        plan.push_back(s);
        if (EndsRun(pass, s)) break;
    }
    return plan;
}

}  // namespace apply

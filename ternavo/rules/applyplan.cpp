#include "ternavo/rules/applyplan.h"

namespace apply {

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
    }
    return false;
}

std::vector<Step> ApplyPlan(const Choices& c) {
    using S = Step;
    static const Step kOrder[] = {S::InstallStarter, S::AllowLite, S::AllowPro,   S::AllowICQ6,
                                  S::ForbidLite,     S::ForbidPro, S::ForbidICQ6, S::RemoveStarter};
    std::vector<Step> plan;
    for (Step s : kOrder)
        if (StepApplies(s, c)) plan.push_back(s);
    return plan;
}

}  // namespace apply

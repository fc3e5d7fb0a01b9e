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

void EncodeFailures(const std::vector<Failure>& failures, unsigned (&words)[kReportWords]) {
    const size_t count = failures.size() < kMostFailures ? failures.size() : kMostFailures;
    words[0] = static_cast<unsigned>(count);
    for (size_t i = 0; i < count; ++i) {
        words[1 + 3 * i] = static_cast<unsigned>(failures[i].step);
        words[2 + 3 * i] = static_cast<unsigned>(failures[i].error);
        words[3 + 3 * i] = static_cast<unsigned>(failures[i].copy);
    }
}

std::vector<Failure> DecodeFailures(const unsigned (&words)[kReportWords]) {
    std::vector<Failure> failures;
    const size_t count = words[0] < kMostFailures ? words[0] : kMostFailures;
    for (size_t i = 0; i < count; ++i) {
        const unsigned step = words[1 + 3 * i], copy = words[3 + 3 * i];
        if (step > static_cast<unsigned>(Step::RemoveStarter) || copy > 99) continue;
        failures.push_back({static_cast<Step>(step), words[2 + 3 * i], static_cast<int>(copy)});
    }
    return failures;
}

}  // namespace apply

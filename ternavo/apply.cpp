#include "ternavo/apply.h"
#include <initializer_list>
#include "ternavo/app.h"
#include "ternavo/module1.h"
#include "ternavo/rules/applyplan.h"

namespace {

// The key that receives the values (the older generations read it from HKEY_LOCAL_MACHINE).
const wchar_t* TargetKey(ClassicTarget target) {
    switch (target) {
        case ClassicTarget::Lite: return L"SOFTWARE\\Mirabilis\\ICQ\\DefaultPrefs";
        case ClassicTarget::Pro: return L"SOFTWARE\\Mirabilis\\ICQ\\ICQPro\\DefaultPrefs";
        case ClassicTarget::ICQ6: return L"SOFTWARE\\Mirabilis\\ICQ\\ICQ6";
    }
    return L"";
}

apply::Choices ReadChoices() {
    apply::Choices c;
    c.lite = OptionChecked(1);
    c.pro = OptionChecked(2);
    c.icq6 = OptionChecked(3);
    c.icq7 = OptionChecked(4);
    c.instances = InstancesChoice();
    return c;
}

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

void AllowMultiInstance(ClassicTarget target) {
    // Pro's "DefaultPrefs" lies below its own "ICQPro" key, which is created first.
    std::initializer_list<const wchar_t*> create = {TargetKey(target)};
    std::initializer_list<const wchar_t*> createPro = {L"SOFTWARE\\Mirabilis\\ICQ\\ICQPro", TargetKey(target)};
    for (const wchar_t* key : target == ClassicTarget::Pro ? createPro : create)
        if (!RegKeyExists(HKEY_LOCAL_MACHINE, key)) RegCreateKey(HKEY_LOCAL_MACHINE, key, L"");
    // A failed creation shows up here: the write into the missing key fails.
    if (!RegWriteValue(HKEY_LOCAL_MACHINE, TargetKey(target), L"MultiInstance", L"Yes")) LastStatus = L"No!";
    if (!RegWriteValue(HKEY_LOCAL_MACHINE, TargetKey(target), L"OwnersNoLimit", L"Yes")) LastStatus = L"No!";
}

void ForbidMultiInstance(ClassicTarget target) {
    if (!RegWriteValue(HKEY_LOCAL_MACHINE, TargetKey(target), L"MultiInstance", L"No")) LastStatus = L"No!";
}

void ApplyOptions(int mode) {
    // The choices are read afresh before every step; a step that fails leaves
    // its mark in LastStatus and the next one still runs.
    for (apply::Step step : apply::StepsOfMode(mode)) {
        if (!apply::StepApplies(step, ReadChoices())) continue;
        try {
            RunStep(step);
        } catch (...) {
            LastStatus = L"No!";
        }
        if (apply::EndsRun(mode, step)) return;
    }
}

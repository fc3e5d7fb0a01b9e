#include "ternavo/steps/registry_switch.h"
#include <initializer_list>
#include "ternavo/system/registry.h"

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

unsigned long Write(ClassicTarget target, const wchar_t* name, const wchar_t* value) {
    return RegWriteValue(HKEY_LOCAL_MACHINE, TargetKey(target), name, value) ? 0 : GetLastError();
}

}  // namespace

unsigned long AllowMultiInstance(ClassicTarget target) {
    // Pro's "DefaultPrefs" lies below its own "ICQPro" key, which is created first.
    std::initializer_list<const wchar_t*> create = {TargetKey(target)};
    std::initializer_list<const wchar_t*> createPro = {L"SOFTWARE\\Mirabilis\\ICQ\\ICQPro", TargetKey(target)};
    for (const wchar_t* key : target == ClassicTarget::Pro ? createPro : create)
        if (!RegKeyExists(HKEY_LOCAL_MACHINE, key)) RegCreateKey(HKEY_LOCAL_MACHINE, key, L"");
    // A failed creation shows up here: the write into the missing key fails.
    unsigned long multiInstance = Write(target, L"MultiInstance", L"Yes");
    unsigned long ownersNoLimit = Write(target, L"OwnersNoLimit", L"Yes");
    return multiInstance != 0 ? multiInstance : ownersNoLimit;
}

unsigned long ForbidMultiInstance(ClassicTarget target) { return Write(target, L"MultiInstance", L"No"); }

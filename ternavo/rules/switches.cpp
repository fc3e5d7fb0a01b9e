#include "ternavo/rules/switches.h"

namespace {

// Letter case does not count; only ASCII letters occur in the switches.
std::wstring Lower(std::wstring word) {
    for (wchar_t& c : word)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return word;
}

}  // namespace

namespace startup {

Switches ReadSwitches(const std::wstring& arguments) {
    Switches s;
    size_t pos = 0;
    while (pos < arguments.size()) {
        size_t begin = arguments.find_first_not_of(L" \t", pos);
        if (begin == std::wstring::npos) break;
        size_t end = arguments.find_first_of(L" \t", begin);
        if (end == std::wstring::npos) end = arguments.size();
        std::wstring word = Lower(arguments.substr(begin, end - begin));
        pos = end;

        bool* generation = word == L"-lite"   ? &s.choices.lite
                           : word == L"-pro"  ? &s.choices.pro
                           : word == L"-icq6" ? &s.choices.icq6
                           : word == L"-icq7" ? &s.choices.icq7
                                              : nullptr;
        if (generation) {
            *generation = true;
            s.generationsGiven = true;
        } else if (word == L"-allow" || word == L"-onlyone") {
            s.choices.instances = word == L"-allow" ? apply::Instances::Allow : apply::Instances::OnlyOne;
            s.instancesGiven = true;
        } else if (word == L"-start") {
            s.start = true;
        }
    }
    return s;
}

std::wstring SwitchText(const apply::Choices& c, bool english, bool start) {
    std::wstring text;
    auto add = [&text](const wchar_t* word) {
        if (!text.empty()) text += L' ';
        text += word;
    };
    if (c.lite) add(L"-lite");
    if (c.pro) add(L"-pro");
    if (c.icq6) add(L"-icq6");
    if (c.icq7) add(L"-icq7");
    if (c.instances == apply::Instances::Allow) add(L"-allow");
    if (c.instances == apply::Instances::OnlyOne) add(L"-onlyone");
    add(english ? L"-english" : L"-german");
    if (start) add(L"-start");
    return text;
}

}  // namespace startup

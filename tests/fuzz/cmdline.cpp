// Fuzzes Kestrun's command-line parser and the rules that consume its result:
// any text must give options within their ranges and a bounded ICQ text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include "kestrun/rules/cmdline.h"
#include "kestrun/rules/launchrules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Bytes become characters of the whole UTF-16 range, two per character, plus
    // a one-byte form that favours the switches' own characters.
    std::wstring text;
    if (size > 0 && (data[0] & 1)) {
        for (size_t i = 1; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    } else {
        for (size_t i = 1; i < size; ++i) text += static_cast<wchar_t>(data[i]);
    }
    StartOptions o;
    ParseCommandLine(text, o);
    if (o.WaitSeconds < 0 || o.WaitSeconds > 60) abort();
    if (o.InstanceLimit < 0 || o.InstanceLimit > 99) abort();
    if (o.LoginMode < 0 || o.LoginMode > 4) abort();
    if (o.StatusNr < 0 || o.StatusNr > 7) abort();
    if (o.IcqParameters.size() > text.size()) abort();
    if (!o.IcqParameters.empty() && (o.IcqParameters.front() == L' ' || o.IcqParameters.back() == L' ')) abort();
    std::wstring args = IcqArguments(o);
    if (args.size() > o.IcqParameters.size() + 40) abort();
    LaunchNumbers n = CorrectLaunchNumbers(text, text, text, o.InstanceLimit);
    if (n.MaxNr < 1 || n.MaxNr > 99 || n.LastNr < 0 || n.LastNr > 99) abort();
    ArgumentText(text);
    return 0;
}

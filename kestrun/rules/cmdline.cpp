#include "kestrun/rules/cmdline.h"
#include <vector>
#include "common/rules/numbers.h"

namespace {

bool StartsWith(const std::wstring& token, const wchar_t* prefix, size_t& length) {
    length = std::char_traits<wchar_t>::length(prefix);
    return token.compare(0, length, prefix) == 0;
}

// A number switch: a failed conversion keeps the field's value, and the clamp
// runs either way (so "-loginmode=" alone still gives its lowest mode).
void SetClamped(const std::wstring& digits, int16_t& field, int16_t low, int16_t high) {
    ToInt16(digits, field);
    if (field > high) field = high;
    if (field < low) field = low;
}

}  // namespace

void ParseCommandLine(const std::wstring& text, StartOptions& options) {
    options = StartOptions{};
    std::vector<std::wstring> passed;  // "-toicq:" values already taken
    size_t start = 0;
    for (;;) {
        size_t end = text.find(L' ', start);
        std::wstring token = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        size_t n = 0;
        if (StartsWith(token, L"-showme", n) || StartsWith(token, L"-info", n)) {
            options.ForceWindow = true;
        } else if (StartsWith(token, L"-wait=", n)) {
            SetClamped(token.substr(n), options.WaitSeconds, 0, 60);
        } else if (StartsWith(token, L"-instances=", n)) {
            SetClamped(token.substr(n), options.InstanceLimit, 0, 99);
        } else if (StartsWith(token, L"-minimized", n)) {
            options.Minimized = true;
        } else if (StartsWith(token, L"-notaskbar", n)) {
            options.NoTaskbar = true;
        } else if (StartsWith(token, L"-loginmode=", n)) {
            SetClamped(token.substr(n), options.LoginMode, 1, 4);
        } else if (StartsWith(token, L"-status=", n)) {
            SetClamped(token.substr(n), options.StatusNr, 1, 7);
        } else if (StartsWith(token, L"-toicq:", n)) {
            std::wstring value = token.substr(n);
            // An empty value has nothing to pass on; an exact repeat is dropped.
            bool seen = value.empty();
            for (const auto& v : passed) seen = seen || v == value;
            if (!seen) {
                if (!options.IcqParameters.empty()) options.IcqParameters += L' ';
                options.IcqParameters += value;
                passed.push_back(value);
            }
        } else if (StartsWith(token, L"-setmodes", n)) {
            options.SetModes = true;
        }
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
}

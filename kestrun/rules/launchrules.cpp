#include "kestrun/rules/launchrules.h"
#include "common/rules/numbers.h"

std::wstring ExeBaseName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

LaunchNumbers CorrectLaunchNumbers(const std::wstring& lastNr, const std::wstring& maxNr,
                                   const std::wstring& starts, int16_t instanceLimit) {
    LaunchNumbers n;
    int32_t last = 0, max = 0, count = 0;
    if (!ToInt32(lastNr, last)) last = 0;
    if (!ToInt32(maxNr, max)) max = 0;
    if (!ToInt32(starts, count)) count = 0;
    // The counter stops at its largest value instead of wrapping round to a
    // negative number.
    n.Starts = count < INT32_MAX ? count + 1 : count;
    if (max < 1 || max > 99) max = 5;
    // Tested against the file's maximum, before "-instances=" replaces it.
    if (last < 0 || last >= max) last = 0;
    if (instanceLimit > 0) max = instanceLimit;
    if (max > 1) ++last;
    n.MaxNr = max;
    n.LastNr = last;
    return n;
}

void ApplyStartModes(StartOptions& options, const KestrunSettings& modes) {
    if (modes.OnlyOnSetModes && !options.SetModes) return;
    if (modes.Minimized) options.Minimized = true;
    if (modes.NoTaskbar) options.NoTaskbar = true;
    if (options.LoginMode == 0 && modes.LoginOption >= 0 && modes.LoginOption <= 2)
        options.LoginMode = static_cast<int16_t>(modes.LoginOption + 1);
    if (options.StatusNr == 0 && modes.StatusItem >= 1 && modes.StatusItem <= 7)
        options.StatusNr = static_cast<int16_t>(modes.StatusItem - 1);
}

std::wstring IcqArguments(const StartOptions& options) {
    std::wstring text;
    if (options.LoginMode > 0) text = L"loginmode=" + DecimalText(options.LoginMode);
    if (options.StatusNr > 0) {
        // 1..3 visible states; 4..7 their invisible forms (7 from the command line only).
        bool invisible = options.StatusNr >= 4;
        int status = invisible ? options.StatusNr - 3 : options.StatusNr;
        if (!text.empty()) text += L' ';
        text += L"status=" + DecimalText(status) + L" visibility=" + (invisible ? L"1" : L"4");
    }
    if (!text.empty()) text += L' ';
    text += options.IcqParameters;
    return text;
}

std::wstring ShownMaxNr(const std::wstring& current, const std::wstring& stored) {
    std::wstring text = stored.empty() ? current : stored;
    return text.size() > 2 ? L"99" : text;
}

std::wstring SavedMaxNr(const std::wstring& text) {
    int16_t v = 0;
    if (!ToInt16(text, v) || v < 1 || v > 99) v = 5;
    return DecimalText(v);
}

int LoginOptionFor(const std::wstring& stored) {
    if (stored.size() == 1 && stored[0] >= L'1' && stored[0] <= L'4') return stored[0] - L'1';
    return 3;
}

int StatusItemFor(const std::wstring& stored) {
    if (stored.size() == 1 && stored[0] >= L'1' && stored[0] <= L'7') return stored[0] - L'0';
    return 1;
}

// Fuzzes the corrections Kestrun applies to what it reads from kestrun.ini and
// from number switches: the number conversion, the launch counters and the
// values shown and saved by the window. Whatever the file holds, every result
// must lie within its range and the conversions must agree with each other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include "kestrun/rules/launchrules.h"
#include "common/rules/numbers.h"

namespace {

// Bytes become text in two ways: a byte per character, which favours digits,
// signs, points and blanks, or two bytes per character over the whole UTF-16 range.
std::wstring TextOf(const uint8_t* data, size_t size, bool wide) {
    std::wstring text;
    if (wide) {
        for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    } else {
        for (size_t i = 0; i < size; ++i) text += static_cast<wchar_t>(data[i]);
    }
    return text;
}

void Check(bool ok) {
    if (!ok) abort();
}

void Numbers(const std::wstring& text) {
    // A failed conversion leaves the target alone.
    int16_t small = 12345;
    int32_t big = 123456789;
    bool okSmall = ToInt16(text, small);
    bool okBig = ToInt32(text, big);
    if (!okSmall) Check(small == 12345);
    if (!okBig) Check(big == 123456789);
    // Both widths read the same number: the 16-bit one only gives up where the value does not fit.
    if (okSmall) Check(okBig && big == small);
    if (okBig && big >= INT16_MIN && big <= INT16_MAX) Check(okSmall && small == big);
    // What Kestrun writes it reads back unchanged.
    if (okBig) {
        int32_t again = 0;
        Check(ToInt32(DecimalText(big), again) && again == big);
    }
}

void Counters(const std::wstring& last, const std::wstring& max, const std::wstring& starts, int16_t limit) {
    LaunchNumbers n = CorrectLaunchNumbers(last, max, starts, limit);
    Check(n.MaxNr >= 1 && n.MaxNr <= 99);
    // "-instances=" replaces the stored maximum.
    if (limit > 0) Check(n.MaxNr == limit);
    // The number of the new copy: 1..99 when a copy is made (it may lie above a
    // smaller "-instances=" once), and no number at all is taken for MaxNr 1.
    if (n.MaxNr > 1) Check(n.LastNr >= 1 && n.LastNr <= 99);
    else Check(n.LastNr >= 0 && n.LastNr <= 98);
    Check(!CopyNameFor(n.LastNr).empty());
    // The counter goes up by one and never wraps round.
    int32_t stored = 0;
    if (!ToInt32(starts, stored)) stored = 0;
    Check(n.Starts == (stored == INT32_MAX ? stored : stored + 1));
    unsigned interval = FollowUpInterval(n.Starts);
    Check(interval == 1000u || interval == 2000u);
}

void WindowValues(const std::wstring& current, const std::wstring& stored) {
    // The maximum box never shows more than its two characters.
    std::wstring shown = ShownMaxNr(current, stored);
    Check(shown.size() <= 2);
    if (!stored.empty() && stored.size() <= 2) Check(shown == stored);
    // Whatever the maximum box holds is saved as a number 1..99.
    int16_t saved = 0;
    Check(ToInt16(SavedMaxNr(stored), saved) && saved >= 1 && saved <= 99);
    Check(ToInt16(SavedMaxNr(shown), saved) && saved >= 1 && saved <= 99);
    int option = LoginOptionFor(stored);
    Check(option >= 0 && option <= 3);
    int item = StatusItemFor(stored);
    Check(item >= 1 && item <= 7);
    // Only the exact single digits select anything but the defaults.
    if (stored.size() != 1) Check(option == 3 && item == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    bool wide = data[0] & 1;
    int16_t limit = static_cast<int16_t>(data[1] | (data[2] << 8));
    std::wstring text = TextOf(data + 3, size - 3, wide);
    // The same text split at "|" into the three stored counters.
    std::wstring parts[3];
    size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        size_t bar = i < 2 ? text.find(L'|', at) : std::wstring::npos;
        parts[i] = text.substr(at, bar == std::wstring::npos ? std::wstring::npos : bar - at);
        if (bar == std::wstring::npos) break;
        at = bar + 1;
    }
    Numbers(text);
    Numbers(parts[0]);
    // "-instances=" as the parser leaves it: 0..99.
    Counters(parts[0], parts[1], parts[2], static_cast<int16_t>(limit < 0 ? 0 : limit % 100));
    WindowValues(parts[1], parts[0]);
    return 0;
}

#include "common/rules/numbers.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Parses and rounds into a wide range; false for anything that is not a plain
// decimal number or that lies far outside every range the callers need.
bool ToBounded(const std::wstring& text, int64_t lo, int64_t hi, int64_t& out) {
    size_t i = 0, n = text.size();
    while (i < n && text[i] == L' ') ++i;
    while (n > i && text[n - 1] == L' ') --n;
    bool negative = false;
    if (i < n && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    // Magnitude of the integer part, saturated well above 32 bits so that long
    // digit runs cannot overflow.
    const int64_t kCap = int64_t{1} << 40;
    int64_t whole = 0;
    size_t digits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++digits)
        if (whole < kCap) whole = whole * 10 + (text[i] - L'0');
    // Fraction: only its first digit and whether anything non-zero follows
    // matter for rounding to the nearest integer, halves to even.
    int first = -1;
    bool rest = false;
    if (i < n && text[i] == L'.') {
        for (++i; i < n && IsDigit(text[i]); ++i, ++digits) {
            if (first < 0) first = text[i] - L'0';
            else if (text[i] != L'0') rest = true;
        }
    }
    if (i != n || digits == 0) return false;
    if (first > 5 || (first == 5 && (rest || (whole & 1)))) ++whole;
    int64_t value = negative ? -whole : whole;
    if (value < lo || value > hi) return false;
    out = value;
    return true;
}

}  // namespace

bool ToInt16(const std::wstring& text, int16_t& out) {
    int64_t v = 0;
    if (!ToBounded(text, INT16_MIN, INT16_MAX, v)) return false;
    out = static_cast<int16_t>(v);
    return true;
}

bool ToInt32(const std::wstring& text, int32_t& out) {
    int64_t v = 0;
    if (!ToBounded(text, INT32_MIN, INT32_MAX, v)) return false;
    out = static_cast<int32_t>(v);
    return true;
}

std::wstring DecimalText(int64_t value) {
    wchar_t buf[24];
    size_t at = 24;
    // Works on the negative side, which holds every value including the smallest.
    int64_t v = value < 0 ? value : -value;
    do {
        buf[--at] = static_cast<wchar_t>(L'0' - v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0) buf[--at] = L'-';
    return std::wstring(buf + at, buf + 24);
}

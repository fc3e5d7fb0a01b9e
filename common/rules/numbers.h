#pragma once
// Number conversion of Kestrun's switches and settings: decimal text, a
// fraction rounded to the nearest integer with halves going to the even one.
#include <cstdint>
#include <string>

// Converts `text` (optional blanks, optional sign, digits, optional "." and
// fraction digits) to a 16-bit integer. False, and `out` untouched, when the
// text is not such a number or its rounded value does not fit.
bool ToInt16(const std::wstring& text, int16_t& out);
// The same for 32-bit integers.
bool ToInt32(const std::wstring& text, int32_t& out);
// Decimal text of a number ("-12", "0", "99"). Kestrun's own, so that the
// starter does not carry the C library's formatted printing for it.
std::wstring DecimalText(int64_t value);

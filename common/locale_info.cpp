#include "common/locale_info.h"
#include <windows.h>

std::wstring ReadLocaleInfo(unsigned long item) {
    LCID lcid = GetSystemDefaultLCID();
    int size = GetLocaleInfoW(lcid, item, nullptr, 0);
    if (size <= 0) return {};
    std::wstring buf(static_cast<size_t>(size), L'\0');
    int n = GetLocaleInfoW(lcid, item, buf.data(), size);
    if (n <= 0) return {};
    buf.resize(static_cast<size_t>(n) - 1);
    return buf;
}

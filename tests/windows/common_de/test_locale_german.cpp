// Runs in a prefix whose system locale is German.
#include <windows.h>
#include <gtest/gtest.h>
#include "common/locale_info.h"

TEST(Locale, GermanSystemLocaleNamesItsLanguageDeutsch) {
    EXPECT_EQ(ReadLocaleInfo(LOCALE_SNATIVELANGNAME), L"Deutsch");
    EXPECT_EQ(GetSystemDefaultLCID(), 0x407u);
}

// Ternavo's start-up rules: the argument text and the choice of language.
#include <gtest/gtest.h>
#include "ternavo/rules/startup.h"


TEST(TernavoArguments, ProgramNameIsDroppedQuotedOrNot) {
    EXPECT_EQ(ArgumentText(L"Ternavo.exe"), L"");
    EXPECT_EQ(ArgumentText(L"Ternavo.exe -german"), L"-german");
    EXPECT_EQ(ArgumentText(L"\"C:\\Program Files\\Ternavo\\Ternavo.exe\" -english"), L"-english");
    // A quoted name with blanks in it is one name, not the start of the arguments.
    EXPECT_EQ(ArgumentText(L"\"C:\\a b\\Ternavo.exe\""), L"");
    EXPECT_EQ(ArgumentText(L"C:\\Ternavo.exe\t-german"), L"-german");
}

TEST(TernavoArguments, BlanksAroundTheArgumentsGoInsideStay) {
    EXPECT_EQ(ArgumentText(L"Ternavo.exe    -german   -english   "), L"-german   -english");
    EXPECT_EQ(ArgumentText(L"Ternavo.exe     "), L"");
    EXPECT_EQ(ArgumentText(L""), L"");
    EXPECT_EQ(ArgumentText(L"   "), L"");
    // An unclosed quote swallows the rest as the program name.
    EXPECT_EQ(ArgumentText(L"\"Ternavo.exe -german"), L"");
    EXPECT_EQ(TrimBlanks(L"  a  b  "), L"a  b");
    EXPECT_EQ(TrimBlanks(L"\ta\t"), L"\ta\t");  // only blanks count
}

TEST(TernavoLanguage, LocaleDecidesWhenNothingElseSays) {
    EXPECT_FALSE(ChooseEnglish(L"Deutsch", L"", L""));
    EXPECT_TRUE(ChooseEnglish(L"English", L"", L""));
    EXPECT_TRUE(ChooseEnglish(L"Français", L"", L""));
    EXPECT_TRUE(ChooseEnglish(L"", L"", L""));
    // "Deutsch" anywhere in the name counts; the comparison is case-sensitive.
    EXPECT_FALSE(ChooseEnglish(L"Schweizerdeutsch Deutsch", L"", L""));
    EXPECT_TRUE(ChooseEnglish(L"deutsch", L"", L""));
}

TEST(TernavoLanguage, SwitchesAreCaseSensitiveSubstringsAndEnglishWins) {
    EXPECT_FALSE(ChooseEnglish(L"English", L"-german", L""));
    EXPECT_FALSE(ChooseEnglish(L"English", L"-germanistik", L""));  // merely begins with it
    EXPECT_FALSE(ChooseEnglish(L"English", L"x-german", L""));      // anywhere
    EXPECT_TRUE(ChooseEnglish(L"English", L"-German", L""));        // not the switch
    EXPECT_TRUE(ChooseEnglish(L"Deutsch", L"-english", L""));
    EXPECT_FALSE(ChooseEnglish(L"Deutsch", L"-ENGLISH", L""));
    EXPECT_TRUE(ChooseEnglish(L"Deutsch", L"-german -english", L""));
    EXPECT_TRUE(ChooseEnglish(L"Deutsch", L"-english -german", L""));
}

TEST(TernavoLanguage, SettingOverridesEverythingButOnlyWhenExact) {
    EXPECT_FALSE(ChooseEnglish(L"English", L"-english", L"German"));
    EXPECT_TRUE(ChooseEnglish(L"Deutsch", L"-german", L"English"));
    for (const wchar_t* ignored : {L"english", L"GERMAN", L"German ", L"Englisch", L"1", L""}) {
        EXPECT_TRUE(ChooseEnglish(L"English", L"", ignored)) << ignored;
        EXPECT_FALSE(ChooseEnglish(L"Deutsch", L"", ignored)) << ignored;
        EXPECT_FALSE(ChooseEnglish(L"English", L"-german", ignored)) << ignored;
    }
}

TEST(TernavoStoredChoices, OnlyExactValuesCount) {
    EXPECT_TRUE(startup::StoredChecked(L"1"));
    for (const wchar_t* v : {L"", L"0", L"01", L" 1", L"1 ", L"yes", L"true", L"-1"})
        EXPECT_FALSE(startup::StoredChecked(v)) << v;
    EXPECT_EQ(startup::StoredInstances(L"1"), 1);
    for (const wchar_t* v : {L"", L"0", L"2", L"-1", L"1.0", L"one"}) EXPECT_EQ(startup::StoredInstances(v), 0) << v;
    // The shortcut box is ticked as built; only exactly "0" unticks it.
    EXPECT_FALSE(startup::StoredShortcut(L"0"));
    for (const wchar_t* v : {L"", L"1", L"00", L" 0", L"no", L"false"}) EXPECT_TRUE(startup::StoredShortcut(v)) << v;
}

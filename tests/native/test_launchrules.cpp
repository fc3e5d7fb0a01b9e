// Kestrun's start-up and launch rules: argument text, language, name check,
// launch counters, start modes, ICQ's argument text and the settings values.
#include <gtest/gtest.h>
#include "kestrun/rules/launchrules.h"

TEST(StartUpRules, ArgumentTextDropsTheProgramName) {
    EXPECT_EQ(ArgumentText(L"\"C:\\Program Files\\ICQ7\\Kestrun.exe\" -showme"), L"-showme");
    EXPECT_EQ(ArgumentText(L"\"C:\\Program Files\\ICQ7\\Kestrun.exe\""), L"");
    EXPECT_EQ(ArgumentText(L"C:\\ICQ7\\Kestrun.exe   -wait=5 -toicq:a  "), L"-wait=5 -toicq:a");
    EXPECT_EQ(ArgumentText(L"Kestrun.exe\t-info"), L"\t-info");
    EXPECT_EQ(ArgumentText(L"Kestrun.exe"), L"");
    EXPECT_EQ(ArgumentText(L""), L"");
    EXPECT_EQ(ArgumentText(L"\"unterminated -x"), L"");
    EXPECT_EQ(ArgumentText(L"\"a b\"-x"), L"-x");
}

TEST(StartUpRules, LanguageLaterRulesOverrideEarlierOnes) {
    EXPECT_TRUE(ChooseEnglish(L"English", L"", L""));
    EXPECT_FALSE(ChooseEnglish(L"Deutsch", L"", L""));
    EXPECT_TRUE(ChooseEnglish(L"Français", L"", L""));
    EXPECT_FALSE(ChooseEnglish(L"English", L"-german", L""));
    EXPECT_FALSE(ChooseEnglish(L"English", L"x-germanx", L""));  // found anywhere in the text
    EXPECT_TRUE(ChooseEnglish(L"Deutsch", L"-english", L""));
    EXPECT_TRUE(ChooseEnglish(L"Deutsch", L"-english -german", L""));
    EXPECT_TRUE(ChooseEnglish(L"Deutsch", L"-german", L"English"));
    EXPECT_FALSE(ChooseEnglish(L"English", L"-english", L"German"));
    // Only the exact words of the key count.
    EXPECT_FALSE(ChooseEnglish(L"Deutsch", L"", L"english"));
    EXPECT_TRUE(ChooseEnglish(L"English", L"", L"GERMAN"));
    EXPECT_TRUE(ChooseEnglish(L"English", L"", L"Deutsch"));
}

TEST(StartUpRules, ExecutableNameMustBeExactlyKestrun) {
    EXPECT_EQ(ExeBaseName(L"C:\\Program Files\\ICQ7\\Kestrun.exe"), L"Kestrun");
    EXPECT_EQ(ExeBaseName(L"C:\\a.b\\Kestrun"), L"Kestrun");
    EXPECT_EQ(ExeBaseName(L"C:\\x\\Kestrun.copy.exe"), L"Kestrun.copy");
    EXPECT_EQ(ExeBaseName(L"Kestrun.EXE"), L"Kestrun");
    EXPECT_TRUE(IsKestrunName(ExeBaseName(L"D:\\Kestrun.EXE")));
    EXPECT_FALSE(IsKestrunName(ExeBaseName(L"D:\\kestrun.exe")));
    EXPECT_FALSE(IsKestrunName(ExeBaseName(L"D:\\KESTRUN.EXE")));
    EXPECT_FALSE(IsKestrunName(ExeBaseName(L"D:\\Kestrun2.exe")));
    EXPECT_FALSE(IsKestrunName(ExeBaseName(L"D:\\Kestrun (2).exe")));
}

TEST(LaunchCounters, MissingOrInvalidMaximumMeansFive) {
    for (const wchar_t* max : {L"", L"0", L"150", L"-1", L"abc", L"100"}) {
        LaunchNumbers n = CorrectLaunchNumbers(L"", max, L"", 0);
        EXPECT_EQ(n.MaxNr, 5) << max;
        EXPECT_EQ(n.LastNr, 1) << max;
    }
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"99", L"", 0).MaxNr, 99);
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"2", L"", 0).MaxNr, 2);
}

TEST(LaunchCounters, NumbersCycleThroughTheMaximum) {
    EXPECT_EQ(CorrectLaunchNumbers(L"1", L"5", L"1", 0).LastNr, 2);
    EXPECT_EQ(CorrectLaunchNumbers(L"4", L"5", L"1", 0).LastNr, 5);
    EXPECT_EQ(CorrectLaunchNumbers(L"5", L"5", L"1", 0).LastNr, 1);
    EXPECT_EQ(CorrectLaunchNumbers(L"9", L"5", L"1", 0).LastNr, 1);
    EXPECT_EQ(CorrectLaunchNumbers(L"-3", L"5", L"1", 0).LastNr, 1);
    EXPECT_EQ(CorrectLaunchNumbers(L"zwei", L"5", L"1", 0).LastNr, 1);
    EXPECT_EQ(CorrectLaunchNumbers(L"98", L"99", L"1", 0).LastNr, 99);
}

TEST(LaunchCounters, InstanceSwitchOverridesAfterTheStoredTest) {
    LaunchNumbers n = CorrectLaunchNumbers(L"4", L"5", L"", 3);
    EXPECT_EQ(n.MaxNr, 3);
    EXPECT_EQ(n.LastNr, 5);  // tested against the file's 5, not the switch's 3
    EXPECT_EQ(CorrectLaunchNumbers(L"5", L"5", L"", 3).LastNr, 1);
    EXPECT_EQ(CorrectLaunchNumbers(L"2", L"3", L"", 10).LastNr, 3);
    EXPECT_EQ(CorrectLaunchNumbers(L"3", L"3", L"", 10).LastNr, 1);
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"", L"", 99).MaxNr, 99);
}

TEST(LaunchCounters, MaximumOneStartsTheOriginalWithoutANumber) {
    LaunchNumbers n = CorrectLaunchNumbers(L"0", L"1", L"7", 0);
    EXPECT_EQ(n.MaxNr, 1);
    EXPECT_EQ(n.LastNr, 0);
    n = CorrectLaunchNumbers(L"3", L"5", L"", 1);
    EXPECT_EQ(n.MaxNr, 1);
    EXPECT_EQ(n.LastNr, 3);  // unchanged, and never written
}

TEST(LaunchCounters, StartsCountsUpAndStopsAtItsLargestValue) {
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"", L"", 0).Starts, 1);
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"", L"x", 0).Starts, 1);
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"", L"41", 0).Starts, 42);
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"", L"-5", 0).Starts, -4);
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"", L"2147483647", 0).Starts, 2147483647);
    EXPECT_EQ(CorrectLaunchNumbers(L"", L"", L"9999999999", 0).Starts, 1);
    EXPECT_EQ(FollowUpInterval(1), 2000u);
    EXPECT_EQ(FollowUpInterval(-4), 2000u);
    EXPECT_EQ(FollowUpInterval(2), 1000u);
    EXPECT_EQ(CopyNameFor(1), L"ICQ.exe1");
    EXPECT_EQ(CopyNameFor(99), L"ICQ.exe99");
}

TEST(StartModes, WindowModesCountUnlessCheck4KeepsThemForSetModes) {
    WindowModes w;
    w.Minimized = true;
    w.NoTaskbar = true;
    w.LoginOption = 1;
    w.StatusItem = 6;
    StartOptions o;
    ApplyWindowModes(o, w);
    EXPECT_TRUE(o.Minimized);
    EXPECT_TRUE(o.NoTaskbar);
    EXPECT_EQ(o.LoginMode, 2);
    EXPECT_EQ(o.StatusNr, 5);

    w.OnlyOnSetModes = true;
    StartOptions plain;
    ApplyWindowModes(plain, w);
    EXPECT_FALSE(plain.Minimized);
    EXPECT_FALSE(plain.NoTaskbar);
    EXPECT_EQ(plain.LoginMode, 0);
    EXPECT_EQ(plain.StatusNr, 0);

    StartOptions set;
    set.SetModes = true;
    ApplyWindowModes(set, w);
    EXPECT_TRUE(set.Minimized);
    EXPECT_EQ(set.LoginMode, 2);
    EXPECT_EQ(set.StatusNr, 5);
}

TEST(StartModes, CommandLineSwitchesAreNeverReset) {
    WindowModes w;  // all boxes off, option 3, item 1
    StartOptions o;
    o.Minimized = true;
    o.NoTaskbar = true;
    o.LoginMode = 4;
    o.StatusNr = 7;
    ApplyWindowModes(o, w);
    EXPECT_TRUE(o.Minimized);
    EXPECT_TRUE(o.NoTaskbar);
    EXPECT_EQ(o.LoginMode, 4);
    EXPECT_EQ(o.StatusNr, 7);
    w.LoginOption = 0;
    w.StatusItem = 2;
    ApplyWindowModes(o, w);
    EXPECT_EQ(o.LoginMode, 4);
    EXPECT_EQ(o.StatusNr, 7);
}

TEST(StartModes, LoginOptionsMapToModesAndOption3GivesNone) {
    int expected[] = {1, 2, 3, 0};
    for (int opt = 0; opt < 4; ++opt) {
        WindowModes w;
        w.LoginOption = opt;
        StartOptions o;
        ApplyWindowModes(o, w);
        EXPECT_EQ(o.LoginMode, expected[opt]) << opt;
    }
    WindowModes none;
    none.LoginOption = -1;
    StartOptions o;
    ApplyWindowModes(o, none);
    EXPECT_EQ(o.LoginMode, 0);
}

TEST(IcqArgumentText, BuiltInOrderWithItsTrailingBlank) {
    StartOptions o;
    EXPECT_EQ(IcqArguments(o), L"");
    o.LoginMode = 2;
    o.StatusNr = 5;  // item 6, "Invisible away"
    EXPECT_EQ(IcqArguments(o), L"loginmode=2 status=2 visibility=1 ");
    o.IcqParameters = L"a b";
    EXPECT_EQ(IcqArguments(o), L"loginmode=2 status=2 visibility=1 a b");
    StartOptions s;
    s.StatusNr = 7;
    EXPECT_EQ(IcqArguments(s), L"status=4 visibility=1 ");
    StartOptions l;
    l.LoginMode = 4;
    EXPECT_EQ(IcqArguments(l), L"loginmode=4 ");
    StartOptions p;
    p.IcqParameters = L"x=1";
    EXPECT_EQ(IcqArguments(p), L"x=1");
}

TEST(IcqArgumentText, StatusAndVisibilityPerStatusNumber) {
    const wchar_t* expected[] = {
        L"", L"status=1 visibility=4 ", L"status=2 visibility=4 ", L"status=3 visibility=4 ",
        L"status=1 visibility=1 ", L"status=2 visibility=1 ", L"status=3 visibility=1 ", L"status=4 visibility=1 ",
    };
    for (int16_t nr = 0; nr <= 7; ++nr) {
        StartOptions o;
        o.StatusNr = nr;
        EXPECT_EQ(IcqArguments(o), expected[nr]) << nr;
    }
}

TEST(SettingsValues, MaxNrShownAndSaved) {
    EXPECT_EQ(ShownMaxNr(L"5", L""), L"5");
    EXPECT_EQ(ShownMaxNr(L"5", L"7"), L"7");
    EXPECT_EQ(ShownMaxNr(L"5", L"0"), L"0");
    EXPECT_EQ(ShownMaxNr(L"5", L"150"), L"99");
    EXPECT_EQ(ShownMaxNr(L"5", L"abc"), L"99");
    EXPECT_EQ(ShownMaxNr(L"5", L"x"), L"x");
    EXPECT_EQ(SavedMaxNr(L"99"), L"99");
    EXPECT_EQ(SavedMaxNr(L"1"), L"1");
    EXPECT_EQ(SavedMaxNr(L"07"), L"7");
    for (const wchar_t* bad : {L"0", L"100", L"", L"x", L"-3", L"70000"}) EXPECT_EQ(SavedMaxNr(bad), L"5") << bad;
}

TEST(SettingsValues, LoginModeAndStatusOnlyExactDigits) {
    EXPECT_EQ(LoginOptionFor(L"1"), 0);
    EXPECT_EQ(LoginOptionFor(L"4"), 3);
    EXPECT_EQ(LoginOptionFor(L"2"), 1);
    for (const wchar_t* bad : {L"", L"0", L"5", L"01", L"2 ", L"x"}) EXPECT_EQ(LoginOptionFor(bad), 3) << bad;
    EXPECT_EQ(StatusItemFor(L"1"), 1);
    EXPECT_EQ(StatusItemFor(L"7"), 7);
    for (const wchar_t* bad : {L"", L"0", L"8", L"07", L"x"}) EXPECT_EQ(StatusItemFor(bad), 1) << bad;
}

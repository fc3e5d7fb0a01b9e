// Kestrun's start-up and launch rules: argument text, language, name check,
// launch counters, start modes, ICQ's argument text, the settings values and
// record, the new instance's window and the two error boxes.
#include <gtest/gtest.h>
#include <vector>
#include "kestrun/rules/failuretexts.h"
#include "kestrun/rules/icqwindow.h"
#include "kestrun/rules/launchrules.h"
#include "kestrun/rules/settings_record.h"

TEST(StartUpRules, ArgumentsLanguageAndName) {
    EXPECT_EQ(ArgumentText(L"\"C:\\Program Files\\ICQ7\\Kestrun.exe\" -showme"), L"-showme");
    EXPECT_EQ(ArgumentText(L"C:\\ICQ7\\Kestrun.exe   -wait=5 -toicq:a  "), L"-wait=5 -toicq:a");
    EXPECT_EQ(ArgumentText(L"\"unterminated -x"), L"");
    EXPECT_EQ(ArgumentText(L""), L"");

    struct Lang { const wchar_t* locale; const wchar_t* text; const wchar_t* key; bool english; } langs[] = {
        {L"English", L"", L"", true},          {L"Deutsch", L"", L"", false},
        {L"English", L"x-germanx", L"", false}, {L"Deutsch", L"-english -german", L"", true},
        {L"Deutsch", L"-german", L"English", true}, {L"English", L"-english", L"German", false},
        {L"Deutsch", L"", L"english", false},   {L"English", L"", L"GERMAN", true},
    };
    for (const auto& l : langs) EXPECT_EQ(ChooseEnglish(l.locale, l.text, l.key), l.english) << l.text << l.key;

    EXPECT_TRUE(IsKestrunName(ExeBaseName(L"C:\\a.b\\Kestrun.EXE")));
    for (const wchar_t* bad : {L"D:\\kestrun.exe", L"D:\\KESTRUN.EXE", L"D:\\Kestrun2.exe", L"D:\\Kestrun.old.exe"})
        EXPECT_FALSE(IsKestrunName(ExeBaseName(bad))) << bad;
}

TEST(LaunchCounters, CorrectionsInTheirOrder) {
    struct Case { const wchar_t* last; const wchar_t* max; const wchar_t* starts; int16_t limit;
                  int32_t maxNr, lastNr, startsNr; } cases[] = {
        {L"", L"", L"", 0, 5, 1, 1},          {L"", L"150", L"x", 0, 5, 1, 1},
        {L"", L"0", L"41", 0, 5, 1, 42},      {L"4", L"5", L"", 0, 5, 5, 1},
        {L"5", L"5", L"", 0, 5, 1, 1},        {L"-3", L"5", L"", 0, 5, 1, 1},
        {L"98", L"99", L"", 0, 99, 99, 1},
        // "-instances=" replaces the maximum only after "LastNr" was tested against the file's.
        {L"4", L"5", L"", 3, 3, 5, 1},        {L"3", L"3", L"", 10, 10, 1, 1},
        // A maximum of 1 starts ICQ.exe itself: no number is taken.
        {L"3", L"1", L"7", 0, 1, 0, 8},       {L"3", L"5", L"", 1, 1, 3, 1},
        // The counter stops at its largest value; a value beyond 32 bits is no number.
        {L"", L"", L"2147483647", 0, 5, 1, 2147483647}, {L"", L"", L"9999999999", 0, 5, 1, 1},
    };
    for (const auto& c : cases) {
        LaunchNumbers n = CorrectLaunchNumbers(c.last, c.max, c.starts, c.limit);
        EXPECT_EQ(n.MaxNr, c.maxNr) << c.last << "/" << c.max << "/" << c.limit;
        EXPECT_EQ(n.LastNr, c.lastNr) << c.last << "/" << c.max << "/" << c.limit;
        EXPECT_EQ(n.Starts, c.startsNr) << c.starts;
    }
    EXPECT_EQ(FollowUpInterval(1), 2000u);
    EXPECT_EQ(FollowUpInterval(2), 1000u);
    EXPECT_EQ(CopyNameFor(12), L"ICQ.exe12");
}

TEST(StartModes, SettingsModesAddToTheSwitchesUnlessKeptForSetModes) {
    KestrunSettings w{true, true, false, 1, 6};
    StartOptions o;
    ApplyStartModes(o, w);
    EXPECT_TRUE(o.Minimized && o.NoTaskbar);
    EXPECT_EQ(IcqArguments(o), L"loginmode=2 status=2 visibility=1 ");

    w.OnlyOnSetModes = true;
    StartOptions kept;
    ApplyStartModes(kept, w);
    EXPECT_FALSE(kept.Minimized || kept.NoTaskbar);
    EXPECT_EQ(IcqArguments(kept), L"");
    kept.SetModes = true;
    ApplyStartModes(kept, w);
    EXPECT_EQ(IcqArguments(kept), L"loginmode=2 status=2 visibility=1 ");

    // The command line's own values are never replaced, only added to.
    StartOptions cmd;
    cmd.LoginMode = 4;
    cmd.StatusNr = 7;
    cmd.IcqParameters = L"a b";
    ApplyStartModes(cmd, KestrunSettings{false, false, false, 0, 2});
    EXPECT_EQ(IcqArguments(cmd), L"loginmode=4 status=4 visibility=1 a b");

    // Login options 0..2 give modes 1..3; option 3 or none gives no parameter.
    const wchar_t* login[] = {L"loginmode=1 ", L"loginmode=2 ", L"loginmode=3 ", L"", L""};
    for (int opt = 0; opt <= 4; ++opt) {
        StartOptions s;
        ApplyStartModes(s, KestrunSettings{false, false, false, opt == 4 ? -1 : opt, 1});
        EXPECT_EQ(IcqArguments(s), login[opt]) << opt;
    }
    const wchar_t* status[] = {L"", L"status=1 visibility=4 ", L"status=2 visibility=4 ", L"status=3 visibility=4 ",
                               L"status=1 visibility=1 ", L"status=2 visibility=1 ", L"status=3 visibility=1 "};
    for (int item = 1; item <= 7; ++item) {
        StartOptions s;
        ApplyStartModes(s, KestrunSettings{false, false, false, 3, item});
        EXPECT_EQ(IcqArguments(s), status[item - 1]) << item;
    }
}

TEST(SettingsValues, ShownAndSavedCorrections) {
    EXPECT_EQ(ShownMaxNr(L"5", L""), L"5");
    EXPECT_EQ(ShownMaxNr(L"5", L"0"), L"0");
    EXPECT_EQ(ShownMaxNr(L"5", L"150"), L"99");
    EXPECT_EQ(SavedMaxNr(L"07"), L"7");
    EXPECT_EQ(SavedMaxNr(L"99"), L"99");
    for (const wchar_t* bad : {L"0", L"100", L"", L"x", L"-3", L"70000"}) EXPECT_EQ(SavedMaxNr(bad), L"5") << bad;
    EXPECT_EQ(LoginOptionFor(L"1"), 0);
    EXPECT_EQ(LoginOptionFor(L"4"), 3);
    EXPECT_EQ(StatusItemFor(L"7"), 7);
    for (const wchar_t* bad : {L"", L"0", L"8", L"01", L"2 ", L"x"}) {
        EXPECT_EQ(LoginOptionFor(bad), 3) << bad;
        EXPECT_EQ(StatusItemFor(bad), 1) << bad;
    }
}

TEST(SettingsRecord, LoadsCorrectedValuesAndSavesEveryKey) {
    // Nothing stored: the defaults, with the maximum the window showed before.
    KestrunSettings before;
    before.MaxInstances = L"7";
    KestrunSettings empty = SettingsFromStored(StoredSettings{}, before);
    EXPECT_EQ(empty.MaxInstances, L"7");
    EXPECT_TRUE(empty.ShowWindow);
    EXPECT_FALSE(empty.Minimized || empty.NoTaskbar || empty.OnlyOnSetModes);
    EXPECT_EQ(empty.LoginOption, 3);
    EXPECT_EQ(empty.StatusItem, 1);

    // Stored values count only when exact; the rest is corrected as the window shows it.
    StoredSettings odd{L"150", L"0", L"1", L"yes", L"2", L"7", L"1"};
    KestrunSettings loaded = SettingsFromStored(odd);
    EXPECT_EQ(loaded.MaxInstances, L"99");
    EXPECT_FALSE(loaded.ShowWindow);
    EXPECT_TRUE(loaded.Minimized);
    EXPECT_FALSE(loaded.NoTaskbar);
    EXPECT_EQ(loaded.LoginOption, 1);
    EXPECT_EQ(loaded.StatusItem, 7);
    EXPECT_TRUE(loaded.OnlyOnSetModes);

    // Saving writes every key in its stored form; valid values come back unchanged.
    StoredSettings valid{L"12", L"1", L"0", L"1", L"4", L"3", L"0"};
    StoredSettings saved = StoredFromSettings(SettingsFromStored(valid));
    EXPECT_EQ(std::vector<std::wstring>({saved.MaxNr, saved.ShowMe, saved.Minimized, saved.NoTaskbar, saved.LoginMode,
                                         saved.LoginStatus, saved.SetMode}),
              std::vector<std::wstring>({L"12", L"1", L"0", L"1", L"4", L"3", L"0"}));
    // A maximum that is no number saves as 5; with no login option chosen, LoginMode is left out.
    KestrunSettings typed;
    typed.MaxInstances = L"x";
    typed.LoginOption = -1;
    StoredSettings out = StoredFromSettings(typed);
    EXPECT_EQ(out.MaxNr, L"5");
    EXPECT_EQ(out.LoginMode, L"");
}

TEST(IcqWindow, HelperWindowsShownStateAndTheToolWindowStyle) {
    for (const wchar_t* helper : {L"IME", L"MSCTFIME UI", L"CicMarshalWndClass", L"OleMainThreadWndClass",
                                  L"GDI+ Hook Window Class", L"ime", L"olemainthreadwndclass"})
        EXPECT_TRUE(IsHelperWindowClass(helper)) << helper;
    for (const wchar_t* other : {L"", L"IcqStubWindow", L"IMEx", L"IM", L"#32770", L"OleMainThreadWnd"})
        EXPECT_FALSE(IsHelperWindowClass(other)) << other;

    // Only the visible bit counts: a shown pop-up (sign bit set) is shown, a
    // hidden minimized window with clip-siblings is not.
    EXPECT_TRUE(IsShownStyle(0x90000000u));   // a shown pop-up
    EXPECT_TRUE(IsShownStyle(0x10000000u));   // the visible bit alone
    EXPECT_TRUE(IsShownStyle(0x14CF0000u));   // a shown captioned window
    EXPECT_FALSE(IsShownStyle(0x24CF0000u));  // hidden and minimized
    EXPECT_FALSE(IsShownStyle(0x80000000u));  // a hidden pop-up

    EXPECT_EQ(ToolWindowExStyle(0u), 0x80u);
    EXPECT_EQ(ToolWindowExStyle(0x40000u), 0x80u);         // the app-window bit goes
    EXPECT_EQ(ToolWindowExStyle(0x80108u), 0x80188u);      // layered, topmost, window edge stay
    EXPECT_EQ(ToolWindowExStyle(0xC0108u), 0x80188u);      // ...also where the app-window bit goes
}

TEST(ErrorBoxes, MessageReasonAndHintEachOnALine) {
    EXPECT_EQ(ReasonLine(L"Access denied.\r\n", L"x"), L"Access denied.");
    EXPECT_EQ(ReasonLine(L"Two lines\r\nof reason. \r\n\r\n", L"x"), L"Two lines\r\nof reason.");
    EXPECT_EQ(ReasonLine(L" \r\n", L"x"), L"");
    // Where the system names the file, it is named; a "%1" in its name stays as it is.
    EXPECT_EQ(ReasonLine(L"%1 is not a valid Win32 application.\r\n", L"C:\\ICQ 7\\ICQ.exe2"),
              L"C:\\ICQ 7\\ICQ.exe2 is not a valid Win32 application.");
    EXPECT_EQ(ReasonLine(L"%1 or %1", L"a%1"), L"a%1 or a%1");

    const std::wstring copy = L"C:\\ICQ7\\ICQ.exe1";
    EXPECT_EQ(StartFailedText(true, L"Bad EXE format for %1.\r\n", copy, false),
              L"ICQ 7 could not be started.\nBad EXE format for C:\\ICQ7\\ICQ.exe1.");
    EXPECT_EQ(StartFailedText(false, L"Zugriff verweigert\r\n", copy, true),
              L"ICQ 7 konnte nicht gestartet werden.\nZugriff verweigert\nKestrun darf im ICQ-7-Ordner nicht "
              L"schreiben. Starten Sie Ternavo und klicken Sie noch einmal auf Start: Ternavo bereitet die Kopien vor.");
    EXPECT_EQ(StartFailedText(true, L"Access denied.", copy, true),
              L"ICQ 7 could not be started.\nAccess denied.\nKestrun may not write in the ICQ 7 folder. Run Ternavo "
              L"and press Start once more: it prepares the copies.");
    // Without a text from the system the message stands alone.
    EXPECT_EQ(StartFailedText(true, L"", copy, false), L"ICQ 7 could not be started.");
    EXPECT_EQ(SaveFailedText(true, L"Sharing violation.\r\n", L"k.ini"), L"The settings could not be saved.\nSharing violation.");
    EXPECT_EQ(SaveFailedText(false, L"", L"k.ini"), L"Die Einstellungen konnten nicht gespeichert werden.");
}

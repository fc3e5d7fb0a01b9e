// Ternavo's main window under an English system locale, driven as a person
// would: its layout and texts, the language rules, restoring and saving the
// choices in ternavo.ini, the Start button and the status line.
#include <gtest/gtest.h>
#include "tests/windows/ternavo_window/driver.h"

using tv::ExpectAt;
using tv::ExpectedRect;
using tv::Ternavo;

namespace {

constexpr const char* kBoxes[] = {"ICQLiteBox", "ICQProBox", "ICQ6Box", "ICQ7Box"};

void ExpectEnglish(Ternavo& t) {
    EXPECT_EQ(wt::Text(t.C("Headline")), L"Allows you to start multiple instances of ICQ.");
    EXPECT_EQ(wt::Text(t.C("OptionsFrame")), L"Options");
    EXPECT_EQ(wt::Text(t.C("SettingsLink")), L"Settings");
    EXPECT_EQ(wt::Shown(wt::Text(t.C("ExitButton"))), L"Exit");
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    EXPECT_EQ(t.ComboItem(0), L"Allow multiple instances of ICQ");
    EXPECT_EQ(t.ComboItem(1), L"Only one instance of ICQ");
    EXPECT_EQ(wt::Text(t.Settings()), L"Kestrun - Settings");
    EXPECT_EQ(wt::Shown(wt::Text(t.InSettings("ChangeButton"))), L"Change");
}

void ExpectGerman(Ternavo& t) {
    EXPECT_EQ(wt::Text(t.C("Headline")), L"Ermöglicht das mehrfache Starten von ICQ.");
    EXPECT_EQ(wt::Text(t.C("OptionsFrame")), L"Optionen");
    EXPECT_EQ(wt::Text(t.C("SettingsLink")), L"Einstellungen");
    EXPECT_EQ(wt::Shown(wt::Text(t.C("ExitButton"))), L"Beenden");
    EXPECT_EQ(t.Status(), L"Optionen wählen und starten.");
    EXPECT_EQ(t.ComboItem(0), L"Mehrere Instanzen von ICQ erlauben");
    EXPECT_EQ(t.ComboItem(1), L"Nur eine Instanz von ICQ");
    EXPECT_EQ(wt::Text(t.Settings()), L"Kestrun - Einstellungen");
    EXPECT_EQ(wt::Shown(wt::Text(t.InSettings("ChangeButton"))), L"Ändern");
}

}  // namespace

TEST(MainWindow, FirstStartShowsEveryControlInPlaceWithEnglishTexts) {
    Ternavo t;
    ASSERT_TRUE(t.Start());
    EXPECT_EQ(wt::Text(t.main), TERNAVO_CAPTION);
    LONG style = GetWindowLongW(t.main, GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    RECT client;
    GetClientRect(t.main, &client);
    EXPECT_EQ(client.right, 3750 / 15);
    EXPECT_EQ(client.bottom, 3180 / 15);

    for (const char* name : {"OptionsFrame", "OptionsPanel", "ICQProBox", "ICQLiteBox", "ICQ6Box", "ICQ7Box", "StartButton", "InfoButton",
                             "ExitButton"})
        ExpectAt(t.C(name), t.main, ExpectedRect(kMainWindowControls, kMainWindowCount, name), true, name);
    ExpectAt(t.C("InstancesList"), t.main, ExpectedRect(kMainWindowControls, kMainWindowCount, "InstancesList"), false, "InstancesList");
    // The check boxes stand from top to bottom: ICQ Pro 2003, ICQ Lite, ICQ 6, ICQ 7.
    EXPECT_LT(wt::RectIn(t.C("ICQProBox"), t.main).top, wt::RectIn(t.C("ICQLiteBox"), t.main).top);
    EXPECT_LT(wt::RectIn(t.C("ICQLiteBox"), t.main).top, wt::RectIn(t.C("ICQ6Box"), t.main).top);
    EXPECT_LT(wt::RectIn(t.C("ICQ6Box"), t.main).top, wt::RectIn(t.C("ICQ7Box"), t.main).top);
    EXPECT_EQ(wt::Shown(wt::Text(t.C("ICQProBox"))), L"ICQ Pro 2003");

    // Labels sized to their text keep their top left corner; the centred
    // headline keeps its centre, the window's middle.
    RECT status = wt::RectIn(t.C("StatusLine"), t.main);
    RECT statusWant = ExpectedRect(kMainWindowControls, kMainWindowCount, "StatusLine");
    EXPECT_NEAR(status.left, statusWant.left, 1);
    EXPECT_NEAR(status.top, statusWant.top, 1);
    EXPECT_NEAR(status.bottom - status.top, 13, 1);
    RECT link = wt::RectIn(t.C("SettingsLink"), t.main);
    RECT linkWant = ExpectedRect(kMainWindowControls, kMainWindowCount, "SettingsLink");
    EXPECT_NEAR(link.left, linkWant.left, 1);
    EXPECT_NEAR(link.top, linkWant.top, 1);
    EXPECT_LT(link.right, wt::RectIn(t.C("OptionsFrame"), t.main).right);
    RECT head = wt::RectIn(t.C("Headline"), t.main);
    EXPECT_NEAR((head.left + head.right) / 2, client.right / 2, 1);
    EXPECT_NEAR(head.top, 45 / 15, 1);

    // The settings dialog is not made before it is first shown.
    EXPECT_FALSE(t.SettingsDialog());
    ExpectEnglish(t);
    EXPECT_EQ(SendMessageW(t.C("InstancesList"), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(t.ComboIndex(), 0);
    for (const char* box : kBoxes) EXPECT_FALSE(wt::IsChecked(t.C(box))) << box;
    EXPECT_FALSE(IsWindowEnabled(t.C("StartButton")));
    EXPECT_FALSE(IsWindowVisible(t.C("SuccessMark")));
    EXPECT_FALSE(IsWindowVisible(t.C("FailureMark")));
    // Nothing was found, so the folder box is empty and OK cannot be pressed.
    EXPECT_EQ(t.FolderBox(), L"");
    EXPECT_FALSE(IsWindowEnabled(t.InSettings("OkButton")));
    EXPECT_TRUE(wt::IsChecked(t.InSettings("ShortcutBox")));
    // Starting writes nothing.
    EXPECT_FALSE(wt::Exists(t.ini));
}

TEST(Language, SwitchesAndSettingOverrideTheLocaleInTurn) {
    struct Case {
        const wchar_t* args;
        const wchar_t* language;  // nullptr: no key
        bool english;
    } cases[] = {
        {L"-german", nullptr, false},
        {L"-germanistik", nullptr, false},          // a switch that merely begins with "-german"
        {L"-german -english", nullptr, true},       // both: English
        {L"-English", nullptr, true},               // not the switch: the locale decides
        {L"-english", L"German", false},            // the file wins
        {L"-german", L"English", true},
        {L"-german", L"english", false},            // only exact values count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.args) + L" / " + (c.language ? c.language : L"-"));
        Ternavo t(L"lang");
        if (c.language) t.Set(L"Language", c.language);
        ASSERT_TRUE(t.Start(c.args));
        if (c.english) ExpectEnglish(t);
        else ExpectGerman(t);
        EXPECT_EQ(wt::Text(t.main), TERNAVO_CAPTION);
    }
}

TEST(LoadOptions, StoredBoxesAreRestoredCrosswiseAndOnlyExactOnesCount) {
    {
        // "ICQPro" holds ICQ Lite's box; "ICQLite" holds ICQ Pro's.
        Ternavo t(L"load");
        t.Set(L"ICQPro", L"1");
        ASSERT_TRUE(t.Start());
        EXPECT_TRUE(wt::IsChecked(t.C("ICQLiteBox")));
        EXPECT_FALSE(wt::IsChecked(t.C("ICQProBox")));
        EXPECT_FALSE(wt::IsChecked(t.C("ICQ6Box")));
        EXPECT_FALSE(wt::IsChecked(t.C("ICQ7Box")));
        EXPECT_TRUE(IsWindowEnabled(t.C("StartButton")));
        EXPECT_EQ(t.ComboIndex(), 0);
    }
    {
        Ternavo t(L"load");
        t.Set(L"ICQLite", L"1");
        t.Set(L"ICQ6", L"1");
        t.Set(L"ICQ7", L"1");
        t.Set(L"Instances", L"1");
        ASSERT_TRUE(t.Start());
        EXPECT_FALSE(wt::IsChecked(t.C("ICQLiteBox")));
        EXPECT_TRUE(wt::IsChecked(t.C("ICQProBox")));
        EXPECT_TRUE(wt::IsChecked(t.C("ICQ6Box")));
        EXPECT_TRUE(wt::IsChecked(t.C("ICQ7Box")));
        EXPECT_EQ(t.ComboIndex(), 1);
        EXPECT_EQ(wt::Text(t.C("InstancesList")), L"Only one instance of ICQ");
        EXPECT_TRUE(IsWindowEnabled(t.C("StartButton")));
        EXPECT_EQ(t.Focus(), t.C("StartButton"));  // first in the keyboard order
    }
    for (const wchar_t* instances : {L"2", L"-1"}) {
        Ternavo t(L"load");
        t.Set(L"ICQPro", L"yes");
        t.Set(L"ICQLite", L"1x");
        t.Set(L"ICQ6", L"01");
        t.Set(L"ICQ7", L"true");
        t.Set(L"Instances", instances);
        ASSERT_TRUE(t.Start());
        for (const char* box : kBoxes) EXPECT_FALSE(wt::IsChecked(t.C(box))) << box;
        EXPECT_FALSE(IsWindowEnabled(t.C("StartButton")));
        EXPECT_EQ(t.ComboIndex(), 0) << instances;
    }
}

TEST(LoadOptions, SavedFolderIsShownAsStoredOrReplacedByTheSearch) {
    std::wstring icq7 = wt::NewDir(L"saved7");
    wt::InstallStandIn(icq7, L"icq7");
    std::wstring icq6 = wt::NewDir(L"saved6");
    wt::InstallStandIn(icq6, L"icq6");
    std::wstring half = wt::NewDir(L"half");
    CopyFileW((wt::FixtureDir(L"icq7") + L"ICQ.exe").c_str(), (half + L"ICQ.exe").c_str(), FALSE);
    std::wstring noSlash = icq7.substr(0, icq7.size() - 1);
    {
        // Exactly as stored: no backslash is added for the box.
        Ternavo t(L"path");
        t.Set(L"ICQ7Path", noSlash);
        ASSERT_TRUE(t.Start());
        EXPECT_EQ(t.FolderBox(), noSlash);
        EXPECT_TRUE(IsWindowEnabled(t.InSettings("OkButton")));
    }
    {
        // Restoring checks only that ICQ.exe and MCore.dll are there, not their version.
        Ternavo t(L"path");
        t.Set(L"ICQ7Path", icq6);
        ASSERT_TRUE(t.Start());
        EXPECT_EQ(t.FolderBox(), icq6);
    }
    {
        // A saved folder that lost MCore.dll gives way to the search, which
        // finds the ICQ 7 beside Ternavo itself; the file keeps the old value.
        Ternavo t(L"path");
        wt::InstallStandIn(t.dir, L"icq7");
        t.Set(L"ICQ7Path", half);
        ASSERT_TRUE(t.Start());
        EXPECT_EQ(t.FolderBox(), t.dir.substr(0, t.dir.size() - 1));
        EXPECT_EQ(t.Get(L"ICQ7Path"), half);
    }
}

TEST(StartButton, EnabledExactlyWhileABoxIsChecked) {
    Ternavo t;
    ASSERT_TRUE(t.Start());
    HWND start = t.C("StartButton");
    EXPECT_FALSE(IsWindowEnabled(start));
    wt::Click(t.C("ICQ7Box"));
    EXPECT_TRUE(IsWindowEnabled(start));
    wt::Click(t.C("ICQ7Box"));
    EXPECT_FALSE(IsWindowEnabled(start));
    wt::Click(t.C("ICQProBox"));
    wt::Click(t.C("ICQ6Box"));
    wt::Click(t.C("ICQProBox"));
    EXPECT_TRUE(IsWindowEnabled(start));
    wt::Click(t.C("ICQ6Box"));
    EXPECT_FALSE(IsWindowEnabled(start));
    wt::Click(t.C("ICQLiteBox"));
    EXPECT_TRUE(IsWindowEnabled(start));
    wt::Click(t.C("ICQLiteBox"));
    // Changing the choice of instances only resets the status line.
    t.Key(t.C("InstancesList"), VK_DOWN);
    EXPECT_EQ(t.ComboIndex(), 1);
    EXPECT_FALSE(IsWindowEnabled(start));
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    // Nothing is saved without a run.
    EXPECT_FALSE(wt::Exists(t.ini));
}

TEST(Result, SuccessShowsTheGreenMarkSavesTheChoicesAndRevertsAfterThreeSeconds) {
    Ternavo t(L"ok");
    ASSERT_TRUE(t.Start());
    wt::Click(t.C("ICQLiteBox"));  // ICQ Lite, allow: its registry key is created when missing
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    DWORD shown = GetTickCount();
    HWND image = t.C("SuccessMark");
    EXPECT_TRUE(IsWindowVisible(image));
    EXPECT_FALSE(IsWindowVisible(t.C("FailureMark")));
    RECT label = wt::RectIn(t.C("StatusLine"), t.main);
    RECT mark = wt::RectIn(image, t.main);
    EXPECT_NEAR(tv::Tw(mark.left - label.right), 130, 15);
    EXPECT_NEAR(mark.top, ExpectedRect(kMainWindowControls, kMainWindowCount, "SuccessMark").top, 1);
    EXPECT_EQ(mark.right - mark.left, 22);
    EXPECT_EQ(mark.bottom - mark.top, 17);
    EXPECT_EQ(t.Focus(), t.C("StartButton"));

    // Saved crosswise, "ICQ7Path" only with the ICQ 7 box.
    EXPECT_EQ(t.Get(L"ICQPro"), L"1");
    EXPECT_EQ(t.Get(L"ICQLite"), L"0");
    EXPECT_EQ(t.Get(L"ICQ6"), L"0");
    EXPECT_EQ(t.Get(L"ICQ7"), L"0");
    EXPECT_EQ(t.Get(L"Shortcut"), L"1");
    EXPECT_EQ(t.Get(L"Instances"), L"0");
    EXPECT_FALSE(t.Has(L"ICQ7Path"));

    ASSERT_TRUE(t.WaitStatus(L"Choose options and click Start", 10000));
    EXPECT_GE(GetTickCount() - shown, 2500u);  // not before the three seconds are up
    EXPECT_FALSE(IsWindowVisible(image));
    EXPECT_FALSE(IsWindowVisible(t.C("FailureMark")));

    // A second copy restores what the first one saved.
    t.proc.Kill();
    ASSERT_TRUE(t.Start());
    EXPECT_TRUE(wt::IsChecked(t.C("ICQLiteBox")));
    EXPECT_FALSE(wt::IsChecked(t.C("ICQProBox")));
}

TEST(Result, FailureShowsTheRedMarkWhichAnOptionClickLeavesInPlace) {
    Ternavo t(L"fail");
    t.Set(L"ICQLite", L"1");    // ICQ Pro 2003 ...
    t.Set(L"Instances", L"1");  // ... only one instance: its key is missing, so this fails
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(wt::IsChecked(t.C("ICQProBox")));
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
    HWND image = t.C("FailureMark");
    EXPECT_TRUE(IsWindowVisible(image));
    EXPECT_FALSE(IsWindowVisible(t.C("SuccessMark")));
    RECT label = wt::RectIn(t.C("StatusLine"), t.main);
    RECT mark = wt::RectIn(image, t.main);
    EXPECT_NEAR(tv::Tw(mark.left - label.right), 130, 15);
    EXPECT_NEAR(mark.top, ExpectedRect(kMainWindowControls, kMainWindowCount, "FailureMark").top, 1);
    EXPECT_EQ(mark.bottom - mark.top, 24);
    EXPECT_EQ(t.Get(L"ICQLite"), L"1");
    EXPECT_EQ(t.Get(L"Instances"), L"1");

    // An option click shows the idle text with its period at once ...
    t.Key(t.C("InstancesList"), VK_UP);
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    EXPECT_TRUE(IsWindowVisible(image));
    // ... and the timer still takes the image away and shows the text without it.
    ASSERT_TRUE(t.WaitStatus(L"Choose options and click Start", 10000));
    EXPECT_FALSE(IsWindowVisible(image));
}

TEST(Result, SaveWritesTheFolderBoxAsItStandsWhenIcq7IsChecked) {
    std::wstring icq7 = wt::NewDir(L"save7");
    wt::InstallStandIn(icq7, L"icq7");
    std::wstring noSlash = icq7.substr(0, icq7.size() - 1);
    Ternavo t(L"save");
    t.Set(L"ICQ7Path", noSlash);
    t.Set(L"ICQ7", L"1");
    ASSERT_TRUE(t.Start());
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!", 20000));
    EXPECT_EQ(t.Get(L"ICQ7"), L"1");
    EXPECT_EQ(t.Get(L"ICQ7Path"), noSlash);
}

TEST(Program, ExitEndsItAndTwoCopiesRunSideBySide) {
    Ternavo first(L"two");
    ASSERT_TRUE(first.Start());
    Ternavo second(L"two");
    ASSERT_TRUE(second.Start());
    EXPECT_NE(first.main, second.main);
    EXPECT_TRUE(first.proc.Running());
    EXPECT_TRUE(IsWindowVisible(first.main));
    EXPECT_TRUE(IsWindowVisible(second.main));

    // Exit after the about box was used once.
    first.Press(first.C("InfoButton"));
    ASSERT_TRUE(first.WaitShown(first.AboutBox()));
    first.Key(first.InAbout("OkButton"), VK_ESCAPE);
    ASSERT_TRUE(first.WaitHidden(first.AboutBox()));
    first.Press(first.C("ExitButton"));
    ASSERT_TRUE(first.proc.WaitExit(10000));
    EXPECT_EQ(first.proc.ExitCode(), 0u);
    EXPECT_TRUE(second.proc.Running());
    second.Press(second.C("ExitButton"));
    ASSERT_TRUE(second.proc.WaitExit(10000));
    EXPECT_EQ(second.proc.ExitCode(), 0u);
}

TEST(LoadOptions, OversizedAndOddValuesStartCleanly) {
    Ternavo t(L"odd");
    t.Set(L"ICQ7Path", L"C:\\" + std::wstring(5000, L'x') + L"\\\"ICQ.exe\" %1");
    t.Set(L"Language", std::wstring(3000, L'E'));
    t.Set(L"Instances", L"99999999999999999999");
    t.Set(L"ICQ7", L"1");
    ASSERT_TRUE(t.Start(L"-english " + std::wstring(2000, L'-')));
    EXPECT_EQ(t.FolderBox(), L"");
    EXPECT_FALSE(IsWindowEnabled(t.InSettings("OkButton")));
    EXPECT_TRUE(wt::IsChecked(t.C("ICQ7Box")));
    EXPECT_EQ(t.ComboIndex(), 0);
    EXPECT_EQ(wt::Shown(wt::Text(t.C("ExitButton"))), L"Exit");
    EXPECT_TRUE(t.proc.Running());
}

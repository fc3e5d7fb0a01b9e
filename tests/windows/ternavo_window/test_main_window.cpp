// Ternavo's main window under an English system locale, driven as a person
// would: its layout and texts, the language rules, restoring and saving the
// choices in ternavo.ini, the Start button and the status line.
#include <gtest/gtest.h>
#include "tests/windows/ternavo_window/driver.h"

using tv::ExpectAt;
using tv::ExpectedRect;
using tv::Ternavo;

namespace {

constexpr const char* kBoxes[] = {"Check1", "Check2", "Check3", "Check4"};

void ExpectEnglish(Ternavo& t) {
    EXPECT_EQ(wt::Text(t.C("Label2")), L"Allows you to start multiple instances of ICQ.");
    EXPECT_EQ(wt::Text(t.C("Frame2")), L"Options");
    EXPECT_EQ(wt::Text(t.C("Label3")), L"Settings");
    EXPECT_EQ(wt::Text(t.C("Command2")), L"Exit");
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    EXPECT_EQ(t.ComboItem(0), L"Allow multiple instances of ICQ");
    EXPECT_EQ(t.ComboItem(1), L"Only one instance of ICQ");
    EXPECT_EQ(wt::Text(t.Form3()), L"Kestrun - Settings");
    EXPECT_EQ(wt::Text(t.F3("Command1")), L"Change");
}

void ExpectGerman(Ternavo& t) {
    EXPECT_EQ(wt::Text(t.C("Label2")), L"Ermöglicht das mehrfache Starten von ICQ.");
    EXPECT_EQ(wt::Text(t.C("Frame2")), L"Optionen");
    EXPECT_EQ(wt::Text(t.C("Label3")), L"Einstellungen");
    EXPECT_EQ(wt::Text(t.C("Command2")), L"Beenden");
    EXPECT_EQ(t.Status(), L"Optionen wählen und starten.");
    EXPECT_EQ(t.ComboItem(0), L"Mehrere Instanzen von ICQ erlauben");
    EXPECT_EQ(t.ComboItem(1), L"Nur eine Instanz von ICQ");
    EXPECT_EQ(wt::Text(t.Form3()), L"Kestrun - Einstellungen");
    EXPECT_EQ(wt::Text(t.F3("Command1")), L"Ändern");
}

}  // namespace

TEST(MainWindow, FirstStartShowsEveryControlInPlaceWithEnglishTexts) {
    Ternavo t;
    ASSERT_TRUE(t.Start());
    EXPECT_EQ(wt::Text(t.main), L"Ternavo v.1.5");
    LONG style = GetWindowLongW(t.main, GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    RECT client;
    GetClientRect(t.main, &client);
    EXPECT_EQ(client.right, 3750 / 15);
    EXPECT_EQ(client.bottom, 3180 / 15);

    for (const char* name : {"Frame2", "Picture1", "Check2", "Check1", "Check3", "Check4", "Command3", "Command1",
                             "Command2"})
        ExpectAt(t.C(name), t.main, ExpectedRect(kForm1Controls, kForm1Count, name), true, name);
    ExpectAt(t.C("Combo1"), t.main, ExpectedRect(kForm1Controls, kForm1Count, "Combo1"), false, "Combo1");
    // The check boxes stand from top to bottom: ICQ Pro 2003, ICQ Lite, ICQ 6, ICQ 7.
    EXPECT_LT(wt::RectIn(t.C("Check2"), t.main).top, wt::RectIn(t.C("Check1"), t.main).top);
    EXPECT_LT(wt::RectIn(t.C("Check1"), t.main).top, wt::RectIn(t.C("Check3"), t.main).top);
    EXPECT_LT(wt::RectIn(t.C("Check3"), t.main).top, wt::RectIn(t.C("Check4"), t.main).top);
    EXPECT_EQ(wt::Text(t.C("Check2")), L"ICQ Pro 2003");

    // Labels sized to their text keep their top left corner; the centred
    // headline keeps its centre, the window's middle.
    RECT status = wt::RectIn(t.C("Label1"), t.main);
    RECT statusWant = ExpectedRect(kForm1Controls, kForm1Count, "Label1");
    EXPECT_NEAR(status.left, statusWant.left, 1);
    EXPECT_NEAR(status.top, statusWant.top, 1);
    EXPECT_NEAR(status.bottom - status.top, 13, 1);
    RECT link = wt::RectIn(t.C("Label3"), t.main);
    RECT linkWant = ExpectedRect(kForm1Controls, kForm1Count, "Label3");
    EXPECT_NEAR(link.left, linkWant.left, 1);
    EXPECT_NEAR(link.top, linkWant.top, 1);
    EXPECT_LT(link.right, wt::RectIn(t.C("Frame2"), t.main).right);
    RECT head = wt::RectIn(t.C("Label2"), t.main);
    EXPECT_NEAR((head.left + head.right) / 2, client.right / 2, 1);
    EXPECT_NEAR(head.top, 45 / 15, 1);

    ExpectEnglish(t);
    EXPECT_EQ(SendMessageW(t.C("Combo1"), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(t.ComboIndex(), 0);
    for (const char* box : kBoxes) EXPECT_FALSE(wt::IsChecked(t.C(box))) << box;
    EXPECT_FALSE(IsWindowEnabled(t.C("Command3")));
    EXPECT_FALSE(IsWindowVisible(t.C("Image1")));
    EXPECT_FALSE(IsWindowVisible(t.C("Image2")));
    // The settings dialog exists but stays hidden; nothing was found, so its
    // folder box is empty and OK cannot be pressed.
    ASSERT_TRUE(t.Form3());
    EXPECT_FALSE(IsWindowVisible(t.Form3()));
    EXPECT_EQ(t.Text1(), L"");
    EXPECT_FALSE(IsWindowEnabled(t.F3("Command2")));
    EXPECT_TRUE(wt::IsChecked(t.F3("Check1")));
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
        EXPECT_EQ(wt::Text(t.main), L"Ternavo v.1.5");
    }
}

TEST(LoadOptions, StoredBoxesAreRestoredCrosswiseAndOnlyExactOnesCount) {
    {
        // "ICQPro" holds ICQ Lite's box; "ICQLite" holds ICQ Pro's.
        Ternavo t(L"load");
        t.Set(L"ICQPro", L"1");
        ASSERT_TRUE(t.Start());
        EXPECT_TRUE(wt::IsChecked(t.C("Check1")));
        EXPECT_FALSE(wt::IsChecked(t.C("Check2")));
        EXPECT_FALSE(wt::IsChecked(t.C("Check3")));
        EXPECT_FALSE(wt::IsChecked(t.C("Check4")));
        EXPECT_TRUE(IsWindowEnabled(t.C("Command3")));
        EXPECT_EQ(t.ComboIndex(), 0);
    }
    {
        Ternavo t(L"load");
        t.Set(L"ICQLite", L"1");
        t.Set(L"ICQ6", L"1");
        t.Set(L"ICQ7", L"1");
        t.Set(L"Instances", L"1");
        ASSERT_TRUE(t.Start());
        EXPECT_FALSE(wt::IsChecked(t.C("Check1")));
        EXPECT_TRUE(wt::IsChecked(t.C("Check2")));
        EXPECT_TRUE(wt::IsChecked(t.C("Check3")));
        EXPECT_TRUE(wt::IsChecked(t.C("Check4")));
        EXPECT_EQ(t.ComboIndex(), 1);
        EXPECT_EQ(wt::Text(t.C("Combo1")), L"Only one instance of ICQ");
        EXPECT_TRUE(IsWindowEnabled(t.C("Command3")));
        EXPECT_EQ(t.Focus(), t.C("Command3"));  // first in the keyboard order
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
        EXPECT_FALSE(IsWindowEnabled(t.C("Command3")));
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
        EXPECT_EQ(t.Text1(), noSlash);
        EXPECT_TRUE(IsWindowEnabled(t.F3("Command2")));
    }
    {
        // Restoring checks only that ICQ.exe and MCore.dll are there, not their version.
        Ternavo t(L"path");
        t.Set(L"ICQ7Path", icq6);
        ASSERT_TRUE(t.Start());
        EXPECT_EQ(t.Text1(), icq6);
    }
    {
        // A saved folder that lost MCore.dll gives way to the search, which
        // finds the ICQ 7 beside Ternavo itself; the file keeps the old value.
        Ternavo t(L"path");
        wt::InstallStandIn(t.dir, L"icq7");
        t.Set(L"ICQ7Path", half);
        ASSERT_TRUE(t.Start());
        EXPECT_EQ(t.Text1(), t.dir.substr(0, t.dir.size() - 1));
        EXPECT_EQ(t.Get(L"ICQ7Path"), half);
    }
}

TEST(StartButton, EnabledExactlyWhileABoxIsChecked) {
    Ternavo t;
    ASSERT_TRUE(t.Start());
    HWND start = t.C("Command3");
    EXPECT_FALSE(IsWindowEnabled(start));
    wt::Click(t.C("Check4"));
    EXPECT_TRUE(IsWindowEnabled(start));
    wt::Click(t.C("Check4"));
    EXPECT_FALSE(IsWindowEnabled(start));
    wt::Click(t.C("Check2"));
    wt::Click(t.C("Check3"));
    wt::Click(t.C("Check2"));
    EXPECT_TRUE(IsWindowEnabled(start));
    wt::Click(t.C("Check3"));
    EXPECT_FALSE(IsWindowEnabled(start));
    wt::Click(t.C("Check1"));
    EXPECT_TRUE(IsWindowEnabled(start));
    wt::Click(t.C("Check1"));
    // Changing the choice of instances only resets the status line.
    t.Key(t.C("Combo1"), VK_DOWN);
    EXPECT_EQ(t.ComboIndex(), 1);
    EXPECT_FALSE(IsWindowEnabled(start));
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    // Nothing is saved without a run.
    EXPECT_FALSE(wt::Exists(t.ini));
}

TEST(Result, SuccessShowsTheGreenMarkSavesTheChoicesAndRevertsAfterThreeSeconds) {
    Ternavo t(L"ok");
    ASSERT_TRUE(t.Start());
    wt::Click(t.C("Check1"));  // ICQ Lite, allow: its registry key is created when missing
    t.Press(t.C("Command3"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    DWORD shown = GetTickCount();
    HWND image = t.C("Image1");
    EXPECT_TRUE(IsWindowVisible(image));
    EXPECT_FALSE(IsWindowVisible(t.C("Image2")));
    RECT label = wt::RectIn(t.C("Label1"), t.main);
    RECT mark = wt::RectIn(image, t.main);
    EXPECT_NEAR(tv::Tw(mark.left - label.right), 130, 15);
    EXPECT_NEAR(mark.top, ExpectedRect(kForm1Controls, kForm1Count, "Image1").top, 1);
    EXPECT_EQ(mark.right - mark.left, 22);
    EXPECT_EQ(mark.bottom - mark.top, 17);
    EXPECT_EQ(t.Focus(), t.C("Command3"));

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
    EXPECT_FALSE(IsWindowVisible(t.C("Image2")));

    // A second copy restores what the first one saved.
    t.proc.Kill();
    ASSERT_TRUE(t.Start());
    EXPECT_TRUE(wt::IsChecked(t.C("Check1")));
    EXPECT_FALSE(wt::IsChecked(t.C("Check2")));
}

TEST(Result, FailureShowsTheRedMarkWhichAnOptionClickLeavesInPlace) {
    Ternavo t(L"fail");
    t.Set(L"ICQLite", L"1");    // ICQ Pro 2003 ...
    t.Set(L"Instances", L"1");  // ... only one instance: its key is missing, so this fails
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(wt::IsChecked(t.C("Check2")));
    t.Press(t.C("Command3"));
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
    HWND image = t.C("Image2");
    EXPECT_TRUE(IsWindowVisible(image));
    EXPECT_FALSE(IsWindowVisible(t.C("Image1")));
    RECT label = wt::RectIn(t.C("Label1"), t.main);
    RECT mark = wt::RectIn(image, t.main);
    EXPECT_NEAR(tv::Tw(mark.left - label.right), 130, 15);
    EXPECT_NEAR(mark.top, ExpectedRect(kForm1Controls, kForm1Count, "Image2").top, 1);
    EXPECT_EQ(mark.bottom - mark.top, 24);
    EXPECT_EQ(t.Get(L"ICQLite"), L"1");
    EXPECT_EQ(t.Get(L"Instances"), L"1");

    // An option click shows the idle text with its period at once ...
    t.Key(t.C("Combo1"), VK_UP);
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
    t.Press(t.C("Command3"));
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
    first.Press(first.C("Command1"));
    ASSERT_TRUE(first.WaitShown(first.Form2()));
    first.Key(first.F2("Command1"), VK_ESCAPE);
    ASSERT_TRUE(first.WaitHidden(first.Form2()));
    first.Press(first.C("Command2"));
    ASSERT_TRUE(first.proc.WaitExit(10000));
    EXPECT_EQ(first.proc.ExitCode(), 0u);
    EXPECT_TRUE(second.proc.Running());
    second.Press(second.C("Command2"));
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
    EXPECT_EQ(t.Text1(), L"");
    EXPECT_FALSE(IsWindowEnabled(t.F3("Command2")));
    EXPECT_TRUE(wt::IsChecked(t.C("Check4")));
    EXPECT_EQ(t.ComboIndex(), 0);
    EXPECT_EQ(wt::Text(t.C("Command2")), L"Exit");
    EXPECT_TRUE(t.proc.Running());
}

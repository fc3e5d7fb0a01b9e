// Start in the real Ternavo under an English locale: the registry switch of
// the older generations, Kestrun installed into and removed from ICQ 7, the
// "ICQ 7" messages, and what a failure leaves behind.
#include <gtest/gtest.h>
#include "tests/windows/ternavo_apply/road.h"

using road::Box;
using road::Choice;
using road::IcqValue;
using tv::Ternavo;

namespace {

class StartPress : public ::testing::Test {
protected:
    void SetUp() override {
        road::ClearIcqKeys();
        DeleteFileW(road::DesktopLink().c_str());
        starter_ = wt::ReadBytes(wt::KestrunExe());
        ASSERT_GT(starter_.size(), 10000u);
    }
    void TearDown() override { road::ClearIcqKeys(); }

    // Starts Ternavo with these saved choices and presses Start.
    void Run(Ternavo& t, const Choice& c, const std::wstring& icq7Path = L"") {
        road::Save(t, c, icq7Path);
        ASSERT_TRUE(t.Start());
        ASSERT_TRUE(IsWindowEnabled(t.C("StartButton")));
        t.Press(t.C("StartButton"));
    }
    static std::wstring Icq(const std::wstring& hint, const std::wstring& kind = L"icq7") {
        std::wstring d = wt::NewDir(hint);
        wt::InstallStandIn(d, kind);
        return d;
    }
    std::string starter_;
};

// --- The older generations ---

TEST_F(StartPress, AllowIcq6WritesIntoItsOwnKey) {
    Ternavo t;
    Run(t, {false, false, true, false, 0});
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_TRUE(t.Visible(t.C("SuccessMark")));
    EXPECT_EQ(IcqValue(L"ICQ6", L"MultiInstance"), L"Yes");
    EXPECT_EQ(IcqValue(L"ICQ6", L"OwnersNoLimit"), L"Yes");
    EXPECT_FALSE(road::IcqKeyExists(L"ICQ6\\DefaultPrefs"));
    EXPECT_FALSE(road::AnyIcqKeyIn64BitView());
}

TEST_F(StartPress, AllowProOnAMachineWithoutAnyIcqKey) {
    ASSERT_FALSE(road::IcqKeyExists(L""));
    Ternavo t;
    Run(t, {false, true, false, false, 0});
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_TRUE(road::IcqKeyExists(L"ICQPro"));
    EXPECT_EQ(IcqValue(L"ICQPro\\DefaultPrefs", L"MultiInstance"), L"Yes");
    EXPECT_EQ(IcqValue(L"ICQPro\\DefaultPrefs", L"OwnersNoLimit"), L"Yes");
    EXPECT_FALSE(road::IcqKeyExists(L"DefaultPrefs"));
}

TEST_F(StartPress, OnlyOneInstanceForProWithoutItsKeyFails) {
    Ternavo t;
    Run(t, {false, true, false, false, 1});
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
    EXPECT_TRUE(t.Visible(t.C("FailureMark")));
    EXPECT_FALSE(t.Visible(t.C("SuccessMark")));
    EXPECT_FALSE(road::IcqKeyExists(L""));  // nothing created
}

TEST_F(StartPress, OnlyOneInstanceAfterAllowKeepsOwnersNoLimit) {
    Ternavo t;
    Run(t, {true, true, true, false, 0});
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    t.proc.Kill();
    Ternavo again(L"tv-again");
    Run(again, {true, true, true, false, 1});
    ASSERT_TRUE(again.WaitStatus(L"Changes successful!"));
    for (const wchar_t* key : {L"DefaultPrefs", L"ICQPro\\DefaultPrefs", L"ICQ6"}) {
        EXPECT_EQ(IcqValue(key, L"MultiInstance"), L"No") << key;
        EXPECT_EQ(IcqValue(key, L"OwnersNoLimit"), L"Yes") << key;
    }
}

// --- Installation ---

TEST_F(StartPress, InstallsTheStarterWholeWithItsShortcut) {
    std::wstring icq = Icq(L"inst");
    wt::WriteBytes(icq + L"kestrun.ini", "[Kestrun]\r\nLastNr=5\r\n");
    // An older, read-only starter that is longer than the new one.
    wt::WriteBytes(icq + L"Kestrun.exe", std::string(starter_.size() + 4096, 'o'));
    SetFileAttributesW((icq + L"Kestrun.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    Ternavo t;
    Run(t, {true, false, false, true, 0}, icq.substr(0, icq.size() - 1));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_EQ(wt::ReadBytes(icq + L"Kestrun.exe"), starter_);
    EXPECT_FALSE(wt::Exists(icq + L"kestrun.ini"));
    // With the five numbered copies that Kestrun run by a standard user starts.
    EXPECT_EQ(wt::ListFiles(icq), (std::vector<std::wstring>{L"ICQ.exe", L"ICQ.exe1", L"ICQ.exe2", L"ICQ.exe3",
                                                              L"ICQ.exe4", L"ICQ.exe5", L"Kestrun.exe", L"MCore.dll"}));
    EXPECT_EQ(IcqValue(L"DefaultPrefs", L"MultiInstance"), L"Yes");  // the older generations after it
    road::Shortcut s = road::ReadShortcut(road::DesktopLink());
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.target, icq + L"Kestrun.exe");
    EXPECT_EQ(win::WithBackslash(s.workingDir), icq);
    EXPECT_EQ(s.icon, icq + L"Kestrun.exe");
    EXPECT_EQ(t.Get(L"ICQ7"), L"1");
}

TEST_F(StartPress, NoShortcutWhenTheDialogBoxIsUnticked) {
    std::wstring icq = Icq(L"noshort");
    Ternavo t;
    road::Save(t, {false, false, false, true, 0}, icq);
    ASSERT_TRUE(t.Start());
    t.OpenSettings();
    wt::Click(t.InSettings("ShortcutBox"));
    ASSERT_FALSE(wt::IsChecked(t.InSettings("ShortcutBox")));
    t.Press(t.InSettings("CancelButton"));  // Cancel keeps the box as it is
    ASSERT_TRUE(t.WaitHidden(t.SettingsDialog()));
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_EQ(wt::ReadBytes(icq + L"Kestrun.exe"), starter_);
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));
}

TEST_F(StartPress, WrongVersionIsReportedAndNothingInstalled) {
    std::wstring icq = Icq(L"six", L"icq6");
    Ternavo t;
    Run(t, {false, false, true, true, 0}, icq);
    Box b = road::TakeBox(t);
    ASSERT_TRUE(b.seen);
    EXPECT_EQ(b.title, L"ICQ 7");
    EXPECT_EQ(b.text, L"There was no correct version of ICQ 7 found.");
    EXPECT_EQ(b.icon, L"warning");
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
    EXPECT_FALSE(wt::Exists(icq + L"Kestrun.exe"));
    EXPECT_EQ(IcqValue(L"ICQ6", L"MultiInstance"), L"Yes");  // the run went on with the older generations
}

TEST_F(StartPress, FirstUseAsksForTheFolderAndFinishesAfterOk) {
    std::wstring icq = Icq(L"first");
    Ternavo t;
    Run(t, {true, false, false, true, 0});
    ASSERT_TRUE(t.WaitSettingsShown());
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    EXPECT_FALSE(road::IcqKeyExists(L""));  // nothing before the folder is known
    t.SetFolderBox(icq.substr(0, icq.size() - 1));
    ASSERT_TRUE(IsWindowEnabled(t.InSettings("OkButton")));
    t.Press(t.InSettings("OkButton"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_EQ(wt::ReadBytes(icq + L"Kestrun.exe"), starter_);
    EXPECT_EQ(IcqValue(L"DefaultPrefs", L"MultiInstance"), L"Yes");
    EXPECT_EQ(t.Get(L"ICQ7Path"), icq.substr(0, icq.size() - 1));  // saved as the box shows it
    EXPECT_TRUE(road::ReadShortcut(road::DesktopLink()).ok);
}

TEST_F(StartPress, CancellingTheDialogChangesNothing) {
    std::wstring icq = Icq(L"cancel");
    Ternavo t;
    Run(t, {true, true, true, true, 0});
    ASSERT_TRUE(t.WaitSettingsShown());
    t.SetFolderBox(icq);
    t.Press(t.InSettings("CancelButton"));
    ASSERT_TRUE(t.WaitHidden(t.SettingsDialog()));
    Sleep(500);  // a resumed run would have started by now
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    EXPECT_FALSE(road::IcqKeyExists(L""));
    EXPECT_FALSE(wt::Exists(icq + L"Kestrun.exe"));
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));
    EXPECT_FALSE(t.Has(L"ICQ7Path"));
    EXPECT_EQ(t.Get(L"ICQ6"), L"1");  // the file as it was: nothing saved
    EXPECT_FALSE(t.Visible(t.C("SuccessMark")));
    EXPECT_FALSE(t.Visible(t.C("FailureMark")));
}

TEST_F(StartPress, AFailedWriteKeepsThePreviousStarter) {
    // The previous starter is running, so it can be neither deleted nor replaced.
    std::wstring icq = Icq(L"locked");
    std::wstring old = icq + L"Kestrun.exe";
    CopyFileW((wt::FixtureDir(L"icq7") + L"ICQ.exe").c_str(), old.c_str(), FALSE);
    std::string before = wt::ReadBytes(old);
    wt::Process running(old, L"", icq);
    ASSERT_NE(wt::WaitWindow(running.pid(), L"IcqStubWindow", 10000), nullptr);
    Ternavo t;
    Run(t, {false, false, false, true, 0}, icq);
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
    EXPECT_EQ(wt::ReadBytes(old), before);
    for (const std::wstring& f : wt::ListFiles(icq))
        EXPECT_EQ(f.find(L".tmp"), std::wstring::npos) << "left behind: " << f;
    running.Kill();
}

TEST_F(StartPress, AFailedWriteKeepsStarterSettingsAndMakesNoShortcut) {
    // A scanner holds the previous starter open and lets others delete it:
    // it could be deleted, but not replaced.
    std::wstring icq = Icq(L"held");
    std::wstring old = icq + L"Kestrun.exe";
    wt::WriteBytes(old, "an older starter");
    wt::WriteBytes(icq + L"kestrun.ini", "[Kestrun]\r\nMaxNr=5\r\n");
    SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        road::Lock scanner(old, FILE_SHARE_READ | FILE_SHARE_DELETE);
        Ternavo t;
        Run(t, {false, false, false, true, 0}, icq);
        ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
    }
    EXPECT_TRUE(wt::Exists(icq + L"kestrun.ini"));
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));
    ASSERT_EQ(wt::ReadBytes(old), "an older starter");
    EXPECT_TRUE(GetFileAttributesW(old.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(StartPress, AShortcutBoxLeftUntickedStaysSoAtTheNextStart) {
    std::wstring icq = Icq(L"keepoff");
    Ternavo t;
    t.Set(L"Shortcut", L"0");  // saved by the last run
    Run(t, {false, false, false, true, 0}, icq);
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_EQ(wt::ReadBytes(icq + L"Kestrun.exe"), starter_);
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));
    EXPECT_EQ(t.Get(L"Shortcut"), L"0");
}

// --- Removal ---

TEST_F(StartPress, RemovalDeletesWhatDoesNotRunAndNamesTheCopyInUseWhichTheNextRemovalTakes) {
    std::wstring icq = Icq(L"remove");
    wt::InstallKestrun(icq);
    wt::WriteBytes(icq + L"kestrun.ini", "[Kestrun]\r\n");
    wt::WriteBytes(road::DesktopLink(), "someone's shortcut");
    // Kestrun's numbered copies and markers, and names that are none of them.
    for (const wchar_t* name : {L"ICQ.exe1", L"ICQ.exe1.csassembly", L"ICQ.exe7.csassembly", L"ICQ.exe99",
                                L"ICQ.exe0", L"ICQ.exe100", L"ICQ.exe5.bak"})
        wt::WriteBytes(icq + name, "copy");
    // A copy that runs stays, and its marker goes.
    wt::WriteBytes(icq + L"icqstub.ini", "[Stub]\r\nMarkerDelayMs=0\r\n");
    CopyFileW((icq + L"ICQ.exe").c_str(), (icq + L"ICQ.exe2").c_str(), FALSE);
    wt::Process running(icq + L"ICQ.exe2", L"", icq);
    ASSERT_NE(wt::WaitWindow(running.pid(), L"IcqStubWindow", 10000), nullptr);
    ASSERT_TRUE(wt::WaitFor([&] { return wt::Exists(icq + L"ICQ.exe2.csassembly"); }, 10000));
    Ternavo t;
    Run(t, {false, false, false, true, 1}, icq);
    Box b = road::TakeBox(t);
    ASSERT_TRUE(b.seen);
    EXPECT_EQ(b.title, L"ICQ 7");
    EXPECT_EQ(b.text, L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.");
    EXPECT_EQ(b.icon, L"information");
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_EQ(wt::ListFiles(icq), (std::vector<std::wstring>{L"ICQ.exe", L"ICQ.exe0", L"ICQ.exe100", L"ICQ.exe2",
                                                              L"ICQ.exe5.bak", L"MCore.dll", L"icqstub.ini",
                                                              L"icqstub.log"}));
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));
    // The status stays as it is (above); then a box names the copy that stayed and how it goes.
    b = road::TakeBox(t);
    EXPECT_EQ(b.text, L"These copies of ICQ.exe are in use and stayed in the ICQ 7 folder: ICQ.exe2.\n\nClose every "
                      L"ICQ 7 that runs and press Start again: then they are removed.");

    // ICQ 7 closed, Start again: the copy goes, though Kestrun.exe is gone already.
    running.Kill();
    ASSERT_TRUE(running.WaitExit(10000));
    t.Press(t.C("StartButton"));
    EXPECT_EQ(road::TakeBox(t).text, L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.");
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_FALSE(wt::Exists(icq + L"ICQ.exe2"));
    EXPECT_FALSE(road::TakeBox(t, 1000).seen);
}

TEST_F(StartPress, RemovalWhenAlreadyAbsentSucceeds) {
    std::wstring icq = Icq(L"absent");
    Ternavo t;
    Run(t, {false, false, false, true, 1}, icq);
    Box b = road::TakeBox(t);
    EXPECT_EQ(b.text, L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.");
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
}

TEST_F(StartPress, RemovalOfARunningStarterFails) {
    std::wstring icq = Icq(L"running");
    std::wstring starter = icq + L"Kestrun.exe";
    CopyFileW((wt::FixtureDir(L"icq7") + L"ICQ.exe").c_str(), starter.c_str(), FALSE);
    wt::Process running(starter, L"", icq);
    ASSERT_NE(wt::WaitWindow(running.pid(), L"IcqStubWindow", 10000), nullptr);
    Ternavo t;
    Run(t, {false, false, false, true, 1}, icq);
    Box b = road::TakeBox(t);
    ASSERT_TRUE(b.seen);
    EXPECT_EQ(b.title, L"ICQ 7");
    EXPECT_EQ(b.text,
              L"The file Kestrun.exe couldn't be deleted. Please delete the file Kestrun.exe and all shortcuts "
              L"manually.");
    EXPECT_EQ(b.icon, L"warning");
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
    EXPECT_TRUE(wt::Exists(starter));
    running.Kill();
}

TEST_F(StartPress, RemovalOfALockedStarterFails) {
    std::wstring icq = Icq(L"lockrm");
    wt::InstallKestrun(icq);
    road::Lock lock(icq + L"Kestrun.exe");
    Ternavo t;
    Run(t, {false, false, false, true, 1}, icq);
    Box b = road::TakeBox(t);
    EXPECT_EQ(b.text.rfind(L"The file Kestrun.exe couldn't be deleted.", 0), 0u) << b.text;
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
}

TEST_F(StartPress, RemovalFromIcq6DeletesNothing) {
    std::wstring icq = Icq(L"rm6", L"icq6");
    wt::InstallKestrun(icq);
    wt::WriteBytes(icq + L"kestrun.ini", "[Kestrun]\r\n");
    Ternavo t;
    Run(t, {false, false, false, true, 1}, icq);
    Box b = road::TakeBox(t);
    EXPECT_EQ(b.title, L"ICQ 7");
    EXPECT_EQ(b.text,
              L"There was no correct version of ICQ 7 found. Please delete the file Kestrun.exe and all shortcuts "
              L"manually.");
    EXPECT_EQ(b.icon, L"warning");
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
    EXPECT_TRUE(wt::Exists(icq + L"Kestrun.exe"));
    EXPECT_TRUE(wt::Exists(icq + L"kestrun.ini"));
}

TEST_F(StartPress, RemovalWithoutAnyIcqFolder) {
    Ternavo t;
    Run(t, {false, true, false, true, 1}, L"C:\\nowhere");
    Box b = road::TakeBox(t);
    EXPECT_EQ(b.title, L"ICQ 7");
    EXPECT_EQ(b.text, L"There was no ICQ 7 path found. Please edit settings.");
    EXPECT_EQ(b.icon, L"warning");
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!"));
}

TEST_F(StartPress, RemovalFallsBackToTheFolderFoundAtStartUp) {
    Ternavo t;
    std::wstring icq = t.dir;  // the search looks into Ternavo's own folder first
    wt::InstallStandIn(icq);
    wt::InstallKestrun(icq);
    Run(t, {false, false, false, true, 1}, L"C:\\gone");
    Box b = road::TakeBox(t);
    EXPECT_EQ(b.text, L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.");
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_FALSE(wt::Exists(icq + L"Kestrun.exe"));
}

}  // namespace

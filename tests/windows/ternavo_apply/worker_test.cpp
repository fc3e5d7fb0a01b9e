// Ternavo's administrator worker: "Ternavo.exe -worker ..." run directly, as
// the window starts it "as administrator"; and the window's whole road in the
// test build that believes it lacks administrator rights (Wine's "runas"
// simply starts the program, so the worker really runs).
#include <gtest/gtest.h>
#include "ternavo/rules/switches.h"
#include "tests/windows/ternavo_apply/road.h"
#include "tests/windows/ternavo_apply/unix_link.h"

namespace {

class Worker : public ::testing::Test {
protected:
    void SetUp() override {
        road::ClearIcqKeys();
        DeleteFileW(road::DesktopLink().c_str());
    }
    void TearDown() override {
        road::ClearIcqKeys();
        DeleteFileW(road::DesktopLink().c_str());
    }
    // Runs the worker of a Ternavo copy; its exit code, or -1 when it did not
    // end in time. Any visible window it shows meanwhile is counted.
    int Run(tv::Ternavo& t, const std::wstring& args) {
        wt::Process p(t.exe, args, t.dir);
        if (!p.started()) return -1;
        bool ended = wt::WaitFor([&] {
            if (!wt::TopWindows(p.pid()).empty()) ++windowsSeen_;
            return !p.Running();
        }, 30000);
        return ended ? static_cast<int>(p.ExitCode()) : -1;
    }
    static std::wstring Icq(const std::wstring& hint, const std::wstring& kind = L"icq7") {
        std::wstring d = wt::NewDir(hint);
        wt::InstallStandIn(d, kind);
        return d;
    }
    static std::wstring Args(const apply::Choices& c, const std::wstring& dir) {
        return startup::WorkerArgumentText(c, dir);
    }
    int windowsSeen_ = 0;
};

TEST_F(Worker, ExitCodesAndTheFolderOnItsCommandLineWinsOverTernavoIni) {
    std::wstring saved = Icq(L"wk-saved");
    std::wstring given = wt::EnsureDir(wt::NewDir(L"wk given") + L"ICQ 7\\");  // blanks, as below Program Files
    wt::InstallStandIn(given);
    wt::WriteBytes(given + L"kestrun.ini", "[Kestrun]\r\nMaxNr=3\r\n");
    std::wstring icq6 = Icq(L"wk-icq6", L"icq6");
    tv::Ternavo t(L"wk");
    road::Save(t, {false, false, false, true, 0}, saved);
    t.Set(L"Shortcut", L"1");
    std::string ini = wt::ReadBytes(t.ini);

    // Refused before any change, by reason: 2 its arguments, 4 no ICQ 7 in the folder.
    for (const std::wstring& args : {std::wstring(L"-worker"), std::wstring(L"-worker -lite -allow -start"),
                                     std::wstring(L"-worker -lite -icq7 -allow")})
        EXPECT_EQ(Run(t, args), 2) << args;
    EXPECT_EQ(Run(t, Args({true, false, false, true, apply::Instances::Allow}, icq6)), 4);
    EXPECT_FALSE(road::IcqKeyExists(L""));
    EXPECT_FALSE(wt::Exists(icq6 + L"Kestrun.exe"));

    // Every step done: 0, in the folder given and nowhere else.
    EXPECT_EQ(Run(t, Args({true, false, false, true, apply::Instances::Allow}, given)), 0);
    EXPECT_EQ(wt::ReadBytes(given + L"Kestrun.exe"), wt::ReadBytes(wt::KestrunExe()));
    EXPECT_FALSE(wt::Exists(given + L"kestrun.ini"));
    EXPECT_EQ(road::IcqValue(L"DefaultPrefs", L"MultiInstance"), L"Yes");
    EXPECT_FALSE(wt::Exists(saved + L"Kestrun.exe"));
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));  // the shortcut is the window's, for its user
    EXPECT_EQ(wt::ReadBytes(t.ini), ini);           // ternavo.ini neither read nor written

    // A step failed: 1 (Pro has no key to forbid in), the others still done.
    wt::InstallStandIn(given);  // the stand-in's own files only
    wt::WriteBytes(given + L"ICQ.exe1", "copy");
    wt::WriteBytes(given + L"ICQ.exe1.csassembly", "");
    wt::WriteBytes(road::DesktopLink(), "someone's shortcut");
    EXPECT_EQ(Run(t, Args({true, true, false, true, apply::Instances::OnlyOne}, given)), 1);
    EXPECT_EQ(road::IcqValue(L"DefaultPrefs", L"MultiInstance"), L"No");
    for (const wchar_t* gone : {L"Kestrun.exe", L"ICQ.exe1", L"ICQ.exe1.csassembly"})
        EXPECT_FALSE(wt::Exists(given + gone)) << gone;
    EXPECT_TRUE(wt::Exists(road::DesktopLink()));
    EXPECT_EQ(wt::ReadBytes(t.ini), ini);
    EXPECT_EQ(windowsSeen_, 0);
}

TEST_F(Worker, ALinkedCopyInTheFolderRefusesBeforeAnyChange) {
    std::wstring real = Icq(L"wk-real");
    wt::InstallKestrun(real);
    std::wstring elsewhere = wt::NewDir(L"wk-elsewhere");
    wt::WriteBytes(elsewhere + L"precious", "keep");
    tv::Ternavo t(L"wk-link");

    // A numbered copy that points elsewhere; nothing else here is a link.
    ASSERT_TRUE(wt::MakeUnixLink(elsewhere.substr(0, elsewhere.size() - 1), real + L"ICQ.exe2"));
    EXPECT_EQ(Run(t, Args({true, false, false, true, apply::Instances::OnlyOne}, real)), 5);
    EXPECT_TRUE(wt::Exists(real + L"Kestrun.exe"));
    EXPECT_EQ(wt::ReadBytes(elsewhere + L"precious"), "keep");
    EXPECT_FALSE(road::IcqKeyExists(L""));  // not even the registry step ran
}

TEST_F(Worker, AFolderReachedThroughALinkIsRefusedBeforeAnyChange) {
    // Real ICQ 7 folders without any link inside them; only the way there is one.
    std::wstring real = Icq(L"wk-target");
    std::wstring linked = wt::NewDir(L"wk-linked");
    RemoveDirectoryW(linked.c_str());
    ASSERT_TRUE(wt::MakeUnixLink(real.substr(0, real.size() - 1), linked.substr(0, linked.size() - 1)));
    std::wstring before = L"C:\\wt-before\\real\\";  // linked as C:\wt-before\link before Wine started
    wt::InstallStandIn(before);
    std::wstring inner = wt::EnsureDir(before + L"ICQ 7");
    wt::InstallStandIn(inner);
    tv::Ternavo t(L"wk-linked");
    for (const std::wstring& folder :
         {linked, linked.substr(0, linked.size() - 1), std::wstring(L"C:\\wt-before\\link"),
          std::wstring(L"C:\\wt-before\\link\\"), std::wstring(L"C:\\wt-before\\link\\ICQ 7")}) {
        ASSERT_TRUE(wt::Exists(win::WithBackslash(folder) + L"ICQ.exe")) << folder;
        EXPECT_EQ(Run(t, Args({true, false, false, true, apply::Instances::Allow}, folder)), 5) << folder;
    }
    for (const std::wstring& dir : {real, before, inner})
        EXPECT_EQ(wt::ListFiles(dir), (std::vector<std::wstring>{L"ICQ.exe", L"MCore.dll"})) << dir;
    EXPECT_FALSE(road::IcqKeyExists(L""));
    // The same folders by their real names are taken.
    EXPECT_EQ(Run(t, Args({false, false, false, true, apply::Instances::Allow}, inner)), 0);
    EXPECT_TRUE(wt::Exists(inner + L"Kestrun.exe"));
}

TEST_F(Worker, AnInstallationThatCannotMakeACopyCurrentFails) {
    // The folder uses seven copies (its kestrun.ini says so); a folder stands
    // where the third belongs; the second is current but read-only.
    std::wstring icq = Icq(L"wk-copies");
    wt::EnsureDir(icq + L"ICQ.exe3");
    wt::WriteBytes(icq + L"kestrun.ini", "[Kestrun]\r\nMaxNr=7\r\n");
    ASSERT_TRUE(CopyFileW((icq + L"ICQ.exe").c_str(), (icq + L"ICQ.exe2").c_str(), FALSE));
    SetFileAttributesW((icq + L"ICQ.exe2").c_str(), FILE_ATTRIBUTE_READONLY);
    tv::Ternavo t(L"wk-copies");
    EXPECT_EQ(Run(t, Args({false, false, false, true, apply::Instances::Allow}, icq)), 1);
    EXPECT_EQ(wt::ReadBytes(icq + L"Kestrun.exe"), wt::ReadBytes(wt::KestrunExe()));
    const std::string icqBytes = wt::ReadBytes(icq + L"ICQ.exe");
    for (const wchar_t* copy : {L"ICQ.exe1", L"ICQ.exe2", L"ICQ.exe4", L"ICQ.exe5", L"ICQ.exe6", L"ICQ.exe7"})
        EXPECT_EQ(wt::ReadBytes(icq + copy), icqBytes) << copy;
    EXPECT_FALSE(wt::Exists(icq + L"ICQ.exe8"));
    EXPECT_FALSE(GetFileAttributesW((icq + L"ICQ.exe2").c_str()) & FILE_ATTRIBUTE_READONLY);
    for (const std::wstring& f : wt::ListFiles(icq))
        EXPECT_EQ(f.find(L".tmp"), std::wstring::npos) << "left behind: " << f;

    // Once the copy can be written, the same installation succeeds.
    RemoveDirectoryW((icq + L"ICQ.exe3").c_str());
    EXPECT_EQ(Run(t, Args({false, false, false, true, apply::Instances::Allow}, icq)), 0);
    EXPECT_EQ(wt::ReadBytes(icq + L"ICQ.exe3"), icqBytes);

    // Without kestrun.ini, the highest copy present says how many are used:
    // a stale ICQ.exe7 and a missing ICQ.exe6 are both made current.
    ASSERT_FALSE(wt::Exists(icq + L"kestrun.ini"));
    DeleteFileW((icq + L"ICQ.exe6").c_str());
    wt::WriteBytes(icq + L"ICQ.exe7", "stale");
    EXPECT_EQ(Run(t, Args({false, false, false, true, apply::Instances::Allow}, icq)), 0);
    EXPECT_EQ(wt::ReadBytes(icq + L"ICQ.exe6"), icqBytes);
    EXPECT_EQ(wt::ReadBytes(icq + L"ICQ.exe7"), icqBytes);
    EXPECT_FALSE(wt::Exists(icq + L"ICQ.exe8"));
}

TEST_F(Worker, FilesWithASecondNameAreRefusedOnBothRoads) {
    // Outside the ICQ 7 folder: a read-only file, and one only an administrator
    // may read (its bytes those of an ICQ 7's ICQ.exe, so that the folder passes
    // as ICQ 7).
    std::wstring outside = wt::NewDir(L"wk-outside");
    const std::wstring readOnly = outside + L"read-only", secret = outside + L"secret";
    wt::WriteBytes(readOnly, "keep");
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CopyFileW((wt::FixtureDir(L"icq7") + L"ICQ.exe").c_str(), secret.c_str(), FALSE));
    const std::string secretBytes = wt::ReadBytes(secret);

    struct Case {
        const wchar_t* hint;
        const wchar_t* name;  // the file in the folder that is a second name of one outside
        std::wstring target;
    };
    for (const Case& c : {Case{L"wk-hard-copy", L"ICQ.exe3", readOnly}, Case{L"wk-hard-icq", L"ICQ.exe", secret}}) {
        std::wstring icq = Icq(c.hint);
        DeleteFileW((icq + c.name).c_str());
        ASSERT_TRUE(CreateHardLinkW((icq + c.name).c_str(), c.target.c_str(), nullptr)) << GetLastError();
        const std::vector<std::wstring> files = wt::ListFiles(icq);
        // The worker's road: refused for a link or a second name (5).
        tv::Ternavo worker(std::wstring(c.hint) + L"-worker");
        EXPECT_EQ(Run(worker, Args({false, false, false, true, apply::Instances::Allow}, icq)), 5) << c.name;
        // Ternavo's own window with the rights Wine grants every program: the same.
        tv::Ternavo window(std::wstring(c.hint) + L"-window");
        road::Save(window, {false, false, false, true, 0}, icq);
        window.Set(L"Shortcut", L"0");
        ASSERT_TRUE(window.Start(L"-start"));
        EXPECT_TRUE(window.WaitStatus(L"Changes failed!", 30000)) << c.name << " " << wt::Text(window.C("StatusLine"));
        road::Box box = road::TakeBox(window);
        EXPECT_NE(box.text.find(L"one of the files in it is a link or has a second name"), std::wstring::npos)
            << box.text;
        window.proc.Kill();

        EXPECT_EQ(wt::ListFiles(icq), files) << c.name;  // nothing written: no Kestrun.exe, no copy
        EXPECT_EQ(GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY));
        EXPECT_EQ(wt::ReadBytes(readOnly), "keep");
        EXPECT_EQ(wt::ReadBytes(secret), secretBytes);
        DeleteFileW((icq + c.name).c_str());  // the second name goes; the file outside stays
    }
}

TEST_F(Worker, AProgramOfACopysNameElsewhereHidesNoFailedCopy) {
    // A folder stands where ICQ.exe3 belongs, and a program named ICQ.exe3 runs
    // from another folder: the copy is not in use, its failure counts (1).
    std::wstring icq = Icq(L"wk-inuse");
    wt::EnsureDir(icq + L"ICQ.exe3");
    std::wstring elsewhere = wt::NewDir(L"wk-inuse-elsewhere");
    ASSERT_TRUE(CopyFileW((icq + L"ICQ.exe").c_str(), (elsewhere + L"ICQ.exe3").c_str(), FALSE));
    wt::Process other(elsewhere + L"ICQ.exe3", L"", elsewhere);
    ASSERT_TRUE(other.started());
    ASSERT_TRUE(wt::WaitFor([&] { return !wt::TopWindows(other.pid()).empty(); }, 15000));
    tv::Ternavo t(L"wk-inuse");
    EXPECT_EQ(Run(t, Args({false, false, false, true, apply::Instances::Allow}, icq)), 1);
    other.Kill();
}

// --- The window's road without administrator rights (the test build) ---

const wchar_t kProgramFilesIcq7[] = L"C:\\Program Files\\ICQ7 wt\\";

class StandardUser : public ::testing::Test {
protected:
    void SetUp() override {
        road::ClearIcqKeys();
        DeleteFileW(road::DesktopLink().c_str());
        wt::RemoveTree(kProgramFilesIcq7);
        wt::EnsureDir(kProgramFilesIcq7);
        wt::InstallStandIn(kProgramFilesIcq7);
    }
    void TearDown() override {
        road::ClearIcqKeys();
        DeleteFileW(road::DesktopLink().c_str());
        wt::RemoveTree(kProgramFilesIcq7);
    }
};

TEST_F(StandardUser, TheWorkerDoesTheRightsStepsAndTheWindowTheUsersOwn) {
    tv::Ternavo t(L"su", wt::StandardUserTernavoExe());
    road::Save(t, {true, false, false, true, 0}, kProgramFilesIcq7);
    ASSERT_TRUE(t.Start());
    PostMessageW(t.C("StartButton"), BM_CLICK, 0, 0);
    // While the worker runs, Start is disabled and the window answers.
    ASSERT_TRUE(wt::WaitFor([&] { return !IsWindowEnabled(t.C("StartButton")); }, 5000));
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(t.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &answer));
    EXPECT_EQ(t.Status(), L"Please wait...");
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!", 30000)) << wt::Text(t.C("StatusLine"));
    EXPECT_EQ(wt::ReadBytes(std::wstring(kProgramFilesIcq7) + L"Kestrun.exe"), wt::ReadBytes(wt::KestrunExe()));
    EXPECT_EQ(road::IcqValue(L"DefaultPrefs", L"OwnersNoLimit"), L"Yes");
    // The shortcut is made by the window, on the desktop of the user who pressed Start.
    road::Shortcut link = road::ReadShortcut(road::DesktopLink());
    ASSERT_TRUE(link.ok);
    EXPECT_EQ(link.target, std::wstring(kProgramFilesIcq7) + L"Kestrun.exe");
    EXPECT_EQ(t.Get(L"ICQPro") + t.Get(L"ICQ7") + t.Get(L"Shortcut"), L"111");
    EXPECT_TRUE(IsWindowEnabled(t.C("StartButton")));

    // Removal with an unticked shortcut box (the dialog's choice, kept by the
    // window): the worker removes Kestrun, the window its shortcut and tells.
    t.proc.Kill();
    t.Set(L"Instances", L"1");
    t.Set(L"Shortcut", L"0");
    ASSERT_TRUE(t.Start());
    t.Press(t.C("StartButton"));
    EXPECT_EQ(road::TakeBox(t, 30000).text,
              L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.");
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    EXPECT_FALSE(wt::Exists(std::wstring(kProgramFilesIcq7) + L"Kestrun.exe"));
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));
    EXPECT_EQ(road::IcqValue(L"DefaultPrefs", L"MultiInstance"), L"No");
    EXPECT_EQ(t.Get(L"Shortcut") + t.Get(L"Instances"), L"01");
}

TEST_F(StandardUser, AWorkerThatRefusesShowsFailureAndTheWindowMakesNoShortcut) {
    // Kestrun.exe in the folder is a link: the worker refuses, nothing changes.
    std::wstring elsewhere = wt::NewDir(L"su-elsewhere");
    wt::WriteBytes(elsewhere + L"precious", "keep");
    ASSERT_TRUE(wt::MakeUnixLink(elsewhere.substr(0, elsewhere.size() - 1), std::wstring(kProgramFilesIcq7) + L"Kestrun.exe"));
    tv::Ternavo t(L"su-refused", wt::StandardUserTernavoExe());
    road::Save(t, {false, false, false, true, 0}, kProgramFilesIcq7);
    ASSERT_TRUE(t.Start(L"-start"));
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!", 30000)) << wt::Text(t.C("StatusLine"));
    EXPECT_EQ(wt::ReadBytes(elsewhere + L"precious"), "keep");
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));
}

TEST_F(StandardUser, AFailedCopyEndsInFailureAndABoxThatNamesIt) {
    wt::EnsureDir(std::wstring(kProgramFilesIcq7) + L"ICQ.exe3");
    tv::Ternavo t(L"su-copy", wt::StandardUserTernavoExe());
    road::Save(t, {false, false, false, true, 0}, kProgramFilesIcq7);
    ASSERT_TRUE(t.Start(L"-start"));
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!", 30000)) << wt::Text(t.C("StatusLine"));
    road::Box b = road::TakeBox(t);
    ASSERT_TRUE(b.seen);
    EXPECT_EQ(b.title, L"Ternavo");
    EXPECT_EQ(b.icon, L"warning");
    EXPECT_NE(b.text.find(L"These copies of ICQ.exe could not be made current: ICQ.exe3: "), std::wstring::npos)
        << b.text;
    EXPECT_NE(b.text.find(L"What to do:"), std::wstring::npos) << b.text;
    EXPECT_EQ(b.text.find(L"Kestrun.exe could not"), std::wstring::npos) << b.text;  // that step was done
}

TEST_F(StandardUser, AFolderTheUserMayWriteToNeedsNoWorker) {
    // With its program file renamed, this Ternavo can start no worker: what
    // succeeds then was done by the window itself.
    std::wstring own = wt::NewDir(L"su-own");
    wt::InstallStandIn(own);
    tv::Ternavo t(L"su-own", wt::StandardUserTernavoExe());
    road::Save(t, {false, false, false, true, 0}, own);
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(MoveFileW(t.exe.c_str(), (t.dir + L"moved.exe").c_str()));
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!", 30000)) << wt::Text(t.C("StatusLine"));
    EXPECT_EQ(wt::ReadBytes(own + L"Kestrun.exe"), wt::ReadBytes(wt::KestrunExe()));
    EXPECT_TRUE(wt::Exists(road::DesktopLink()));

    // With an older generation ticked as well, the worker is needed; it cannot
    // start: the press fails and changes nothing, not even ICQ 7's part.
    DeleteFileW((own + L"Kestrun.exe").c_str());
    DeleteFileW(road::DesktopLink().c_str());
    wt::Click(t.C("ICQLiteBox"));
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitStatus(L"Changes failed!", 30000)) << wt::Text(t.C("StatusLine"));
    EXPECT_FALSE(wt::Exists(own + L"Kestrun.exe"));
    EXPECT_FALSE(wt::Exists(road::DesktopLink()));
    EXPECT_FALSE(road::IcqKeyExists(L""));
}

}  // namespace

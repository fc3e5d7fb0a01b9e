// Kestrun end to end under Wine: the real Kestrun.exe in a folder with blanks
// beside the stand-in ICQ 7, checked through the stand-in's command-line log,
// the files in the folder, kestrun.ini and the stand-in's window.
#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>
#include "kestrun/launcher.h"
#include "kestrun/window_table.h"
#include "tests/windows/kestrun_launch/launch_support.h"

using launch::Folder;

namespace {

class Launch : public ::testing::Test {
protected:
    void SetUp() override { launch::CloseStubs(); }
    void TearDown() override { launch::CloseStubs(); }
};

HWND StubWindow() {
    HWND found = nullptr;
    wt::WaitFor([&] {
        auto w = launch::StubWindows();
        found = w.empty() ? nullptr : w.front();
        return found != nullptr;
    }, 10000);
    return found;
}

// The extended style apart from the edge bit, which the window manager itself
// keeps on every captioned window whatever style a program sets.
LONG_PTR ExStyle(HWND w) { return GetWindowLongPtrW(w, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_WINDOWEDGE); }

FILETIME WriteTime(const std::wstring& path) {
    FILETIME t{};
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) t = d.ftLastWriteTime;
    return t;
}

// Writes the file and gives it `time` as its last-write time.
void WriteKeepingTime(const std::wstring& path, const std::string& bytes, FILETIME time) {
    wt::WriteBytes(path, bytes);
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    SetFileTime(h, nullptr, nullptr, &time);
    CloseHandle(h);
}

// Whether a process of this executable name runs (its image holds the file).
bool ProcessRunning(const wchar_t* exeName) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W e{sizeof(e)};
    bool found = false;
    for (BOOL ok = Process32FirstW(snap, &e); ok && !found; ok = Process32NextW(snap, &e))
        found = _wcsicmp(e.szExeFile, exeName) == 0;
    CloseHandle(snap);
    return found;
}

}  // namespace

TEST_F(Launch, SilentStartCopiesStartsRecordsAndCleansUp) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"LoginMode", L"2");    // option 1
    f.Set(L"LoginStatus", L"6");  // "Invisible away"
    ASSERT_TRUE(launch::Run(f));

    // Quoted path; the argument text keeps its trailing blank.
    ASSERT_EQ(f.Log().size(), 1u);
    EXPECT_EQ(f.Log()[0], f.Started(L"ICQ.exe1", L"loginmode=2 status=2 visibility=1 "));
    EXPECT_FALSE(f.DecoyStarted());
    EXPECT_EQ(wt::ReadBytes(f.dir + L"ICQ.exe1"), wt::ReadBytes(f.dir + L"ICQ.exe"));
    EXPECT_EQ(f.Get(L"LastNr"), L"1");
    EXPECT_EQ(f.Get(L"Starts"), L"1");
    // The marker was removed and nothing else was left behind.
    EXPECT_EQ(wt::ListFiles(f.dir), (std::vector<std::wstring>{L"ICQ.exe", L"ICQ.exe1", L"Kestrun.exe", L"MCore.dll",
                                                              L"icqstub.log", L"kestrun.ini"}));
    // Without "Minimized" or "NoTaskbar" the instance's window stays as it was.
    HWND w = StubWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_NE(ExStyle(w), WS_EX_TOOLWINDOW);
}

TEST_F(Launch, InstancesSwitchOverridesAfterTheStoredTestAndNumbersCycle) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"MaxNr", L"5");
    f.Set(L"LastNr", L"4");
    f.Set(L"Starts", L"2");
    ASSERT_TRUE(launch::Run(f, L"-instances=3"));  // 4 is below the file's 5: number 5
    ASSERT_TRUE(launch::Run(f));                   // 5 is the file's maximum: round to 1
    auto log = f.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], f.Started(L"ICQ.exe5", L""));
    EXPECT_EQ(log[1], f.Started(L"ICQ.exe1", L""));
    EXPECT_EQ(f.Get(L"LastNr"), L"1");
    EXPECT_EQ(f.Get(L"Starts"), L"4");
    EXPECT_EQ(f.Get(L"MaxNr"), L"5");  // the switch is never stored
    EXPECT_TRUE(f.Has(L"ICQ.exe5") && f.Has(L"ICQ.exe1"));
}

TEST_F(Launch, MaximumOneStartsIcqItselfAndWritesNothing) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"MaxNr", L"1");
    f.Set(L"LastNr", L"2");
    f.Set(L"Starts", L"7");
    f.Stub(L"MarkerDelayMs", L"0");
    std::string before = wt::ReadBytes(f.Ini());
    ASSERT_TRUE(launch::Run(f));
    // Login option 3 and status item 1: the path, one blank, no arguments.
    ASSERT_EQ(f.Log().size(), 1u);
    EXPECT_EQ(f.Log()[0], f.Started(L"ICQ.exe", L""));
    EXPECT_FALSE(f.DecoyStarted());
    EXPECT_EQ(wt::ReadBytes(f.Ini()), before);
    EXPECT_FALSE(f.Has(L"ICQ.exe1"));
    EXPECT_FALSE(f.Has(L"ICQ.exe3"));
}

TEST_F(Launch, CommandLineSwitchesReachIcqLowerCasedAndJoined) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"Starts", L"3");
    ASSERT_TRUE(launch::Run(f, L"-toicq:UIN=1 -STATUS=7 -loginmode=9 -toicq:uin=1 -toicq:Skin=Dark"));
    ASSERT_EQ(f.Log().size(), 1u);
    EXPECT_EQ(f.Log()[0], f.Started(L"ICQ.exe1", L"loginmode=4 status=4 visibility=1 uin=1 skin=dark"));
}

TEST_F(Launch, Check4KeepsTheStoredModesForSetModes) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"Starts", L"3");
    f.Set(L"SetMode", L"1");
    f.Set(L"Minimized", L"1");
    f.Set(L"NoTaskbar", L"1");
    f.Set(L"LoginMode", L"1");
    f.Set(L"LoginStatus", L"2");
    ASSERT_TRUE(launch::Run(f));
    HWND plain = StubWindow();
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(IsWindowVisible(plain));
    EXPECT_NE(ExStyle(plain), WS_EX_TOOLWINDOW);
    launch::CloseStubs();

    ASSERT_TRUE(launch::Run(f, L"-setmodes"));
    auto log = f.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], f.Started(L"ICQ.exe1", L""));
    EXPECT_EQ(log[1], f.Started(L"ICQ.exe2", L"loginmode=1 status=1 visibility=4 "));
    HWND moded = StubWindow();
    ASSERT_NE(moded, nullptr);
    EXPECT_FALSE(IsWindowVisible(moded));
    EXPECT_EQ(ExStyle(moded), WS_EX_TOOLWINDOW);
}

TEST_F(Launch, MinimizedHidesAndNoTaskbarMakesAToolWindow) {
    // Started hidden, the stand-in's window never becomes visible: Kestrun
    // still handles it after a bounded wait and goes on to its counters. A
    // window made hidden and minimized that shows itself later is hidden once
    // it is shown; a tool window keeps its other extended bits.
    const LONG_PTR layeredTopmostApp = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_APPWINDOW;
    struct Case { const wchar_t* args; const wchar_t* stubKey; std::wstring stubValue; bool visible; LONG_PTR exStyle; } cases[] = {
        {L"-notaskbar", nullptr, L"", true, WS_EX_TOOLWINDOW},
        {L"-minimized -notaskbar", nullptr, L"", false, WS_EX_TOOLWINDOW},
        {L"-minimized", nullptr, L"", false, 0},
        {L"-minimized", L"ShowLaterMs", L"800", false, 0},
        {L"-notaskbar", L"ExStyle", std::to_wstring(layeredTopmostApp), true,
         WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_TOPMOST},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.args << " " << (c.stubKey ? c.stubKey : L""));
        Folder f;
        f.Set(L"ShowMe", L"0");
        f.Set(L"Starts", L"3");
        if (c.stubKey) f.Stub(c.stubKey, c.stubValue.c_str());
        ASSERT_TRUE(launch::Run(f, c.args));
        HWND w = StubWindow();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(IsWindowVisible(w) != FALSE, c.visible);
        EXPECT_EQ(ExStyle(w), c.exStyle);
        EXPECT_EQ(f.Get(L"Starts"), L"4");
        launch::CloseStubs();
    }
}

TEST_F(Launch, AnInstanceWithoutWindowOrWithAClosingWindowDoesNotHoldKestrun) {
    struct Case { const wchar_t* key; const wchar_t* value; } cases[] = {
        {L"ExitAtOnce", L"1"}, {L"NoWindow", L"1"}, {L"CloseWindowAfterMs", L"50"},
    };
    for (const auto& c : cases) {
        Folder f;
        f.Set(L"ShowMe", L"0");
        f.Set(L"Starts", L"3");
        f.Stub(c.key, c.value);
        f.Stub(L"ExitAfterMs", L"1500");
        ASSERT_TRUE(launch::Run(f, L"-notaskbar -minimized", 40000)) << c.key;
        EXPECT_EQ(f.Log().size(), 1u) << c.key;
        EXPECT_EQ(f.Get(L"LastNr"), L"1") << c.key;
        EXPECT_EQ(f.Get(L"Starts"), L"4") << c.key;
        launch::CloseStubs();
    }
}

TEST_F(Launch, ACurrentCopyStaysAndAStaleOneIsMadeAgain) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"Starts", L"3");
    f.Stub(L"MarkerDelayMs", L"0");
    const std::wstring icq = f.dir + L"ICQ.exe", copy = f.dir + L"ICQ.exe1";
    // Bytes after the image, which the stand-in never reads: changing them
    // leaves a program that still runs.
    wt::WriteBytes(icq, wt::ReadBytes(icq) + std::string(16, '\0'));
    // Kestrun over number 1, then the stand-in ended, so that it holds no copy.
    auto launchNumberOne = [&] {
        f.Set(L"LastNr", L"0");
        bool ran = launch::Run(f);
        launch::CloseStubs();
        return ran && wt::WaitFor([] { return !ProcessRunning(L"ICQ.exe1"); }, 10000);
    };
    ASSERT_TRUE(launchNumberOne());
    ASSERT_TRUE(wt::ReadBytes(copy) == wt::ReadBytes(icq));

    // A copy of ICQ.exe's size and time is started as it is, not written again.
    std::string kept = wt::ReadBytes(copy);
    kept.back() = 'k';
    WriteKeepingTime(copy, kept, WriteTime(icq));
    ASSERT_TRUE(launchNumberOne());
    EXPECT_TRUE(wt::ReadBytes(copy) == kept) << "the current copy was written again";
    EXPECT_EQ(f.Log().back(), f.Started(L"ICQ.exe1", L""));

    // ICQ.exe changed: at a new time with its size, or at the copy's time with
    // another size. Each time the copy is made again.
    std::string changed = wt::ReadBytes(icq);
    changed.back() = 't';
    wt::WriteBytes(icq, changed);
    ASSERT_TRUE(launchNumberOne());
    EXPECT_TRUE(wt::ReadBytes(copy) == changed) << "a copy older than ICQ.exe was kept";
    changed += "longer";
    WriteKeepingTime(icq, changed, WriteTime(copy));
    ASSERT_TRUE(launchNumberOne());
    EXPECT_TRUE(wt::ReadBytes(copy) == changed) << "a copy shorter than ICQ.exe was kept";
    EXPECT_EQ(f.Log().size(), 4u);
}

TEST_F(Launch, IcqStartsInItsOwnFolderWhereverKestrunWasStartedFrom) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Stub(L"RecordFolder", L"1");
    // As from a shortcut whose "Start in" is another folder.
    wt::Process k(f.dir + L"Kestrun.exe", L"", f.parent);
    ASSERT_TRUE(k.started() && k.WaitExit(30000));
    auto folders = wt::ReadLines(f.dir + L"icqstub.folder");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0] + L"\\", f.dir);
}

TEST_F(Launch, ACloseRequestDuringTheLaunchEndsItAndStillTidiesUp) {
    // Asked to close (logoff, taskkill) while it waits for a window that never
    // comes or for the marker, Kestrun ends, and still renames the running
    // copy back where ICQ.exe has gone.
    for (bool noWindow : {true, false}) {
        SCOPED_TRACE(noWindow ? "waiting for the window" : "waiting for the marker");
        Folder f;
        f.Set(L"ShowMe", L"0");
        f.Set(L"Starts", L"3");
        f.Stub(L"MarkerDelayMs", L"-1");
        f.Stub(L"ExitAfterMs", L"20000");
        if (noWindow) f.Stub(L"NoWindow", L"1");
        wt::Process k = launch::Start(f);
        ASSERT_TRUE(wt::WaitFor([&] { return f.Log().size() == 1; }, 20000));
        if (!noWindow) {
            ASSERT_TRUE(wt::WaitFor([&] { return f.Get(L"LastNr") == L"1"; }, 20000));
        }
        ASSERT_TRUE(DeleteFileW((f.dir + L"ICQ.exe").c_str()));
        for (HWND w : wt::TopWindows(k.pid(), L"KestrunWindow", false)) PostMessageW(w, WM_CLOSE, 0, 0);
        ASSERT_TRUE(k.WaitExit(30000));
        EXPECT_TRUE(f.Has(L"ICQ.exe"));
        EXPECT_FALSE(f.Has(L"ICQ.exe1"));
        EXPECT_EQ(f.Get(L"LastNr"), L"1");
        launch::CloseStubs();
    }
}

TEST_F(Launch, TheEndOfTheSessionDuringTheFollowUpStillTidiesUp) {
    // At logoff the system tells Kestrun's window that the session ends and
    // ends the process right after: the tidy-up cannot wait for the follow-up
    // (without a marker and on a first launch, twelve seconds of ticks).
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Stub(L"MarkerDelayMs", L"-1");
    f.Stub(L"ExitAfterMs", L"30000");
    wt::Process k = launch::Start(f);
    ASSERT_TRUE(wt::WaitFor([&] { return f.Get(L"LastNr") == L"1"; }, 20000));
    ASSERT_TRUE(DeleteFileW((f.dir + L"ICQ.exe").c_str()));
    ASSERT_TRUE(k.Running());
    wt::Process logoff(L"C:\\windows\\system32\\wineboot.exe", L"-e");
    ASSERT_TRUE(logoff.started() && logoff.WaitExit(60000));
    ASSERT_TRUE(k.WaitExit(5000));
    // The running copy took ICQ.exe's place, as a close request has it.
    EXPECT_TRUE(f.Has(L"ICQ.exe"));
    EXPECT_FALSE(f.Has(L"ICQ.exe1"));
    EXPECT_EQ(f.Get(L"Starts"), L"1");
}

TEST_F(Launch, TheEndOfTheSessionWhileKestrunWaitsForTheWindowRecordsTheLaunch) {
    // ICQ 7 is started but shows no window yet when the session ends: the
    // launch is recorded (LastNr, Starts) and tidied up before the system
    // ends Kestrun, as a close request has it.
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"LastNr", L"2");
    f.Set(L"Starts", L"6");
    f.Stub(L"NoWindow", L"1");
    f.Stub(L"MarkerDelayMs", L"-1");
    f.Stub(L"ExitAfterMs", L"30000");
    wt::Process k = launch::Start(f);
    ASSERT_TRUE(wt::WaitFor([&] { return f.Log().size() == 1; }, 20000));
    const DWORD started = GetTickCount();
    ASSERT_EQ(f.Get(L"Starts"), L"6") << "the counters were written before the session ended";
    ASSERT_TRUE(DeleteFileW((f.dir + L"ICQ.exe").c_str()));
    wt::Process logoff(L"C:\\windows\\system32\\wineboot.exe", L"-e");
    ASSERT_TRUE(logoff.started() && logoff.WaitExit(60000));
    ASSERT_TRUE(k.WaitExit(5000));
    // Otherwise Kestrun gave up on the window first and recorded the launch on its own way.
    ASSERT_LT(GetTickCount() - started, kFindWindowMs) << "the session ended too late to test";
    EXPECT_EQ(f.Get(L"LastNr"), L"3");
    EXPECT_EQ(f.Get(L"Starts"), L"7");
    EXPECT_TRUE(f.Has(L"ICQ.exe"));
    EXPECT_FALSE(f.Has(L"ICQ.exe3"));
}

TEST_F(Launch, WhereKestrunWritesAStaleCopyInUseGivesWayToTheNextOneNobodyRuns) {
    // ICQ 7 was updated while an old instance runs the turn's copy, which can
    // then be neither replaced nor started: the next copy that nobody runs is
    // made current and started, even while a program of its name runs
    // elsewhere. Only when every copy is stale and in use does
    // the launch fail, and its box does not send the user to Ternavo: Kestrun
    // may write here.
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"MaxNr", L"2");
    f.Set(L"Starts", L"3");
    f.Stub(L"MarkerDelayMs", L"0");
    const std::wstring icq = f.dir + L"ICQ.exe";
    auto current = [&](int nr) { return wt::ReadBytes(f.dir + L"ICQ.exe" + std::to_wstring(nr)) == wt::ReadBytes(icq); };
    // Bytes after the image, which the stand-in never reads: ICQ.exe still runs.
    auto updateIcq = [&] { wt::WriteBytes(icq, wt::ReadBytes(icq) + std::string(16, '\0')); };

    ASSERT_TRUE(launch::Run(f));
    ASSERT_TRUE(ProcessRunning(L"ICQ.exe1"));
    // A program of the next copy's name runs from another folder: it is not
    // that copy, which nobody runs.
    const std::wstring elsewhere = wt::NewDir(L"elsewhere");
    wt::InstallStandIn(elsewhere);
    ASSERT_TRUE(CopyFileW((elsewhere + L"ICQ.exe").c_str(), (elsewhere + L"ICQ.exe2").c_str(), FALSE));
    wt::Process stranger(elsewhere + L"ICQ.exe2", L"", elsewhere);
    ASSERT_TRUE(stranger.started() && wt::WaitFor([] { return launch::StubWindows().size() == 2; }, 10000));
    updateIcq();
    f.Set(L"LastNr", L"0");
    launch::MessageBoxSeenAndEnd run = launch::RunReadingBox(f, L"-english");
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.box.hwnd, nullptr) << run.box.text;
    ASSERT_EQ(f.Log().size(), 2u);
    EXPECT_EQ(f.Log().back(), f.Started(L"ICQ.exe2", L""));
    EXPECT_TRUE(current(2));
    EXPECT_EQ(f.Get(L"LastNr"), L"2");

    updateIcq();
    f.Set(L"LastNr", L"0");
    run = launch::RunReadingBox(f, L"-english");
    EXPECT_TRUE(run.ended);
    const std::wstring first = L"ICQ 7 could not be started.\n";
    EXPECT_EQ(run.box.text.substr(0, first.size()), first) << run.box.text;
    EXPECT_GT(run.box.text.size(), first.size()) << "no reason given";
    EXPECT_EQ(run.box.text.find(L"Ternavo"), std::wstring::npos) << run.box.text;
    EXPECT_EQ(f.Log().size(), 2u) << "a stale copy was started";
}

TEST_F(Launch, AStaleCopyInUseMakesAtMostOneOtherCurrentAndAFailedWriteWritesNoMore) {
    // The turn's copy 1 runs an old ICQ 7, copy 3 runs the present one, copy 2
    // cannot be written (a folder has its name) and copy 4 is missing. One
    // start tries copy 2 alone: failing that it falls back to the current copy
    // 3 and writes no copy 4. Once copy 2 can be written, it alone is made.
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"MaxNr", L"4");
    f.Set(L"Starts", L"3");
    f.Stub(L"MarkerDelayMs", L"0");
    const std::wstring icq = f.dir + L"ICQ.exe", copy3 = f.dir + L"ICQ.exe3";
    f.Set(L"LastNr", L"0");
    ASSERT_TRUE(launch::Run(f));
    ASSERT_TRUE(ProcessRunning(L"ICQ.exe1"));
    // Bytes after the image, which the stand-in never reads: ICQ.exe still runs.
    wt::WriteBytes(copy3, wt::ReadBytes(icq) + std::string(16, '\0'));
    wt::Process third(copy3, L"", f.dir);
    ASSERT_TRUE(third.started() && wt::WaitFor([] { return launch::StubWindows().size() == 2; }, 10000));
    WriteKeepingTime(icq, wt::ReadBytes(copy3), WriteTime(copy3));
    ASSERT_TRUE(CreateDirectoryW((f.dir + L"ICQ.exe2").c_str(), nullptr));
    const size_t starts = f.Log().size();

    f.Set(L"LastNr", L"0");
    launch::MessageBoxSeenAndEnd run = launch::RunReadingBox(f, L"-english");
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.box.hwnd, nullptr) << run.box.text;
    ASSERT_EQ(f.Log().size(), starts + 1);
    EXPECT_EQ(f.Log().back(), f.Started(L"ICQ.exe3", L""));
    EXPECT_FALSE(f.Has(L"ICQ.exe4")) << "a second copy was written after a failed one";

    ASSERT_TRUE(RemoveDirectoryW((f.dir + L"ICQ.exe2").c_str()));
    f.Set(L"LastNr", L"0");
    run = launch::RunReadingBox(f, L"-english");
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.box.hwnd, nullptr) << run.box.text;
    ASSERT_EQ(f.Log().size(), starts + 2);
    EXPECT_EQ(f.Log().back(), f.Started(L"ICQ.exe2", L""));
    EXPECT_TRUE(wt::ReadBytes(f.dir + L"ICQ.exe2") == wt::ReadBytes(icq));
    EXPECT_FALSE(f.Has(L"ICQ.exe4")) << "more than one other copy was written";
}

TEST_F(Launch, WithoutMarkerKestrunEndsAtTheSixthTick) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"Starts", L"3");  // one-second ticks
    f.Stub(L"MarkerDelayMs", L"-1");
    DWORD start = GetTickCount();
    ASSERT_TRUE(launch::Run(f));
    EXPECT_GE(GetTickCount() - start, 5000u);  // it did wait for the ticks
    EXPECT_EQ(f.Get(L"Starts"), L"4");
    EXPECT_TRUE(f.Has(L"ICQ.exe1"));
    EXPECT_FALSE(f.Has(L"ICQ.exe1.csassembly"));
}

TEST_F(Launch, MarkerIsDeletedAndTheCopyRenamedBackOnlyWhenIcqExeIsGone) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"Starts", L"3");
    f.Stub(L"MarkerDelayMs", L"2500");
    wt::Process k = launch::Start(f);
    ASSERT_TRUE(wt::WaitFor([&] { return f.Log().size() == 1; }, 20000));
    // ICQ.exe disappears while Kestrun waits: the running copy takes its place.
    ASSERT_TRUE(DeleteFileW((f.dir + L"ICQ.exe").c_str()));
    ASSERT_TRUE(k.WaitExit(30000));
    EXPECT_TRUE(f.Has(L"ICQ.exe"));
    EXPECT_FALSE(f.Has(L"ICQ.exe1"));
    EXPECT_FALSE(f.Has(L"ICQ.exe1.csassembly"));
}

TEST_F(Launch, WaitDelaysTheLaunchThroughATimer) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"Starts", L"3");
    wt::Process k = launch::Start(f, L"-wait=4");
    // Kestrun is up, but ICQ 7 is not started yet.
    ASSERT_TRUE(wt::WaitFor([&] { return !wt::TopWindows(k.pid(), L"KestrunWindow", false).empty(); }, 20000));
    Sleep(1000);
    EXPECT_TRUE(f.Log().empty());
    EXPECT_TRUE(k.Running());
    ASSERT_TRUE(k.WaitExit(30000));
    EXPECT_EQ(f.Log().size(), 1u);
}

TEST_F(Launch, WithoutItsTimersKestrunSavesTidiesUpAndEndsSoTheNextOneRuns) {
    // A test build in which the system makes no timer: neither the follow-up
    // nor the start delay can wait, yet each Kestrun saves its counters, ends
    // at once and leaves the next one free to run.
    Folder f(nullptr);
    const std::wstring bin = wt::KestrunExe().substr(0, wt::KestrunExe().size() - std::wstring(L"Kestrun.exe").size());
    ASSERT_TRUE(CopyFileW((bin + L"Kestrun_no_timer.exe").c_str(), (f.dir + L"Kestrun.exe").c_str(), FALSE));
    f.Set(L"ShowMe", L"0");
    f.Set(L"MaxNr", L"3");
    f.Set(L"Starts", L"3");
    f.Stub(L"MarkerDelayMs", L"60000");  // the follow-up would wait for the marker
    for (const wchar_t* args : {L"", L"", L"-wait=30"}) {
        SCOPED_TRACE(args[0] ? "with a start delay" : "without a start delay");
        ASSERT_TRUE(launch::Run(f, args, 15000)) << "Kestrun did not end";
    }
    ASSERT_EQ(f.Log().size(), 3u);
    EXPECT_EQ(f.Log()[1], f.Started(L"ICQ.exe2", L""));
    EXPECT_EQ(f.Log()[2], f.Started(L"ICQ.exe3", L""));
    EXPECT_EQ(f.Get(L"LastNr"), L"3");
    EXPECT_EQ(f.Get(L"Starts"), L"6");
}

TEST_F(Launch, WindowShownWithoutShowMeZeroOrWithInfoAndShowme) {
    struct Case { const wchar_t* showMe; const wchar_t* args; } cases[] = {
        {nullptr, L""}, {L"1", L""}, {L"00", L""}, {L"0", L"-info"}, {L"0", L"-SHOWME"},
    };
    for (const auto& c : cases) {
        Folder f;
        if (c.showMe) f.Set(L"ShowMe", c.showMe);
        wt::Process k = launch::Start(f, c.args);
        HWND form = wt::WaitWindow(k.pid(), L"KestrunWindow", 20000);
        EXPECT_NE(form, nullptr) << c.args;
        EXPECT_TRUE(f.Log().empty()) << c.args;
        if (form) PostMessageW(form, WM_CLOSE, 0, 0);
        EXPECT_TRUE(k.WaitExit(10000)) << c.args;
        EXPECT_TRUE(f.Log().empty()) << c.args;
    }
}

TEST_F(Launch, SecondCopyIsRefusedDuringTheFollowUpAndTouchesNothing) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"Starts", L"3");
    f.Stub(L"MarkerDelayMs", L"-1");  // the first one waits for its ticks
    wt::Process first = launch::Start(f);
    // The counters are written one after the other: both, before the file is read.
    ASSERT_TRUE(wt::WaitFor([&] { return f.Get(L"LastNr") == L"1" && f.Get(L"Starts") == L"4"; }, 20000));
    std::string ini = wt::ReadBytes(f.Ini());

    wt::Process second = launch::Start(f);
    launch::Refusal r = launch::RefusalOf(second);
    EXPECT_EQ(r.title, L"Error");
    EXPECT_EQ(r.text, L"Ternavo Starter is already running.");
    EXPECT_TRUE(r.hasIcon);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(f.Log().size(), 1u);
    EXPECT_EQ(wt::ReadBytes(f.Ini()), ini);
    EXPECT_FALSE(f.Has(L"ICQ.exe2"));
    ASSERT_TRUE(first.WaitExit(30000));
}

TEST_F(Launch, OnlyTheExactNameKestrunRuns) {
    for (const wchar_t* name : {L"kestrun.exe", L"KESTRUN.exe", L"Kestrun2.exe", L"Kestrun.old.exe"}) {
        Folder f(name);
        f.Set(L"ShowMe", L"0");
        std::string ini = wt::ReadBytes(f.Ini());
        wt::Process k = launch::Start(f, L"", name);
        launch::Refusal r = launch::RefusalOf(k);
        EXPECT_EQ(r.title, L"Error") << name;
        EXPECT_EQ(r.text, L"Wrong EXE name of Ternavo Starter.") << name << " windows: " << r.windows;
        EXPECT_TRUE(r.ended) << name;
        EXPECT_TRUE(f.Log().empty()) << name;
        EXPECT_EQ(wt::ReadBytes(f.Ini()), ini) << name;
    }
}

TEST_F(Launch, MissingIcqExeIsReportedAndNothingIsWritten) {
    Folder f(L"Kestrun.exe", false);
    f.Set(L"ShowMe", L"0");
    f.Set(L"LastNr", L"2");
    std::string ini = wt::ReadBytes(f.Ini());
    wt::Process k = launch::Start(f);
    launch::Refusal r = launch::RefusalOf(k);
    EXPECT_EQ(r.title, L"Error");
    EXPECT_EQ(r.text, L"Couldn't find the file ICQ.exe! Transaction canceled.");
    EXPECT_TRUE(r.hasIcon);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(wt::ReadBytes(f.Ini()), ini);
    EXPECT_EQ(wt::ListFiles(f.dir), (std::vector<std::wstring>{L"Kestrun.exe", L"kestrun.ini"}));
    EXPECT_FALSE(f.DecoyStarted());
}

TEST_F(Launch, LanguageKeyOverridesTheSwitchesOnlyInItsExactSpelling) {
    struct Case { const wchar_t* key; const wchar_t* args; const wchar_t* title; } cases[] = {
        {nullptr, L"-GERMAN", L"Fehler"},
        {L"German", L"-english", L"Fehler"},
        {L"german", L"", L"Error"},
    };
    for (const auto& c : cases) {
        Folder f(L"kestrun.exe");
        if (c.key) f.Set(L"Language", c.key);
        wt::Process k = launch::Start(f, c.args, L"kestrun.exe");
        launch::Refusal r = launch::RefusalOf(k);
        EXPECT_EQ(r.title, c.title) << c.args << " " << (c.key ? c.key : L"-");
        EXPECT_EQ(r.text, std::wstring(c.title) == L"Error" ? L"Wrong EXE name of Ternavo Starter."
                                                            : L"Falscher EXE-Name des Ternavo Starters");
    }
}

// Kestrun where only administrators may write: Ternavo's installation (run as
// administrator) prepares the numbered copies; a standard user's launches then
// start those copies, write nothing in the ICQ 7 folder and keep the user's
// settings and counters in the user's own kestrun.ini; a stale copy is never
// started; a single-run mutex the user may not open means another Kestrun
// runs. Afterwards, where Kestrun may write, a read-only stale copy is made
// anew, and Ternavo's removal takes read-only copies too.
// run.sh runs the phases in order, each as the user it names.
#include <windows.h>
#include <sddl.h>
#include <gtest/gtest.h>
#include <map>
#include "common/copy_whole.h"
#include "kestrun/window_table.h"
#include "tests/windows/kestrun_launch/launch_support.h"
#include "tests/windows/ternavo_apply/road.h"

namespace {

const std::wstring kIcq = L"C:\\Program Files\\ICQ7\\";
// The stand-in's log lies where the standard user may write.
const std::wstring kLogDir = L"C:\\wt\\standard-user\\";
constexpr int kPrepared = 5;

std::wstring Copy(int nr) { return kIcq + L"ICQ.exe" + std::to_wstring(nr); }
std::vector<std::wstring> Log() { return wt::ReadLines(kLogDir + L"icqstub.log"); }
std::wstring StartedLine(int nr) { return L"\"" + Copy(nr) + L"\" "; }

bool IsCurrent(int nr) {
    return !NeedsCopy(JudgeCopy(FactsOfFile(kIcq + L"ICQ.exe"), FactsOfFile(Copy(nr))));
}
bool ReadOnly(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

// What the folder holds: each file's size and last-write time.
std::map<std::wstring, std::pair<uint64_t, int64_t>> FolderState() {
    std::map<std::wstring, std::pair<uint64_t, int64_t>> state;
    for (const std::wstring& name : wt::ListFiles(kIcq)) {
        FileFacts f = FactsOfFile(kIcq + name);
        state[name] = {f.size, f.lastWrite};
    }
    return state;
}

// The standard user's own settings file.
std::wstring UserIni() { return wt::Env(L"LOCALAPPDATA") + L"\\Kestrun\\kestrun.ini"; }

// This user may not make files in the ICQ 7 folder; otherwise nothing here
// would show how Kestrun behaves for a standard user.
void ExpectFolderClosed() {
    HANDLE h = CreateFileW((kIcq + L"test.probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    DWORD error = GetLastError();
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    ASSERT_EQ(h, INVALID_HANDLE_VALUE) << "the ICQ 7 folder is writable: run by run.sh only";
    ASSERT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

// Runs Kestrun in the ICQ 7 folder to its end; the box it shows, if any, is
// read and closed.
wt::MessageBoxSeen RunKestrun(const std::wstring& args = L"") {
    wt::Process k(kIcq + L"Kestrun.exe", args, kIcq);
    EXPECT_TRUE(k.started());
    wt::WaitFor([&] { return !k.Running() || !wt::TopWindows(k.pid(), L"#32770").empty(); }, 40000);
    wt::MessageBoxSeen box;
    if (k.Running()) {
        box = wt::WaitMessageBox(k.pid(), 1000);
        if (box.hwnd) wt::CloseMessageBox(box.hwnd);
    }
    EXPECT_TRUE(k.WaitExit(20000)) << "Kestrun did not end";
    return box;
}

// Ternavo with ICQ 7 ticked and the ICQ 7 folder saved, Start pressed.
void PressStart(tv::Ternavo& t, int instances) {
    road::Save(t, {false, false, false, true, instances}, kIcq.substr(0, kIcq.size() - 1));
    ASSERT_TRUE(t.Start());
    t.Press(t.C("StartButton"));
}

TEST(Administrator, InstallPreparesCurrentCopiesWithNormalAttributes) {
    wt::EnsureDir(kIcq);
    wt::InstallStandIn(kIcq);
    wt::EnsureDir(kLogDir);
    wt::IniSet(kIcq + L"icqstub.ini", L"Stub", L"LogFolder", kLogDir);
    // ICQ 7's own file is read-only, as installers leave it: copies must not
    // take that over. A stale, read-only copy from earlier is made anew.
    wt::WriteBytes(Copy(2), "an earlier ICQ 7");
    SetFileAttributesW(Copy(2).c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((kIcq + L"ICQ.exe").c_str(), FILE_ATTRIBUTE_READONLY);

    tv::Ternavo t;
    PressStart(t, 0);
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!", 60000));
    PostMessageW(t.main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(t.proc.WaitExit(10000));

    EXPECT_EQ(wt::ReadBytes(kIcq + L"Kestrun.exe"), wt::ReadBytes(wt::KestrunExe()));
    const std::string icq = wt::ReadBytes(kIcq + L"ICQ.exe");
    for (int nr = 1; nr <= kPrepared; ++nr) {
        SCOPED_TRACE(nr);
        EXPECT_TRUE(IsCurrent(nr));
        EXPECT_EQ(wt::ReadBytes(Copy(nr)), icq);
        EXPECT_FALSE(ReadOnly(Copy(nr)));
    }
    EXPECT_FALSE(wt::Exists(Copy(kPrepared + 1)));
    for (const std::wstring& name : wt::ListFiles(kIcq))
        EXPECT_EQ(name.find(L".tmp"), std::wstring::npos) << "left behind";
}

TEST(StandardUser, ThreeLaunchesStartThreeDistinctCurrentCopiesAndWriteNothingThere) {
    ExpectFolderClosed();
    launch::CloseStubs();
    const auto before = FolderState();
    ASSERT_TRUE(Log().empty());

    // First run: no settings yet, so the window shows; "Start ICQ" saves them
    // into the user's own file, without a word.
    {
        wt::Process k(kIcq + L"Kestrun.exe", L"", kIcq);
        HWND form = wt::WaitWindow(k.pid(), L"KestrunWindow", 20000);
        ASSERT_NE(form, nullptr);
        PostMessageW(wt::Child(form, ControlId(kWindowControls, kWindowControlCount, "StartButton")), BM_CLICK, 0, 0);
        wt::MessageBoxSeen box = wt::WaitMessageBox(k.pid(), 3000);
        EXPECT_EQ(box.hwnd, nullptr) << box.text;
        if (box.hwnd) wt::CloseMessageBox(box.hwnd);
        EXPECT_TRUE(k.WaitExit(40000));
    }
    EXPECT_EQ(wt::IniGet(UserIni(), L"Kestrun", L"ShowMe"), L"1");
    // The next two start at once.
    wt::IniSet(UserIni(), L"Kestrun", L"ShowMe", L"0");
    for (int run = 2; run <= 3; ++run) {
        wt::MessageBoxSeen box = RunKestrun();
        EXPECT_EQ(box.hwnd, nullptr) << run << ": " << box.text;
    }

    auto log = Log();
    ASSERT_EQ(log.size(), 3u);
    for (int nr = 1; nr <= 3; ++nr) EXPECT_EQ(log[nr - 1], StartedLine(nr)) << nr;
    EXPECT_EQ(launch::StubWindows().size(), 3u);
    EXPECT_EQ(wt::IniGet(UserIni(), L"Kestrun", L"LastNr"), L"3");
    EXPECT_EQ(wt::IniGet(UserIni(), L"Kestrun", L"Starts"), L"3");
    EXPECT_EQ(FolderState(), before) << "Kestrun wrote in the ICQ 7 folder";
    EXPECT_TRUE(wt::TopWindows(0, L"#32770").empty());
    launch::CloseStubs();
}

TEST(StandardUser, AMutexThisUserMayNotOpenMeansAnotherKestrunRuns) {
    // Held by a Kestrun with other rights: only the system may open it.
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;GA;;;SY)", SDDL_REVISION_1, &sd, nullptr));
    SECURITY_ATTRIBUTES sa{sizeof(sa), sd, FALSE};
    HANDLE held = CreateMutexW(&sa, FALSE, L"Local\\Kestrun.SingleRun");
    LocalFree(sd);
    ASSERT_NE(held, nullptr);
    HANDLE again = CreateMutexW(nullptr, FALSE, L"Local\\Kestrun.SingleRun");
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "the case this test is about";

    const size_t starts = Log().size();
    wt::MessageBoxSeen box = RunKestrun(L"-english");
    EXPECT_EQ(box.title, L"Error");
    EXPECT_EQ(box.text, L"Ternavo Starter is already running.");
    EXPECT_EQ(Log().size(), starts) << "no ICQ 7 was started";
    CloseHandle(held);
}

TEST(StandardUserAfterUpdate, AStaleCopyIsNeverStartedAndTheBoxSaysWhatHelps) {
    ExpectFolderClosed();
    launch::CloseStubs();
    for (int nr = 1; nr <= kPrepared; ++nr) ASSERT_FALSE(IsCurrent(nr)) << nr << ": ICQ.exe was not updated";
    const auto before = FolderState();
    const size_t starts = Log().size();

    wt::MessageBoxSeen box = RunKestrun(L"-english");
    EXPECT_EQ(box.title, L"Error");
    const std::wstring first = L"ICQ 7 could not be started.\n";
    const std::wstring hint =
        L"\nKestrun may not write in the ICQ 7 folder. Run Ternavo and press Start once more: it prepares the copies.";
    EXPECT_EQ(box.text.substr(0, first.size()), first) << box.text;
    ASSERT_GT(box.text.size(), first.size() + hint.size()) << "no reason given";
    EXPECT_EQ(box.text.substr(box.text.size() - hint.size()), hint);

    EXPECT_EQ(Log().size(), starts) << "a stale copy was started";
    EXPECT_TRUE(launch::StubWindows().empty());
    EXPECT_EQ(FolderState(), before);
}

TEST(AdministratorAfterwards, AReadOnlyStaleCopyIsMadeAnewAndRemovalTakesReadOnlyCopies) {
    launch::CloseStubs();
    // Where Kestrun may write, the copy of the turn is made anew as ever, a
    // read-only one too, and comes out with normal attributes.
    SetFileAttributesW(Copy(1).c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_FALSE(IsCurrent(1));
    wt::IniSet(kIcq + L"kestrun.ini", L"Kestrun", L"ShowMe", L"0");
    const size_t starts = Log().size();
    wt::MessageBoxSeen box = RunKestrun();
    EXPECT_EQ(box.hwnd, nullptr) << box.text;
    auto log = Log();
    ASSERT_EQ(log.size(), starts + 1);
    EXPECT_EQ(log.back(), StartedLine(1));
    EXPECT_TRUE(IsCurrent(1));
    EXPECT_FALSE(ReadOnly(Copy(1)));
    launch::CloseStubs();

    SetFileAttributesW(Copy(3).c_str(), FILE_ATTRIBUTE_READONLY);
    tv::Ternavo t;
    PressStart(t, 1);
    road::Box done = road::TakeBox(t, 30000);
    EXPECT_EQ(done.text, L"All shortcuts to Kestrun.exe created by your own have to be deleted manually.");
    EXPECT_TRUE(t.WaitStatus(L"Changes successful!"));
    PostMessageW(t.main, WM_CLOSE, 0, 0);
    for (int nr = 1; nr <= kPrepared; ++nr) EXPECT_FALSE(wt::Exists(Copy(nr))) << nr;
    EXPECT_FALSE(wt::Exists(kIcq + L"Kestrun.exe"));
}

}  // namespace

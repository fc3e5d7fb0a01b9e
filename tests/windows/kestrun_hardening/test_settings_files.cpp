// kestrun.ini as other programs and people leave it: random bytes, byte-order
// marks, UTF-16, a line of 1 MB, quoted values, a section or key twice, a
// read-only file, a file held open by another program, a folder of that name.
// Kestrun must start, show or use what the system reads (the defaults where it
// reads nothing), launch, and change no key but those it writes.
#include <gtest/gtest.h>
#include <memory>
#include "kestrun/copies.h"
#include "kestrun/window_table.h"
#include "tests/windows/kestrun_hardening/hardening.h"
#include "tests/windows/kestrun_launch/launch_support.h"

namespace {

using hard::Layout;

// What the window shows after loading.
struct Shown {
    const wchar_t* text1;
    bool check1, check2, check3, check4;
    int loginOption;  // 0..3
    int statusItem;   // 1..7
};
constexpr Shown kDefaults{L"5", false, false, false, false, 3, 1};

struct Case {
    const char* name;
    std::string bytes;
    Layout layout;
    bool silent;          // ShowMe reads "0": no window, ICQ 7 is launched at once
    Shown shown;          // (window cases) what the window shows
    const wchar_t* copy;  // the numbered copy that is started
    const wchar_t* args;  // ICQ's argument text
    bool hidden;          // "Minimized" took effect
};

std::vector<Case> Cases() {
    const std::string body = "[Kestrun]\r\nMaxNr=3\r\nLastNr=1\r\nStarts=6\r\nLoginMode=1\r\n[Notes]\r\nKeep=1\r\n";
    std::vector<Case> c;
    c.push_back({"random bytes", hard::RandomBytes(4096, 7), Layout::File, false, kDefaults, L"ICQ.exe1", L"", false});
    // An editor's UTF-8 byte-order mark in front of a comment line.
    c.push_back({"UTF-8 with byte-order mark",
                 "\xEF\xBB\xBF; edited by hand\r\n[Kestrun]\r\nMaxNr=7\r\nMinimized=1\r\nLoginMode=2\r\n"
                 "LoginStatus=3\r\nStarts=4\r\nNoInfo=2\r\n[Notes]\r\nOwner=J\xC3\xBCrgen\r\n",
                 Layout::File, false, {L"7", false, true, false, false, 1, 3}, L"ICQ.exe1",
                 L"loginmode=2 status=2 visibility=4 ", true});
    c.push_back({"UTF-16",
                 hard::Utf16(L"[Kestrun]\r\nShowMe=0\r\nMaxNr=12\r\nLoginStatus=7\r\nLastNr=11\r\nStarts=2\r\n"
                             L"[Notes]\r\nOwner=\x03A9\x03BC\x03AD\x03B3\x03B1 \x65E5\x672C\r\n"),
                 Layout::File, true, {}, L"ICQ.exe12", L"status=3 visibility=1 ", false});
    c.push_back({"a line of 1 MB",
                 "[Kestrun]\r\nMaxNr=3\r\nNote=" + std::string(1 << 20, 'x') + "\r\nLoginMode=3\r\n", Layout::File,
                 false, {L"3", false, false, false, false, 2, 1}, L"ICQ.exe1", L"loginmode=3 ", false});
    // A number of 64 KB digits: shown cut to "99", no number for the launch.
    c.push_back({"a value of 64 KB", "[Kestrun]\r\nMaxNr=" + std::string(1 << 16, '7') + "\r\nLastNr=" +
                 std::string(1 << 16, '1') + "\r\n", Layout::File, false, {L"99", false, false, false, false, 3, 1},
                 L"ICQ.exe1", L"", false});
    // The system takes a value out of a pair of quotes around it; a lone quote stays.
    c.push_back({"values in quotes",
                 "[Kestrun]\r\nMaxNr=\"4\"\r\nNoTaskbar='1'\r\nLoginMode=\"2\r\nLoginStatus=\"5\"\r\nSetMode=\"\"\r\n",
                 Layout::File, false, {L"4", false, false, true, false, 3, 5}, L"ICQ.exe1",
                 L"status=1 visibility=1 ", false});
    // Only the first of two sections counts.
    c.push_back({"the section twice",
                 "[Kestrun]\r\nMaxNr=6\r\nLastNr=2\r\n[Other]\r\nx=1\r\n[Kestrun]\r\nMaxNr=9\r\nMinimized=1\r\n",
                 Layout::File, false, {L"6", false, false, false, false, 3, 1}, L"ICQ.exe3", L"", false});
    // ...and only the first of two keys.
    c.push_back({"the key twice",
                 "[Kestrun]\r\nMaxNr=8\r\nMaxNr=2\r\nLastNr=4\r\nLastNr=1\r\nLoginStatus=2\r\nLoginStatus=9\r\n",
                 Layout::File, false, {L"8", false, false, false, false, 3, 2}, L"ICQ.exe5",
                 L"status=1 visibility=4 ", false});
    c.push_back({"a read-only file", body, Layout::ReadOnly, false, {L"3", false, false, false, false, 0, 1},
                 L"ICQ.exe2", L"loginmode=1 ", false});
    c.push_back({"a file held open by another program", body, Layout::HeldOpen, false,
                 {L"3", false, false, false, false, 0, 1}, L"ICQ.exe2", L"loginmode=1 ", false});
    c.push_back({"a folder named kestrun.ini", "", Layout::Folder, false, kDefaults, L"ICQ.exe1", L"", false});
    return c;
}

HWND Ctl(HWND form, const char* name) { return wt::Child(form, ControlId(kWindowControls, kWindowControlCount, name)); }
bool On(HWND form, const char* name) { return wt::IsChecked(Ctl(form, name)); }

void ExpectShown(HWND form, const Shown& s, const char* label) {
    EXPECT_EQ(wt::Text(Ctl(form, "MaxInstances")), s.text1) << label;
    EXPECT_EQ(On(form, "DontShowAgain"), s.check1) << label;
    EXPECT_EQ(On(form, "StartMinimized"), s.check2) << label;
    EXPECT_EQ(On(form, "NoTaskbarButton"), s.check3) << label;
    EXPECT_EQ(On(form, "OnlyWithSetModes"), s.check4) << label;
    int selected = 0;
    for (int i = 0; i < 4; ++i) {
        std::string name = "LoginOption(" + std::to_string(i) + ")";
        if (On(form, name.c_str())) selected += 1 << i;
    }
    EXPECT_EQ(selected, 1 << s.loginOption) << label << " (one bit per selected login option)";
    EXPECT_EQ(SendMessageW(Ctl(form, "StatusList"), CB_GETCURSEL, 0, 0) + 1, s.statusItem) << label;
}

class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override { launch::CloseStubs(); }
    void TearDown() override { launch::CloseStubs(); }
};

TEST_F(SettingsFiles, EveryBadFileStartsWithWhatTheSystemReadsAndKeepsTheOtherKeys) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        launch::Folder f;
        hard::Lay(f.Ini(), c.bytes, c.layout);
        std::unique_ptr<hard::Held> held;
        if (c.layout == Layout::HeldOpen) {
            held = std::make_unique<hard::Held>(f.Ini());
            ASSERT_TRUE(held->ok());
        }
        // Held open or a folder can never be written; a read-only file can, where this
        // user's rights override the attribute (Wine run by root does), and not otherwise.
        win::Handle probe(CreateFileW(f.Ini().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        const bool writable = c.layout == Layout::File || probe.valid();
        probe.reset();
        const hard::IniView before = hard::ReadIni(f.Ini());
        const std::string bytesBefore = wt::ReadBytes(f.Ini());
        const std::string icq = wt::ReadBytes(f.dir + L"ICQ.exe");

        wt::Process k = launch::Start(f, c.silent ? L"" : L"-showme");
        ASSERT_TRUE(k.started());
        if (!c.silent) {
            HWND form = wt::WaitWindow(k.pid(), L"KestrunWindow", 20000);
            ASSERT_NE(form, nullptr);
            ExpectShown(form, c.shown, c.name);
            EXPECT_EQ(wt::ReadBytes(f.Ini()), bytesBefore) << "loading wrote to the file";
            // "Start ICQ": saves the window's seven keys, then launches.
            PostMessageW(Ctl(form, "StartButton"), BM_CLICK, 0, 0);
            if (!writable) {
                // Nothing can be written there: Start says so, then launches all the same.
                wt::MessageBoxSeen box = wt::WaitMessageBox(k.pid(), 20000);
                EXPECT_EQ(box.title, L"Error");
                const std::wstring first = L"The settings could not be saved.\n";
                EXPECT_EQ(box.text.substr(0, first.size()), first);
                EXPECT_GT(box.text.size(), first.size()) << "no reason given";
                if (box.hwnd) wt::CloseMessageBox(box.hwnd);
            }
        }
        ASSERT_TRUE(k.WaitExit(60000)) << "Kestrun did not end";
        EXPECT_TRUE(wt::TopWindows(0, L"#32770").empty()) << "a message box is open";

        auto log = f.Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0], f.Started(c.copy, c.args));
        EXPECT_EQ(wt::ReadBytes(f.dir + L"ICQ.exe"), icq);
        EXPECT_EQ(wt::ReadBytes(f.dir + c.copy), icq);
        if (c.hidden) {
            auto stubs = launch::StubWindows();
            ASSERT_EQ(stubs.size(), 1u);
            EXPECT_FALSE(IsWindowVisible(stubs[0]));
        }

        const hard::IniView after = hard::ReadIni(f.Ini());
        std::set<std::wstring> written{L"LastNr", L"Starts"};
        if (!c.silent)
            written.insert({L"MaxNr", L"ShowMe", L"Minimized", L"NoTaskbar", L"LoginMode", L"LoginStatus", L"SetMode"});
        hard::ExpectOnlyWritten(before, after, L"Kestrun", written, c.name);

        switch (c.layout) {
        case Layout::HeldOpen:
            // Nothing could be written: the file is as it was, and Kestrun did not mind.
            EXPECT_EQ(wt::ReadBytes(f.Ini()), bytesBefore);
            break;
        case Layout::Folder:
            EXPECT_TRUE(GetFileAttributesW(f.Ini().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
            EXPECT_TRUE(wt::ListFiles(f.Ini() + L"\\").empty());
            break;
        case Layout::ReadOnly:
            // Whether the system honours the attribute for this user or not,
            // the file stays read-only and either kept or got the written keys.
            EXPECT_TRUE(GetFileAttributesW(f.Ini().c_str()) & FILE_ATTRIBUTE_READONLY);
            break;
        case Layout::File:
            // The counters of this launch are in the file.
            EXPECT_EQ(f.Get(L"LastNr"), std::wstring(c.copy).substr(7));
            break;
        }
        // A byte-order mark stays where it was.
        for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE"}) {
            std::string m(mark);
            if (c.bytes.compare(0, m.size(), m) == 0) {
                EXPECT_EQ(wt::ReadBytes(f.Ini()).substr(0, m.size()), m);
            }
        }
        if (c.bytes.size() > (1 << 20)) {
            // The long line is still there, whole.
            EXPECT_NE(wt::ReadBytes(f.Ini()).find("\r\nNote=" + std::string(1 << 20, 'x') + "\r\n"), std::string::npos);
        }
        launch::CloseStubs();
        held.reset();
    }
}

}  // namespace

namespace {

// Whether Kestrun may make files in its folder is asked once per run, by a
// probe that the system deletes. Only "access denied" says no (the standard
// user's test shows that road): any other failure, here a folder that is not
// there, keeps the settings beside Kestrun, where they have always been.
TEST_F(SettingsFiles, OnlyAccessDeniedMovesTheSettingsOutOfKestrunsFolder) {
    launch::Folder f;
    const auto before = wt::ListFiles(f.dir);
    EXPECT_TRUE(MayWriteIn(f.dir));
    EXPECT_EQ(wt::ListFiles(f.dir), before) << "the probe stayed";

    const std::wstring gone = f.dir + L"no such folder\\";
    ASSERT_EQ(GetFileAttributesW(gone.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(SettingsFileFor(gone, MayWriteIn(gone)), gone + L"kestrun.ini");
}

}  // namespace

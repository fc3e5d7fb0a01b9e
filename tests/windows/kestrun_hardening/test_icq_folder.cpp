// The ICQ 7 folder as Kestrun may find it: an "ICQ.exe" of zero bytes or one
// that is no program, a folder where the copy should go, a read-only folder, a
// path beyond 260 characters or with letters outside the system code page, all
// ten numbered copies running, a marker that cannot be deleted, and an ICQ 7
// that ends at once, never opens a window or closes it during the wait.
// Kestrun ends within its bounded waits, says so only when ICQ 7 could not be
// started at all, and leaves "ICQ.exe" and every other file in place.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include "tests/windows/kestrun_hardening/hardening.h"
#include "tests/windows/kestrun_launch/launch_support.h"

namespace {

bool IsMarker(const std::wstring& name) {
    return name.size() > 11 && name.compare(name.size() - 11, 11, L".csassembly") == 0;
}

// A folder at `dir` with the stand-in ICQ 7 and Kestrun, set for silent starts.
struct Place {
    launch::Folder f{L"Kestrun.exe", false};
    explicit Place(const std::wstring& dir = L"") {
        if (!dir.empty()) f.dir = wt::EnsureDir(dir);
        wt::InstallStandIn(f.dir);
        wt::InstallKestrun(f.dir);
        f.Set(L"ShowMe", L"0");
        f.Set(L"Starts", L"3");  // one-second ticks of the follow-up
    }
};

struct Case {
    const char* name;
    std::function<std::wstring()> where;  // the folder, or empty text for a new one
    // Prepares the folder; what it returns lives until Kestrun has ended.
    std::function<std::shared_ptr<void>(launch::Folder&)> prepare;
    const wchar_t* copy;  // the numbered copy Kestrun starts
    int starts;           // stand-in starts caused by this Kestrun (0: nothing could be started)
    bool refused = false; // Kestrun may not write in the folder: the box ends with the hint about Ternavo
};

std::shared_ptr<void> Nothing(launch::Folder&) { return nullptr; }

std::vector<Case> Cases() {
    std::vector<Case> c;
    auto fresh = [] { return std::wstring(); };
    c.push_back({"an ICQ.exe of zero bytes", fresh,
                 [](launch::Folder& f) {
                     wt::WriteBytes(f.dir + L"ICQ.exe", "");
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe1", 0});
    c.push_back({"an ICQ.exe that is no program", fresh,
                 [](launch::Folder& f) {
                     wt::WriteBytes(f.dir + L"ICQ.exe", "This is a text, not a program.\r\n");
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe1", 0});
    // Kestrun may write in this folder: the box does not send the user to Ternavo.
    c.push_back({"a folder in the copy's place", fresh,
                 [](launch::Folder& f) {
                     CreateDirectoryW((f.dir + L"ICQ.exe1").c_str(), nullptr);
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe1", 0});
    c.push_back({"a read-only folder", fresh,
                 [](launch::Folder& f) {
                     SetFileAttributesW(f.dir.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe1", 1});
    // No program starts from a path of 260 characters or more, so the folder
    // is as deep as Kestrun can be: its copy ICQ.exe12 still starts, but the
    // marker's path runs beyond 260 characters.
    c.push_back({"paths longer than 260 characters",
                 [] {
                     std::wstring dir = wt::NewDir(L"long");
                     while (dir.size() < 200) dir += L"ICQ 7 in a folder with a long name\\";
                     return dir + std::wstring(246 - dir.size(), L'x') + L"\\";
                 },
                 [](launch::Folder& f) {
                     f.Set(L"MaxNr", L"12");
                     f.Set(L"LastNr", L"11");
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe12", 1});
    c.push_back({"letters outside the system code page",
                 [] { return wt::NewDir(L"letters") + L"ICQ 7 \x03A9\x03BC\x03AD\x03B3\x03B1 \x65E5\x672C \x0160\\"; },
                 Nothing, L"ICQ.exe1", 1});
    c.push_back({"MaxNr 10 with all ten copies running", fresh,
                 [](launch::Folder& f) {
                     f.Set(L"MaxNr", L"10");
                     f.Set(L"LastNr", L"3");
                     auto running = std::make_shared<std::vector<wt::Process>>();
                     for (int i = 1; i <= 10; ++i) {
                         std::wstring copy = f.dir + L"ICQ.exe" + std::to_wstring(i);
                         CopyFileW((f.dir + L"ICQ.exe").c_str(), copy.c_str(), FALSE);
                         running->emplace_back(copy, L"", f.dir);
                     }
                     // All ten are up and have left their markers.
                     wt::WaitFor([&] {
                         if (launch::StubWindows().size() < 10) return false;
                         for (int i = 1; i <= 10; ++i)
                             if (!wt::Exists(f.dir + L"ICQ.exe" + std::to_wstring(i) + L".csassembly")) return false;
                         return true;
                     }, 30000);
                     return std::shared_ptr<void>(running);
                 },
                 L"ICQ.exe4", 1});
    c.push_back({"a marker held open by another program", fresh,
                 [](launch::Folder& f) {
                     wt::WriteBytes(f.dir + L"ICQ.exe1.csassembly", "");
                     return std::shared_ptr<void>(std::make_shared<hard::Held>(f.dir + L"ICQ.exe1.csassembly"));
                 },
                 L"ICQ.exe1", 1});
    c.push_back({"a folder in the marker's place", fresh,
                 [](launch::Folder& f) {
                     CreateDirectoryW((f.dir + L"ICQ.exe1.csassembly").c_str(), nullptr);
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe1", 1});
    c.push_back({"an ICQ 7 that ends at once", fresh,
                 [](launch::Folder& f) {
                     f.Stub(L"ExitAtOnce", L"1");
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe1", 1});
    c.push_back({"an ICQ 7 that never opens a window", fresh,
                 [](launch::Folder& f) {
                     f.Stub(L"NoWindow", L"1");
                     f.Stub(L"ExitAfterMs", L"15000");
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe1", 1});
    c.push_back({"an ICQ 7 whose window closes during the wait", fresh,
                 [](launch::Folder& f) {
                     f.Stub(L"CloseWindowAfterMs", L"50");
                     f.Stub(L"MarkerDelayMs", L"-1");
                     return std::shared_ptr<void>();
                 },
                 L"ICQ.exe1", 1});
    return c;
}

class IcqFolder : public ::testing::Test {
protected:
    void SetUp() override { launch::CloseStubs(); }
    void TearDown() override { launch::CloseStubs(); }
};

TEST_F(IcqFolder, KestrunEndsAndLeavesIcqExeAndEveryOtherFileInPlace) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        Place p(c.where());
        launch::Folder& f = p.f;
        if (f.dir.size() > 200) {
            ASSERT_EQ(f.dir.size(), 247u);
            ASSERT_GT((f.dir + c.copy + L".csassembly").size(), 260u);
        }
        ASSERT_TRUE(wt::Exists(f.dir + L"Kestrun.exe"));
        std::shared_ptr<void> keep = c.prepare(f);
        const size_t startsBefore = f.Log().size();
        const auto before = hard::FolderFiles(f.dir);

        wt::Process k = launch::Start(f);
        ASSERT_TRUE(k.started()) << GetLastError() << " " << hard::Short(f.dir) << " " << f.dir.size();
        if (c.starts == 0) {
            // Nothing could be started: the box says so, with the system's reason.
            wt::MessageBoxSeen box = wt::WaitMessageBox(k.pid(), 20000);
            EXPECT_EQ(box.title, L"Error");
            std::wstring hint = c.refused ? L"\nKestrun may not write in the ICQ 7 folder. Run Ternavo and press Start once more: it prepares the copies." : L"";
            const std::wstring first = L"ICQ 7 could not be started.\n";
            EXPECT_EQ(box.text.substr(0, first.size()), first);
            ASSERT_GT(box.text.size(), first.size() + hint.size()) << "no reason given";
            std::wstring reason = box.text.substr(first.size(), box.text.size() - first.size() - hint.size());
            EXPECT_EQ(box.text.substr(first.size() + reason.size()), hint);
            EXPECT_EQ(reason.find(L'\n'), std::wstring::npos) << hard::Short(reason);
            EXPECT_EQ(reason.find(L"%1"), std::wstring::npos) << hard::Short(reason);
            if (box.hwnd) wt::CloseMessageBox(box.hwnd);
        }
        ASSERT_TRUE(k.WaitExit(60000)) << "Kestrun did not end";
        EXPECT_TRUE(wt::TopWindows(0, L"#32770").empty()) << "a message box is open";

        // The launch was recorded.
        std::wstring nr = std::wstring(c.copy).substr(7);
        EXPECT_EQ(f.Get(L"LastNr"), nr);
        EXPECT_EQ(f.Get(L"Starts"), L"4");
        auto log = f.Log();
        ASSERT_EQ(log.size(), startsBefore + c.starts);
        if (c.starts) {
            EXPECT_EQ(log.back(), f.Started(c.copy, L""));
        }

        // Nothing was lost or changed but the settings, the stand-in's log and
        // the copy (which is ICQ.exe again); markers belong to the instances.
        const auto after = hard::FolderFiles(f.dir);
        for (const auto& [name, bytes] : before) {
            if (IsMarker(name) || name == L"kestrun.ini" || name == L"icqstub.log") continue;
            ASSERT_TRUE(after.count(name)) << "lost: " << hard::Short(name);
            EXPECT_EQ(after.at(name), bytes) << "changed: " << hard::Short(name);
        }
        for (const auto& [name, bytes] : after) {
            if (before.count(name) || IsMarker(name)) continue;
            EXPECT_TRUE(name == c.copy || name == L"kestrun.ini" || name == L"icqstub.log")
                << "new: " << hard::Short(name);
            if (name == c.copy) {
                EXPECT_EQ(bytes, before.at(L"ICQ.exe"));
            }
        }
        ASSERT_TRUE(after.count(L"ICQ.exe"));
        keep.reset();
        launch::CloseStubs();
        SetFileAttributesW(f.dir.c_str(), FILE_ATTRIBUTE_DIRECTORY);
    }
}

}  // namespace

// The whole road: ICQ 7 where its installer puts it, Ternavo finds it, the
// user ticks "ICQ 7" and presses Start, confirms the dialog, and then starts
// ICQ twice through the installed Kestrun.
#include <gtest/gtest.h>
#include "tests/windows/ternavo_apply/road.h"

int KestrunStartButtonId();

namespace {

const wchar_t kIcq7[] = L"C:\\Program Files\\ICQ7\\";

// One run of the installed starter as the shortcut starts it: its window
// comes up (first run: no settings yet), the user presses "Start ICQ".
void StartIcqThroughKestrun(const road::Shortcut& link, const std::wstring& args) {
    wt::Process k(link.target, args, link.workingDir);
    ASSERT_TRUE(k.started());
    HWND form = wt::WaitWindow(k.pid(), L"KestrunWindow", 20000);
    if (form) {
        HWND start = wt::Child(form, KestrunStartButtonId());
        ASSERT_NE(start, nullptr);
        PostMessageW(start, BM_CLICK, 0, 0);
    }
    // Kestrun ends once the new ICQ has left its marker file.
    EXPECT_TRUE(k.WaitExit(30000));
}

TEST(Road, FromTernavoToTwoIcqs) {
    road::ClearIcqKeys();
    DeleteFileW(road::DesktopLink().c_str());
    wt::EnsureDir(kIcq7);
    wt::InstallStandIn(kIcq7);

    tv::Ternavo t(L"road");
    ASSERT_TRUE(t.Start());
    EXPECT_EQ(t.FolderBox(), L"C:\\Program Files\\ICQ7");  // the start-up search found it
    wt::Click(t.C("ICQ7Box"));
    ASSERT_TRUE(IsWindowEnabled(t.C("StartButton")));
    t.Press(t.C("StartButton"));
    ASSERT_TRUE(t.WaitSettingsShown());
    t.Press(t.InSettings("OkButton"));
    ASSERT_TRUE(t.WaitStatus(L"Changes successful!"));
    // The dialog saved it with "\", the result's save then as the box shows it.
    EXPECT_EQ(t.Get(L"ICQ7Path"), L"C:\\Program Files\\ICQ7");

    road::Shortcut link = road::ReadShortcut(road::DesktopLink());
    ASSERT_TRUE(link.ok);
    EXPECT_EQ(link.target, std::wstring(kIcq7) + L"Kestrun.exe");
    EXPECT_EQ(win::WithBackslash(link.workingDir), kIcq7);

    StartIcqThroughKestrun(link, L"-loginmode=2 -status=5");
    StartIcqThroughKestrun(link, L"-loginmode=3 -status=1");

    std::vector<std::wstring> log = wt::ReadLines(std::wstring(kIcq7) + L"icqstub.log");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find(L"ICQ7\\ICQ.exe1\" loginmode=2 status=2 visibility=1"), std::wstring::npos) << log[0];
    EXPECT_NE(log[1].find(L"ICQ7\\ICQ.exe2\" loginmode=3 status=1 visibility=4"), std::wstring::npos) << log[1];
    EXPECT_EQ(wt::IniGet(std::wstring(kIcq7) + L"kestrun.ini", L"Kestrun", L"LastNr"), L"2");

    t.proc.Kill();
    wt::RemoveTree(kIcq7);
    DeleteFileW(road::DesktopLink().c_str());
}

}  // namespace

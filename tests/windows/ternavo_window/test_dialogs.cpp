// Ternavo's ICQ 7 settings dialog and about box under an English locale:
// layout, keyboard, the OK rules, what lands in ternavo.ini and what does not;
// and every window of Ternavo moved to a screen of another DPI and back.
#include "tests/windows/ternavo_window/driver.h"
#include <dlgs.h>
#include <gtest/gtest.h>
#include <vector>
#include "common/product.h"

using tv::ExpectAt;
using tv::ExpectedRect;
using tv::Ternavo;

namespace {

std::wstring WithoutSlash(const std::wstring& dir) { return dir.substr(0, dir.size() - 1); }

}  // namespace

TEST(SettingsDialog, OpensModallyFromTheLinkWithItsControlsInPlace) {
    Ternavo t;
    ASSERT_TRUE(t.Start());
    t.OpenSettings();
    HWND dlg = t.SettingsDialog();
    EXPECT_EQ(wt::Text(dlg), L"Kestrun - Settings");
    EXPECT_FALSE(IsWindowEnabled(t.main));
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), t.main);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, 4335 / 15);
    EXPECT_EQ(client.bottom, 2835 / 15);
    for (const char* name : {"Explanation", "FolderFrame", "FolderPanel", "FolderBox", "ChangeButton", "ShortcutBox", "OkButton", "CancelButton"})
        ExpectAt(t.InSettings(name), dlg, ExpectedRect(kSettingsDialogControls, kSettingsDialogCount, name), true, name);
    // The caption of the folder box is as wide as its text, which must fit beside Change.
    RECT caption = wt::RectIn(t.InSettings("FolderLabel"), dlg);
    RECT captionWant = ExpectedRect(kSettingsDialogControls, kSettingsDialogCount, "FolderLabel");
    EXPECT_NEAR(caption.left, captionWant.left, 1);
    EXPECT_NEAR(caption.top, captionWant.top, 1);
    EXPECT_LT(caption.right, wt::RectIn(t.InSettings("ChangeButton"), dlg).left);
    EXPECT_EQ(wt::Shown(wt::Text(t.InSettings("FolderLabel"))), L"ICQ 7 installation directory");
    EXPECT_EQ(wt::Shown(wt::Text(t.InSettings("CancelButton"))), L"Cancel");
    EXPECT_TRUE(wt::IsChecked(t.InSettings("ShortcutBox")));
    EXPECT_FALSE(IsWindowEnabled(t.InSettings("OkButton")));

    // Esc is Cancel: hidden, the main window takes input again, nothing written.
    t.Key(t.InSettings("FolderBox"), VK_ESCAPE);
    ASSERT_TRUE(t.WaitHidden(dlg));
    EXPECT_TRUE(IsWindowEnabled(t.main));
    EXPECT_FALSE(wt::Exists(t.ini));
    // The next opening shows the same dialog again.
    t.OpenSettings();
    EXPECT_EQ(t.SettingsDialog(), dlg);
    PostMessageW(dlg, WM_CLOSE, 0, 0);  // the close box is Cancel too
    ASSERT_TRUE(t.WaitHidden(dlg));
    EXPECT_TRUE(IsWindow(dlg));
    EXPECT_TRUE(IsWindowEnabled(t.main));
}

TEST(SettingsDialog, OkIsEnabledExactlyWhileTheBoxNamesAnIcqFolder) {
    std::wstring icq7 = wt::NewDir(L"ok7");
    wt::InstallStandIn(icq7, L"icq7");
    std::wstring onlyExe = wt::NewDir(L"onlyexe");
    CopyFileW((wt::FixtureDir(L"icq7") + L"ICQ.exe").c_str(), (onlyExe + L"ICQ.exe").c_str(), FALSE);
    std::wstring onlyDll = wt::NewDir(L"onlydll");
    CopyFileW((wt::FixtureDir(L"icq7") + L"MCore.dll").c_str(), (onlyDll + L"MCore.dll").c_str(), FALSE);
    Ternavo t;
    ASSERT_TRUE(t.Start());
    t.OpenSettings();
    HWND ok = t.InSettings("OkButton");
    t.SetFolderBox(WithoutSlash(icq7));
    EXPECT_TRUE(IsWindowEnabled(ok));
    t.SetFolderBox(icq7);
    EXPECT_TRUE(IsWindowEnabled(ok));
    t.SetFolderBox(onlyExe);
    EXPECT_FALSE(IsWindowEnabled(ok));
    t.SetFolderBox(onlyDll);
    EXPECT_FALSE(IsWindowEnabled(ok));
    t.SetFolderBox(L"");
    EXPECT_FALSE(IsWindowEnabled(ok));
    // Typing the last letter of the folder makes it acceptable.
    std::wstring typed = WithoutSlash(icq7);
    t.SetFolderBox(typed.substr(0, typed.size() - 1));
    EXPECT_FALSE(IsWindowEnabled(ok));
    PostMessageW(t.InSettings("FolderBox"), WM_KEYDOWN, VK_END, 1);
    PostMessageW(t.InSettings("FolderBox"), WM_CHAR, typed.back(), 1);
    t.Settle();
    EXPECT_EQ(t.FolderBox(), typed);
    EXPECT_TRUE(IsWindowEnabled(ok));
}

TEST(SettingsDialog, OkRejectsAnotherIcqVersionAndStaysOpen) {
    std::wstring icq6 = wt::NewDir(L"wrong6");
    wt::InstallStandIn(icq6, L"icq6");
    Ternavo t;
    ASSERT_TRUE(t.Start());
    t.OpenSettings();
    t.SetFolderBox(icq6);
    ASSERT_TRUE(IsWindowEnabled(t.InSettings("OkButton")));  // both files are there
    t.Press(t.InSettings("OkButton"));
    wt::MessageBoxSeen box = wt::WaitMessageBox(t.proc.pid(), 10000);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.title, L"ICQ 7");
    EXPECT_EQ(box.text, L"The chosen directory doesn't contain the right ICQ version.");
    EXPECT_TRUE(box.hasIcon);
    wt::CloseMessageBox(box.hwnd);
    ASSERT_TRUE(t.WaitHidden(box.hwnd));
    EXPECT_TRUE(IsWindowVisible(t.SettingsDialog()));
    EXPECT_FALSE(IsWindowEnabled(t.main));
    EXPECT_FALSE(t.Has(L"ICQ7Path"));
}

TEST(SettingsDialog, OkStoresTheFolderWithBackslashAndResumesNothingFromTheLink) {
    std::wstring icq7 = wt::NewDir(L"store7");
    wt::InstallStandIn(icq7, L"icq7");
    Ternavo t;
    t.Set(L"ICQ6", L"1");  // a run would save the choices and show a result
    ASSERT_TRUE(t.Start());
    t.OpenSettings();
    t.SetFolderBox(WithoutSlash(icq7));
    t.Press(t.InSettings("OkButton"));
    ASSERT_TRUE(t.WaitHidden(t.SettingsDialog()));
    EXPECT_EQ(t.Get(L"ICQ7Path"), icq7);
    EXPECT_TRUE(IsWindowEnabled(t.main));
    // Opened through the link, OK runs no pending Start.
    Sleep(500);
    EXPECT_EQ(t.Status(), L"Choose options and click start.");
    EXPECT_FALSE(t.Has(L"Instances"));
    EXPECT_EQ(t.FolderBox(), WithoutSlash(icq7));
}

TEST(SettingsDialog, OkMakesARelativeFolderWhole) {
    Ternavo t;
    std::wstring icq7 = wt::EnsureDir(t.dir + L"ICQ7");
    wt::InstallStandIn(icq7, L"icq7");
    ASSERT_TRUE(t.Start());  // in its own folder, which "ICQ7" is relative to
    t.OpenSettings();
    t.SetFolderBox(L"ICQ7");
    ASSERT_TRUE(IsWindowEnabled(t.InSettings("OkButton")));
    t.Press(t.InSettings("OkButton"));
    ASSERT_TRUE(t.WaitHidden(t.SettingsDialog()));
    EXPECT_EQ(t.Get(L"ICQ7Path"), icq7);
    EXPECT_EQ(t.FolderBox(), WithoutSlash(icq7));
}

TEST(SettingsDialog, CancelEscAndCloseBoxPutBackTheFolderAndWriteNothing) {
    std::wstring saved = wt::NewDir(L"keep7");
    wt::InstallStandIn(saved, L"icq7");
    std::wstring other = wt::NewDir(L"other7");
    wt::InstallStandIn(other, L"icq7");
    Ternavo t;
    t.Set(L"ICQ7Path", saved);
    ASSERT_TRUE(t.Start());
    for (int way = 0; way < 3; ++way) {
        t.OpenSettings();
        EXPECT_EQ(t.FolderBox(), saved) << way;
        t.SetFolderBox(other);
        if (way == 0) t.Press(t.InSettings("CancelButton"));
        else if (way == 1) t.Key(t.InSettings("FolderBox"), VK_ESCAPE);
        else PostMessageW(t.SettingsDialog(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(t.WaitHidden(t.SettingsDialog())) << way;
        EXPECT_TRUE(wt::WaitFor([&] { return t.FolderBox() == saved; }, 5000)) << way << ": " << t.FolderBox();
        EXPECT_EQ(t.Get(L"ICQ7Path"), saved) << way;
    }
}

TEST(SettingsDialog, TabGoesOkCancelFolderChangeShortcut) {
    std::wstring icq7 = wt::NewDir(L"tab7");
    wt::InstallStandIn(icq7, L"icq7");
    Ternavo t;
    t.Set(L"ICQ7Path", icq7);  // OK enabled, so that it takes part
    ASSERT_TRUE(t.Start());
    t.OpenSettings();
    const char* order[] = {"OkButton", "CancelButton", "FolderBox", "ChangeButton", "ShortcutBox", "OkButton"};
    EXPECT_EQ(t.Focus(), t.InSettings(order[0]));
    for (size_t i = 1; i < std::size(order); ++i) {
        t.Key(t.Focus(), VK_TAB);
        EXPECT_EQ(t.Focus(), t.InSettings(order[i])) << "after " << order[i - 1];
    }
    // The dialog never stores the shortcut box itself.
    t.Key(t.InSettings("FolderBox"), VK_ESCAPE);
    ASSERT_TRUE(t.WaitHidden(t.SettingsDialog()));
    EXPECT_FALSE(t.Has(L"Shortcut"));
}

TEST(SettingsDialog, ChangePicksIcqExeInAnyCaseAndCutsTheFileName) {
    std::wstring parent = wt::NewDir(L"pick");
    std::wstring icq72 = wt::EnsureDir(parent + L"ICQ7.2");
    wt::InstallStandIn(icq72, L"icq7");
    // A folder named like the program, holding it in lower case.
    std::wstring renamed = wt::EnsureDir(parent + L"ICQ.exe-old");
    wt::InstallStandIn(renamed, L"icq7");
    ASSERT_TRUE(MoveFileW((renamed + L"ICQ.exe").c_str(), (renamed + L"icq.exe").c_str()));
    Ternavo t;
    ASSERT_TRUE(t.Start());
    t.OpenSettings();
    t.SetFolderBox(L"C:\\nowhere");

    // Cancelled: the box keeps its text.
    t.Press(t.InSettings("ChangeButton"));
    HWND browse = wt::WaitWindowByTitle(L"Please choose ICQ", 15000);
    ASSERT_TRUE(browse);
    PostMessageW(browse, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(t.WaitHidden(browse));
    t.Settle();
    EXPECT_EQ(t.FolderBox(), L"C:\\nowhere");

    // Chosen: the folder without its trailing backslash, and OK can be pressed.
    for (const std::wstring& file : {icq72 + L"ICQ.exe", renamed + L"icq.exe"}) {
        t.Press(t.InSettings("ChangeButton"));
        browse = wt::WaitWindowByTitle(L"Please choose ICQ", 15000);
        ASSERT_TRUE(browse);
        Sleep(300);
        SetDlgItemTextW(browse, cmb13, file.c_str());
        SetDlgItemTextW(browse, edt1, file.c_str());
        PostMessageW(browse, WM_COMMAND, IDOK, 0);
        std::wstring folder = file.substr(0, file.rfind(L'\\'));
        ASSERT_TRUE(wt::WaitFor([&] { return t.FolderBox() == folder; }, 10000)) << t.FolderBox();
        EXPECT_TRUE(IsWindowEnabled(t.InSettings("OkButton")));
        EXPECT_TRUE(IsWindowVisible(t.SettingsDialog()));
    }
}

TEST(AboutBox, ShowsNameVersionAndHomePageAndClosesWithOkOrEsc) {
    Ternavo t;
    ASSERT_TRUE(t.Start());
    t.Press(t.C("InfoButton"));
    ASSERT_TRUE(wt::WaitFor([&] { return t.Visible(t.AboutBox()); }, 10000));
    HWND about = t.AboutBox();
    EXPECT_EQ(wt::Text(about), L"Ternavo - Info");
    EXPECT_EQ(GetWindow(about, GW_OWNER), t.main);
    EXPECT_FALSE(IsWindowEnabled(t.main));
    RECT client;
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 3120 / 15);
    EXPECT_EQ(client.bottom, 1635 / 15);
    for (const char* name : {"ProgramFrame", "Copyright", "OkButton"})
        ExpectAt(t.InAbout(name), about, ExpectedRect(kAboutBoxControls, kAboutBoxCount, name), true, name);
    // "Homepage:" starts where the table says; its link stands beside it (the walk checks how).
    RECT label = wt::RectIn(t.InAbout("HomepageLabel"), about);
    RECT labelWant = ExpectedRect(kAboutBoxControls, kAboutBoxCount, "HomepageLabel");
    EXPECT_NEAR(label.left, labelWant.left, 1);
    EXPECT_NEAR(label.top, labelWant.top, 1);
    EXPECT_EQ(wt::Text(t.InAbout("ProgramFrame")), TERNAVO_CAPTION);
    EXPECT_EQ(wt::Text(t.InAbout("HomepageLabel")), L"Homepage:");
    EXPECT_EQ(wt::Text(t.InAbout("HomepageLink")), kHomeDomain);
    EXPECT_FALSE(wt::Text(t.InAbout("Copyright")).empty());
    // The link stands right of "Homepage:" and ends inside the frame.
    RECT link = wt::RectIn(t.InAbout("HomepageLink"), about);
    EXPECT_GT(link.left, wt::RectIn(t.InAbout("HomepageLabel"), about).right);
    EXPECT_LT(link.right, wt::RectIn(t.InAbout("ProgramFrame"), about).right);
    EXPECT_EQ(t.Focus(), t.InAbout("OkButton"));

    t.Press(t.InAbout("OkButton"));
    ASSERT_TRUE(t.WaitHidden(about));
    EXPECT_TRUE(IsWindowEnabled(t.main));
    t.Press(t.C("InfoButton"));
    ASSERT_TRUE(t.WaitShown(about));
    EXPECT_EQ(t.AboutBox(), about);  // the same window, only hidden in between
    t.Key(t.InAbout("OkButton"), VK_ESCAPE);
    ASSERT_TRUE(t.WaitHidden(about));
    EXPECT_TRUE(IsWindowEnabled(t.main));
}

namespace {

struct TableOf {
    HWND window;
    const ControlDef* defs;
    size_t count;
    const char* what;
};

std::vector<RECT> Places(const TableOf& t) {
    std::vector<RECT> all;
    for (size_t i = 0; i < t.count; ++i)
        all.push_back(wt::RectIn(wt::Child(t.window, ControlId(t.defs, t.count, t.defs[i].name)), t.window));
    return all;
}

// The main window with both dialogs made (and hidden again), in English.
std::vector<TableOf> OpenEveryWindow(Ternavo& t) {
    EXPECT_TRUE(t.Start(L"-english"));
    t.OpenSettings();
    t.Key(t.InSettings("FolderBox"), VK_ESCAPE);
    EXPECT_TRUE(t.WaitHidden(t.SettingsDialog()));
    t.Press(t.C("InfoButton"));
    EXPECT_TRUE(wt::WaitFor([&] { return t.Visible(t.AboutBox()); }, 10000));
    t.Key(t.InAbout("OkButton"), VK_ESCAPE);
    EXPECT_TRUE(t.WaitHidden(t.AboutBox()));
    return {{t.main, kMainWindowControls, kMainWindowCount, "main window"},
            {t.SettingsDialog(), kSettingsDialogControls, kSettingsDialogCount, "settings dialog"},
            {t.AboutBox(), kAboutBoxControls, kAboutBoxCount, "about box"}};
}

bool PlacedByTableAlone(Kind k) { return k == Kind::Frame || k == Kind::Panel || k == Kind::Button || k == Kind::Edit; }

}  // namespace

TEST(Dpi, EveryWindowFollowsItsScreensDpiThereAndBackAsOneOpenedThereWithoutKeepingAnything) {
    std::vector<std::vector<RECT>> opened144;
    {
        wt::ScreenDpiSetting dpi(144);
        Ternavo t(L"dpi144");
        for (const TableOf& w : OpenEveryWindow(t)) opened144.push_back(Places(w));
        PostMessageW(t.main, WM_CLOSE, 0, 0);
        t.proc.WaitExit(10000);
    }
    Ternavo t(L"dpi96");
    std::vector<TableOf> windows = OpenEveryWindow(t);
    ASSERT_EQ(windows.size(), opened144.size());
    DWORD gdi = wt::GdiObjects(t.proc.handle());
    for (size_t n = 0; n < windows.size(); ++n) {
        const TableOf& w = windows[n];
        RECT outer96;
        GetWindowRect(w.window, &outer96);
        std::vector<RECT> at96 = Places(w);
        RECT suggested = wt::SendDpiChange(w.window, 96, 144);
        t.Settle();
        RECT outer;
        GetWindowRect(w.window, &outer);
        EXPECT_TRUE(EqualRect(&outer, &suggested)) << w.what << " takes the rectangle the system suggests";
        std::vector<RECT> at144 = Places(w);
        for (size_t i = 0; i < w.count; ++i) {
            const ControlDef& d = w.defs[i];
            const RECT &moved = at144[i], &opened = opened144[n][i];
            // (A drop-down list's height is that of its font's line.)
            EXPECT_NEAR(moved.left, opened.left, 1) << w.what << ": " << d.name << " moved to 144 dpi and opened there";
            EXPECT_NEAR(moved.top, opened.top, 1) << w.what << ": " << d.name;
            EXPECT_NEAR(moved.right, opened.right, 1) << w.what << ": " << d.name;
            EXPECT_NEAR(moved.bottom, opened.bottom, 1) << w.what << ": " << d.name;
            if (!PlacedByTableAlone(d.kind)) continue;
            EXPECT_NEAR(moved.left, at96[i].left * 3 / 2, 2) << w.what << ": " << d.name << " at 1.5 times its place";
            EXPECT_NEAR(moved.top, at96[i].top * 3 / 2, 2) << w.what << ": " << d.name;
            EXPECT_NEAR(moved.right, at96[i].right * 3 / 2, 2) << w.what << ": " << d.name;
            EXPECT_NEAR(moved.bottom, at96[i].bottom * 3 / 2, 2) << w.what << ": " << d.name;
        }
        wt::SendDpiChange(w.window, 144, 96);
        for (int trip = 0; trip < 9; ++trip) {
            wt::SendDpiChange(w.window, 96, 144);
            wt::SendDpiChange(w.window, 144, 96);
        }
        t.Settle();
        GetWindowRect(w.window, &outer);
        EXPECT_TRUE(EqualRect(&outer, &outer96)) << w.what;
        std::vector<RECT> back = Places(w);
        for (size_t i = 0; i < w.count; ++i)
            EXPECT_TRUE(EqualRect(&back[i], &at96[i])) << w.what << ": " << w.defs[i].name << " back at 96 dpi";
    }
    wt::ExpectSameGdiObjects(t.proc.handle(), gdi);
}

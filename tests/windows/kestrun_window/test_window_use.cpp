// Using Kestrun's window: tabs by mouse and keyboard, the Save button's
// tracking of changes, the instance box's key filter, "Start ICQ" with its
// one-time hint, Enter and Esc, and the three links.
#include <gtest/gtest.h>
#include "tests/windows/kestrun_window/window_support.h"

using kw::Folder;
using kw::Window;

namespace {

const char* const kSwitches[] = {"DontShowAgain",      "StartMinimized",      "NoTaskbarButton",      "OnlyWithSetModes",
                                 "LoginOption(0)", "LoginOption(1)", "LoginOption(2)", "LoginOption(3)"};

using kw::CloseStandIns;

class WindowUse : public ::testing::Test {
protected:
    void TearDown() override { CloseStandIns(); }
};

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(mem), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

// The inner list box part of the status list, which takes the keyboard.
HWND InnerCombo(HWND imageCombo) { return reinterpret_cast<HWND>(SendMessageW(imageCombo, CBEM_GETCOMBOCONTROL, 0, 0)); }

void PressKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
    for (auto [vk, down] : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &in, sizeof in);
        Sleep(30);
    }
}

}  // namespace

TEST_F(WindowUse, EachTabShowsExactlyItsPageByMouseAndByKeyboard) {
    Folder f;
    Window w(f);
    ASSERT_NE(w.form(), nullptr);
    for (int tab : {1, 2, 3, 0, 2, 2}) {  // the last click hits the tab already shown
        w.ClickTab(tab);
        EXPECT_EQ(w.SelectedTab(), tab);
        EXPECT_EQ(w.ShownPage(), tab) << "after a click on tab " << tab;
    }
    // Arrow keys on the strip.
    w.Key("TabStrip", VK_RIGHT);
    EXPECT_EQ(w.ShownPage(), 3);
    w.Key("TabStrip", VK_LEFT);
    w.Key("TabStrip", VK_LEFT);
    EXPECT_EQ(w.ShownPage(), 1);

    // Ctrl+Tab and Ctrl+Shift+Tab step through the tabs, wherever the focus is.
    SetForegroundWindow(w.form());
    w.Settle();
    auto ctrlTab = [&](bool back) {
        PressKeys({{VK_CONTROL, true}, {VK_SHIFT, back}, {VK_TAB, true}, {VK_TAB, false}, {VK_SHIFT, false},
                   {VK_CONTROL, false}});
        w.Settle();
    };
    ctrlTab(false);
    EXPECT_EQ(w.ShownPage(), 2);
    EXPECT_EQ(w.SelectedTab(), 2);
    ctrlTab(true);
    EXPECT_EQ(w.ShownPage(), 1);
    ctrlTab(true);
    ctrlTab(true);
    EXPECT_EQ(w.ShownPage(), 3) << "from the first tab back round to the last";
}

TEST_F(WindowUse, EveryKindOfChangeMakesSavePressableAndSavingWritesAllSevenKeys) {
    Folder f;
    Window w(f);
    ASSERT_NE(w.form(), nullptr);
    EXPECT_FALSE(w.SaveEnabled()) << "nothing to save right after loading";
    EXPECT_FALSE(f.IniExists());

    for (const char* name : kSwitches) {
        w.Click(name);
        EXPECT_TRUE(w.SaveEnabled()) << name;
        w.Click("SaveButton");
        EXPECT_FALSE(w.SaveEnabled()) << "after saving " << name;
    }
    // The clicks left the four check boxes on and login option 3 selected.
    EXPECT_EQ(f.Get(L"ShowMe"), L"0");
    EXPECT_EQ(f.Get(L"Minimized"), L"1");
    EXPECT_EQ(f.Get(L"NoTaskbar"), L"1");
    EXPECT_EQ(f.Get(L"SetMode"), L"1");
    EXPECT_EQ(f.Get(L"LoginMode"), L"4");

    SendMessageW(w.Get("MaxInstances"), EM_SETSEL, 1, 1);  // after the "5" that the box holds
    w.Type("MaxInstances", L"3");
    EXPECT_TRUE(w.SaveEnabled()) << "typing in the instance box";
    w.Click("SaveButton");
    EXPECT_EQ(f.Get(L"MaxNr"), L"53");

    // A status picked with the keyboard alone does not count as a change ...
    HWND combo = w.Get("StatusList");
    HWND inner = InnerCombo(combo);
    ASSERT_NE(inner, nullptr);
    PostMessageW(inner, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(inner, WM_KEYUP, VK_DOWN, 0xC0000001);
    w.Settle();
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(w.SaveEnabled()) << "keyboard selection alone";
    // ... opening the list does.
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    w.Settle();
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    w.Settle();
    EXPECT_TRUE(w.SaveEnabled()) << "opening the status list";
    w.Click("SaveButton");
    EXPECT_FALSE(w.SaveEnabled());

    for (const wchar_t* key : {L"MaxNr", L"ShowMe", L"Minimized", L"NoTaskbar", L"LoginMode", L"LoginStatus", L"SetMode"})
        EXPECT_FALSE(f.Get(key).empty()) << key;
    EXPECT_EQ(f.Get(L"LoginStatus"), L"2");
    EXPECT_EQ(f.Get(L"NoInfo"), L"") << "saving never writes the hint's key";

    // Held open by another program, the file takes nothing: Save says so in
    // a box and stays pressable.
    HANDLE held = CreateFileW(f.Ini().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    w.Click("StartMinimized");
    PostMessageW(w.Get("SaveButton"), BM_CLICK, 0, 0);
    wt::MessageBoxSeen box = wt::WaitMessageBox(w.process().pid(), 10000);
    CloseHandle(held);
    EXPECT_EQ(box.title, L"Error");
    EXPECT_EQ(box.text.substr(0, box.text.find(L'\n')), L"The settings could not be saved.");
    EXPECT_NE(box.text.find(L'\n'), std::wstring::npos) << "no reason given";
    if (box.hwnd) wt::CloseMessageBox(box.hwnd);
    w.Settle();
    EXPECT_TRUE(w.SaveEnabled());
    EXPECT_EQ(f.Get(L"Minimized"), L"1") << "the file kept what it had";
}

TEST_F(WindowUse, InstanceBoxTakesTwoDigitsAndBackspaceButPastingIsNotFiltered) {
    Folder f;
    Window w(f);
    ASSERT_NE(w.form(), nullptr);
    HWND text1 = w.Get("MaxInstances");
    SendMessageW(text1, EM_SETSEL, 0, -1);
    w.Type("MaxInstances", L"a");
    EXPECT_EQ(w.Text("MaxInstances"), L"5") << "a letter is dropped";
    EXPECT_FALSE(w.SaveEnabled()) << "a dropped key changes nothing";
    SendMessageW(text1, EM_SETSEL, 0, -1);
    w.Type("MaxInstances", L"4-2.9 ");
    EXPECT_EQ(w.Text("MaxInstances"), L"42") << "digits only, and no more than two";
    w.Type("MaxInstances", L"\b");
    EXPECT_EQ(w.Text("MaxInstances"), L"4") << "backspace works";
    w.Type("MaxInstances", L"\x1b\r\t");
    EXPECT_EQ(w.Text("MaxInstances"), L"4");

    // Ctrl+V passes: the pasted text is not filtered, only cut to two characters.
    PutOnClipboard(L"abc");
    SendMessageW(text1, EM_SETSEL, 0, -1);
    w.Type("MaxInstances", L"\x16");
    EXPECT_EQ(w.Text("MaxInstances"), L"ab");
    w.Click("SaveButton");
    EXPECT_EQ(f.Get(L"MaxNr"), L"5") << "not a number: saved as 5";
    EXPECT_EQ(w.Text("MaxInstances"), L"5") << "after Save the box shows what was saved";
    // 0 is out of range: saved as 5, and the box says so.
    SendMessageW(text1, EM_SETSEL, 0, -1);
    w.Type("MaxInstances", L"0");
    ASSERT_TRUE(w.SaveEnabled());
    w.Click("SaveButton");
    EXPECT_EQ(f.Get(L"MaxNr"), L"5");
    EXPECT_EQ(w.Text("MaxInstances"), L"5") << "the box shows the saved 5, not the typed 0";
    EXPECT_FALSE(w.SaveEnabled()) << "what the box shows is saved";
    PutOnClipboard(L"12345");
    SendMessageW(text1, EM_SETSEL, 0, -1);
    w.Type("MaxInstances", L"\x16");
    EXPECT_EQ(w.Text("MaxInstances"), L"12");
}

TEST_F(WindowUse, StartSavesHidesAndLaunchesAtOnceWithoutAHintWhenTheWindowStaysOn) {
    Folder f;
    f.Set(L"NoInfo", L"1");
    Window w(f, L"-showme -wait=30");
    ASSERT_NE(w.form(), nullptr);
    w.Click("StartMinimized");  // a change that only "Start ICQ" saves
    PostMessageW(w.Get("StartButton"), BM_CLICK, 0, 0);
    // No delay of "-wait=": the stand-in starts at once.
    ASSERT_TRUE(wt::WaitFor([&] { return f.IcqLog().size() == 1; }, 10000));
    EXPECT_FALSE(IsWindowVisible(w.form()));
    EXPECT_TRUE(wt::TopWindows(w.process().pid(), L"#32770").empty()) << "no hint with DontShowAgain off";
    EXPECT_EQ(f.Get(L"Minimized"), L"1");
    EXPECT_EQ(f.Get(L"ShowMe"), L"1");
    EXPECT_EQ(f.Get(L"NoInfo"), L"1") << "left as it was";
    EXPECT_TRUE(w.process().WaitExit(30000)) << "Kestrun ends after the launch";
}

TEST_F(WindowUse, TheHintComesOnceBeforeTheLaunchInTheWindowsLanguage) {
    Folder f;
    {
        Window w(f, L"-showme -german");
        ASSERT_NE(w.form(), nullptr);
        w.Click("DontShowAgain");
        PostMessageW(w.Get("StartButton"), BM_CLICK, 0, 0);
        wt::MessageBoxSeen box = wt::WaitMessageBox(w.process().pid(), 10000);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.title, L"Information");
        EXPECT_EQ(box.text, kHintDe);
        EXPECT_TRUE(box.hasIcon);
        EXPECT_FALSE(IsWindowVisible(w.form())) << "the window is already gone";
        EXPECT_EQ(f.Get(L"ShowMe"), L"0") << "saved before the hint";
        EXPECT_TRUE(f.IcqLog().empty()) << "ICQ waits for the box";
        EXPECT_NE(f.Get(L"NoInfo"), L"2");
        wt::CloseMessageBox(box.hwnd);
        ASSERT_TRUE(wt::WaitFor([&] { return f.IcqLog().size() == 1; }, 10000));
        EXPECT_EQ(f.Get(L"NoInfo"), L"2");
        EXPECT_TRUE(w.process().WaitExit(30000));
    }
    CloseStandIns();
    {
        // "NoInfo" = "2": never again.
        Window w(f, L"-showme -german");
        ASSERT_NE(w.form(), nullptr);
        EXPECT_TRUE(w.On("DontShowAgain"));
        PostMessageW(w.Get("StartButton"), BM_CLICK, 0, 0);
        ASSERT_TRUE(wt::WaitFor([&] { return f.IcqLog().size() == 2; }, 10000));
        EXPECT_TRUE(wt::TopWindows(w.process().pid(), L"#32770").empty());
        EXPECT_TRUE(w.process().WaitExit(30000));
    }
}

TEST_F(WindowUse, EnglishHintAndEnterStartsIcq) {
    Folder f;
    f.Set(L"ShowMe", L"0");
    Window w(f, L"-showme -english");
    ASSERT_NE(w.form(), nullptr);
    w.Key("StartMinimized", VK_RETURN);  // Enter, with the focus anywhere but on Save
    wt::MessageBoxSeen box = wt::WaitMessageBox(w.process().pid(), 10000);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.title, L"Information");
    EXPECT_EQ(box.text, kHintEn);
    wt::CloseMessageBox(box.hwnd);
    ASSERT_TRUE(wt::WaitFor([&] { return f.IcqLog().size() == 1; }, 10000));
    EXPECT_TRUE(w.process().WaitExit(30000));
}

TEST_F(WindowUse, EscClosesTheWindowWithoutSavingOrLaunching) {
    Folder f;
    Window w(f);
    ASSERT_NE(w.form(), nullptr);
    w.Click("NoTaskbarButton");
    w.Key("NoTaskbarButton", VK_ESCAPE);
    EXPECT_TRUE(w.process().WaitExit(10000));
    EXPECT_FALSE(f.IniExists());
    EXPECT_TRUE(f.IcqLog().empty());
}

TEST_F(WindowUse, LinksOpenTheHomePageHelpAndForumThroughTheShell) {
    // The shell's handler for web addresses is, in this throwaway prefix, a
    // stand-in that writes down the address it was given.
    std::wstring recorder = wt::NewDir(L"browser");
    wt::InstallStandIn(recorder);
    wt::IniSet(recorder + L"icqstub.ini", L"Stub", L"ExitAtOnce", L"1");
    std::wstring command = L"\"" + recorder + L"ICQ.exe\" \"%1\"";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);

    Folder f;
    Window w(f);
    ASSERT_NE(w.form(), nullptr);
    w.ClickTab(3);
    auto opened = [&](size_t n) {
        wt::WaitFor([&] { return wt::ReadLines(recorder + L"icqstub.log").size() >= n; }, 15000);
        auto lines = wt::ReadLines(recorder + L"icqstub.log");
        return lines.size() >= n ? lines[n - 1] : std::wstring(L"(nothing opened)");
    };
    auto endsWith = [](const std::wstring& s, const std::wstring& tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    };
    w.ClickLabel("HomepageLink");
    std::wstring home = opened(1);
    EXPECT_TRUE(endsWith(home, L"www.ternavo.example\"") || endsWith(home, L"www.ternavo.example/\"")) << home;
    w.ClickLabel("HelpLink");
    std::wstring help = opened(2);
    EXPECT_TRUE(endsWith(help, L"\"http://www.ternavo.example/index.php?page_id=221\"")) << help;
    w.ClickLabel("ForumLink");
    std::wstring forum = opened(3);
    EXPECT_TRUE(endsWith(forum, L"\"http://www.ternavo.example/forum\"")) << forum;
    // The window stays as it was.
    EXPECT_TRUE(IsWindowVisible(w.form()));
    EXPECT_EQ(w.ShownPage(), 3);
    EXPECT_TRUE(f.IcqLog().empty());
}

namespace {

HWND FocusOf(HWND form) {
    GUITHREADINFO gti{sizeof gti};
    GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gti);
    return gti.hwndFocus;
}

// The control of the table that has the focus (or holds it, as the status list holds its inner box).
std::string FocusName(const Window& w) {
    HWND focus = FocusOf(w.form());
    for (size_t i = 0; i < kWindowControlCount; ++i)
        if (focus && w.Get(kWindowControls[i].name) == focus) return kWindowControls[i].name;
    if (focus && IsChild(w.Get("StatusList"), focus)) return "StatusList";
    return "(none)";
}

std::vector<std::string> TabThrough(const Window& w, int presses) {
    std::vector<std::string> seen;
    for (int i = 0; i < presses; ++i) {
        HWND focus = FocusOf(w.form());
        PostMessageW(focus, WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC0000001);
        w.Settle();
        seen.push_back(FocusName(w));
    }
    return seen;
}

}  // namespace

TEST_F(WindowUse, TabKeyGoesStripPageSwitchButtonsAndAccessKeysWork) {
    Folder f;
    Window w(f, L"-showme -german");
    ASSERT_NE(w.form(), nullptr);
    EXPECT_EQ(FocusName(w), "StartButton") << "Enter starts ICQ from the first moment";
    // Save is disabled and so left out.
    EXPECT_EQ(TabThrough(w, 4), (std::vector<std::string>{"TabStrip", "MaxInstances", "DontShowAgain", "StartButton"}));

    w.ClickTab(1);
    SendMessageW(w.Get("LoginOption(3)"), BM_SETCHECK, BST_UNCHECKED, 0);
    w.Click("LoginOption(1)");
    SetForegroundWindow(w.form());
    // From the clicked option round the window; into the login options once, at the selected one.
    EXPECT_EQ(FocusName(w), "LoginOption(1)");
    auto order = TabThrough(w, 9);
    EXPECT_EQ(order, (std::vector<std::string>{"StatusList", "OnlyWithSetModes", "DontShowAgain", "SaveButton", "StartButton", "TabStrip",
                                               "StartMinimized", "NoTaskbarButton", "LoginOption(1)"}));
    // Arrow keys move the choice within the options.
    PostMessageW(w.Get("LoginOption(1)"), WM_KEYDOWN, VK_DOWN, 1);
    w.Settle();
    EXPECT_TRUE(w.On("LoginOption(2)"));
    EXPECT_FALSE(w.On("LoginOption(1)"));

    // Alt with the underlined letter: "Dieses Fenster ..." and "S&peichern".
    w.Click("SaveButton");
    ASSERT_FALSE(w.SaveEnabled());
    EXPECT_FALSE(w.On("DontShowAgain"));
    PostMessageW(FocusOf(w.form()), WM_SYSCHAR, L'd', 0x20000001);
    w.Settle();
    EXPECT_TRUE(w.On("DontShowAgain"));
    EXPECT_TRUE(w.SaveEnabled());
    PostMessageW(FocusOf(w.form()), WM_SYSCHAR, L'p', 0x20000001);
    w.Settle();
    EXPECT_FALSE(w.SaveEnabled());
    EXPECT_EQ(f.Get(L"ShowMe"), L"0");
    EXPECT_EQ(f.Get(L"LoginMode"), L"3");
    // Saving from the keyboard leaves the focus on a button that works.
    EXPECT_EQ(FocusName(w), "StartButton");
}

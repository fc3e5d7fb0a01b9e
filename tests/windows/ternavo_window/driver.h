#pragma once
// Drives a real Ternavo.exe the way a person would: its own copy in a new
// folder (so that its ternavo.ini is its own), its windows found by class and
// its controls by the names in the window tables.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "ternavo/window/main_window_table.h"
#include "ternavo/window/about_box_table.h"
#include "ternavo/window/settings_dialog_table.h"
#include "tests/windows/support/wt.h"

namespace tv {

struct Ternavo {
    std::wstring dir;  // folder of this copy, ends in "\"
    std::wstring exe;
    std::wstring ini;
    wt::Process proc;
    HWND main = nullptr;

    // `build`: the shipped Ternavo, or a test build of it; the copy is named Ternavo.exe either way.
    explicit Ternavo(const std::wstring& hint = L"tv", const std::wstring& build = wt::TernavoExe())
        : dir(wt::NewDir(hint)), exe(dir + L"Ternavo.exe"), ini(dir + L"ternavo.ini") {
        CopyFileW(build.c_str(), exe.c_str(), FALSE);
    }
    ~Ternavo() {
        if (proc.Running()) proc.Kill();
    }
    void Set(const std::wstring& key, const std::wstring& value) { wt::IniSet(ini, L"Ternavo", key, value); }
    std::wstring Get(const std::wstring& key) const { return wt::IniGet(ini, L"Ternavo", key); }
    // True when the key is in the file at all (an empty value counts).
    bool Has(const std::wstring& key) const {
        wchar_t buf[64];
        return GetPrivateProfileStringW(L"Ternavo", key.c_str(), L"<none>", buf, 64, ini.c_str()) > 0 &&
               std::wstring(buf) != L"<none>";
    }

    // Starts the program and waits for its main window.
    bool Start(const std::wstring& args = L"") {
        proc = wt::Process(exe, args, dir);
        main = wt::WaitWindow(proc.pid(), kMainWindowClass, 30000);
        if (main) WaitForInputIdle(proc.handle(), 5000);
        return main != nullptr;
    }
    void Settle() {
        WaitForInputIdle(proc.handle(), 5000);
        Sleep(100);
    }

    HWND C(const char* name) const { return wt::Child(main, ControlId(kMainWindowControls, kMainWindowCount, name)); }
    // The dialogs exist hidden once first shown; nullptr before.
    HWND SettingsDialog() const { return Top(kSettingsDialogClass); }
    HWND AboutBox() const { return Top(kAboutBoxClass); }
    // The settings dialog; when Ternavo has not shown it yet, it is opened
    // from its link and closed with Esc first, so that its boxes can be read
    // as start-up filled them.
    HWND Settings() {
        if (!SettingsDialog()) {
            ClickLabel(C("SettingsLink"));
            if (WaitSettingsShown()) Key(SettingsControl("FolderBox"), VK_ESCAPE);
            wt::WaitFor([&] { return !Visible(SettingsDialog()); }, 5000);
        }
        return SettingsDialog();
    }
    HWND SettingsControl(const char* name) const {
        return wt::Child(SettingsDialog(), ControlId(kSettingsDialogControls, kSettingsDialogCount, name));
    }
    HWND InSettings(const char* name) {
        Settings();
        return SettingsControl(name);
    }
    HWND InAbout(const char* name) const { return wt::Child(AboutBox(), ControlId(kAboutBoxControls, kAboutBoxCount, name)); }
    HWND Top(const wchar_t* cls) const {
        auto all = wt::TopWindows(proc.pid(), cls, false);
        return all.empty() ? nullptr : all.front();
    }

    std::wstring Status() const { return wt::Text(C("StatusLine")); }
    bool WaitStatus(const std::wstring& text, DWORD ms = 15000) const {
        return wt::WaitFor([&] { return Status() == text; }, ms);
    }
    std::wstring FolderBox() { return wt::Text(InSettings("FolderBox")); }
    // Types a whole text into the folder box, as pasting would.
    void SetFolderBox(const std::wstring& text) {
        SendMessageW(InSettings("FolderBox"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        Settle();
    }
    int ComboIndex() const { return static_cast<int>(SendMessageW(C("InstancesList"), CB_GETCURSEL, 0, 0)); }
    std::wstring ComboItem(int i) const {
        wchar_t buf[256] = {};
        LRESULT n = SendMessageW(C("InstancesList"), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
        return n > 0 ? std::wstring(buf, static_cast<size_t>(n)) : std::wstring();
    }

    // A click whose handler may open a modal window: posted, so that the test goes on.
    void Press(HWND control) {
        PostMessageW(control, BM_CLICK, 0, 0);
        Settle();
    }
    // A click on a link label.
    void ClickLabel(HWND label) {
        PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        Settle();
    }
    void Key(HWND target, UINT vk) {
        PostMessageW(target, WM_KEYDOWN, vk, 1);
        PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
        Settle();
    }
    HWND Focus() const {
        GUITHREADINFO info{sizeof(info)};
        return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) ? info.hwndFocus : nullptr;
    }
    bool Visible(HWND w) const { return w && IsWindowVisible(w); }
    bool WaitHidden(HWND w, DWORD ms = 5000) const {
        return wt::WaitFor([&] { return !IsWindowVisible(w); }, ms);
    }
    bool WaitShown(HWND w, DWORD ms = 10000) const {
        return wt::WaitFor([&] { return IsWindowVisible(w); }, ms);
    }
    // The dialog is looked for until it is shown: Ternavo makes it on its first showing.
    bool WaitSettingsShown(DWORD ms = 10000) const {
        return wt::WaitFor([&] { return Visible(SettingsDialog()); }, ms);
    }
    void OpenSettings() {
        ClickLabel(C("SettingsLink"));
        ASSERT_TRUE(WaitSettingsShown());
    }
};

// Where a control of a table should stand in its window's client area, in
// pixels at 96 dpi (15 twips each): its own place plus that of every container.
inline RECT ExpectedRect(const ControlDef* defs, size_t count, const char* name) {
    int i = ControlIndex(defs, count, name);
    int x = defs[i].left, y = defs[i].top;
    for (const char* c = defs[i].container; c;) {
        int p = ControlIndex(defs, count, c);
        x += defs[p].left;
        y += defs[p].top;
        c = defs[p].container;
    }
    return RECT{x / 15, y / 15, (x + defs[i].width) / 15, (y + defs[i].height) / 15};
}

// Rounding each container separately may move a control by one pixel.
inline void ExpectAt(HWND control, HWND window, const RECT& want, bool checkHeight, const char* name) {
    ASSERT_TRUE(control) << name;
    RECT r = wt::RectIn(control, window);
    EXPECT_NEAR(r.left, want.left, 1) << name;
    EXPECT_NEAR(r.top, want.top, 1) << name;
    EXPECT_NEAR(r.right - r.left, want.right - want.left, 1) << name;
    if (checkHeight) {
        EXPECT_NEAR(r.bottom - r.top, want.bottom - want.top, 1) << name;
    }
}

// Twips of a pixel distance at 96 dpi.
constexpr int Tw(int pixels) { return pixels * 15; }

}  // namespace tv

#pragma once
// A stand-in ICQ 7 folder with Kestrun in it, and running Kestrun there the
// way a shortcut does. Shared by the English and the German launch tests.
#include <windows.h>
#include <string>
#include <vector>
#include "tests/windows/support/wt.h"

namespace launch {

// "<parent>\ICQ 7\" with ICQ.exe, MCore.dll and Kestrun.exe. The parent also
// holds a stand-in named "ICQ.exe" right before the blank of "ICQ 7": an
// unquoted start of "<parent>\ICQ 7\ICQ.exe1" would run that one instead.
struct Folder {
    std::wstring parent;
    std::wstring dir;

    explicit Folder(const wchar_t* kestrunName = L"Kestrun.exe", bool withIcq = true) {
        parent = wt::NewDir(L"launch");
        dir = wt::EnsureDir(parent + L"ICQ 7");
        wt::InstallStandIn(parent);
        if (withIcq) wt::InstallStandIn(dir);
        if (kestrunName) wt::InstallKestrun(dir, kestrunName);
    }
    std::wstring Ini() const { return dir + L"kestrun.ini"; }
    void Set(const wchar_t* key, const wchar_t* value) const { wt::IniSet(Ini(), L"Kestrun", key, value); }
    std::wstring Get(const wchar_t* key) const { return wt::IniGet(Ini(), L"Kestrun", key); }
    void Stub(const wchar_t* key, const wchar_t* value) const {
        wt::IniSet(dir + L"icqstub.ini", L"Stub", key, value);
    }
    // Command lines the stand-in was started with, one per start.
    std::vector<std::wstring> Log() const { return wt::ReadLines(dir + L"icqstub.log"); }
    bool DecoyStarted() const { return wt::Exists(parent + L"icqstub.log"); }
    // What the stand-in sees for `name` started with `args`.
    std::wstring Started(const std::wstring& name, const std::wstring& args) const {
        return L"\"" + dir + name + L"\" " + args;
    }
    bool Has(const std::wstring& name) const { return wt::Exists(dir + name); }
};

// Every stand-in window (shown or hidden) of any process.
inline std::vector<HWND> StubWindows() { return wt::TopWindows(0, L"IcqStubWindow", false); }

// Ends every running stand-in, so that each test starts from a quiet desktop.
inline void CloseStubs() {
    for (HWND w : StubWindows()) PostMessageW(w, WM_CLOSE, 0, 0);
    wt::WaitFor([] { return StubWindows().empty(); }, 5000);
}

// Starts Kestrun from the folder, as a shortcut does.
inline wt::Process Start(const Folder& f, const std::wstring& args = L"",
                         const wchar_t* name = L"Kestrun.exe") {
    return wt::Process(f.dir + name, args, f.dir);
}

// Runs Kestrun to its end; false when it is still running after `ms`.
inline bool Run(const Folder& f, const std::wstring& args = L"", DWORD ms = 30000) {
    wt::Process p = Start(f, args);
    return p.started() && p.WaitExit(ms);
}

struct MessageBoxSeenAndEnd {
    wt::MessageBoxSeen box;
    bool ended = false;
};

// Waits for Kestrun's warning box, reads it, closes it and waits for the end.
struct Refusal {
    std::wstring title;
    std::wstring text;
    bool hasIcon = false;
    bool ended = false;
    std::wstring windows;  // what the program showed instead, when no box came
};
inline Refusal RefusalOf(wt::Process& p) {
    Refusal r;
    wt::MessageBoxSeen box = wt::WaitMessageBox(p.pid(), 20000);
    r.title = box.title;
    r.text = box.text;
    r.hasIcon = box.hasIcon;
    if (box.hwnd) {
        wt::CloseMessageBox(box.hwnd);
    } else if (!p.started()) {
        r.windows = L"(the program did not start)";
    } else {
        for (HWND w : wt::TopWindows(p.pid(), nullptr, false)) {
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            r.windows += std::wstring(cls) + (IsWindowVisible(w) ? L"(shown) " : L"(hidden) ");
        }
    }
    r.ended = p.WaitExit(10000);
    return r;
}

// Runs Kestrun to its end; the warning box it shows on the way, if any, is
// read and closed (no box: `hwnd` is null). `ended` tells whether it ended.
inline MessageBoxSeenAndEnd RunReadingBox(const Folder& f, const std::wstring& args = L"") {
    MessageBoxSeenAndEnd r;
    wt::Process k = Start(f, args);
    wt::WaitFor([&] { return !k.Running() || !wt::TopWindows(k.pid(), L"#32770").empty(); }, 30000);
    if (k.Running()) {
        r.box = wt::WaitMessageBox(k.pid(), 1000);
        if (r.box.hwnd) wt::CloseMessageBox(r.box.hwnd);
    }
    r.ended = k.WaitExit(20000);
    return r;
}

}  // namespace launch

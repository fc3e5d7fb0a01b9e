#pragma once
// Kestrun's window driven from outside, the way a person uses it: the real
// Kestrun.exe beside the stand-in ICQ 7, started with "-showme"; controls found
// by their names in the window's table; what it shows read back through window
// messages, the screen's pixels and kestrun.ini.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "kestrun/window_table.h"
#include "tests/windows/support/wt.h"

namespace kw {

// A folder with the stand-in ICQ 7 and Kestrun.exe, optionally a kestrun.ini.
struct Folder {
    std::wstring dir;
    Folder() {
        dir = wt::NewDir(L"window");
        wt::InstallStandIn(dir);
        wt::InstallKestrun(dir);
    }
    std::wstring Ini() const { return dir + L"kestrun.ini"; }
    void Set(const wchar_t* key, const wchar_t* value) const { wt::IniSet(Ini(), L"Kestrun", key, value); }
    std::wstring Get(const wchar_t* key) const { return wt::IniGet(Ini(), L"Kestrun", key); }
    bool IniExists() const { return wt::Exists(Ini()); }
    std::vector<std::wstring> IcqLog() const { return wt::ReadLines(dir + L"icqstub.log"); }
};

using wt::Shown;

// Memory inside the Kestrun process, for the few messages that take a pointer.
class Remote {
public:
    Remote(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) mem_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~Remote() {
        if (mem_) VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;
    bool ok() const { return mem_ != nullptr; }
    LPARAM At(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(mem_) + offset); }
    void Write(const void* data, size_t n, size_t offset = 0) const {
        WriteProcessMemory(process_, static_cast<char*>(mem_) + offset, data, n, nullptr);
    }
    void Read(void* data, size_t n, size_t offset = 0) const {
        ReadProcessMemory(process_, static_cast<char*>(mem_) + offset, data, n, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* mem_ = nullptr;
    size_t size_;
};

inline std::wstring TabText(HWND tabs, int index) {
    Remote r(tabs, 1024);
    if (!r.ok()) return L"?";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(r.At(512));
    item.cchTextMax = 200;
    r.Write(&item, sizeof item);
    wchar_t zero = 0;
    r.Write(&zero, sizeof zero, 512);
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), r.At());
    wchar_t buf[200] = L"";
    r.Read(buf, sizeof buf - sizeof(wchar_t), 512);
    return buf;
}

// Screen rectangle of a tab of the strip.
inline RECT TabRect(HWND tabs, int index) {
    Remote r(tabs, sizeof(RECT));
    RECT rc{};
    if (!r.ok()) return rc;
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), r.At());
    r.Read(&rc, sizeof rc);
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

struct StatusEntry {
    std::wstring text;
    int image = -1;
};
inline StatusEntry StatusEntryOf(HWND combo, int index) {
    StatusEntry e;
    Remote r(combo, 1024);
    if (!r.ok()) return e;
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE;
    item.iItem = index;
    item.pszText = reinterpret_cast<wchar_t*>(r.At(512));
    item.cchTextMax = 200;
    r.Write(&item, sizeof item);
    if (!SendMessageW(combo, CBEM_GETITEMW, 0, r.At())) return e;
    r.Read(&item, sizeof item);
    wchar_t buf[200] = L"";
    r.Read(buf, sizeof buf - sizeof(wchar_t), 512);
    e.text = buf;
    e.image = item.iImage;
    return e;
}

using wt::Capture;
using wt::Pixels;

// Closes every stand-in ICQ that a test started.
inline void CloseStandIns() {
    for (HWND w : wt::TopWindows(0, L"IcqStubWindow", false)) PostMessageW(w, WM_CLOSE, 0, 0);
    wt::WaitFor([] { return wt::TopWindows(0, L"IcqStubWindow", false).empty(); }, 5000);
}

// Kestrun with its window shown; closed (without saving) at the end.
class Window {
public:
    explicit Window(const Folder& f, const std::wstring& args = L"-showme")
        : process_(f.dir + L"Kestrun.exe", args, f.dir) {
        form_ = wt::WaitWindow(process_.pid(), L"KestrunWindow", 20000);
        if (form_) Settle();
    }
    ~Window() {
        if (form_ && IsWindow(form_)) PostMessageW(form_, WM_CLOSE, 0, 0);
        process_.WaitExit(10000);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND form() const { return form_; }
    wt::Process& process() { return process_; }
    HWND Get(const char* name) const { return wt::Child(form_, ControlId(kWindowControls, kWindowControlCount, name)); }
    std::wstring Text(const char* name) const { return Shown(wt::Text(Get(name))); }
    bool On(const char* name) const { return wt::IsChecked(Get(name)); }
    bool SaveEnabled() const { return IsWindowEnabled(Get("SaveButton")) != FALSE; }
    bool Visible(const char* name) const { return IsWindowVisible(Get(name)) != FALSE; }
    // Place of a control in the window's client area, pixels.
    RECT Place(const char* name) const { return wt::RectIn(Get(name), form_); }
    RECT ScreenRect(const char* name) const {
        RECT r;
        GetWindowRect(Get(name), &r);
        return r;
    }
    // Pixels per twip of the window's own DPI, found from the tab strip's width.
    int Px(int twips) const {
        RECT r = Place("TabStrip");
        return MulDiv(twips, r.right - r.left, 6570);
    }
    // Index (0..3) of the one page shown, -1 when none or several are.
    int ShownPage() const {
        int shown = -1, count = 0;
        for (int i = 0; i < 4; ++i) {
            std::string page = "TabPage(" + std::to_string(i) + ")";
            if (Visible(page.c_str())) { shown = i; ++count; }
        }
        return count == 1 ? shown : -1;
    }
    int SelectedTab() const { return static_cast<int>(SendMessageW(Get("TabStrip"), TCM_GETCURSEL, 0, 0)); }
    // Clicks a tab with the mouse.
    void ClickTab(int index) const {
        HWND tabs = Get("TabStrip");
        RECT r = TabRect(tabs, index);
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(tabs, &pt);
        PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        PostMessageW(tabs, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        Settle();
    }
    // Types characters into a control as the keyboard does.
    void Type(const char* name, const std::wstring& keys) const {
        HWND h = Get(name);
        for (wchar_t c : keys) PostMessageW(h, WM_CHAR, c, 1);
        Settle();
    }
    // A key pressed while `name` has the focus, through the window's message loop.
    void Key(const char* name, WPARAM vk) const {
        HWND h = Get(name);
        PostMessageW(h, WM_KEYDOWN, vk, 1);
        PostMessageW(h, WM_KEYUP, vk, 0xC0000001);
        Settle();
    }
    void Click(const char* name) const {
        wt::Click(Get(name));
        Settle();
    }
    // Clicks a label (a link) with the mouse.
    void ClickLabel(const char* name) const {
        HWND h = Get(name);
        PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        Settle();
    }
    // Lets the program handle what was sent and repaint.
    void Settle() const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
        Sleep(150);
        SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
    }

private:
    wt::Process process_;
    HWND form_ = nullptr;
};

}  // namespace kw

#pragma once
// What the end-to-end tests of Start look at besides Ternavo's window: ICQ's
// registry preferences where the 32-bit ICQ reads them, the desktop shortcut,
// and the "ICQ 7" message boxes with the kind of their icon.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <gtest/gtest.h>
#include <string>
#include "common/winutil.h"
#include "tests/windows/support/wt.h"
#include "tests/windows/ternavo_window/driver.h"

namespace road {

constexpr wchar_t kIcqKey[] = L"SOFTWARE\\Wow6432Node\\Mirabilis\\ICQ";  // the 32-bit view, as stored

inline void ClearIcqKeys() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Mirabilis");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Mirabilis");
}

inline bool IcqKeyExists(const std::wstring& sub) {
    HKEY k;
    std::wstring key = std::wstring(kIcqKey) + (sub.empty() ? L"" : L"\\" + sub);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

// A value as the 32-bit ICQ reads it; "<missing>" when absent.
inline std::wstring IcqValue(const std::wstring& sub, const wchar_t* name) {
    HKEY k;
    std::wstring key = std::wstring(kIcqKey) + L"\\" + sub;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &k) != ERROR_SUCCESS)
        return L"<missing>";
    wchar_t buf[64] = {};
    DWORD size = sizeof(buf) - sizeof(wchar_t), type = 0;
    LONG rc = RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS && type == REG_SZ ? std::wstring(buf) : L"<missing>";
}

inline bool AnyIcqKeyIn64BitView() {
    HKEY k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Mirabilis", 0, KEY_READ | KEY_WOW64_64KEY, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

inline std::wstring Desktop() {
    wchar_t buf[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, buf);
    return win::WithBackslash(buf);
}
inline std::wstring DesktopLink() { return Desktop() + L"Kestrun.lnk"; }

struct Shortcut {
    bool ok = false;
    std::wstring target, workingDir, icon;
};
inline Shortcut ReadShortcut(const std::wstring& link) {
    Shortcut s;
    win::ComScope com;
    win::ComPtr<IShellLinkW> shortcut;
    win::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shortcut.put_void())) ||
        FAILED(shortcut->QueryInterface(IID_IPersistFile, file.put_void())) ||
        FAILED(file->Load(link.c_str(), STGM_READ)))
        return s;
    wchar_t buf[MAX_PATH] = {};
    int index = 0;
    s.ok = SUCCEEDED(shortcut->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH));
    s.target = buf;
    buf[0] = 0;
    shortcut->GetWorkingDirectory(buf, MAX_PATH);
    s.workingDir = buf;
    buf[0] = 0;
    shortcut->GetIconLocation(buf, MAX_PATH, &index);
    s.icon = buf;
    return s;
}

// The kind of a message box's icon, told by its colours on the screen: the
// warning sign is yellow, the information sign blue.
inline std::wstring IconKind(HWND box) {
    HWND icon = nullptr;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32];
        GetClassNameW(c, cls, 32);
        if (wcscmp(cls, L"Static") == 0 && (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = c;
    }
    if (!icon) return L"none";
    RECT r;
    GetWindowRect(icon, &r);
    HDC screen = GetDC(nullptr);
    int yellow = 0, blue = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            COLORREF c = GetPixel(screen, x, y);
            int R = GetRValue(c), G = GetGValue(c), B = GetBValue(c);
            if (R > 180 && G > 140 && B < 100) ++yellow;
            if (B > 150 && R < 120) ++blue;
        }
    ReleaseDC(nullptr, screen);
    if (yellow > blue && yellow > 10) return L"warning";
    if (blue > yellow && blue > 10) return L"information";
    return L"unknown";
}

struct Box {
    bool seen = false;
    std::wstring title, text, icon;
};
// Waits for the next message box of the program, reads it and presses OK.
inline Box TakeBox(const tv::Ternavo& t, DWORD ms = 15000) {
    Box b;
    wt::MessageBoxSeen m = wt::WaitMessageBox(t.proc.pid(), ms);
    if (!m.hwnd) return b;
    b.seen = true;
    b.title = m.title;
    b.text = m.text;
    SetForegroundWindow(m.hwnd);
    Sleep(200);
    b.icon = IconKind(m.hwnd);
    wt::CloseMessageBox(m.hwnd);
    wt::WaitFor([&] { return !IsWindow(m.hwnd) || !IsWindowVisible(m.hwnd); }, 5000);
    return b;
}

// An ICQ 7 (or 6) folder for Ternavo, saved as its "ICQ7Path" with the
// choices ticked through ternavo.ini (ICQPro = Lite box, ICQLite = Pro box).
struct Choice {
    bool lite = false, pro = false, icq6 = false, icq7 = false;
    int instances = 0;
};
inline void Save(tv::Ternavo& t, const Choice& c, const std::wstring& icq7Path = L"") {
    t.Set(L"ICQPro", c.lite ? L"1" : L"0");
    t.Set(L"ICQLite", c.pro ? L"1" : L"0");
    t.Set(L"ICQ6", c.icq6 ? L"1" : L"0");
    t.Set(L"ICQ7", c.icq7 ? L"1" : L"0");
    t.Set(L"Instances", std::to_wstring(c.instances));
    if (!icq7Path.empty()) t.Set(L"ICQ7Path", icq7Path);
}

// A file held open, as a running or scanned program would: without sharing,
// or letting others read and delete it, as a virus scanner does.
struct Lock {
    HANDLE h;
    explicit Lock(const std::wstring& path, DWORD share = 0)
        : h(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~Lock() { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); }
};

}  // namespace road

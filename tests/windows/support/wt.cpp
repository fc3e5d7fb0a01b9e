#include "tests/windows/support/wt.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <utility>

namespace wt {

std::wstring Env(const wchar_t* name) {
    wchar_t buf[4096];
    DWORD n = GetEnvironmentVariableW(name, buf, 4096);
    return (n > 0 && n < 4096) ? std::wstring(buf, n) : std::wstring();
}

std::wstring KestrunExe() { return Env(L"TEST_BIN_DIR") + L"\\Kestrun.exe"; }
std::wstring TernavoExe() { return Env(L"TEST_BIN_DIR") + L"\\Ternavo.exe"; }
std::wstring StandardUserTernavoExe() { return Env(L"TEST_BIN_DIR") + L"\\Ternavo_standard_user.exe"; }
std::wstring FixtureDir(const std::wstring& kind) { return Env(L"TEST_FIXTURE_DIR") + L"\\" + kind + L"\\"; }

std::wstring EnsureDir(const std::wstring& dir) {
    std::wstring d = dir;
    if (d.empty() || d.back() != L'\\') d += L'\\';
    for (size_t i = 3; i < d.size(); ++i)
        if (d[i] == L'\\') CreateDirectoryW(d.substr(0, i).c_str(), nullptr);
    return d;
}

std::wstring NewDir(const std::wstring& hint) {
    static std::atomic<int> counter{0};
    std::wstring d = L"C:\\wt\\" + hint + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                     std::to_wstring(++counter) + L"\\";
    RemoveTree(d);
    return EnsureDir(d);
}

void InstallStandIn(const std::wstring& dir, const std::wstring& kind) {
    std::wstring from = FixtureDir(kind);
    CopyFileW((from + L"ICQ.exe").c_str(), (dir + L"ICQ.exe").c_str(), FALSE);
    CopyFileW((from + L"MCore.dll").c_str(), (dir + L"MCore.dll").c_str(), FALSE);
}

void InstallKestrun(const std::wstring& dir, const std::wstring& name) {
    CopyFileW(KestrunExe().c_str(), (dir + name).c_str(), FALSE);
}

void RemoveTree(const std::wstring& dir) {
    std::wstring d = dir;
    if (!d.empty() && d.back() == L'\\') d.pop_back();
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((d + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring p = d + L"\\" + name;
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
            else DeleteFileW(p.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(d.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(d.c_str());
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadBytes(const std::wstring& path) {
    std::string out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
    CloseHandle(h);
    return out;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    std::string bytes = ReadBytes(path);
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int n = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring w(static_cast<size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), w.data(), n);
        lines.push_back(w);
        start = end + 1;
    }
    return lines;
}

std::wstring IniGet(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    wchar_t buf[4096];
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buf, 4096, file.c_str());
    return std::wstring(buf, n);
}

void IniSet(const std::wstring& file, const std::wstring& section, const std::wstring& key,
            const std::wstring& value) {
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

std::vector<std::wstring> ListFiles(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

Process::Process(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd) {
    std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)) {
        CloseHandle(pi.hThread);
        handle_ = pi.hProcess;
        pid_ = pi.dwProcessId;
    }
}

Process::~Process() {
    if (handle_) {
        if (Running()) Kill();
        CloseHandle(handle_);
    }
}

Process::Process(Process&& o) noexcept : handle_(std::exchange(o.handle_, nullptr)), pid_(o.pid_) {}

Process& Process::operator=(Process&& o) noexcept {
    if (this != &o) {
        if (handle_) CloseHandle(handle_);
        handle_ = std::exchange(o.handle_, nullptr);
        pid_ = o.pid_;
    }
    return *this;
}

bool Process::WaitExit(DWORD ms) { return handle_ && WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }
bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

DWORD Process::ExitCode() const {
    DWORD code = 0;
    if (handle_) GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::Kill() {
    if (handle_) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 5000);
    }
}

bool WaitFor(const std::function<bool()>& cond, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (GetTickCount() - start >= ms) return cond();
        Sleep(50);
    }
}

namespace {
struct EnumCtx {
    DWORD pid;
    const wchar_t* cls;
    bool visibleOnly;
    std::vector<HWND>* out;
};
BOOL CALLBACK EnumTop(HWND hwnd, LPARAM lp) {
    auto* c = reinterpret_cast<EnumCtx*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (c->pid && pid != c->pid) return TRUE;
    if (c->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
    if (c->cls) {
        wchar_t name[256];
        GetClassNameW(hwnd, name, 256);
        if (wcscmp(name, c->cls) != 0) return TRUE;
    }
    c->out->push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* className, bool visibleOnly) {
    std::vector<HWND> out;
    EnumCtx ctx{pid, className, visibleOnly, &out};
    EnumWindows(EnumTop, reinterpret_cast<LPARAM>(&ctx));
    return out;
}

HWND WaitWindow(DWORD pid, const wchar_t* className, DWORD ms) {
    HWND found = nullptr;
    WaitFor([&] {
        auto w = TopWindows(pid, className);
        found = w.empty() ? nullptr : w.front();
        return found != nullptr;
    }, ms);
    return found;
}

HWND WaitWindowByTitle(const std::wstring& title, DWORD ms) {
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND h : TopWindows(0, nullptr))
            if (Text(h) == title) { found = h; return true; }
        return false;
    }, ms);
    return found;
}

std::wstring Text(HWND hwnd) {
    wchar_t buf[8192];
    LRESULT n = SendMessageTimeoutW(hwnd, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                                    nullptr) ? SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0) : 0;
    if (n <= 0) return {};
    return std::wstring(buf, static_cast<size_t>(std::min<LRESULT>(n, 8191)));
}

std::wstring Shown(std::wstring text) {
    for (size_t i = text.find(L'&'); i != std::wstring::npos; i = text.find(L'&', i)) text.erase(i, 1);
    return text;
}

MessageBoxSeen WaitMessageBox(DWORD pid, DWORD ms) {
    MessageBoxSeen seen;
    seen.hwnd = WaitWindow(pid, L"#32770", ms);
    if (!seen.hwnd) return seen;
    // A box that was only just created may not have its texts yet (a busy
    // machine): read until its message is there.
    WaitFor([&] {
        seen.title = Text(seen.hwnd);
        seen.hasIcon = false;
        for (HWND c = GetWindow(seen.hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[64];
            GetClassNameW(c, cls, 64);
            if (wcscmp(cls, L"Static") != 0) continue;
            LONG style = GetWindowLongW(c, GWL_STYLE);
            if ((style & SS_TYPEMASK) == SS_ICON) { seen.hasIcon = true; continue; }
            std::wstring t = Text(c);
            if (!t.empty()) seen.text = t;
        }
        return !seen.text.empty() && !seen.title.empty();
    }, 3000);
    return seen;
}

void CloseMessageBox(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[64];
        GetClassNameW(c, cls, 64);
        if (wcscmp(cls, L"Button") == 0) { PostMessageW(c, BM_CLICK, 0, 0); return; }
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

namespace {
struct ChildCtx { int id; HWND found; };
BOOL CALLBACK EnumChild(HWND hwnd, LPARAM lp) {
    auto* c = reinterpret_cast<ChildCtx*>(lp);
    if (GetDlgCtrlID(hwnd) == c->id) { c->found = hwnd; return FALSE; }
    return TRUE;
}
}  // namespace

HWND Child(HWND parent, int id) {
    ChildCtx ctx{id, nullptr};
    EnumChildWindows(parent, EnumChild, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    Sleep(50);
}

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

RECT RectIn(HWND hwnd, HWND reference) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

Pixels Capture(const RECT& r) {
    Pixels p;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    if (p.width <= 0 || p.height <= 0) return p;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    p.px.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + p.width * p.height);
    for (DWORD& v : p.px) v &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return p;
}


void ScreenDpiSetting::Set(DWORD dpi) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        RegCloseKey(key);
    }
}

RECT SendDpiChange(HWND window, int from, int to) {
    RECT now;
    GetWindowRect(window, &now);
    RECT suggested{now.left, now.top, now.left + MulDiv(now.right - now.left, to, from),
                   now.top + MulDiv(now.bottom - now.top, to, from)};
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    void* mem = process ? VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                        : nullptr;
    if (mem && WriteProcessMemory(process, mem, &suggested, sizeof suggested, nullptr))
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(mem));
    if (mem) VirtualFreeEx(process, mem, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
    return suggested;
}

DWORD GdiObjects(HANDLE process) { return GetGuiResources(process, GR_GDIOBJECTS); }

void ExpectSameGdiObjects(HANDLE process, DWORD before) {
    DWORD now = GdiObjects(process);
    if (before == 0 && now == 0) {
        GTEST_LOG_(INFO) << "this system does not count a process's GDI objects";
        return;
    }
    EXPECT_EQ(now, before) << "GDI objects held before and after";
}

}  // namespace wt

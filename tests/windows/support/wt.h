#pragma once
// Support for the Windows tests that run under Wine: where the built programs
// and the stand-in ICQ 7 are, throwaway folders, starting programs, and
// finding and reading their windows and message boxes the way a person would.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace wt {

// Environment variable (set by CTest), empty when missing.
std::wstring Env(const wchar_t* name);
// The built Kestrun.exe and Ternavo.exe (x64).
std::wstring KestrunExe();
std::wstring TernavoExe();
// The test build of Ternavo that believes it lacks administrator rights.
std::wstring StandardUserTernavoExe();
// A stand-in ICQ folder: "icq7" (version 7.x pair) or "icq6" (6.x pair).
std::wstring FixtureDir(const std::wstring& kind);

// A new empty folder below C:\wt\ whose name starts with `hint`; ends in "\".
std::wstring NewDir(const std::wstring& hint);
// Makes `dir` (and its parents) exist; ends in "\".
std::wstring EnsureDir(const std::wstring& dir);
// Copies the stand-in's ICQ.exe and MCore.dll of `kind` into `dir`.
void InstallStandIn(const std::wstring& dir, const std::wstring& kind = L"icq7");
// Copies Kestrun.exe into `dir` under `name`.
void InstallKestrun(const std::wstring& dir, const std::wstring& name = L"Kestrun.exe");
// Deletes a folder tree (best effort).
void RemoveTree(const std::wstring& dir);

bool Exists(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
// Lines of a UTF-8 text file.
std::vector<std::wstring> ReadLines(const std::wstring& path);
std::wstring IniGet(const std::wstring& file, const std::wstring& section, const std::wstring& key);
void IniSet(const std::wstring& file, const std::wstring& section, const std::wstring& key,
            const std::wstring& value);
// Names of the files in a folder (no sub-folders), sorted.
std::vector<std::wstring> ListFiles(const std::wstring& dir);

// A started program.
class Process {
public:
    Process() = default;
    Process(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd = L"");
    ~Process();
    Process(Process&& o) noexcept;
    Process& operator=(Process&& o) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return handle_ != nullptr; }
    DWORD pid() const { return pid_; }
    HANDLE handle() const { return handle_; }
    // Waits for the end; true when it ended within `ms`.
    bool WaitExit(DWORD ms);
    bool Running() const;
    DWORD ExitCode() const;
    void Kill();

private:
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
};

// Polls `cond` (about every 50 ms) until it holds or `ms` pass; returns its last value.
bool WaitFor(const std::function<bool()>& cond, DWORD ms);

// Visible top-level windows of a process (all when pid is 0), optionally of one class.
std::vector<HWND> TopWindows(DWORD pid, const wchar_t* className = nullptr, bool visibleOnly = true);
// Waits for a visible top-level window of `pid` with that class; nullptr on timeout.
HWND WaitWindow(DWORD pid, const wchar_t* className, DWORD ms);
// Waits for a top-level window with exactly this caption (any process).
HWND WaitWindowByTitle(const std::wstring& title, DWORD ms);

struct MessageBoxSeen {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;
    bool hasIcon = false;  // a picture static is present (warning/information icon)
};
// Waits for a message box ("#32770") of `pid` (any process when 0) and reads it.
MessageBoxSeen WaitMessageBox(DWORD pid, DWORD ms);
// Presses the box's OK (or only) button.
void CloseMessageBox(HWND box);

std::wstring Text(HWND hwnd);
// A caption as a person reads it: the access key's "&" is not shown.
std::wstring Shown(std::wstring text);
// Child control by id (searches the whole tree below `parent`).
HWND Child(HWND parent, int id);
// Clicks a button the way the mouse would (BM_CLICK) and lets the program react.
void Click(HWND button);
bool IsChecked(HWND button);
// Rectangle of `hwnd` relative to the client area of `reference`.
RECT RectIn(HWND hwnd, HWND reference);

// Pixels of a screen rectangle, row by row (0x00RRGGBB).
struct Pixels {
    int width = 0, height = 0;
    std::vector<DWORD> px;
    DWORD At(int x, int y) const { return px[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};
Pixels Capture(const RECT& screenRect);

// The screen's DPI for the programs started from now on, back to 96 at the end.
class ScreenDpiSetting {
public:
    explicit ScreenDpiSetting(DWORD dpi) { Set(dpi); }
    ~ScreenDpiSetting() { Set(96); }
    ScreenDpiSetting(const ScreenDpiSetting&) = delete;
    ScreenDpiSetting& operator=(const ScreenDpiSetting&) = delete;

private:
    static void Set(DWORD dpi);
};

// Tells a top-level window (of any process) what the system tells it when it
// reaches a screen of `to` dpi from one of `from`: WM_DPICHANGED with its
// rectangle scaled about its top-left corner (the rectangle is placed in the
// window's own process). Returns that rectangle.
RECT SendDpiChange(HWND window, int from, int to);
// GDI objects a process holds, as the system counts them (0 where it does not).
DWORD GdiObjects(HANDLE process);
// Fails when the process holds another number of GDI objects than `before`.
// Wine does not count them (GetGuiResources answers 0): there it only says so.
void ExpectSameGdiObjects(HANDLE process, DWORD before);

}  // namespace wt

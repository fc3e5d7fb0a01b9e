// Figures for Ternavo under Wine, each next to an empty program's start in the
// same run (built by scripts/bench.sh; not part of the product):
//   benchternavo empty                 - does nothing (the baseline program)
//   benchternavo measure TERNAVO RUNS  - prints the figures
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "ternavo/icq7path.h"
#include "ternavo/main_window.h"
#include "ternavo/settings_dialog.h"

// What the search needs of the main window and the settings dialog: nothing that shows.
HWND MainWindow() { return nullptr; }
void SetSettingsDialogFolder(const std::wstring&) {}

namespace {

double Now() {
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

PROCESS_INFORMATION Launch(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd) {
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.empty() ? nullptr : cwd.c_str(),
                   &si, &pi);
    return pi;
}

// Milliseconds from CreateProcess until the empty program has ended.
double EmptyStart(const std::wstring& self) {
    double t0 = Now();
    PROCESS_INFORMATION pi = Launch(self, L"empty", L"");
    WaitForSingleObject(pi.hProcess, 30000);
    double ms = Now() - t0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ms;
}

struct Found { DWORD pid; HWND hwnd; };
BOOL CALLBACK FindMain(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64];
    if (pid == f->pid && IsWindowVisible(w) && GetClassNameW(w, cls, 64) && wcscmp(cls, L"TernavoMainWindow") == 0) {
        f->hwnd = w;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess until Ternavo's main window is visible.
double TernavoStart(const std::wstring& exe, const std::wstring& dir) {
    double t0 = Now();
    PROCESS_INFORMATION pi = Launch(exe, L"", dir);
    Found f{pi.dwProcessId, nullptr};
    double ms = -1;
    while (Now() - t0 < 30000) {
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&f));
        if (f.hwnd) { ms = Now() - t0; break; }
        Sleep(1);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ms;
}

struct Stats { double median, min, max; };
Stats Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}
void Print(const char* what, const Stats& s) {
    std::printf("  %-46s median %8.2f ms   (min %.2f, max %.2f)\n", what, s.median, s.min, s.max);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wstring(argv[1]) == L"empty") return 0;
    if (argc < 4) return 2;
    std::wstring ternavo = argv[2];
    int runs = std::max(1, _wtoi(argv[3]));
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);

    // The search over all 24 candidates when none holds ICQ: run from an empty folder.
    std::wstring home = L"C:\\bench-ternavo-home\\";
    CreateDirectoryW(home.c_str(), nullptr);
    FindICQ7Directory(home);  // warm the file system and registry caches once
    std::vector<double> search, empty, window;
    for (int i = 0; i < runs * 20; ++i) {
        double t0 = Now();
        ICQDirectoryFound found = FindICQDirectory(home);
        search.push_back(Now() - t0);
        if (found.index >= 0) { std::printf("  unexpected: candidate %d holds ICQ\n", found.index); return 1; }
    }
    size_t slash = ternavo.find_last_of(L'\\');
    std::wstring dir = ternavo.substr(0, slash + 1);
    for (int i = 0; i < runs; ++i) {
        empty.push_back(EmptyStart(self));
        window.push_back(TernavoStart(ternavo, dir));
    }
    std::printf("  %d search runs, %d program starts each\n", runs * 20, runs);
    Print("GetICQ7Path search, all 24 candidates, none found", Summarise(search));
    Print("empty Win32 program: start to end", Summarise(empty));
    Print("Ternavo: start to main window shown", Summarise(window));
    return 0;
}

// Driver of Ternavo's benchmarks (scripts/bench.sh), run under Wine; not part
// of the product. It prints one line per measured run, "<what> <milliseconds>",
// and bench.sh sums the lines up.
//   benchternavo start TERNAVO BASELINE RUNS
//       Ternavo and the reference window program in turn, each from
//       CreateProcess until its main window is shown; one uncounted run first
//   benchternavo search RUNS
//       Ternavo's ICQ 7 search when none of the 24 candidates holds ICQ
#include <windows.h>
#include <cstdio>
#include <string>
#include "ternavo/steps/icq7path.h"

namespace {

double Now() {
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Found {
    DWORD pid;
    HWND hwnd;
};

// The program's main window: shown, top-level, owned by no other window.
BOOL CALLBACK FindShown(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != f->pid || !IsWindowVisible(w) || GetWindow(w, GW_OWNER)) return TRUE;
    f->hwnd = w;
    return FALSE;
}

// Milliseconds from CreateProcess until the program's window is shown; -1 when
// it never is. The program is ended at once afterwards.
double StartToWindow(const std::wstring& exe) {
    std::wstring dir = exe.substr(0, exe.find_last_of(L'\\') + 1);
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    double t0 = Now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return -1;
    Found f{pi.dwProcessId, nullptr};
    double ms = -1;
    while (Now() - t0 < 30000) {
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&f));
        if (f.hwnd) {
            ms = Now() - t0;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ms;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"start" && argc >= 5) {
        int runs = _wtoi(argv[4]);
        StartToWindow(argv[2]);
        StartToWindow(argv[3]);
        for (int i = 0; i < runs; ++i) {
            std::printf("ternavo %.2f\n", StartToWindow(argv[2]));
            std::printf("baseline %.2f\n", StartToWindow(argv[3]));
            std::fflush(stdout);
        }
        return 0;
    }
    if (mode == L"search" && argc >= 3) {
        int runs = _wtoi(argv[2]);
        // An empty folder as Ternavo's own, so that every candidate is tried.
        std::wstring home = L"C:\\bench-ternavo-home\\";
        CreateDirectoryW(home.c_str(), nullptr);
        FindICQ7Directory(home);  // warms the file system and registry caches once
        for (int i = 0; i < runs; ++i) {
            double t0 = Now();
            ICQDirectoryFound found = FindICQDirectory(home);
            double ms = Now() - t0;
            if (found.index >= 0) {
                std::printf("unexpected: candidate %d holds ICQ\n", found.index);
                return 1;
            }
            std::printf("search %.3f\n", ms);
        }
        return 0;
    }
    std::fprintf(stderr, "usage: benchternavo start TERNAVO BASELINE RUNS | search RUNS\n");
    return 2;
}

// Driver of the launch benchmark (scripts/bench.sh), run under Wine.
//   benchlaunch.exe measure DIR RUNS   times Kestrun.exe and baseline.exe in DIR
//   benchlaunch.exe closestubs         closes every running stand-in
//   baseline.exe --baseline DIR        (this program built for the GUI subsystem,
//                                      like Kestrun) copies ICQ.exe to ICQ.exe99
//                                      and starts the copy, nothing else
// CPU times are taken by the script from outside Wine: Wine does not report
// another process's times.
// Kestrun and the baseline take turns on the same padded ICQ.exe; before each
// run every stand-in is closed, so each run really copies the file.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return 0;
    return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

BOOL CALLBACK CloseStub(HWND hwnd, LPARAM count) {
    wchar_t cls[64];
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, L"IcqStubWindow") == 0) {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        ++*reinterpret_cast<int*>(count);
    }
    return TRUE;
}

void CloseStubs() {
    for (int i = 0; i < 200; ++i) {
        int count = 0;
        EnumWindows(CloseStub, reinterpret_cast<LPARAM>(&count));
        if (count == 0) break;
        Sleep(25);
    }
    Sleep(200);  // let the closed instances release their files
}

struct Run {
    double toStartMs = -1;  // from CreateProcess to the stand-in's log line
    double totalMs = 0;     // until the started program ended
};

Run Measure(const std::wstring& exe, const std::wstring& args, const std::wstring& dir) {
    Run r;
    std::wstring log = dir + L"icqstub.log";
    long long before = FileSize(log);
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    double t0 = Now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
        std::printf("  could not start %ls\n", exe.c_str());
        return r;
    }
    for (;;) {
        if (r.toStartMs < 0 && FileSize(log) > before) r.toStartMs = Now() - t0;
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) {
            if (r.toStartMs >= 0) break;
            Sleep(1);
        }
        if (Now() - t0 > 60000) break;
    }
    WaitForSingleObject(pi.hProcess, 60000);
    r.totalMs = Now() - t0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return r;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int Baseline(std::wstring dir) {
    if (dir.back() != L'\\') dir += L'\\';
    std::wstring src = dir + L"ICQ.exe", copy = dir + L"ICQ.exe99";
    DeleteFileW(copy.c_str());
    CopyFileW(src.c_str(), copy.c_str(), FALSE);
    std::wstring cmd = L"\"" + copy + L"\" ";
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(copy.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--baseline") return Baseline(argv[2]);
    if (argc >= 2 && std::wstring(argv[1]) == L"closestubs") {
        CloseStubs();
        return 0;
    }
    if (argc < 4 || std::wstring(argv[1]) != L"measure") {
        std::fprintf(stderr, "usage: benchlaunch measure DIR RUNS\n");
        return 2;
    }
    std::wstring dir = argv[2];
    if (dir.back() != L'\\') dir += L'\\';
    int runs = _wtoi(argv[3]);
    std::printf("  ICQ.exe   %.1f MiB\n", static_cast<double>(FileSize(dir + L"ICQ.exe")) / 1048576.0);
    std::vector<double> kStart, kTotal, bStart, ratio;
    for (int i = 0; i < runs; ++i) {
        CloseStubs();
        Run k = Measure(dir + L"Kestrun.exe", L"", dir);
        CloseStubs();
        Run b = Measure(dir + L"baseline.exe", L"--baseline \"" + dir.substr(0, dir.size() - 1) + L"\"", dir);
        std::printf("  run %d     to start: Kestrun %.0f ms (ended after %.0f ms), baseline %.0f ms\n", i + 1,
                    k.toStartMs, k.totalMs, b.toStartMs);
        kStart.push_back(k.toStartMs);
        kTotal.push_back(k.totalMs);
        bStart.push_back(b.toStartMs);
        if (b.toStartMs > 0) ratio.push_back(k.toStartMs / b.toStartMs);
    }
    CloseStubs();
    std::printf("  median    to start: Kestrun %.0f ms, baseline %.0f ms, ratio %.2fx (target <= 1.2x)\n",
                Median(kStart), Median(bStart), Median(ratio));
    std::printf("  median    Kestrun ended %.0f ms after its start (follow-up included)\n", Median(kTotal));
    return 0;
}

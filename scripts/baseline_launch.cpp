// Reference program of the launch benchmark (scripts/bench.sh), never shipped:
// the least a program must do for what Kestrun's silent launch does, built
// with the same compiler flags as Kestrun and placed beside ICQ.exe as it is.
//   baseline_launch.exe needed N   copies ICQ.exe to ICQ.exeN unless that copy
//                                  is current, starts it, finds its window
//   baseline_launch.exe always N   deletes and copies every time (as Kestrun
//                                  did before it kept current copies)
//   ... N flush                    flushes a copy it made to the disk (as Kestrun)
//   ... N window                   also makes one hidden top-level window once
//                                  the copy is started, as Kestrun does so that
//                                  a close request or the end of the session
//                                  reaches it while it waits
// No settings file, no command line for ICQ, no follow-up: it ends once the
// new instance's window is there.
#include <windows.h>
#include <cstdlib>
#include <string>
#include "common/rules/copyrule.h"

namespace {

FileFacts FactsOf(const std::wstring& path) {
    FileFacts f;
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return f;
    f.plainFile = !(d.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    f.size = (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    f.lastWrite = static_cast<int64_t>((static_cast<uint64_t>(d.ftLastWriteTime.dwHighDateTime) << 32) |
                                       d.ftLastWriteTime.dwLowDateTime);
    return f;
}

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK TopWindowOf(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16];
    if (pid != s->pid || GetParent(hwnd) || (GetClassNameW(hwnd, cls, 16) && wcscmp(cls, L"IME") == 0)) return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The runtime's own split of the command line: no shell library to load.
    int argc = __argc;
    wchar_t** argv = __wargv;
    if (!argv || argc < 3) return 2;
    bool always = wcscmp(argv[1], L"always") == 0;
    std::wstring number = argv[2];

    wchar_t self[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self, n);
    dir.erase(dir.find_last_of(L'\\') + 1);
    std::wstring source = dir + L"ICQ.exe", copy = source + number;

    const bool flush = argc > 3 && wcscmp(argv[3], L"flush") == 0;
    if (always || NeedsCopy(JudgeCopy(FactsOf(source), FactsOf(copy)))) {
        DeleteFileW(copy.c_str());
        CopyFileW(source.c_str(), copy.c_str(), FALSE);
        if (flush) {
            // As Kestrun: the copy's data on the disk before it is started.
            HANDLE written = CreateFileW(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            if (written != INVALID_HANDLE_VALUE) {
                FlushFileBuffers(written);
                CloseHandle(written);
            }
        }
    }

    std::wstring commandLine = L"\"" + copy + L"\" ";
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 1;
    if (argc > 3 && wcscmp(argv[3], L"window") == 0) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BaselineWindow";
        RegisterClassExW(&wc);
        CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, nullptr,
                        nullptr, wc.hInstance, nullptr);
    }
    Search search{pi.dwProcessId, nullptr};
    DWORD start = GetTickCount();
    while (!search.found && GetTickCount() - start < 10000) {
        EnumWindows(TopWindowOf, reinterpret_cast<LPARAM>(&search));
        if (!search.found && WaitForSingleObject(pi.hProcess, 10) == WAIT_OBJECT_0) break;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return search.found ? 0 : 1;
}

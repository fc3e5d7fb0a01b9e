// Helper of scripts/screenshots.sh: runs under Wine next to the program being
// photographed and puts its window into the state wanted for the next picture.
//   shotdriver wait  <window class> [ms]              wait until the window is visible
//   shotdriver tab   <window class> <control id> <n>   select tab n (0-based) the way the keyboard does
//   shotdriver click <window class> <control id>       press a button or tick a check box
//   shotdriver press <window class> <control id>       press a button whose handler opens a modal window
//   shotdriver link  <window class> <control id>       click a link label
//   shotdriver drop  <window class> <control id>       open a drop-down list
//   shotdriver rect  <window class>                    print the window's place as WxH+X+Y (for cropping)
//   shotdriver dump  <window class>                    list the controls: id, place in the window, text
// Exit code 0 when done, 1 when the window or control was not found.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

HWND FindVisible(const wchar_t* cls, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND w = FindWindowW(cls, nullptr);
        if (w && IsWindowVisible(w)) return w;
        if (GetTickCount() - start > ms) return nullptr;
        Sleep(100);
    }
}

struct Find {
    int id;
    HWND found;
};
BOOL CALLBACK ById(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    if (GetDlgCtrlID(h) == f->id) {
        f->found = h;
        return FALSE;
    }
    return TRUE;
}
BOOL CALLBACK Dump(HWND h, LPARAM lp) {
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(lp), reinterpret_cast<POINT*>(&r), 2);
    wchar_t text[512] = L"";
    GetWindowTextW(h, text, 512);
    std::printf("%d %ld,%ld %ldx%ld %s \"%ls\"\n", GetDlgCtrlID(h), r.left, r.top, r.right - r.left, r.bottom - r.top,
                IsWindowVisible(h) ? "shown" : "hidden", text);
    return TRUE;
}
HWND Child(HWND root, int id) {
    Find f{id, nullptr};
    EnumChildWindows(root, ById, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 1;
    const wchar_t* cmd = argv[1];
    HWND w = FindVisible(argv[2], (wcscmp(cmd, L"wait") == 0 && argc > 3) ? wcstoul(argv[3], nullptr, 10) : 15000);
    if (!w) return 1;
    if (wcscmp(cmd, L"wait") == 0) return 0;
    if (wcscmp(cmd, L"dump") == 0) {
        EnumChildWindows(w, Dump, reinterpret_cast<LPARAM>(w));
        return 0;
    }
    if (wcscmp(cmd, L"rect") == 0) {
        RECT r;
        GetWindowRect(w, &r);
        const int m = 8;  // a little of the desktop around the frame
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left + 2 * m, r.bottom - r.top + 2 * m,
                    r.left > m ? r.left - m : 0L, r.top > m ? r.top - m : 0L);
        return 0;
    }
    // What the system tells a window that reaches a screen of another dpi
    // (from 96): the rectangle it suggests lies in the window's own process.
    if (wcscmp(cmd, L"dpi") == 0 && argc > 3) {
        int dpi = _wtoi(argv[3]);
        RECT r;
        GetWindowRect(w, &r);
        RECT want{r.left, r.top, r.left + MulDiv(r.right - r.left, dpi, 96), r.top + MulDiv(r.bottom - r.top, dpi, 96)};
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        void* mem = process ? VirtualAllocEx(process, nullptr, sizeof want, MEM_COMMIT, PAGE_READWRITE) : nullptr;
        bool sent = mem && WriteProcessMemory(process, mem, &want, sizeof want, nullptr);
        if (sent) SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(mem));
        if (mem) VirtualFreeEx(process, mem, 0, MEM_RELEASE);
        if (process) CloseHandle(process);
        Sleep(300);
        return sent ? 0 : 1;
    }
    if (argc < 4) return 1;
    HWND c = Child(w, _wtoi(argv[3]));
    if (!c) return 1;
    if (wcscmp(cmd, L"tab") == 0 && argc > 4) {
        int want = _wtoi(argv[4]);
        // Arrow keys move the selection one tab at a time and tell the window each time.
        for (int tries = 0; tries < 16; ++tries) {
            int cur = static_cast<int>(SendMessageW(c, TCM_GETCURSEL, 0, 0));
            if (cur == want) break;
            WPARAM key = cur < want ? VK_RIGHT : VK_LEFT;
            SendMessageW(c, WM_KEYDOWN, key, 0);
            SendMessageW(c, WM_KEYUP, key, 0xC0000001);
        }
        Sleep(300);
        return SendMessageW(c, TCM_GETCURSEL, 0, 0) == want ? 0 : 1;
    }
    if (wcscmp(cmd, L"click") == 0) {
        SendMessageW(c, BM_CLICK, 0, 0);
        Sleep(300);
        return 0;
    }
    // Posted rather than sent: the handler runs its modal window's loop and
    // would not return to the driver until that window closes.
    if (wcscmp(cmd, L"press") == 0) {
        PostMessageW(c, BM_CLICK, 0, 0);
        Sleep(500);
        return 0;
    }
    if (wcscmp(cmd, L"drop") == 0) {
        SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
        Sleep(500);
        return 0;
    }
    if (wcscmp(cmd, L"link") == 0) {
        PostMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        PostMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
        Sleep(500);
        return 0;
    }
    return 1;
}

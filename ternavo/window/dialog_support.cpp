#include "ternavo/window/dialog_support.h"
#include <algorithm>

void CenterOver(HWND window, HWND owner) {
    RECT w;
    GetWindowRect(window, &w);
    RECT area;
    HMONITOR monitor = owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                             : MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{sizeof(mi)};
    GetMonitorInfoW(monitor, &mi);
    area = mi.rcWork;
    RECT o = area;
    if (owner) GetWindowRect(owner, &o);
    int width = w.right - w.left, height = w.bottom - w.top;
    int x = o.left + ((o.right - o.left) - width) / 2;
    int y = o.top + ((o.bottom - o.top) - height) / 2;
    // Keep the whole dialog on the owner's screen.
    x = std::max<int>(area.left, std::min<int>(x, area.right - width));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND FirstTabStop(HWND root) {
    HWND first = GetNextDlgTabItem(root, nullptr, FALSE);
    return (first && IsWindowEnabled(first) && (GetWindowLongW(first, GWL_STYLE) & WS_TABSTOP)) ? first : nullptr;
}

void PressFocusedButton(HWND root) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(root, focus)) return;
    wchar_t cls[16] = {};
    GetClassNameW(focus, cls, 16);
    if (lstrcmpiW(cls, L"Button") != 0) return;
    LONG type = GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) SendMessageW(focus, BM_CLICK, 0, 0);
}

void RememberFocus(HWND root, WPARAM activateParam, HWND& lastFocus) {
    if (LOWORD(activateParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(root, focus)) lastFocus = focus;
        return;
    }
    if (HIWORD(activateParam)) return;  // minimised
    HWND target = lastFocus;
    if (!target || !IsWindow(target) || !IsChild(root, target) || !IsWindowEnabled(target))
        target = FirstTabStop(root);
    if (target) SetFocus(target);
}

void HideModal(HWND dialog) {
    if (!dialog) return;
    HWND owner = GetWindow(dialog, GW_OWNER);
    // The owner takes input again before the dialog goes, so that the
    // activation returns to it and not to some other program.
    if (owner) EnableWindow(owner, TRUE);
    if (IsWindowVisible(dialog)) ShowWindow(dialog, SW_HIDE);
    if (owner && IsWindowVisible(owner)) SetActiveWindow(owner);
}

void RunModal(HWND dialog) {
    if (!dialog || IsWindowVisible(dialog)) return;  // already up: one level is enough
    HWND owner = GetWindow(dialog, GW_OWNER);
    CenterOver(dialog, owner);
    // The owner's control that had the focus gets it back when the dialog goes, so
    // that a keyboard user goes on from there.
    HWND ownerFocus = GetFocus();
    if (!owner || !IsChild(owner, ownerFocus)) ownerFocus = nullptr;
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    // The dialog may have put the focus where it wants it when it was activated.
    HWND focus = GetFocus();
    if (!focus || !IsChild(dialog, focus))
        if (HWND first = FirstTabStop(dialog)) SetFocus(first);
    MSG msg;
    while (IsWindow(dialog) && IsWindowVisible(dialog)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: leave the quit for the main loop.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (root && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (IsWindow(dialog)) HideModal(dialog);
    else if (owner) EnableWindow(owner, TRUE);
    // (Else the hidden dialog may keep the focus, and the keys go nowhere.)
    if (ownerFocus && IsWindow(ownerFocus) && IsWindowVisible(owner) && IsWindowEnabled(ownerFocus))
        SetFocus(ownerFocus);
}

void RegisterWindowClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

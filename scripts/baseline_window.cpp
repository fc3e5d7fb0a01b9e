// Reference program of the Ternavo start benchmark (scripts/bench.sh), never
// shipped: one window with the same controls as Ternavo's main window (common
// controls 6 through its manifest; a group box holding a panel with four check
// boxes, a link-like text, a caption, a drop-down list, the status line and two
// hidden pictures; a headline and three buttons), built with Ternavo's compiler
// flags. It reads no settings and searches nothing; it runs until it is closed.
#include <windows.h>
#include <commctrl.h>
#include <initializer_list>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           bool visible = true) {
    HWND c = CreateWindowExW(0, cls, text, WS_CHILD | (visible ? WS_VISIBLE : 0) | style, x, y, w, h, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BaselineWindow";
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Baseline", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU |
                                  WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT, 260, 250, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"BaselinePanel";
    RegisterClassExW(&wc);
    Child(window, L"Button", L"Start", BS_PUSHBUTTON | WS_TABSTOP, 8, 184, 89, 25);
    Child(window, L"Static", L"Allows you to start multiple instances of ICQ.", SS_CENTER, 8, 4, 230, 14);
    Child(window, L"Button", L"Options", BS_GROUPBOX, 8, 24, 233, 153);
    HWND panel = Child(window, L"BaselinePanel", nullptr, 0, 16, 40, 217, 129);
    const wchar_t* boxes[] = {L"ICQ Pro 2003", L"ICQ Lite (4.x, 5.x)", L"ICQ 6 / ICQ Lite 7", L"ICQ 7"};
    for (int i = 0; i < 4; ++i)
        Child(panel, L"Button", boxes[i], BS_AUTOCHECKBOX | WS_TABSTOP, 16, 4 + 16 * i, 110, 17);
    Child(panel, L"Static", L"Settings", SS_NOTIFY | WS_TABSTOP, 72, 54, 63, 13);
    Child(panel, L"Static", L"Start does:", 0, 8, 70, 200, 13);
    HWND list = Child(panel, WC_COMBOBOXW, nullptr, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 8, 84, 200, 80);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Allow multiple instances of ICQ"));
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Only one instance of ICQ"));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    Child(panel, L"Static", L"Choose options and click start.", 0, 8, 112, 139, 13);
    // The result marks: hidden until a result, their pictures not loaded before.
    for (int x : {176, 152}) Child(panel, L"Static", nullptr, SS_BITMAP, x, 107, 22, 17, false);
    Child(window, L"Button", L"Info", BS_PUSHBUTTON | WS_TABSTOP, 104, 184, 49, 25);
    Child(window, L"Button", L"Exit", BS_PUSHBUTTON | WS_TABSTOP, 160, 184, 81, 25);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

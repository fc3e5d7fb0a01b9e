#include "kestrun/tab_pages.h"
#include <commctrl.h>
#include <cstring>
#include "kestrun/window_table.h"

namespace {

HWND hookedWindow = nullptr;
const Layout* hookedUi = nullptr;
HHOOK tabKeysHook = nullptr;

void ShowPageOfKey(const Layout& ui, const char* key) {
    int shown = -1;
    for (size_t i = 0; i < kWindowTabCount; ++i)
        if (std::strcmp(kWindowTabs[i].key, key) == 0) shown = static_cast<int>(i);
    if (shown < 0) return;
    // Keyboard focus must not stay behind on a page that disappears.
    HWND focus = GetFocus();
    for (size_t i = 0; i < kWindowTabCount; ++i) {
        HWND page = ui.Get(kWindowTabs[i].page);
        bool visible = static_cast<int>(i) == shown;
        if (!visible && focus && IsChild(page, focus)) SetFocus(ui.Get("TabStrip"));
        ShowWindow(page, visible ? SW_SHOW : SW_HIDE);
    }
}

LRESULT CALLBACK TabKeysProc(int code, WPARAM wp, LPARAM lp) {
    auto* m = reinterpret_cast<MSG*>(lp);
    HWND window = hookedWindow;
    if (code == HC_ACTION && wp == PM_REMOVE && m->message == WM_KEYDOWN && window && hookedUi &&
        IsWindowVisible(window) && GetAncestor(m->hwnd, GA_ROOT) == window && GetKeyState(VK_CONTROL) < 0) {
        int step = 0;
        if (m->wParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
        else if (m->wParam == VK_NEXT) step = 1;
        else if (m->wParam == VK_PRIOR) step = -1;
        if (step) {
            int n = static_cast<int>(kWindowTabCount);
            int sel = static_cast<int>(SendMessageW(hookedUi->Get("TabStrip"), TCM_GETCURSEL, 0, 0));
            ShowTabPage(*hookedUi, ((sel < 0 ? 0 : sel) + step + n) % n);
            m->message = WM_NULL;  // the dialog keys must not move the focus as well
        }
    }
    return CallNextHookEx(tabKeysHook, code, wp, lp);
}

}  // namespace

void CreateTabs(const Layout& ui, bool english) {
    HWND tabs = ui.Get("TabStrip");
    for (size_t i = 0; i < kWindowTabCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<wchar_t*>(english ? kWindowTabs[i].en : kWindowTabs[i].de);
        item.lParam = static_cast<LPARAM>(i);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

void PlaceTabPages(Layout& ui) {
    const ControlDef& strip = ui.Def("TabStrip");
    for (size_t i = 0; i < kWindowTabCount; ++i)
        ui.Place(kWindowTabs[i].page, strip.left + 30, strip.top + 330, strip.width - 90, strip.height - 390);
    // The strip comes first in the keyboard order and so lies above its pages;
    // it gives up the pages' area, so that it never paints over them.
    HWND tabs = ui.Get("TabStrip");
    RECT own, page;
    GetWindowRect(tabs, &own);
    GetWindowRect(ui.Get(kWindowTabs[0].page), &page);
    OffsetRect(&page, -own.left, -own.top);
    HRGN shape = CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
    HRGN hole = CreateRectRgn(page.left, page.top, page.right, page.bottom);
    CombineRgn(shape, shape, hole, RGN_DIFF);
    DeleteObject(hole);
    SetWindowRgn(tabs, shape, TRUE);  // the window owns the region from here on
}

void OnTabSelected(const Layout& ui) {
    HWND tabs = ui.Get("TabStrip");
    int sel = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (sel < 0 || !SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(&item)))
        return;
    if (item.lParam >= 0 && static_cast<size_t>(item.lParam) < kWindowTabCount)
        ShowPageOfKey(ui, kWindowTabs[item.lParam].key);
}

void ShowTabPage(const Layout& ui, int index) {
    if (index < 0 || static_cast<size_t>(index) >= kWindowTabCount) return;
    SendMessageW(ui.Get("TabStrip"), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowPageOfKey(ui, kWindowTabs[index].key);
}

void HookTabKeys(HWND window, const Layout& ui) {
    hookedWindow = window;
    hookedUi = &ui;
    tabKeysHook = SetWindowsHookExW(WH_GETMESSAGE, TabKeysProc, nullptr, GetCurrentThreadId());
}

void UnhookTabKeys() {
    if (tabKeysHook) UnhookWindowsHookEx(tabKeysHook);
    tabKeysHook = nullptr;
    hookedWindow = nullptr;
    hookedUi = nullptr;
}

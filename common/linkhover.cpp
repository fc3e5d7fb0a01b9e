#include "common/linkhover.h"
#include <commctrl.h>

HCURSOR HandCursor = nullptr;
bool CursorReplaced = false;
bool HoverActive = false;

namespace {

HWND suppressedLabel = nullptr;  // clicked label that shows the arrow until left

HCURSOR Hand() {
    if (!HandCursor) HandCursor = LoadCursorW(nullptr, IDC_HAND);
    return HandCursor;
}

LRESULT CALLBACK LinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == hwnd) {
            bool hand = hwnd != suppressedLabel;
            SetCursor(hand ? Hand() : LoadCursorW(nullptr, IDC_ARROW));
            CursorReplaced = hand;
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        TrackLinkHover(GetAncestor(hwnd, GA_ROOT), hwnd);
        break;
    case WM_MOUSELEAVE:
        HoverActive = false;
        CursorReplaced = false;
        if (suppressedLabel == hwnd) suppressedLabel = nullptr;
        break;
    case WM_NCDESTROY:
        if (suppressedLabel == hwnd) suppressedLabel = nullptr;
        RemoveWindowSubclass(hwnd, LinkProc, 0);
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void MakeLinkLabel(HWND label) {
    SetWindowSubclass(label, LinkProc, 0, 0);
}

void TrackLinkHover(HWND, HWND label) {
    if (HoverActive) return;
    HoverActive = true;
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, label, 0};
    TrackMouseEvent(&tme);
}

void LinkClicked(HWND label) {
    suppressedLabel = label;
    CursorReplaced = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

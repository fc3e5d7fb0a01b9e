// Ternavo's about box: name and version, our home page, the credit line.
#include <windows.h>
#include <shellapi.h>
#include <iterator>
#include <string>
#include "common/formicon.h"
#include "common/linkhover.h"
#include "common/text_fit.h"
#include "common/winutil.h"
#include "ternavo/window/about_box.h"
#include "ternavo/window/about_box_table.h"
#include "ternavo/window/dialog_support.h"
#include "ternavo/window/main_window.h"
#include "ternavo/window/run_state.h"

namespace {

struct AboutBox {
    HWND hwnd = nullptr;
    Layout layout{kAboutBoxControls, kAboutBoxCount, kAboutBoxKeys, std::size(kAboutBoxKeys)};
    FormIcon icon;
};
AboutBox about;

// The texts fit their fonts, the home page's link stands beside its label.
void FitAboutBox() {
    FitToFonts(about.layout);
    for (const LinkSentence& s : kAboutBoxSentences) LayOutLinkSentence(about.layout, s);
}

void OpenHomePage(HWND label) {
    std::wstring address = std::wstring(L"http://") + kHomeHost + L"/";
    // The shell may hand the address to an extension that wants COM.
    win::ComScope com;
    ShellExecuteW(about.hwnd, L"open", address.c_str(), nullptr, g_run.ProgramDir.c_str(), SW_SHOWNORMAL);
    LinkClicked(label);
}

LRESULT CALLBACK AboutBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        about.hwnd = hwnd;
        about.layout.Create(hwnd);
        FitAboutBox();
        about.icon.Form(hwnd);
        about.icon.ResIcon(1);
        return 0;
    case WM_DPICHANGED:
        FollowDpiChange(hwnd, wp, lp, [](int dpi) {
            about.layout.Rescale(dpi);
            FitAboutBox();
            about.icon.Dpi(dpi);
        });
        return 0;
    case WM_COMMAND: {
        int id = LOWORD(wp);
        if (id == IDCANCEL || id == IDOK || id == about.layout.Id("OkButton")) HideModal(hwnd);
        else if (id == about.layout.Id("HomepageLink") && HIWORD(wp) == STN_CLICKED)
            OpenHomePage(reinterpret_cast<HWND>(lp));
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(
            about.layout.CtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) SetFocus(about.layout.Get("OkButton"));
        return 0;
    case WM_CLOSE:
        HideModal(hwnd);
        return 0;
    case WM_NEXTDLGCTL:
        MoveDialogFocus(hwnd, wp, lp);
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        RedrawWithSystemColors(hwnd);
        break;
    case WM_DESTROY:
        about.icon.Form(nullptr);
        return 0;
    case WM_NCDESTROY:
        about.hwnd = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND AboutBoxWindow() {
    if (about.hwnd) return about.hwnd;
    RegisterWindowClass(kAboutBoxClass, AboutBoxProc);
    CreateTopLevelWindow(kAboutBoxClass, kAboutBoxCaption, kAboutBoxWidth, kAboutBoxHeight, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     WS_EX_DLGMODALFRAME, MainWindow(), nullptr);
    return about.hwnd;
}

}  // namespace

void ShowAboutBox() { RunModal(AboutBoxWindow()); }

void CloseAboutBox() {
    if (about.hwnd) DestroyWindow(about.hwnd);
}

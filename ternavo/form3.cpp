// Ternavo's ICQ 7 settings dialog: the ICQ 7 folder, chosen by typing or with
// the shell's file browser, checked and saved; and the desktop shortcut box.
#include <string>
#include "common/formicon.h"
#include "common/module1.h"
#include "common/winutil.h"
#include "ternavo/app.h"
#include "ternavo/form3_table.h"
#include "ternavo/forms.h"
#include "ternavo/module1.h"

namespace {

struct Form3 {
    HWND hwnd = nullptr;
    Layout layout{kForm3Controls, kForm3Count};
    FormIcon icon;
    HWND lastFocus = nullptr;
};
Form3 dialog;

HWND Ctl(const char* name) { return dialog.layout.Get(name); }

// OK can be pressed exactly while the box names a folder with ICQ.exe and MCore.dll.
void UpdateOkButton() {
    EnableWindow(Ctl("Command2"), IsICQDirectory(win::WindowText(Ctl("Text1"))));
}

void SetText1(const std::wstring& text) {
    SetWindowTextW(Ctl("Text1"), text.c_str());
    UpdateOkButton();
}

void OnChange() {
    std::wstring path = BrowseForFile(dialog.hwnd, win::WindowText(Ctl("Text1")), kBrowseFilter, L"",
                                      UseEnglish ? kBrowseTitleEn : kBrowseTitleDe);
    if (path.size() < 4) return;  // cancelled
    size_t at = path.find(L"\\ICQ.exe");
    if (at != std::wstring::npos) SetText1(path.substr(0, at));
}

void OnOk() {
    std::wstring text = win::WindowText(Ctl("Text1"));
    std::wstring dir = win::WithBackslash(text);
    if (!IsICQDirectory(text)) return;
    if (!IsICQ7Version(dir)) {
        MessageBoxW(dialog.hwnd, UseEnglish ? kWrongVersionEn : kWrongVersionDe, L"ICQ 7",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    WriteIniValue(SettingsPath, L"Ternavo", L"ICQ7Path", dir);
    if (StartPending) EnableTimer2();
    StartPending = false;
    HideModal(dialog.hwnd);
}

// Cancel, Esc and the close box: hidden, nothing saved, the box keeps its text.
void OnCancel() { HideModal(dialog.hwnd); }

void OnCommand(int id, int code) {
    if (id == IDCANCEL) { OnCancel(); return; }
    if (id == IDOK) { PressFocusedButton(dialog.hwnd); return; }
    if (id == dialog.layout.Id("Text1")) {
        if (code == EN_CHANGE) UpdateOkButton();
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == dialog.layout.Id("Command1")) OnChange();
    else if (id == dialog.layout.Id("Command2")) OnOk();
    else if (id == dialog.layout.Id("Command3")) OnCancel();
}

LRESULT CALLBACK Form3Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        dialog.hwnd = hwnd;
        dialog.layout.Create(hwnd);
        // OK and Cancel lead the keyboard order, then the folder panel.
        SetWindowPos(Ctl("Picture1"), Ctl("Command3"), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // The shortcut text takes two lines.
        HWND check = Ctl("Check1");
        SetWindowLongW(check, GWL_STYLE, GetWindowLongW(check, GWL_STYLE) | BS_MULTILINE);
        SizeToText(dialog.layout, "Label2");
        dialog.icon.Form(hwnd);
        dialog.icon.ResIcon(1);
        return 0;
    }
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(
            dialog.layout.CtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_ACTIVATE:
        RememberFocus(hwnd, wp, dialog.lastFocus);
        return 0;
    case WM_CLOSE:
        OnCancel();
        return 0;
    case WM_DESTROY:
        dialog.icon.Form(nullptr);
        return 0;
    case WM_NCDESTROY:
        dialog.hwnd = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The dialog exists from its first use until the program ends; it is only
// ever hidden, so its folder box keeps what start-up or the user put there.
HWND Form3Window() {
    if (dialog.hwnd) return dialog.hwnd;
    static bool registered = [] {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = Form3Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kForm3Class;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    CreateMainWindow(kForm3Class, kForm3CaptionDe, kForm3Width, kForm3Height, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     WS_EX_DLGMODALFRAME, MainWindow(), nullptr);
    if (dialog.hwnd && UseEnglish) SetForm3EnglishTexts();
    return dialog.hwnd;
}

}  // namespace

void SetForm3EnglishTexts() {
    if (!Form3Window()) return;
    SetWindowTextW(dialog.hwnd, kForm3CaptionEn);
    dialog.layout.ApplyTexts(true);
    SizeToText(dialog.layout, "Label2");
}

std::wstring Form3Directory() {
    Form3Window();
    return win::WindowText(Ctl("Text1"));
}

void SetForm3Directory(const std::wstring& dir) {
    if (Form3Window()) SetText1(dir);
}

bool Form3ShortcutChecked() {
    Form3Window();
    return SendMessageW(Ctl("Check1"), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ShowForm3Modal() { RunModal(Form3Window()); }

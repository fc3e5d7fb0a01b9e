// Ternavo's ICQ 7 settings dialog: the ICQ 7 folder, chosen by typing or with
// the shell's file browser, checked and saved; and the desktop shortcut box.
#include "ternavo/window/settings_dialog.h"
#include <iterator>
#include "common/formicon.h"
#include "common/ini_file.h"
#include "common/text_fit.h"
#include "common/winutil.h"
#include "ternavo/window/browse_dialog.h"
#include "ternavo/window/dialog_support.h"
#include "ternavo/steps/icq7path.h"
#include "ternavo/system/long_path.h"
#include "ternavo/window/main_window.h"
#include "ternavo/window/run_state.h"
#include "ternavo/rules/folders.h"
#include "ternavo/window/settings_dialog_table.h"

namespace {

struct SettingsDialog {
    HWND hwnd = nullptr;
    Layout layout{kSettingsDialogControls, kSettingsDialogCount, kSettingsDialogKeys, std::size(kSettingsDialogKeys)};
    FormIcon icon;
    HWND lastFocus = nullptr;
    std::wstring openedWith;  // the folder box's text when the dialog was shown
    bool confirmed = false;   // left with OK
    // What the two boxes hold until the dialog is first shown: it is made
    // with them, and from then on the boxes themselves hold them.
    std::wstring folder;
    bool shortcut = true;
};
SettingsDialog dialog;

HWND Ctl(const char* name) { return dialog.layout.Get(name); }

// OK can be pressed exactly while the box names a folder with ICQ.exe and MCore.dll.
void UpdateOkButton() {
    EnableWindow(Ctl("OkButton"), IsICQDirectory(win::WindowText(Ctl("FolderBox"))));
}

void SetFolderBox(const std::wstring& text) {
    SetWindowTextW(Ctl("FolderBox"), text.c_str());
    UpdateOkButton();
}

void OnChange() {
    std::wstring path = BrowseForFile(dialog.hwnd, win::WindowText(Ctl("FolderBox")), kBrowseFilter, L"",
                                      g_run.UseEnglish ? kBrowseTitleEn : kBrowseTitleDe);
    if (path.size() < 4) return;  // cancelled
    std::wstring folder = folders::FolderOfPickedIcq(path);
    if (!folder.empty()) SetFolderBox(folder);
}

void OnOk() {
    // A relative folder would name another one once the current folder
    // changes: the box, the file and the installation get it whole.
    std::wstring text = GetFullPath(win::WindowText(Ctl("FolderBox")));
    if (text != win::WindowText(Ctl("FolderBox"))) SetFolderBox(text);
    std::wstring dir = win::WithBackslash(text);
    if (!IsICQDirectory(text)) return;
    if (!IsICQ7Version(dir)) {
        MessageBoxW(dialog.hwnd, g_run.UseEnglish ? kWrongVersionEn : kWrongVersionDe, L"ICQ 7",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    WriteIniValue(g_run.SettingsPath, L"Ternavo", L"ICQ7Path", dir);
    dialog.confirmed = true;
    HideModal(dialog.hwnd);
}

// Cancel, Esc and the close box: hidden, nothing saved, and the box shows
// again what it showed when the dialog opened (a later run would take it).
void OnCancel() {
    if (IsWindowVisible(dialog.hwnd)) SetFolderBox(dialog.openedWith);
    HideModal(dialog.hwnd);
}

void OnCommand(int id, int code) {
    if (id == IDCANCEL) { OnCancel(); return; }
    if (id == IDOK) { PressFocusedButton(dialog.hwnd); return; }
    if (id == dialog.layout.Id("FolderBox")) {
        if (code == EN_CHANGE) UpdateOkButton();
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == dialog.layout.Id("ChangeButton")) OnChange();
    else if (id == dialog.layout.Id("OkButton")) OnOk();
    else if (id == dialog.layout.Id("CancelButton")) OnCancel();
}

LRESULT CALLBACK SettingsDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        dialog.hwnd = hwnd;
        dialog.layout.Create(hwnd, g_run.UseEnglish);
        // The shortcut text takes two lines.
        HWND check = Ctl("ShortcutBox");
        SetWindowLongW(check, GWL_STYLE, GetWindowLongW(check, GWL_STYLE) | BS_MULTILINE);
        SendMessageW(check, BM_SETCHECK, dialog.shortcut ? BST_CHECKED : BST_UNCHECKED, 0);
        SetFolderBox(dialog.folder);
        SizeToText(dialog.layout, "FolderLabel");
        dialog.icon.Form(hwnd);
        dialog.icon.ResIcon(1);
        return 0;
    }
    case WM_DPICHANGED:
        FollowDpiChange(hwnd, wp, lp, [](int dpi) {
            dialog.layout.Rescale(dpi);
            SizeToText(dialog.layout, "FolderLabel");
            dialog.icon.Dpi(dpi);
        });
        return 0;
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
    case WM_NEXTDLGCTL:
        MoveDialogFocus(hwnd, wp, lp);
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        RedrawWithSystemColors(hwnd);
        break;
    case WM_DESTROY:
        dialog.icon.Form(nullptr);
        return 0;
    case WM_NCDESTROY:
        dialog.hwnd = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The dialog is made when it is first shown and exists from then until the
// program ends; it is only ever hidden, so its folder box keeps what start-up
// or the user put there. Ternavo's start makes no second window.
HWND SettingsDialogWindow() {
    if (dialog.hwnd) return dialog.hwnd;
    RegisterWindowClass(kSettingsDialogClass, SettingsDialogProc);
    CreateTopLevelWindow(kSettingsDialogClass, g_run.UseEnglish ? kSettingsDialogCaptionEn : kSettingsDialogCaptionDe,
                         kSettingsDialogWidth, kSettingsDialogHeight, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                         WS_EX_DLGMODALFRAME, MainWindow(), nullptr);
    return dialog.hwnd;
}

}  // namespace

std::wstring SettingsDialogFolder() { return dialog.hwnd ? win::WindowText(Ctl("FolderBox")) : dialog.folder; }

void SetSettingsDialogFolder(const std::wstring& dir) {
    if (dialog.hwnd) SetFolderBox(dir);
    else dialog.folder = dir;
}

bool SettingsDialogShortcut() {
    return dialog.hwnd ? SendMessageW(Ctl("ShortcutBox"), BM_GETCHECK, 0, 0) == BST_CHECKED : dialog.shortcut;
}

void SetSettingsDialogShortcut(bool checked) {
    if (dialog.hwnd) SendMessageW(Ctl("ShortcutBox"), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    else dialog.shortcut = checked;
}

bool ShowSettingsDialog() {
    HWND hwnd = SettingsDialogWindow();
    if (hwnd && !IsWindowVisible(hwnd)) dialog.openedWith = win::WindowText(Ctl("FolderBox"));
    dialog.confirmed = false;
    RunModal(hwnd);
    return dialog.confirmed;
}

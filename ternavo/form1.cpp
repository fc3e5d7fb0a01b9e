// Ternavo's main window: start-up, the option boxes, the status line with its
// result images and timers, and the Start, Info, Exit and Settings controls.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "common/formicon.h"
#include "common/linkhover.h"
#include "common/module1.h"
#include "common/winutil.h"
#include "ternavo/app.h"
#include "ternavo/form1_table.h"
#include "ternavo/forms.h"
#include "ternavo/resource.h"
#include "ternavo/rules/startup.h"

namespace {

constexpr UINT_PTR kTimer1 = 1;  // status line back to idle after a result
constexpr UINT_PTR kTimer2 = 2;  // resumes an apply run after the settings dialog
constexpr wchar_t kSection[] = L"Ternavo";

struct Form1 {
    HWND hwnd = nullptr;
    Layout layout{kForm1Controls, kForm1Count};
    FormIcon icon;
    win::Bitmap success;  // Image1
    win::Bitmap failure;  // Image2
    HWND lastFocus = nullptr;
};
Form1 form;

HWND Ctl(const char* name) { return form.layout.Get(name); }
bool Checked(const char* name) { return SendMessageW(Ctl(name), BM_GETCHECK, 0, 0) == BST_CHECKED; }
const wchar_t* Pick(const StatusTexts& t) { return UseEnglish ? t.en : t.de; }

void SetStatusText(const wchar_t* text) {
    SetWindowTextW(Ctl("Label1"), text);
    SizeToText(form.layout, "Label1");
}

// The result marks have a magenta background; it takes the colour of the
// window so that the marks stand on it without a box.
HBITMAP LoadResultImage(int id, const char* control) {
    const ControlDef& d = form.layout.Def(control);
    auto bmp = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                               form.layout.Px(d.width), form.layout.Px(d.height),
                                               LR_CREATEDIBSECTION));
    if (!bmp) return nullptr;
    DIBSECTION ds{};
    if (GetObjectW(bmp, sizeof(ds), &ds) == sizeof(ds) && ds.dsBm.bmBits &&
        (ds.dsBm.bmBitsPixel == 24 || ds.dsBm.bmBitsPixel == 32)) {
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        int step = ds.dsBm.bmBitsPixel / 8;
        auto* bits = static_cast<BYTE*>(ds.dsBm.bmBits);
        for (int y = 0; y < ds.dsBm.bmHeight; ++y) {
            BYTE* p = bits + static_cast<size_t>(y) * ds.dsBm.bmWidthBytes;
            for (int x = 0; x < ds.dsBm.bmWidth; ++x, p += step) {
                if (p[0] == 255 && p[1] == 0 && p[2] == 255) {  // blue, green, red
                    p[0] = GetBValue(face);
                    p[1] = GetGValue(face);
                    p[2] = GetRValue(face);
                }
            }
        }
        GdiFlush();
    }
    SendMessageW(Ctl(control), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
    // The control keeps the table's size whatever the picture's own size.
    form.layout.Place(control, d.left, d.top, d.width, d.height);
    return bmp;
}

void FillCombo1(const wchar_t* const items[2]) {
    HWND combo = Ctl("Combo1");
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < 2; ++i) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void SetEnglishTexts() {
    UseEnglish = true;
    form.layout.ApplyTexts(true);
    SizeToText(form.layout, "Label1");
    SizeToText(form.layout, "Label2");
    SizeToText(form.layout, "Label3");
    FillCombo1(kCombo1En);
    SetForm3EnglishTexts();
}

void SetGermanTexts() {
    UseEnglish = false;
    FillCombo1(kCombo1De);
}

void UpdateStartButton() {
    bool any = Checked("Check1") || Checked("Check2") || Checked("Check3") || Checked("Check4");
    EnableWindow(Ctl("Command3"), any);
    ShowStatus(StatusLine::Idle);
}

void LoadOptions() {
    std::wstring saved = ReadIniValue(SettingsPath, kSection, L"ICQ7Path");
    if (IsICQDirectory(win::WithBackslash(saved)))
        SetForm3Directory(ReadIniValue(SettingsPath, kSection, L"ICQ7Path"));
    else
        GetICQ7Path();
    // "ICQPro" belongs to ICQ Lite's box and "ICQLite" to ICQ Pro's: files
    // written by earlier versions rely on this pairing.
    static const struct { const wchar_t* key; const char* box; } pairs[] = {
        {L"ICQPro", "Check1"}, {L"ICQLite", "Check2"}, {L"ICQ6", "Check3"}, {L"ICQ7", "Check4"}};
    for (const auto& p : pairs) {
        if (startup::StoredChecked(ReadIniValue(SettingsPath, kSection, p.key))) {
            SendMessageW(Ctl(p.box), BM_SETCHECK, BST_CHECKED, 0);
            UpdateStartButton();
        }
    }
    if (startup::StoredInstances(ReadIniValue(SettingsPath, kSection, L"Instances")) == 1) {
        SendMessageW(Ctl("Combo1"), CB_SETCURSEL, 1, 0);
        UpdateStartButton();
    }
}

void SaveOptions() {
    auto flag = [](bool on) { return std::wstring(on ? L"1" : L"0"); };
    WriteIniValue(SettingsPath, kSection, L"ICQPro", flag(Checked("Check1")));
    WriteIniValue(SettingsPath, kSection, L"ICQLite", flag(Checked("Check2")));
    WriteIniValue(SettingsPath, kSection, L"ICQ6", flag(Checked("Check3")));
    WriteIniValue(SettingsPath, kSection, L"ICQ7", flag(Checked("Check4")));
    if (Checked("Check4")) WriteIniValue(SettingsPath, kSection, L"ICQ7Path", Form3Directory());
    WriteIniValue(SettingsPath, kSection, L"Shortcut", flag(Form3ShortcutChecked()));
    WriteIniValue(SettingsPath, kSection, L"Instances", std::to_wstring(InstancesChoice()));
}

void HideResultImages() {
    ShowWindow(Ctl("Image1"), SW_HIDE);
    ShowWindow(Ctl("Image2"), SW_HIDE);
}

// The image stands a little to the right of the status text, at its own height.
void ShowResultImage(const char* image) {
    const ControlDef& label = form.layout.Def("Label1");
    const ControlDef& d = form.layout.Def(image);
    form.layout.Place(image, label.left + label.width + kResultImageGap, d.top, d.width, d.height);
    ShowWindow(Ctl(image), SW_SHOW);
}

void OnStart() {
    ShowStatus(StatusLine::Busy);
    UpdateWindow(Ctl("Label1"));
    LastStatus.clear();
    ResumeFromDialog = false;
    StartPending = false;
    ApplyOptions(1);
}

void OnSettingsLink(HWND label) {
    StartPending = false;  // confirming the dialog now only saves the folder
    LinkClicked(label);
    ShowForm3Modal();
}

void OnTimer(UINT_PTR id) {
    if (id == kTimer1) {
        KillTimer(form.hwnd, kTimer1);
        HideResultImages();
        ShowStatus(StatusLine::IdleAfterResult);
    } else if (id == kTimer2) {
        KillTimer(form.hwnd, kTimer2);
        ShowStatus(StatusLine::Busy);
        ResumeFromDialog = true;
        ApplyOptions(2);
    }
}

void OnCommand(HWND hwnd, int id, int code, HWND control) {
    if (id == IDOK) { PressFocusedButton(hwnd); return; }
    const Layout& l = form.layout;
    if (id == l.Id("Combo1")) {
        if (code == CBN_SELCHANGE) UpdateStartButton();
    } else if (id == l.Id("Label3")) {
        if (code == STN_CLICKED) OnSettingsLink(control);
    } else if (code != BN_CLICKED) {
        return;
    } else if (id == l.Id("Check1") || id == l.Id("Check2") || id == l.Id("Check3") || id == l.Id("Check4")) {
        UpdateStartButton();
    } else if (id == l.Id("Command3")) {
        OnStart();
    } else if (id == l.Id("Command1")) {
        ShowForm2Modal();
    } else if (id == l.Id("Command2")) {
        UnloadForm2();
        DestroyWindow(hwnd);
    }
}

LRESULT CALLBACK Form1Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        form.hwnd = hwnd;
        form.layout.Create(hwnd);
        // Start leads the keyboard order, ahead of the option panel.
        SetWindowPos(Ctl("Command3"), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        form.success.reset(LoadResultImage(IDB_SUCCESS, "Image1"));
        form.failure.reset(LoadResultImage(IDB_FAILURE, "Image2"));
        SizeToText(form.layout, "Label1");
        SizeToText(form.layout, "Label2");
        SizeToText(form.layout, "Label3");
        return 0;
    }
    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(form.layout.CtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_ACTIVATE:
        RememberFocus(hwnd, wp, form.lastFocus);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kTimer1);
        KillTimer(hwnd, kTimer2);
        form.icon.Form(nullptr);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        form.hwnd = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

HWND MainWindow() { return form.hwnd; }

bool OptionChecked(int n) {
    if (n < 1 || n > 4) return false;
    char name[] = "Check0";
    name[5] = static_cast<char>('0' + n);
    return Checked(name);
}

int InstancesChoice() { return static_cast<int>(SendMessageW(Ctl("Combo1"), CB_GETCURSEL, 0, 0)); }

void ShowStatus(StatusLine which) {
    switch (which) {
    case StatusLine::Idle: SetStatusText(Pick(kStatusIdle)); break;
    case StatusLine::IdleAfterResult: SetStatusText(Pick(kStatusIdleAfterResult)); break;
    case StatusLine::Busy: SetStatusText(Pick(kStatusBusy)); break;
    }
}

void ShowResult() {
    HideResultImages();
    if (LastStatus == L"No!") {
        SetStatusText(Pick(kStatusFailure));
        ShowResultImage("Image2");
    } else {
        SetStatusText(Pick(kStatusSuccess));
        ShowResultImage("Image1");
    }
    SetTimer(form.hwnd, kTimer1, kTimer1Ms, nullptr);
    SetFocus(Ctl("Command3"));
    SaveOptions();
}

void EnableTimer2() { SetTimer(form.hwnd, kTimer2, 1, nullptr); }

HWND CreateForm1() {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = Form1Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kForm1Class;
    RegisterClassExW(&wc);
    HWND hwnd = CreateMainWindow(kForm1Class, kForm1Caption, kForm1Width, kForm1Height,
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, nullptr, nullptr);
    if (!hwnd) return nullptr;

    CommandLine = ArgumentText(GetCommandLineW());
    ProgramDir = win::ModuleDir();
    SettingsPath = ProgramDir + L"ternavo.ini";
    bool english = ChooseEnglish(ReadLocaleInfo(LOCALE_SNATIVELANGNAME), CommandLine,
                                          ReadIniValue(SettingsPath, kSection, L"Language"));
    if (english) SetEnglishTexts();
    else SetGermanTexts();
    form.icon.Form(hwnd);
    form.icon.ResIcon(1);
    HandCursor = LoadCursorW(nullptr, IDC_HAND);
    LoadOptions();
    return hwnd;
}

// Ternavo's main window: start-up, the generation boxes, the status line with
// its result marks and timers, and the Start, Info, Exit and Settings controls.
#include "ternavo/window/main_window.h"
#include <commctrl.h>
#include <string>
#include "common/formicon.h"
#include "common/ini_file.h"
#include "common/linkhover.h"
#include "common/locale_info.h"
#include "common/rules/startuptext.h"
#include "common/text_fit.h"
#include "common/winutil.h"
#include "ternavo/window/about_box.h"
#include "ternavo/window/dialog_support.h"
#include "ternavo/steps/icq7path.h"
#include "ternavo/window/main_window_table.h"
#include "ternavo/resource.h"
#include "ternavo/rules/switches.h"
#include "ternavo/window/start_run.h"
#include "ternavo/window/run_state.h"
#include "ternavo/window/settings.h"
#include "ternavo/window/settings_dialog.h"

namespace {

constexpr UINT_PTR kStatusResetTimer = 1;  // status line back to idle after a result
constexpr UINT_PTR kResumeTimer = 2;       // resumes a press of Start after the settings dialog
constexpr UINT kPressStart = WM_APP + 1;   // "-start": Start is pressed once the window is shown
constexpr UINT kFindFolder = WM_APP + 2;   // the ICQ 7 folder is looked up once the window is shown

// The generation boxes from top to bottom.
constexpr const char* kGenerationBoxes[] = {"ICQProBox", "ICQLiteBox", "ICQ6Box", "ICQ7Box"};

struct MainWindowState {
    HWND hwnd = nullptr;
    Layout layout{kMainWindowControls, kMainWindowCount, kMainWindowKeys, std::size(kMainWindowKeys)};
    FormIcon icon;
    win::Bitmap success;  // SuccessMark's picture
    win::Bitmap failure;  // FailureMark's picture
    HWND lastFocus = nullptr;
    bool busy = false;  // the worker runs: Start stays disabled
    std::wstring savedFolder;  // the saved ICQ 7 folder, until it is looked up
};
MainWindowState window;

HWND Ctl(const char* name) { return window.layout.Get(name); }
bool Checked(const char* name) { return SendMessageW(Ctl(name), BM_GETCHECK, 0, 0) == BST_CHECKED; }
const wchar_t* Pick(const StatusTexts& t) { return g_run.UseEnglish ? t.en : t.de; }

void SetStatusText(const wchar_t* text) {
    SetWindowTextW(Ctl("StatusLine"), text);
    SizeToText(window.layout, "StatusLine");
}

// The result marks have a magenta background; it takes the colour of the
// window so that the marks stand on it without a box.
HBITMAP LoadResultImage(int id, const char* control) {
    const ControlDef& d = window.layout.Def(control);
    auto bmp = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                               window.layout.Px(d.width), window.layout.Px(d.height),
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
    window.layout.Place(control, d.left, d.top, d.width, d.height);
    return bmp;
}

// The marks' pictures are made when a result is first shown; once made, they
// are made again for a new DPI or new system colours.
void LoadResultImages() {
    window.success.reset(LoadResultImage(IDB_SUCCESS, "SuccessMark"));
    window.failure.reset(LoadResultImage(IDB_FAILURE, "FailureMark"));
}

void RefreshResultImages() {
    if (window.success || window.failure) LoadResultImages();
}

void FillInstancesList(const wchar_t* const items[2]) {
    HWND combo = Ctl("InstancesList");
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < 2; ++i) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

// The pictures and the texts that take their own size, at the layout's DPI.
void FitMainWindow() {
    RefreshResultImages();
    SizeToText(window.layout, "StatusLine");
    SizeToText(window.layout, "Headline");
    SizeToText(window.layout, "SettingsLink");
}

void LayOutMainWindow(int dpi) {
    window.layout.Rescale(dpi);
    FitMainWindow();
    window.icon.Dpi(dpi);
}

bool AnyGenerationTicked() {
    for (const char* box : kGenerationBoxes)
        if (Checked(box)) return true;
    return false;
}

// The shield tells, as on the system's own buttons, that Start asks for administrator rights.
void UpdateShield() { Button_SetElevationRequiredState(Ctl("StartButton"), StartAsksForRights(CurrentChoices())); }

void UpdateStartButton() {
    EnableWindow(Ctl("StartButton"), !window.busy && AnyGenerationTicked());
    UpdateShield();
    ShowStatus(StatusLine::Idle);
}

// The saved choices on the windows; the ICQ 7 folder follows once the window is shown.
void ShowSavedChoices(const apply::Choices& saved) {
    window.savedFolder = saved.icq7Folder;
    PostMessageW(window.hwnd, kFindFolder, 0, 0);
    const bool on[] = {saved.pro, saved.lite, saved.icq6, saved.icq7};  // in the order of kGenerationBoxes
    bool any = false;
    for (size_t i = 0; i < std::size(kGenerationBoxes); ++i) {
        if (!on[i]) continue;
        SendMessageW(Ctl(kGenerationBoxes[i]), BM_SETCHECK, BST_CHECKED, 0);
        any = true;
    }
    if (saved.instances == apply::Instances::OnlyOne) {
        SendMessageW(Ctl("InstancesList"), CB_SETCURSEL, 1, 0);
        any = true;
    }
    if (any) UpdateStartButton();
    // A shortcut the user turned off is not made again by the next run.
    if (!saved.shortcut) SetSettingsDialogShortcut(false);
}

// The command line's choices replace the saved ones for this run.
void ApplySwitches(const startup::Switches& s) {
    if (s.generationsGiven) {
        const bool on[] = {s.choices.pro, s.choices.lite, s.choices.icq6, s.choices.icq7};  // kGenerationBoxes' order
        for (size_t i = 0; i < std::size(kGenerationBoxes); ++i)
            SendMessageW(Ctl(kGenerationBoxes[i]), BM_SETCHECK, on[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (s.instancesGiven)
        SendMessageW(Ctl("InstancesList"), CB_SETCURSEL, static_cast<WPARAM>(s.choices.instances), 0);
    if (s.generationsGiven || s.instancesGiven) UpdateStartButton();
    if (s.start) PostMessageW(window.hwnd, kPressStart, 0, 0);
}

void HideResultMarks() {
    ShowWindow(Ctl("SuccessMark"), SW_HIDE);
    ShowWindow(Ctl("FailureMark"), SW_HIDE);
}

// The mark stands a little to the right of the status text, at its own height.
void ShowResultMark(const char* image) {
    if (!window.success && !window.failure) LoadResultImages();
    const ControlDef& label = window.layout.Def("StatusLine");
    const ControlDef& d = window.layout.Def(image);
    window.layout.Place(image, label.left + label.width + kResultMarkGap, d.top, d.width, d.height);
    ShowWindow(Ctl(image), SW_SHOW);
}

bool IsGenerationBox(int id) {
    for (const char* box : kGenerationBoxes)
        if (id == window.layout.Id(box)) return true;
    return false;
}

void CloseProgram() {
    CloseAboutBox();
    DestroyWindow(window.hwnd);
}

// How a press ended, on the window: the status line and its mark, and the box
// that says what failed. A press that needs a confirmed ICQ 7 folder first
// opens the settings dialog, whose OK resumes it once the dialog is gone.
void ShowPressEnd(const PressResult& result, const apply::Choices& choices) {
    switch (result.end) {
    case PressResult::End::AskFolder:
        ShowStatus(StatusLine::Idle);
        if (ShowSettingsDialog()) SetTimer(window.hwnd, kResumeTimer, 1, nullptr);
        return;
    case PressResult::End::Declined:
        ShowStatus(StatusLine::Idle);
        return;
    case PressResult::End::Done:
        ShowResult(result.outcome, choices);
        for (const std::wstring& box : result.boxes)
            if (window.hwnd) MessageBoxW(window.hwnd, box.c_str(), L"Ternavo", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
}

PressWindow ForThePress() { return {window.hwnd, SetStartBusy}; }

void OnStart() {
    ShowStatus(StatusLine::Busy);
    UpdateWindow(Ctl("StatusLine"));
    apply::Choices choices = CurrentChoices();
    ShowPressEnd(PressStart(choices, ForThePress()), choices);
}

void OnSettingsLink(HWND label) {
    LinkClicked(label);
    ShowSettingsDialog();
    UpdateShield();  // another folder may need other rights
}

void OnTimer(UINT_PTR id) {
    if (id == kStatusResetTimer) {
        KillTimer(window.hwnd, kStatusResetTimer);
        HideResultMarks();
        ShowStatus(StatusLine::IdleAfterResult);
    } else if (id == kResumeTimer) {
        KillTimer(window.hwnd, kResumeTimer);
        ShowStatus(StatusLine::Busy);
        apply::Choices choices = CurrentChoices();
        ShowPressEnd(ResumeStartAfterDialog(choices, ForThePress()), choices);
    }
}

void OnCommand(HWND hwnd, int id, int code, HWND control) {
    if (id == IDOK) { PressFocusedButton(hwnd); return; }
    const Layout& l = window.layout;
    if (id == l.Id("InstancesList")) {
        if (code == CBN_SELCHANGE) UpdateStartButton();
    } else if (id == l.Id("SettingsLink")) {
        if (code == STN_CLICKED) OnSettingsLink(control);
    } else if (code != BN_CLICKED) {
        return;
    } else if (IsGenerationBox(id)) {
        UpdateStartButton();
    } else if (id == l.Id("StartButton")) {
        OnStart();
    } else if (id == l.Id("InfoButton")) {
        ShowAboutBox();
    } else if (id == l.Id("ExitButton")) {
        CloseProgram();
    }
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        window.hwnd = hwnd;
        window.layout.Create(hwnd, g_run.UseEnglish);
        FitMainWindow();
        FillInstancesList(g_run.UseEnglish ? kInstancesEntriesEn : kInstancesEntriesDe);
        return 0;
    }
    case WM_DPICHANGED:
        FollowDpiChange(hwnd, wp, lp, LayOutMainWindow);
        return 0;
    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case kFindFolder:
        // The window is shown first; the search then runs on this thread and
        // pumps no messages, so whatever the user or a "-start" asks meanwhile
        // waits in the queue behind it. A saved folder that still holds ICQ
        // stays; otherwise the search's answer takes its place.
        SetSettingsDialogFolder(IsICQDirectory(win::WithBackslash(window.savedFolder))
                                    ? window.savedFolder
                                    : FindICQ7Directory(g_run.ProgramDir));
        UpdateShield();
        return 0;
    case kPressStart:
        // As a person could: only while Start is enabled.
        if (IsWindowEnabled(Ctl("StartButton"))) OnStart();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(window.layout.CtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_ACTIVATE:
        RememberFocus(hwnd, wp, window.lastFocus);
        return 0;
    case WM_NEXTDLGCTL:
        MoveDialogFocus(hwnd, wp, lp);
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // The marks stand on the face colour, which may have changed with high contrast.
        RefreshResultImages();
        RedrawWithSystemColors(hwnd);
        break;
    case WM_DESTROY:
        KillTimer(hwnd, kStatusResetTimer);
        KillTimer(hwnd, kResumeTimer);
        window.icon.Form(nullptr);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        window.hwnd = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

HWND MainWindow() { return window.hwnd; }

apply::Choices CurrentChoices() {
    apply::Choices c;
    c.lite = Checked("ICQLiteBox");
    c.pro = Checked("ICQProBox");
    c.icq6 = Checked("ICQ6Box");
    c.icq7 = Checked("ICQ7Box");
    c.instances = static_cast<apply::Instances>(SendMessageW(Ctl("InstancesList"), CB_GETCURSEL, 0, 0));
    c.icq7Folder = SettingsDialogFolder();
    c.shortcut = SettingsDialogShortcut();
    return c;
}

void ShowStatus(StatusLine which) {
    switch (which) {
    case StatusLine::Idle: SetStatusText(Pick(kStatusIdle)); break;
    case StatusLine::IdleAfterResult: SetStatusText(Pick(kStatusIdleAfterResult)); break;
    case StatusLine::Busy: SetStatusText(Pick(kStatusBusy)); break;
    }
}

void ShowResult(apply::Outcome outcome, const apply::Choices& choices) {
    SaveChoices(g_run.SettingsPath, choices);
    if (!window.hwnd) return;  // closed while the worker ran: the choices are saved all the same
    HideResultMarks();
    if (outcome != apply::Outcome::Succeeded) {
        SetStatusText(Pick(kStatusFailure));
        ShowResultMark("FailureMark");
    } else {
        SetStatusText(Pick(kStatusSuccess));
        ShowResultMark("SuccessMark");
    }
    SetTimer(window.hwnd, kStatusResetTimer, kStatusResetMs, nullptr);
    SetFocus(Ctl("StartButton"));
}

void SetStartBusy(bool busy) {
    window.busy = busy;
    if (!window.hwnd) return;
    if (busy) {
        KillTimer(window.hwnd, kStatusResetTimer);
        HideResultMarks();
    }
    EnableWindow(Ctl("StartButton"), !busy && AnyGenerationTicked());
}

HWND CreateMainWindow() {
    g_run.CommandLine = ArgumentText(GetCommandLineW());
    g_run.ProgramDir = win::ModuleDir();
    g_run.SettingsPath = g_run.ProgramDir + L"ternavo.ini";
    const IniSection stored(g_run.SettingsPath, L"Ternavo");  // read once, for the language and the choices
    // The windows are made in their language: no text is put on them twice.
    g_run.UseEnglish =
        ChooseEnglish(ReadLocaleInfo(LOCALE_SNATIVELANGNAME), g_run.CommandLine, stored.Value(L"Language"));

    RegisterWindowClass(kMainWindowClass, MainWindowProc);
    HWND hwnd = CreateTopLevelWindow(kMainWindowClass, kMainWindowCaption, kMainWindowWidth, kMainWindowHeight,
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, nullptr, nullptr);
    if (!hwnd) return nullptr;
    window.icon.Form(hwnd);
    window.icon.ResIcon(1);
    HandCursor = LoadCursorW(nullptr, IDC_HAND);
    ShowSavedChoices(LoadChoices(stored));
    ApplySwitches(startup::ReadSwitches(g_run.CommandLine));
    return hwnd;
}

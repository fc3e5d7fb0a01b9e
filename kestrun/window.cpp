// Kestrun's window: four tab pages of settings and help, the status list with
// its pictures, Save and "Start ICQ", and the links to our web site.
#include "kestrun/window.h"
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include "common/dll_search.h"
#include "common/formicon.h"
#include "common/ini_file.h"
#include "common/linkhover.h"
#include "common/rules/digits.h"
#include "common/text_fit.h"
#include "common/winutil.h"
#include "kestrun/launcher.h"
#include "kestrun/program.h"
#include "kestrun/resource.h"
#include "kestrun/rules/failuretexts.h"
#include "kestrun/rules/launchrules.h"
#include "kestrun/run_state.h"
#include "kestrun/settings.h"
#include "kestrun/tab_pages.h"
#include "kestrun/window_table.h"

namespace {

constexpr wchar_t kClassName[] = L"KestrunWindow";
constexpr wchar_t kCaption[] = KESTRUN_CAPTION;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HWND window = nullptr;
std::unique_ptr<FormIcon> windowIcon;  // the window's icons, released with the window
HIMAGELIST statusImages = nullptr;     // the seven pictures of the status list
bool startPressed = false;             // "Start ICQ" runs once: the window is gone afterwards
bool controlsBuilt = false;            // built when the window is first shown

Layout& Ui() {
    static Layout layout(kWindowControls, kWindowControlCount, kWindowKeys, std::size(kWindowKeys));
    return layout;
}

HWND Control(const char* name) { return Ui().Get(name); }
bool Is(HWND control, const char* name) { return control && control == Ui().Get(name); }
bool Checked(const char* name) { return SendMessageW(Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(const char* name, bool on) {
    SendMessageW(Control(name), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The login options in their order: option i is the settings' LoginOption i.
constexpr const char* kLoginOptions[] = {"LoginOption(0)", "LoginOption(1)", "LoginOption(2)", "LoginOption(3)"};

// The check boxes and option buttons that hold settings; a click on one is a change.
constexpr const char* kSettingSwitches[] = {"DontShowAgain",  "StartMinimized", "NoTaskbarButton", "OnlyWithSetModes",
                                            "LoginOption(0)", "LoginOption(1)", "LoginOption(2)",  "LoginOption(3)"};

bool IsSettingSwitch(const char* name) {
    for (const char* s : kSettingSwitches)
        if (std::strcmp(s, name) == 0) return true;
    return false;
}

// Every text fits its font; the links stand beside their texts.
void FitTexts() {
    FitToFonts(Ui());
    for (const LinkSentence& s : kWindowSentences) LayOutLinkSentence(Ui(), s);
}

// Tab goes into the login options once, to the selected one; the arrow keys
// move within them.
void UpdateOptionTabStops() {
    HWND first = nullptr, selected = nullptr;
    for (const char* name : kLoginOptions) {
        HWND h = Control(name);
        if (!first) first = h;
        if (!selected && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED) selected = h;
    }
    HWND stop = selected ? selected : first;  // with none selected, the first one
    for (const char* name : kLoginOptions) {
        HWND h = Control(name);
        LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
        SetWindowLongPtrW(h, GWL_STYLE, h == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

// The first change after a load or a save makes Save pressable.
void MarkChanged() {
    HWND save = Control("SaveButton");
    if (save && !IsWindowEnabled(save)) EnableWindow(save, TRUE);
}

void DisableSave() {
    HWND save = Control("SaveButton");
    if (!save) return;
    // Save pressed from the keyboard: the focus goes on to "Start ICQ" rather than into a dead button.
    if (GetFocus() == save)
        SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control("StartButton")), TRUE);
    EnableWindow(save, FALSE);
}

// --- The status list ---

std::wstring StatusText(int item) {
    if (item < 1 || item > 7) return {};
    const StatusDef& s = kStatusTexts[item - 1];
    return g_run.UseEnglish ? s.en : s.de;
}

// The seven pictures at the small icon size for the window's DPI; the list
// takes them, and the pictures it had before are freed.
void LoadStatusImages() {
    int cx = SystemMetricForDpi(SM_CXSMICON, Ui().Dpi()), cy = SystemMetricForDpi(SM_CYSMICON, Ui().Dpi());
    HIMAGELIST images = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 7, 0);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int i = 0; i < 7; ++i) {
        HICON icon = LoadIconOfSize(instance, MAKEINTRESOURCEW(IDI_STATUS1 + i), cx, cy);
        ImageList_AddIcon(images, icon);  // a missing picture adds nothing; the entry stays
        if (icon) DestroyIcon(icon);
    }
    SendMessageW(Control("StatusList"), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    if (statusImages) ImageList_Destroy(statusImages);
    statusImages = images;
}

// Its seven entries with their pictures, in the window's language.
void FillStatusList() {
    HWND combo = Control("StatusList");
    if (!combo) return;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    if (!statusImages) LoadStatusImages();
    for (int i = 1; i <= 7; ++i) {
        std::wstring text = StatusText(i);
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
        item.iItem = i - 1;
        item.pszText = text.data();
        item.iImage = i - 1;
        item.iSelectedImage = i - 1;
        item.lParam = i;
        SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

int SelectedStatusItem() {
    LRESULT sel = SendMessageW(Control("StatusList"), CB_GETCURSEL, 0, 0);
    return (sel >= 0 && sel < 7) ? static_cast<int>(sel) + 1 : 1;
}

void SelectStatusItem(int item) {
    if (item < 1 || item > 7) item = 1;
    HWND combo = Control("StatusList");
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item - 1), 0);
    InvalidateRect(combo, nullptr, TRUE);
}

// --- The settings record on the controls and back ---

// Puts the record on the controls; Save starts disabled.
void ShowSettings(const KestrunSettings& s) {
    // Setting the maximum counts as a change; Save is disabled after it.
    SetWindowTextW(Control("MaxInstances"), s.MaxInstances.c_str());
    SetChecked("DontShowAgain", !s.ShowWindow);
    SetChecked("StartMinimized", s.Minimized);
    SetChecked("NoTaskbarButton", s.NoTaskbar);
    SetChecked("OnlyWithSetModes", s.OnlyOnSetModes);
    for (int i = 0; i < 4; ++i) SetChecked(kLoginOptions[i], i == s.LoginOption);
    UpdateOptionTabStops();
    FillStatusList();
    SelectStatusItem(s.StatusItem);
    DisableSave();
}

// The record as the controls show it now.
KestrunSettings ShownSettings() {
    KestrunSettings s = g_run.Settings;
    s.MaxInstances = win::WindowText(Control("MaxInstances"));
    s.ShowWindow = !Checked("DontShowAgain");
    s.Minimized = Checked("StartMinimized");
    s.NoTaskbar = Checked("NoTaskbarButton");
    s.OnlyOnSetModes = Checked("OnlyWithSetModes");
    s.LoginOption = -1;
    for (int i = 0; i < 4 && s.LoginOption < 0; ++i)
        if (Checked(kLoginOptions[i])) s.LoginOption = i;
    s.StatusItem = SelectedStatusItem();
    return s;
}

// Save: what the window shows becomes the settings, in the record and in the file.
void SaveShownSettings() {
    g_run.Settings = ShownSettings();
    unsigned long error = 0;
    if (SaveSettings(g_run.SettingsPath, g_run.Settings, &error)) {
        // A maximum out of range is saved corrected: the box then shows what the file holds.
        g_run.Settings.MaxInstances = SavedMaxNr(g_run.Settings.MaxInstances);
        HWND maxInstances = Control("MaxInstances");
        if (win::WindowText(maxInstances) != g_run.Settings.MaxInstances)
            SetWindowTextW(maxInstances, g_run.Settings.MaxInstances.c_str());
        DisableSave();
        return;
    }
    // Save stays pressable: what the window shows is not what the file holds.
    std::wstring reason = error ? win::SystemErrorText(error, g_run.UseEnglish) : std::wstring();
    ShowWarning(SaveFailedText(true, reason, g_run.SettingsPath).c_str(),
                SaveFailedText(false, reason, g_run.SettingsPath).c_str(), window);
}

// The maximum of instances takes digits and backspace as typed; Ctrl+V passes so that pasting works.
LRESULT CALLBACK DigitsOnlyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_CHAR && wp != 22 && FilterDigitKey(static_cast<int>(wp)) == 0) return 0;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, DigitsOnlyProc, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void CenterOnPointerMonitor(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    POINT pt{};
    GetCursorPos(&pt);
    MONITORINFO mi{sizeof(mi)};
    if (!GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTOPRIMARY), &mi)) return;
    const RECT& wa = mi.rcWork;
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = wa.left + ((wa.right - wa.left) - w) / 2;
    int y = wa.top + ((wa.bottom - wa.top) - h) / 2;
    // A window larger than the screen keeps its title bar reachable.
    if (x < wa.left) x = wa.left;
    if (y < wa.top) y = wa.top;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// shell32 is bound at the first click on a link rather than imported: loading
// it costs every start, and a silent run never opens a page.
using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
ShellExecuteFn ShellExecuteBound() {
    static const auto bound = [] {
        HMODULE shell32 = LoadSystemLibrary(L"shell32.dll");
        return shell32 ? reinterpret_cast<ShellExecuteFn>(GetProcAddress(shell32, "ShellExecuteW")) : nullptr;
    }();
    return bound;
}

void OpenPage(const wchar_t* address, HWND label) {
    if (ShellExecuteFn shellExecute = ShellExecuteBound())
        shellExecute(window, L"open", address, nullptr, g_run.ProgramDir.empty() ? nullptr : g_run.ProgramDir.c_str(),
                     SW_SHOWNORMAL);
    // The pointer turns back into the arrow until it leaves the label.
    LinkClicked(label);
}

// "Start ICQ": save, get out of the way, give the one-time hint, launch.
void StartIcq() {
    if (startPressed) return;
    startPressed = true;
    SaveShownSettings();
    ShowWindow(window, SW_HIDE);
    if (!g_run.Settings.ShowWindow && ReadIniValue(g_run.SettingsPath, L"Kestrun", L"NoInfo") != L"2") {
        MessageBoxW(window, g_run.UseEnglish ? kHintEn : kHintDe, kHintTitle,
                    MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
        WriteIniValue(g_run.SettingsPath, L"Kestrun", L"NoInfo", L"2");
    }
    LaunchInstance();
}

void OnCommand(HWND hwnd, int id, int code, HWND control) {
    if (id == IDCANCEL) {  // Esc
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return;
    }
    if (id == IDOK) {  // Enter where no button is the default
        StartIcq();
        return;
    }
    const char* name = Ui().NameOf(id);
    if (!name) return;
    if (std::strcmp(name, "StartButton") == 0 && code == BN_CLICKED) StartIcq();
    else if (std::strcmp(name, "SaveButton") == 0 && code == BN_CLICKED) SaveShownSettings();
    else if (IsSettingSwitch(name) && code == BN_CLICKED) {
        MarkChanged();
        UpdateOptionTabStops();
    }
    else if (std::strcmp(name, "MaxInstances") == 0 && code == EN_CHANGE) MarkChanged();
    // Only opening the list counts: a status picked with the arrow keys alone does not.
    else if (std::strcmp(name, "StatusList") == 0 && code == CBN_DROPDOWN) MarkChanged();
    else if (std::strcmp(name, "HomepageLink") == 0 && code == STN_CLICKED) OpenPage(kHomePage, control);
    else if (std::strcmp(name, "HelpLink") == 0 && code == STN_CLICKED) OpenPage(kHelpPage, control);
    else if (std::strcmp(name, "ForumLink") == 0 && code == STN_CLICKED) OpenPage(kForumPage, control);
}

// The window's size from the table at `dpi`: the client area's height, and the fixed outer width.
void SizeWindow(int dpi) {
    SIZE outer = WindowSizeForClient({TwipsToPixels(kWindowClientWidth, dpi), TwipsToPixels(kWindowClientHeight, dpi)},
                                     kStyle, WS_EX_CONTROLPARENT, dpi);
    SetWindowPos(window, nullptr, 0, 0, TwipsToPixels(kWindowOuterWidth, dpi), outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Every control, picture and icon laid out again for a screen of `dpi`, from the table as at the start.
void LayOutAt(int dpi) {
    Ui().Rescale(dpi);
    FitTexts();
    PlaceTabPages(Ui());
    LoadStatusImages();
    if (windowIcon) windowIcon->Dpi(dpi);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (nm->hwndFrom == Control("TabStrip") && nm->code == TCN_SELCHANGE) OnTabSelected(Ui());
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(Ui().CtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        RedrawWithSystemColors(hwnd);
        break;
    case WM_DPICHANGED:
        if (controlsBuilt) FollowDpiChange(hwnd, wp, lp, LayOutAt);
        return 0;
    case WM_ENDSESSION:
        // The session ends, and the system ends Kestrun as soon as this
        // message returns: a launch still under way is recorded and tidied
        // up now, as a close request would have it.
        if (wp) FinishLaunch();
        return 0;
    case WM_NEXTDLGCTL:
        MoveDialogFocus(hwnd, wp, lp);
        return 0;
    case DM_GETDEFID: {
        // Enter starts ICQ, unless the keyboard is on Save, which then is pressed.
        HWND focus = GetFocus();
        const char* def = Is(focus, "SaveButton") ? "SaveButton" : "StartButton";
        return MAKELRESULT(Ui().Id(def), DC_HASDEFID);
    }
    case WM_DESTROY:
        // Our link labels change only our own pointer, so no system cursor needs restoring.
        CursorReplaced = false;
        windowIcon.reset();
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        UnhookTabKeys();
        if (statusImages) ImageList_Destroy(statusImages);
        statusImages = nullptr;
        window = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Builds every control of the table (in its language, fitted to the fonts) and
// puts the settings record on them; from then on the controls hold the settings
// until they are saved.
void BuildControls() {
    if (controlsBuilt) return;
    // The window uses a tab strip, an image list and an image combo box.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    // The window is made in its language: in English the controls that follow
    // shorter sentences stand further left from the start.
    if (g_run.UseEnglish)
        for (const EnglishMove& m : kEnglishMoves) Ui().MoveBy(m.name, m.dx);
    Ui().Create(window, g_run.UseEnglish);
    CreateTabs(Ui(), g_run.UseEnglish);

    HWND maxInstances = Control("MaxInstances");
    SendMessageW(maxInstances, EM_LIMITTEXT, 2, 0);
    SetWindowSubclass(maxInstances, DigitsOnlyProc, 0, 0);
    SendMessageW(Control("StartButton"), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    FitTexts();
    HookTabKeys(window, Ui());
    controlsBuilt = true;
    ShowSettings(g_run.Settings);
}

}  // namespace

bool CreateMainWindow() {
    if (window) return true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    // Hidden and without size: a silent run never shows it, and the screen's
    // measures are taken only when it is shown.
    window = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, kCaption, kStyle, 0, 0, 0, 0, nullptr, nullptr,
                             instance, nullptr);
    return window != nullptr;
}

bool ShowMainWindow() {
    if (!CreateMainWindow()) return false;
    BuildControls();
    SizeWindow(Ui().Dpi());
    windowIcon = std::make_unique<FormIcon>();
    windowIcon->Form(window);
    windowIcon->ResIcon(1);
    HandCursor = LoadCursorW(nullptr, IDC_HAND);
    PlaceTabPages(Ui());
    CenterOnPointerMonitor(window);
    // On a monitor of another DPI than the one it was made on, it is laid out for that monitor before it shows.
    int dpi = WindowDpi(window);
    if (dpi != Ui().Dpi()) {
        LayOutAt(dpi);
        SizeWindow(dpi);
        CenterOnPointerMonitor(window);
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control("StartButton")), TRUE);
    return true;
}

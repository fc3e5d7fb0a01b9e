// Kestrun's window: four tab pages of settings and help, the status list with
// its pictures, Save and "Start ICQ", and the links to our web site.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include "common/formicon.h"
#include "common/linkhover.h"
#include "common/module1.h"
#include "kestrun/app.h"
#include "kestrun/form1.h"
#include "kestrun/form1_table.h"
#include "kestrun/resource.h"

namespace {

constexpr wchar_t kClassName[] = L"KestrunForm1";
constexpr wchar_t kCaption[] = L"Kestrun v.1.3";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HWND form1 = nullptr;
std::unique_ptr<FormIcon> formIcon;  // the window's icons, released with the window
HIMAGELIST imageList1 = nullptr;     // the seven status pictures of ImageCombo1
HHOOK tabKeysHook = nullptr;         // Ctrl+Tab and Ctrl+PageUp/PageDown switch the tabs
bool startPressed = false;           // "Start ICQ" runs once: the window is gone afterwards

// The switches that hold settings, in the order of `Held::on`.
constexpr const char* kSettingSwitches[] = {"Check1",      "Check2",      "Check3",      "Check4",
                                            "LoginOpt(0)", "LoginOpt(1)", "LoginOpt(2)", "LoginOpt(3)"};
constexpr size_t kSwitchCount = std::size(kSettingSwitches);

int SwitchIndex(const char* name) {
    for (size_t i = 0; i < kSwitchCount; ++i)
        if (std::strcmp(kSettingSwitches[i], name) == 0) return static_cast<int>(i);
    return -1;
}

// A silent run never shows the window, so its controls (and the common controls
// library, the fonts, the pictures and the fitting of the texts) are built only
// when it is shown. Until then the settings live here, read and changed through
// the same calls as the controls; building the controls puts them on.
bool controlsBuilt = false;
struct Held {
    std::wstring text1;      // Text1, the number of instances as shown
    bool on[kSwitchCount];   // kSettingSwitches
    int statusItem = 0;      // 1..7; 0 while the status list has no selection
    bool saveEnabled = true; // Command2
};
Held held = [] {
    Held h{};
    h.text1 = kForm1[ControlIndex(kForm1, kForm1Count, "Text1")].de;
    for (size_t i = 0; i < kSwitchCount; ++i)
        h.on[i] = (kForm1[ControlIndex(kForm1, kForm1Count, kSettingSwitches[i])].flags & CF_Checked) != 0;
    h.saveEnabled = !(kForm1[ControlIndex(kForm1, kForm1Count, "Command2")].flags & CF_Disabled);
    return h;
}();

Layout& Ui() {
    static Layout layout(kForm1, kForm1Count);
    return layout;
}

// Access keys: the letter of each caption that gets the underline. The texts
// themselves stay as they are; the "&" is put in only on the window.
struct AccessKey {
    const char* name;
    wchar_t de;
    wchar_t en;
};
constexpr AccessKey kAccessKeys[] = {
    {"Check1", L'D', L'D'},      {"Check2", L'm', L'm'},      {"Check3", L'T', L'k'},
    {"Check4", L'E', L'A'},      {"LoginOpt(0)", L'K', L'n'}, {"LoginOpt(1)", L'l', L'g'},
    {"LoginOpt(2)", L'a', L'l'}, {"LoginOpt(3)", L'V', L'f'}, {"Command1", L's', L'I'},
    {"Command2", L'p', L'S'},
};

void ApplyAccessKeys(bool english) {
    for (const AccessKey& k : kAccessKeys) {
        HWND h = Ui().Get(k.name);
        if (!h) continue;
        std::wstring text = win::WindowText(h);
        if (text.find(L'&') != std::wstring::npos) continue;
        size_t at = text.find(english ? k.en : k.de);
        if (at == std::wstring::npos) continue;
        text.insert(at, 1, L'&');
        SetWindowTextW(h, text.c_str());
    }
}

// --- Fitting the texts to the fonts this system really has ---
// The positions are made for "MS Sans Serif"; where a system draws the same
// text wider (another font stands in for it), a text must not be cut off: a
// one-line text grows to the right and pushes what follows on its row, a
// wrapping text takes the free width of its frame, and a link label moves into
// the blank run of its sentence. Texts are measured in the control's own device
// context, where they measure exactly as the control draws them.

RECT RectInParent(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void MoveTo(HWND h, const RECT& r) {
    SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Width of `text` in the control's own font, blanks at its end included; with
// `prefix`, an "&" marks an access key and takes no room.
int TextWidth(HWND h, std::wstring text, bool prefix) {
    if (prefix) {
        size_t amp = text.find(L'&');
        if (amp != std::wstring::npos) text.erase(amp, 1);
    }
    win::WindowDC dc(h);
    HGDIOBJ old = SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc.get(), old);
    return size.cx;
}

// Drawn text can reach a little beyond its measured width (hinting of a
// stand-in font); this much room is kept free beside every measured text.
int Slack(int width) { return width / 64 + 1; }

// Size of `text` wrapped at `width` as a label draws it: its height and its widest line.
SIZE WrappedSize(HWND h, const std::wstring& text, int width) {
    win::WindowDC dc(h);
    HGDIOBJ old = SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc.get(), old);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int LineHeight(HWND h) {
    win::WindowDC dc(h);
    HGDIOBJ old = SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    SelectObject(dc.get(), old);
    return tm.tmHeight;
}

// Right edge (in the host window) that a control of the table may reach: inside its frame or panel.
int RightLimit(const ControlDef& d, HWND h) {
    HWND parent = GetParent(h);
    RECT client;
    GetClientRect(parent, &client);
    int limit = client.right - Ui().Px(60);
    if (d.container) {
        const ControlDef& c = Ui().Def(d.container);
        if (c.kind == Kind::Frame) limit = RectInParent(Control(d.container)).right - Ui().Px(120);
    }
    return limit;
}

// The columns that `text` really colours when drawn in the control's font,
// from its left edge; last < first when it colours none. Measured widths and
// drawn glyphs part by a few percent with some fonts, so the gaps of the
// sentences are found by drawing them.
struct Ink {
    int first = 0, last = -1;
};
Ink InkOf(HWND h, const std::wstring& text, bool lettersOnly = false) {
    Ink ink;
    win::WindowDC dc(h);
    auto font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    win::Font plain;  // the same font without its underline: only the letters count
    LOGFONTW lf{};
    if (lettersOnly && GetObjectW(font, sizeof lf, &lf) && lf.lfUnderline) {
        lf.lfUnderline = FALSE;
        plain.reset(CreateFontIndirectW(&lf));
        if (plain) font = plain.get();
    }
    HGDIOBJ oldFont = SelectObject(dc.get(), font);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc.get(), oldFont);
    int width = size.cx + size.cx / 8 + 16, height = size.cy + 4;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    win::Bitmap bitmap(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC mem = CreateCompatibleDC(dc.get());
    if (!bitmap || !mem || !bits) {
        if (mem) DeleteDC(mem);
        return ink;
    }
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap.get());
    oldFont = SelectObject(mem, font);
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) px[i] = 0xFFFFFF;
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, RGB(0, 0, 0));
    TextOutW(mem, 0, 0, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    ink.first = width;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if ((px[y * width + x] & 0xFFFFFF) != 0xFFFFFF) {
                ink.first = std::min(ink.first, x);
                ink.last = x;
                break;
            }
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBitmap);
    DeleteDC(mem);
    return ink;
}

void FitControl(const ControlDef& d) {
    HWND h = Control(d.name);
    if (!h) return;
    std::wstring text = win::WindowText(h);
    if (text.empty()) return;
    bool box = d.kind == Kind::Check || d.kind == Kind::Option;
    RECT r = RectInParent(h);
    int line = LineHeight(h);
    int limit = RightLimit(d, h);
    if (r.bottom - r.top >= 2 * line && !box) {
        // A wrapping text: its lines must fit its height and keep clear of its
        // right edge. Where they do not, it takes the narrowest width up to the
        // free width of its frame at which they do.
        auto fits = [&](int width) {
            SIZE used = WrappedSize(h, text, width);
            return used.cy <= r.bottom - r.top && used.cx + Slack(used.cx) <= width;
        };
        int width = r.right - r.left;
        if (fits(width)) return;
        for (int w = width + 1; w <= limit - r.left; ++w) {
            if (fits(w)) {
                r.right = r.left + w;
                MoveTo(h, r);
                return;
            }
        }
        if (limit > r.right) {
            r.right = limit;
            MoveTo(h, r);
        }
        return;
    }
    // The wider of what the font's measures say and what its drawing covers.
    std::wstring shown = text;
    if (box && shown.find(L'&') != std::wstring::npos) shown.erase(shown.find(L'&'), 1);
    int textWidth = std::max(TextWidth(h, shown, false), InkOf(h, shown).last + 1);
    int need = textWidth + Slack(textWidth) + (box ? GetSystemMetrics(SM_CXMENUCHECK) + Ui().Px(120) : Ui().Px(15));
    int textRight = r.left + need;
    int gap = Ui().Px(60);
    // What follows on the same row moves right as far as this text needs, within its frame.
    HWND parent = GetParent(h);
    auto following = [&](const ControlDef& o, HWND oh, RECT& orc) {
        if (!oh || oh == h || GetParent(oh) != parent || o.kind == Kind::Frame || o.kind == Kind::Link ||
            o.kind == Kind::Panel)
            return false;
        orc = RectInParent(oh);
        // On the same row: its middle lies within this control's height.
        int middle = (orc.top + orc.bottom) / 2;
        return middle >= r.top && middle <= r.bottom && orc.left > r.left;
    };
    // Left edge of the first control that follows on the row, or -1 when none does.
    auto firstFollowing = [&] {
        int first = -1;
        for (size_t i = 0; i < kForm1Count; ++i) {
            RECT orc;
            if (following(kForm1[i], Control(kForm1[i].name), orc) && (first < 0 || orc.left < first))
                first = static_cast<int>(orc.left);
        }
        return first;
    };
    int firstLeft = firstFollowing();
    bool any = firstLeft >= 0;
    if (any && textRight + gap > firstLeft) {
        int push = textRight + gap - firstLeft;
        for (size_t i = 0; i < kForm1Count; ++i) {
            RECT orc;
            HWND oh = Control(kForm1[i].name);
            if (!following(kForm1[i], oh, orc)) continue;
            int shift = std::min(push, std::max(0, RightLimit(kForm1[i], oh) - static_cast<int>(orc.right)));
            OffsetRect(&orc, shift, 0);
            MoveTo(oh, orc);
        }
        firstLeft = firstFollowing();
    }
    if (any) {
        // Ends before the next control, so that neither paints over the other.
        r.right = std::max(static_cast<int>(r.left) + 1, std::min(std::max(static_cast<int>(r.right), textRight), firstLeft - gap));
    } else if (textRight > r.right) {
        r.right = std::min(textRight, std::max(static_cast<int>(r.right), limit));
    }
    MoveTo(h, r);
}

// A link label sits in the run of blanks before the full stop of its sentence,
// clear of the word before it and of the full stop after it.
void FitLinkIntoGap(const char* sentenceName, const char* linkName) {
    HWND sentence = Control(sentenceName), link = Control(linkName);
    if (!sentence || !link) return;
    std::wstring text = win::WindowText(sentence);
    size_t run = text.find(L"  ");
    if (run == std::wstring::npos) return;
    size_t end = text.find_first_not_of(L' ', run);
    if (end == std::wstring::npos) return;
    Ink word = InkOf(sentence, text.substr(0, run));
    Ink upToStop = InkOf(sentence, text.substr(0, end + 1));
    Ink stop = InkOf(sentence, text.substr(end, 1));
    std::wstring caption = win::WindowText(link);
    Ink own = InkOf(link, caption, true);
    if (word.last < word.first || upToStop.last < upToStop.first || own.last < own.first) return;
    RECT s = RectInParent(sentence);
    int gapLeft = s.left + word.last + 2;  // one clear column after the word
    int gapRight = s.left + upToStop.last - std::max(0, stop.last - stop.first) - 2;
    RECT l = RectInParent(link);
    int inkWidth = own.last - own.first + 1;
    int room = gapRight - gapLeft + 1;
    // Where it is, its letters already lie in the gap with a little air on both sides: it stays.
    int air = std::max(0, std::min(Ui().Px(30), (room - inkWidth) / 2));
    if (l.left + own.first >= gapLeft + air && l.left + own.last <= gapRight - air) return;
    int left = gapLeft + std::max(0, (room - inkWidth) / 2) - own.first;
    // The box (and with it the underline) ends just after the letters.
    int width = own.last + 2;
    l.left = left;
    l.right = left + width;
    MoveTo(link, l);
}

void FitToFonts() {
    for (size_t i = 0; i < kForm1Count; ++i) {
        Kind k = kForm1[i].kind;
        if (k == Kind::Label || k == Kind::Link || k == Kind::Check || k == Kind::Option) FitControl(kForm1[i]);
    }
    FitLinkIntoGap("Label40", "Label41");
    FitLinkIntoGap("Label42", "Label43");
}

bool Is(HWND control, const char* name) { return control && control == Ui().Get(name); }

bool IsSettingSwitch(const char* name) { return SwitchIndex(name) >= 0; }

// Tab goes into the login options once, to the selected one; the arrow keys
// move within them.
void UpdateOptionTabStops() {
    HWND first = nullptr, selected = nullptr;
    for (size_t i = 0; i < kForm1Count; ++i) {
        if (kForm1[i].kind != Kind::Option) continue;
        HWND h = Control(kForm1[i].name);
        if (!first) first = h;
        if (!selected && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED) selected = h;
    }
    HWND stop = selected ? selected : first;  // with none selected, the first one
    for (size_t i = 0; i < kForm1Count; ++i) {
        if (kForm1[i].kind != Kind::Option) continue;
        HWND h = Control(kForm1[i].name);
        LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
        SetWindowLongPtrW(h, GWL_STYLE, h == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

// The first change after a load or a save makes Save pressable.
void MarkChanged() {
    HWND save = Control("Command2");
    if (save && !IsWindowEnabled(save)) EnableWindow(save, TRUE);
}

void ShowPageOfKey(const char* key) {
    int shown = -1;
    for (size_t i = 0; i < kForm1TabCount; ++i)
        if (std::strcmp(kForm1Tabs[i].key, key) == 0) shown = static_cast<int>(i);
    if (shown < 0) return;
    // Keyboard focus must not stay behind on a page that disappears.
    HWND focus = GetFocus();
    for (size_t i = 0; i < kForm1TabCount; ++i) {
        HWND page = Ui().Get(kForm1Tabs[i].page);
        bool visible = static_cast<int>(i) == shown;
        if (!visible && focus && IsChild(page, focus)) SetFocus(Control("TabStrip1"));
        ShowWindow(page, visible ? SW_SHOW : SW_HIDE);
    }
}

void OnTabSelected() {
    HWND tabs = Control("TabStrip1");
    int sel = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (sel < 0 || !SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(&item)))
        return;
    if (item.lParam >= 0 && static_cast<size_t>(item.lParam) < kForm1TabCount)
        ShowPageOfKey(kForm1Tabs[item.lParam].key);
}

void SetTabTexts(bool english) {
    HWND tabs = Control("TabStrip1");
    for (size_t i = 0; i < kForm1TabCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(english ? kForm1Tabs[i].en : kForm1Tabs[i].de);
        SendMessageW(tabs, TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

void CreateTabs() {
    HWND tabs = Control("TabStrip1");
    for (size_t i = 0; i < kForm1TabCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<wchar_t*>(kForm1Tabs[i].de);
        item.lParam = static_cast<LPARAM>(i);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    // The pages lie over the tab strip and must stay above it; with the strip
    // last among the pages the keyboard goes strip, page, Check1, Save, Start.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Text1 takes digits and backspace as typed; Ctrl+V passes so that pasting works.
LRESULT CALLBACK DigitsOnlyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_CHAR && wp != 22 && FilterDigitKey(static_cast<int>(wp)) == 0) return 0;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, DigitsOnlyProc, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TabKeysHook(int code, WPARAM wp, LPARAM lp) {
    auto* m = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && m->message == WM_KEYDOWN && form1 && IsWindowVisible(form1) &&
        GetAncestor(m->hwnd, GA_ROOT) == form1 && GetKeyState(VK_CONTROL) < 0) {
        int step = 0;
        if (m->wParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
        else if (m->wParam == VK_NEXT) step = 1;
        else if (m->wParam == VK_PRIOR) step = -1;
        if (step) {
            int n = static_cast<int>(kForm1TabCount);
            int sel = static_cast<int>(SendMessageW(Control("TabStrip1"), TCM_GETCURSEL, 0, 0));
            ShowTabPage(((sel < 0 ? 0 : sel) + step + n) % n);
            m->message = WM_NULL;  // the dialog keys must not move the focus as well
        }
    }
    return CallNextHookEx(tabKeysHook, code, wp, lp);
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
        HMODULE shell32 = LoadLibraryW(L"shell32.dll");
        return shell32 ? reinterpret_cast<ShellExecuteFn>(GetProcAddress(shell32, "ShellExecuteW")) : nullptr;
    }();
    return bound;
}

void OpenPage(const wchar_t* address, HWND label) {
    if (ShellExecuteFn shellExecute = ShellExecuteBound())
        shellExecute(form1, L"open", address, nullptr, ProgramDir.empty() ? nullptr : ProgramDir.c_str(),
                     SW_SHOWNORMAL);
    // The pointer turns back into the arrow until it leaves the label.
    LinkClicked(label);
}

// "Start ICQ": save, get out of the way, give the one-time hint, launch.
void StartIcq() {
    if (startPressed) return;
    startPressed = true;
    SaveSettings();
    ShowWindow(form1, SW_HIDE);
    if (IsOn("Check1") && ReadIniValue(SettingsPath, L"Kestrun", L"NoInfo") != L"2") {
        MessageBoxW(form1, UseEnglish ? kHintEn : kHintDe, kHintTitle, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
        WriteIniValue(SettingsPath, L"Kestrun", L"NoInfo", L"2");
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
    if (std::strcmp(name, "Command1") == 0 && code == BN_CLICKED) StartIcq();
    else if (std::strcmp(name, "Command2") == 0 && code == BN_CLICKED) SaveSettings();
    else if (IsSettingSwitch(name) && code == BN_CLICKED) {
        MarkChanged();
        UpdateOptionTabStops();
    }
    else if (std::strcmp(name, "Text1") == 0 && code == EN_CHANGE) MarkChanged();
    // Only opening the list counts: a status picked with the arrow keys alone does not.
    else if (std::strcmp(name, "ImageCombo1") == 0 && code == CBN_DROPDOWN) MarkChanged();
    else if (std::strcmp(name, "Label37") == 0 && code == STN_CLICKED) OpenPage(kHomePage, control);
    else if (std::strcmp(name, "Label41") == 0 && code == STN_CLICKED) OpenPage(kHelpPage, control);
    else if (std::strcmp(name, "Label43") == 0 && code == STN_CLICKED) OpenPage(kForumPage, control);
}

LRESULT CALLBACK Form1Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (nm->hwndFrom == Control("TabStrip1") && nm->code == TCN_SELCHANGE) OnTabSelected();
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(Ui().CtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_TIMER:
        if (wp == kTimer1) OnTimer1();
        else if (wp == kTimer2) OnTimer2();
        return 0;
    case WM_NEXTDLGCTL: {
        // The dialog keys ask the window itself to move the focus.
        HWND next = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd, GetFocus(), wp != 0);
        if (next) SetFocus(next);
        return 0;
    }
    case DM_GETDEFID: {
        // Enter starts ICQ, unless the keyboard is on Save, which then is pressed.
        HWND focus = GetFocus();
        const char* def = Is(focus, "Command2") ? "Command2" : "Command1";
        return MAKELRESULT(Ui().Id(def), DC_HASDEFID);
    }
    case WM_DESTROY:
        // Our link labels change only our own pointer, so no system cursor needs restoring.
        CursorReplaced = false;
        formIcon.reset();
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        if (tabKeysHook) UnhookWindowsHookEx(tabKeysHook);
        tabKeysHook = nullptr;
        if (imageList1) ImageList_Destroy(imageList1);
        imageList1 = nullptr;
        form1 = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Builds every control of the table (German texts, fitted to the fonts) and
// puts the held settings on them; from then on the controls hold them.
void BuildControls() {
    if (controlsBuilt) return;
    // The window uses a tab strip, an image list and an image combo box.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    Ui().Create(form1);
    CreateTabs();

    HWND text1 = Control("Text1");
    SendMessageW(text1, EM_LIMITTEXT, 2, 0);
    SetWindowSubclass(text1, DigitsOnlyProc, 0, 0);
    SendMessageW(Control("Command1"), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    ApplyAccessKeys(false);
    FitToFonts();
    tabKeysHook = SetWindowsHookExW(WH_GETMESSAGE, TabKeysHook, nullptr, GetCurrentThreadId());
    controlsBuilt = true;

    // Setting Text1 counts as a change; the held state of Save comes after it.
    SetWindowTextW(text1, held.text1.c_str());
    for (size_t i = 0; i < kSwitchCount; ++i)
        SendMessageW(Control(kSettingSwitches[i]), BM_SETCHECK, held.on[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    UpdateOptionTabStops();
    FillStatusList();
    if (held.statusItem >= 1) SelectStatusItem(held.statusItem);
    SetSaveEnabled(held.saveEnabled);
}

}  // namespace

HWND MainWindow() { return form1; }

bool CreateForm1() {
    if (form1) return true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = Form1Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    form1 = CreateMainWindow(kClassName, kCaption, kForm1ClientWidth, kForm1ClientHeight, kStyle, 0, nullptr, nullptr);
    if (!form1) return false;

    // The outer width is fixed; the height follows from the client area.
    RECT r;
    GetWindowRect(form1, &r);
    SetWindowPos(form1, nullptr, 0, 0, TwipsToPixels(kForm1OuterWidth, ScreenDpi()), r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

HWND Control(const char* name) { return Ui().Get(name); }

bool IsOn(const char* name) {
    if (!controlsBuilt) {
        int k = SwitchIndex(name);
        return k >= 0 && held.on[k];
    }
    return SendMessageW(Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetOn(const char* name, bool on) {
    if (!controlsBuilt) {
        int k = SwitchIndex(name);
        if (k < 0) return;
        // An option button that is switched on switches off the others of its group.
        const ControlDef& d = Ui().Def(name);
        if (on && d.kind == Kind::Option) {
            for (size_t i = 0; i < kSwitchCount; ++i) {
                const ControlDef& o = Ui().Def(kSettingSwitches[i]);
                if (o.kind == Kind::Option && o.container && d.container && std::strcmp(o.container, d.container) == 0)
                    held.on[i] = false;
            }
        }
        held.on[k] = on;
        return;
    }
    HWND h = Control(name);
    if (!h) return;
    // An option button that is switched on switches off the others of its group.
    const ControlDef& d = Ui().Def(name);
    if (on && d.kind == Kind::Option) {
        for (size_t i = 0; i < kForm1Count; ++i) {
            const ControlDef& o = kForm1[i];
            if (o.kind == Kind::Option && std::strcmp(o.name, name) != 0 && o.container && d.container &&
                std::strcmp(o.container, d.container) == 0)
                SendMessageW(Control(o.name), BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    SendMessageW(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    if (d.kind == Kind::Option) UpdateOptionTabStops();
}

int SelectedStatusItem() {
    if (!controlsBuilt) return held.statusItem >= 1 ? held.statusItem : 1;
    LRESULT sel = SendMessageW(Control("ImageCombo1"), CB_GETCURSEL, 0, 0);
    return (sel >= 0 && sel < 7) ? static_cast<int>(sel) + 1 : 1;
}

void SelectStatusItem(int item) {
    if (item < 1 || item > 7) item = 1;
    if (!controlsBuilt) {
        held.statusItem = item;
        return;
    }
    HWND combo = Control("ImageCombo1");
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item - 1), 0);
    InvalidateRect(combo, nullptr, TRUE);
}

std::wstring StatusText(int item) {
    if (item < 1 || item > 7) return {};
    const StatusDef& s = kStatusTexts[item - 1];
    return UseEnglish ? s.en : s.de;
}

void FillStatusList() {
    if (!controlsBuilt) {
        held.statusItem = 0;  // the entries are made anew, with none selected
        return;
    }
    HWND combo = Control("ImageCombo1");
    if (!combo) return;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    if (!imageList1) {
        imageList1 = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 7, 0);
        HINSTANCE instance = GetModuleHandleW(nullptr);
        for (int i = 0; i < 7; ++i) {
            auto icon = static_cast<HICON>(
                LoadImageW(instance, MAKEINTRESOURCEW(IDI_STATUS1 + i), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
            ImageList_AddIcon(imageList1, icon);  // a missing picture adds nothing; the entry stays
            if (icon) DestroyIcon(icon);
        }
    }
    SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList1));
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

std::wstring MaxNrText() { return controlsBuilt ? win::WindowText(Control("Text1")) : held.text1; }

void SetMaxNrText(const std::wstring& text) {
    if (!controlsBuilt) held.text1 = text;
    else SetWindowTextW(Control("Text1"), text.c_str());
}

void SetSaveEnabled(bool enabled) {
    if (!controlsBuilt) {
        held.saveEnabled = enabled;
        return;
    }
    HWND save = Control("Command2");
    if (!save) return;
    // Save pressed from the keyboard: the focus goes on to "Start ICQ" rather than into a dead button.
    if (!enabled && GetFocus() == save) SendMessageW(form1, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control("Command1")), TRUE);
    EnableWindow(save, enabled ? TRUE : FALSE);
}

void ShowTabPage(int index) {
    if (index < 0 || static_cast<size_t>(index) >= kForm1TabCount) return;
    SendMessageW(Control("TabStrip1"), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowPageOfKey(kForm1Tabs[index].key);
}

void ApplyEnglishTexts() {
    Ui().ApplyTexts(true);
    SetTabTexts(true);
    for (const EnglishMove& m : kForm1EnglishMoves) Ui().MoveBy(m.name, m.dx);
    ApplyAccessKeys(true);
    FitToFonts();
}

void PrepareAndShowForm1() {
    if (!form1) return;
    BuildControls();
    if (UseEnglish) ApplyEnglishTexts();
    formIcon = std::make_unique<FormIcon>();
    formIcon->Form(form1);
    formIcon->ResIcon(1);
    HandCursor = LoadCursorW(nullptr, IDC_HAND);
    // The pages cover the tab strip's client area below the tab row.
    const ControlDef& strip = Ui().Def("TabStrip1");
    for (size_t i = 0; i < kForm1TabCount; ++i)
        Ui().Place(kForm1Tabs[i].page, strip.left + 30, strip.top + 330, strip.width - 90, strip.height - 390);
    CenterOnPointerMonitor(form1);
    ShowWindow(form1, SW_SHOW);
    SetForegroundWindow(form1);
    SendMessageW(form1, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control("Command1")), TRUE);
}

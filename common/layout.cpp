#include "common/layout.h"
#include <commctrl.h>
#include <cstring>
#include "common/contrast.h"
#include "common/dll_search.h"
#include "common/linkhover.h"
#include "common/rules/contrast.h"
#include "common/winutil.h"

int ControlIndex(const ControlDef* defs, size_t count, const char* name) {
    for (size_t i = 0; i < count; ++i)
        if (std::strcmp(defs[i].name, name) == 0) return static_cast<int>(i);
    return -1;
}

int ScreenDpi() {
    win::WindowDC dc;
    int dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

namespace {

// The DPI functions of Windows 10 (1607 on): looked up, so that the programs
// still load on XP, where they do not exist.
struct DpiFunctions {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    GetDpiForWindowFn forWindow = nullptr;
    GetSystemMetricsForDpiFn metrics = nullptr;
    AdjustWindowRectExForDpiFn adjust = nullptr;
};

const DpiFunctions& Dpi() {
    static const DpiFunctions found = [] {
        DpiFunctions f;
        if (HMODULE user32 = LoadSystemLibrary(L"user32.dll")) {
            f.forWindow = reinterpret_cast<DpiFunctions::GetDpiForWindowFn>(GetProcAddress(user32, "GetDpiForWindow"));
            f.metrics = reinterpret_cast<DpiFunctions::GetSystemMetricsForDpiFn>(
                GetProcAddress(user32, "GetSystemMetricsForDpi"));
            f.adjust = reinterpret_cast<DpiFunctions::AdjustWindowRectExForDpiFn>(
                GetProcAddress(user32, "AdjustWindowRectExForDpi"));
        }
        return f;
    }();
    return found;
}

}  // namespace

int WindowDpi(HWND window) {
    UINT dpi = (window && Dpi().forWindow) ? Dpi().forWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : ScreenDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    if (Dpi().metrics) return Dpi().metrics(index, static_cast<UINT>(dpi));
    // Before 10 the system knows its own DPI's sizes only: scaled (8.1 moves a window to another DPI).
    return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    RECT r{0, 0, client.cx, client.cy};
    // Under per-monitor awareness the frame follows the window's DPI too.
    if (!Dpi().adjust || !Dpi().adjust(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

LOGFONTW TableFont(unsigned flags, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(825, dpi, 7200);  // 8.25 pt
    lf.lfWeight = (flags & CF_Bold) ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = (flags & CF_Underline) ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    // "MS Sans Serif" is a bitmap font drawn for 96 dpi; at other densities its
    // TrueType twin with the same measures gives smooth letters instead.
    const wchar_t* sans = dpi == 96 ? L"MS Sans Serif" : L"Microsoft Sans Serif";
    wcscpy(lf.lfFaceName, (flags & CF_Tahoma) ? L"Tahoma" : sans);
    return lf;
}

namespace {

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    // Controls on a panel talk to the window that owns the whole table.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_DRAWITEM:
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

const wchar_t* PanelClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"TernavoPanel";
        RegisterClassExW(&wc);
        return L"TernavoPanel";
    }();
    return name;
}

Layout::Layout(const ControlDef* defs, size_t count, const AccessKey* keys, size_t keyCount)
    : defs_(defs, defs + count), keys_(keys), keyCount_(keyCount), hwnds_(count, nullptr) {}

HWND Layout::Get(const char* name) const {
    int i = ControlIndex(defs_.data(), defs_.size(), name);
    return i < 0 ? nullptr : hwnds_[static_cast<size_t>(i)];
}

const char* Layout::NameOf(int id) const {
    int i = id - kFirstControlId;
    return (i >= 0 && static_cast<size_t>(i) < defs_.size()) ? defs_[static_cast<size_t>(i)].name : nullptr;
}

const ControlDef& Layout::Def(const char* name) const {
    int i = ControlIndex(defs_.data(), defs_.size(), name);
    return defs_[static_cast<size_t>(i < 0 ? 0 : i)];
}

HFONT Layout::FontFor(unsigned flags) {
    unsigned key = flags & (CF_Bold | CF_Tahoma | CF_Underline);
    for (size_t i = 0; i < fontKeys_.size(); ++i)
        if (fontKeys_[i] == key) return fonts_[i].get();
    LOGFONTW lf = TableFont(key, dpi_);
    fontKeys_.push_back(key);
    fonts_.emplace_back(CreateFontIndirectW(&lf));
    return fonts_.back().get();
}

// The real window a control lives in (the nearest panel, or the root), and its
// position there: frames are no windows of their own, so their offsets add up.
HWND Layout::HostOf(size_t i, HWND root, int& x, int& y) const {
    x = defs_[i].left;
    y = defs_[i].top;
    const char* c = defs_[i].container;
    while (c) {
        int p = ControlIndex(defs_.data(), defs_.size(), c);
        if (p < 0) break;
        const ControlDef& parent = defs_[static_cast<size_t>(p)];
        if (parent.kind == Kind::Panel) return hwnds_[static_cast<size_t>(p)];
        x += parent.left;
        y += parent.top;
        c = parent.container;
    }
    return root;
}

// The controls are made in the order of the table and stay in it: that order
// is the keyboard's, and a screen reader names a box after the text before it.
void Layout::Create(HWND root, bool english) {
    dpi_ = WindowDpi(root);
    for (size_t i = 0; i < defs_.size(); ++i) CreateOne(i, root, english);
    ApplyAccessKeys(english);
}

// A control's place in its host window at the layout's DPI; a drop-down list
// reaches down over the room its open list takes.
RECT Layout::PixelRect(size_t i) const {
    const ControlDef& d = defs_[i];
    int x, y;
    HostOf(i, nullptr, x, y);
    int height = Px(d.height);
    if (d.kind == Kind::Combo || d.kind == Kind::ImageCombo) height += Px(2400);
    return RECT{Px(x), Px(y), Px(x) + Px(d.width), Px(y) + height};
}

void Layout::CreateOne(size_t i, HWND root, bool english) {
    const ControlDef& d = defs_[i];
    int x, y;
    HWND host = HostOf(i, root, x, y);
    RECT place = PixelRect(i);
    const wchar_t* cls = WC_STATICW;
    DWORD style = WS_CHILD;
    DWORD ex = 0;
    switch (d.kind) {
    // A panel lies inside its frame and after it, as a dialog's controls lie inside their group box.
    case Kind::Panel: cls = PanelClass(); ex = WS_EX_CONTROLPARENT; break;
    case Kind::Frame: cls = WC_BUTTONW; style |= BS_GROUPBOX; break;
    // A label's "&" marks the access key of the box it names.
    case Kind::Label: style |= SS_LEFT; break;
    case Kind::Link: style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY | WS_TABSTOP; break;
    case Kind::Check: cls = WC_BUTTONW; style |= BS_AUTOCHECKBOX | WS_TABSTOP; break;
    case Kind::Option: cls = WC_BUTTONW; style |= BS_AUTORADIOBUTTON | WS_TABSTOP; break;
    case Kind::Button: cls = WC_BUTTONW; style |= BS_PUSHBUTTON | WS_TABSTOP; break;
    case Kind::Edit: cls = WC_EDITW; style |= ES_AUTOHSCROLL | WS_TABSTOP; ex = WS_EX_CLIENTEDGE; break;
    case Kind::Combo: cls = WC_COMBOBOXW; style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP; break;
    case Kind::ImageCombo: cls = WC_COMBOBOXEXW; style |= CBS_DROPDOWNLIST | WS_TABSTOP; break;
    case Kind::Tab: cls = WC_TABCONTROLW; style |= WS_CLIPSIBLINGS | WS_TABSTOP; break;
    case Kind::Image: style |= SS_BITMAP; break;
    case Kind::Bullet: style |= SS_BLACKRECT; break;
    }
    if (!(d.flags & CF_Hidden)) style |= WS_VISIBLE;
    if (d.flags & CF_Disabled) style |= WS_DISABLED;
    if (d.flags & CF_Center) style |= SS_CENTER;
    if (d.flags & CF_Group) style |= WS_GROUP;
    if (d.flags & CF_NoTab) style &= ~WS_TABSTOP;
    const wchar_t* text = english && d.en ? d.en : d.de;
    HWND h = CreateWindowExW(ex, cls, text ? text : L"", style, place.left, place.top, place.right - place.left,
                             place.bottom - place.top, host,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                             GetModuleHandleW(nullptr), nullptr);
    hwnds_[i] = h;
    if (!h) return;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(d.flags)), FALSE);
    if (d.kind == Kind::Check || d.kind == Kind::Option)
        SendMessageW(h, BM_SETCHECK, (d.flags & CF_Checked) ? BST_CHECKED : BST_UNCHECKED, 0);
    if (d.kind == Kind::Link) MakeLinkLabel(h);
}

void Layout::Rescale(int dpi) {
    // The controls take the new fonts before the old ones go, so that none draws with a freed font.
    std::vector<win::Font> old;
    bool newFonts = dpi != dpi_;
    if (newFonts) {
        dpi_ = dpi;
        old = std::move(fonts_);
        fonts_.clear();
        fontKeys_.clear();
    }
    for (size_t i = 0; i < defs_.size(); ++i) {
        if (!hwnds_[i]) continue;
        RECT r = PixelRect(i);
        SetWindowPos(hwnds_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (newFonts) SendMessageW(hwnds_[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(defs_[i].flags)), FALSE);
    }
}

void Layout::ApplyTexts(bool english) {
    for (size_t i = 0; i < defs_.size(); ++i) {
        const ControlDef& d = defs_[i];
        if (!d.de || !hwnds_[i] || d.kind == Kind::Combo || d.kind == Kind::ImageCombo || d.kind == Kind::Edit)
            continue;
        const wchar_t* text = (english && d.en) ? d.en : d.de;
        SetWindowTextW(hwnds_[i], text);
    }
    ApplyAccessKeys(english);
}

void Layout::ApplyAccessKeys(bool english) {
    for (size_t k = 0; k < keyCount_; ++k) {
        HWND h = Get(keys_[k].name);
        if (!h) continue;
        std::wstring text = win::WindowText(h);
        if (text.find(L'&') != std::wstring::npos) continue;
        size_t at = text.find(english ? keys_[k].en : keys_[k].de);
        if (at == std::wstring::npos) continue;
        text.insert(at, 1, L'&');
        SetWindowTextW(h, text.c_str());
    }
}

void Layout::MoveBy(const char* name, int dxTwips, int dyTwips) {
    const ControlDef& d = Def(name);
    Place(name, d.left + dxTwips, d.top + dyTwips, d.width, d.height);
}

void Layout::Place(const char* name, int left, int top, int width, int height) {
    int i = ControlIndex(defs_.data(), defs_.size(), name);
    if (i < 0) return;
    size_t k = static_cast<size_t>(i);
    ControlDef& d = defs_[k];
    int dx = left - d.left, dy = top - d.top;
    d.left = left; d.top = top; d.width = width; d.height = height;
    if (!hwnds_[k]) return;
    int x, y;
    HostOf(k, nullptr, x, y);
    RECT r;
    GetWindowRect(hwnds_[k], &r);
    int h = (d.kind == Kind::Combo || d.kind == Kind::ImageCombo) ? r.bottom - r.top : Px(height);
    SetWindowPos(hwnds_[k], nullptr, Px(x), Px(y), Px(width), h, SWP_NOZORDER | SWP_NOACTIVATE);
    // A frame is no window of its own: its controls move with it.
    if (d.kind == Kind::Frame && (dx || dy)) {
        for (size_t c = 0; c < defs_.size(); ++c)
            if (defs_[c].container && std::strcmp(defs_[c].container, name) == 0)
                Place(defs_[c].name, defs_[c].left, defs_[c].top, defs_[c].width, defs_[c].height);
    }
}

bool Layout::IsLink(HWND control) const {
    for (size_t i = 0; i < defs_.size(); ++i)
        if (hwnds_[i] == control) return defs_[i].kind == Kind::Link;
    return false;
}

COLORREF LinkColor() { return LinkColourFor(HighContrastOn(), kLinkColor, GetSysColor(COLOR_HOTLIGHT)); }

HBRUSH Layout::CtlColor(HDC dc, HWND control) const {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, IsLink(control) ? LinkColor() : GetSysColor(COLOR_BTNTEXT));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void MoveDialogFocus(HWND window, WPARAM wp, LPARAM lp) {
    HWND next = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(window, GetFocus(), wp != 0);
    if (next) SetFocus(next);
}

void RedrawWithSystemColors(HWND window) {
    // The common controls keep the colours they took until they are told.
    struct Tell {
        static BOOL CALLBACK Child(HWND child, LPARAM) {
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
            return TRUE;
        }
    };
    EnumChildWindows(window, Tell::Child, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

namespace {

// The place of a window of `dpi` with a client area of the given twips, centred in `work`.
RECT CentredPlace(const RECT& work, int clientWidthTw, int clientHeightTw, DWORD style, DWORD exStyle, int dpi) {
    SIZE s = WindowSizeForClient({TwipsToPixels(clientWidthTw, dpi), TwipsToPixels(clientHeightTw, dpi)}, style,
                                 exStyle, dpi);
    int x = work.left + ((work.right - work.left) - s.cx) / 2;
    int y = work.top + ((work.bottom - work.top) - s.cy) / 2;
    return RECT{x, y, x + s.cx, y + s.cy};
}

}  // namespace

HWND CreateTopLevelWindow(const wchar_t* className, const wchar_t* caption, int clientWidthTw,
                          int clientHeightTw, DWORD style, DWORD exStyle, HWND owner, void* param) {
    POINT pt{};
    GetCursorPos(&pt);
    MONITORINFO mi{sizeof(mi)};
    GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTOPRIMARY), &mi);
    int dpi = ScreenDpi();
    RECT r = CentredPlace(mi.rcWork, clientWidthTw, clientHeightTw, style, exStyle, dpi);
    HWND hwnd = CreateWindowExW(exStyle | WS_EX_CONTROLPARENT, className, caption, style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, owner, nullptr, GetModuleHandleW(nullptr), param);
    // On a monitor of another DPI than the system's, the window was laid out for
    // its monitor as it was made; its frame follows before it is shown.
    int own = hwnd ? WindowDpi(hwnd) : dpi;
    if (own != dpi) {
        r = CentredPlace(mi.rcWork, clientWidthTw, clientHeightTw, style, exStyle, own);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return hwnd;
}

void FollowDpiChange(HWND window, WPARAM wp, LPARAM lp, void (*relayout)(int dpi)) {
    int dpi = LOWORD(wp);
    if (dpi <= 0) return;
    relayout(dpi);
    if (const auto* r = reinterpret_cast<const RECT*>(lp))
        SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (root && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

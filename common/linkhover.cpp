#include "common/linkhover.h"
#include <commctrl.h>
#include <oleacc.h>
#include <string>
#include "common/dll_search.h"
#include "common/layout.h"
#include "common/winutil.h"

HCURSOR HandCursor = nullptr;
bool CursorReplaced = false;
bool HoverActive = false;

namespace {

HWND suppressedLabel = nullptr;  // clicked label that shows the arrow until left

HCURSOR Hand() {
    if (!HandCursor) HandCursor = LoadCursorW(nullptr, IDC_HAND);
    return HandCursor;
}

// A link is followed as a click follows it: its window hears STN_CLICKED.
void Follow(HWND link) {
    SendMessageW(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
}

// What a screen reader asks of a link label: the system's own answers for a
// static text (its name, place, focus), but the role of a link, the state of
// a linked and focusable object, and following it as its default action.
class LinkAccessible final : public IAccessible {
public:
    LinkAccessible(HWND link, IAccessible* standard) : link_(link), inner_(standard) {}
    ~LinkAccessible() { inner_->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return inner_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return inner_->GetTypeInfo(i, l, t); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
        return inner_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override {
        return inner_->Invoke(d, r, l, f, p, v, e, a);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return inner_->get_accParent(p); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return inner_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** p) override { return inner_->get_accChild(c, p); }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT c, BSTR* s) override { return inner_->get_accName(c, s); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* s) override { return inner_->get_accValue(c, s); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* s) override { return inner_->get_accDescription(c, s); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* role) override {
        if (!Self(c)) return inner_->get_accRole(c, role);
        if (!role) return E_INVALIDARG;
        *role = VARIANT{};  // (VariantInit would bind oleaut32 at every start)
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_LINK;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* state) override {
        HRESULT hr = inner_->get_accState(c, state);
        if (SUCCEEDED(hr) && Self(c) && state && state->vt == VT_I4) {
            state->lVal |= STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
            if (GetFocus() == link_) state->lVal |= STATE_SYSTEM_FOCUSED;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* s) override { return inner_->get_accHelp(c, s); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return inner_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* s) override {
        return inner_->get_accKeyboardShortcut(c, s);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* v) override { return inner_->get_accFocus(v); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* v) override { return inner_->get_accSelection(v); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* s) override {
        return inner_->get_accDefaultAction(c, s);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return inner_->accSelect(f, c); }
    HRESULT STDMETHODCALLTYPE accLocation(long* l, long* t, long* w, long* h, VARIANT c) override {
        return inner_->accLocation(l, t, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override { return inner_->accNavigate(d, s, e); }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override { return inner_->accHitTest(x, y, c); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override {
        if (!Self(c)) return inner_->accDoDefaultAction(c);
        // Posted: the screen reader's call returns before the page or dialog opens.
        PostMessageW(link_, WM_KEYDOWN, VK_RETURN, 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR s) override { return inner_->put_accName(c, s); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR s) override { return inner_->put_accValue(c, s); }

private:
    static bool Self(const VARIANT& c) { return c.vt == VT_I4 && c.lVal == CHILDID_SELF; }
    HWND link_;
    IAccessible* inner_;
    LONG refs_ = 1;
};

// oleacc is loaded when a screen reader first asks, not at every start. A
// failed answer is no object: the default handling takes over then.
LRESULT AccessibleLink(HWND link, WPARAM flags) {
    static HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    if (!oleacc) return 0;
    auto create = reinterpret_cast<LPFNCREATESTDACCESSIBLEOBJECT>(GetProcAddress(oleacc, "CreateStdAccessibleObject"));
    auto result = reinterpret_cast<LPFNLRESULTFROMOBJECT>(GetProcAddress(oleacc, "LresultFromObject"));
    if (!create || !result) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(create(link, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))) || !standard)
        return 0;
    IAccessible* accessible = WrapLinkAccessible(link, standard);
    LRESULT r = result(__uuidof(IAccessible), flags, accessible);
    accessible->Release();
    return r < 0 ? 0 : r;
}

// A link draws itself: its letters inside a margin, their underline cut where
// the box says the letters end, and the focus rectangle in that margin around them.
void PaintLink(HWND link) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(link, &ps);
    RECT box;
    GetClientRect(link, &box);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(link), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link)));
    FillRect(dc, &box, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    std::wstring text = win::WindowText(link);
    RECT letters = box;
    InflateRect(&letters, -kLinkMargin, -kLinkMargin);
    // (The text's own clipping leaves the underline out under Wine.)
    int saved = SaveDC(dc);
    IntersectClipRect(dc, letters.left, letters.top, letters.right, letters.bottom);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &letters, DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
    RestoreDC(dc, saved);
    SelectObject(dc, old);
    if (GetFocus() == link) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        DrawFocusRect(dc, &box);
    }
    EndPaint(link, &ps);
}

LRESULT CALLBACK LinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter follows the link rather than pressing the window's default button.
        LRESULT code = DefSubclassProc(hwnd, msg, wp, lp);
        auto* m = reinterpret_cast<const MSG*>(lp);
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if ((wp == VK_RETURN || wp == VK_SPACE) && !(lp & (1 << 30))) {  // not when the key repeats
            Follow(hwnd);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case WM_PAINT:
        PaintLink(hwnd);
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lp) == OBJID_CLIENT) {
            if (LRESULT r = AccessibleLink(hwnd, wp)) return r;
        }
        break;
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

IAccessible* WrapLinkAccessible(HWND link, IAccessible* inner) { return new LinkAccessible(link, inner); }

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

// Link labels show the hand only over themselves, fall back to the arrow right
// after a click, and never change the system's own cursors; the keyboard and
// a screen reader take them as links; with high contrast on they are drawn in
// the system's colour.
#include <gtest/gtest.h>
#include <oleacc.h>
#include "common/contrast.h"
#include "common/layout.h"
#include "common/linkhover.h"
#include "tests/windows/support/wt.h"

// Under Wine high contrast cannot be switched on (SPI_SETHIGHCONTRAST fails):
// this program links this answer in place of the system's.
bool highContrastForTest = false;
bool HighContrastOn() { return highContrastForTest; }

namespace {

constexpr ControlDef kTable[] = {
    {"Frame", Kind::Frame, nullptr, 120, 120, 4000, 2000, L"Frame", nullptr, CF_None},
    {"Panel", Kind::Panel, "Frame", 120, 240, 3500, 1500, nullptr, nullptr, CF_None},
    {"Link", Kind::Link, "Panel", 300, 300, 1500, 300, L"www.example", nullptr, CF_Tahoma | CF_Underline},
};

int linkFollowed = 0;            // STN_CLICKED from the link, however it came
const Layout* shownLayout = nullptr;  // colours the window's texts as the programs do

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COMMAND && HIWORD(w) == STN_CLICKED) ++linkFollowed;
    if (m == WM_CTLCOLORSTATIC && shownLayout)
        return reinterpret_cast<LRESULT>(shownLayout->CtlColor(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l)));
    return DefWindowProcW(h, m, w, l);
}

// The programs' message loop: the dialog keys go through IsDialogMessage.
void Pump(int ms) {
    DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            HWND root = GetAncestor(msg.hwnd, GA_ROOT);
            if (root && IsDialogMessageW(root, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

void PressKey(HWND target, WPARAM vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    Pump(100);
}

// The system's object for a text that reports no state at all, and no answer
// but its role: what a link wraps on a system whose object says nothing.
class Stateless final : public IAccessible {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT* v) override { v->vt = VT_I4; v->lVal = ROLE_SYSTEM_STATICTEXT; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT* v) override { v->vt = VT_I4; v->lVal = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accLocation(long*, long*, long*, long*, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }
    ULONG refs = 1;
};

// Pixels of a captured link whose colour leans to one channel (0 red, 1 green, 2 blue).
int InkLeaningTo(const wt::Pixels& p, int channel) {
    int n = 0;
    for (DWORD v : p.px) {
        int c[3] = {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
        n += c[channel] > c[(channel + 1) % 3] + 60 && c[channel] > c[(channel + 2) % 3] + 60;
    }
    return n;
}

void PointerTo(int x, int y) {
    SetCursorPos(x, y);
    Pump(150);
}

// Leaving is reported by the window system's mouse tracking, which polls at the hover interval.
void PointerLeavesTo(int x, int y) {
    SetCursorPos(x, y);
    Pump(800);
}

class LinkHover : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"HoverTest";
        RegisterClassW(&wc);
        window = CreateTopLevelWindow(L"HoverTest", L"hover", 5000, 3000, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0,
                                  nullptr, nullptr);
        layout.Create(window);
        shownLayout = &layout;
        linkFollowed = 0;
        SetForegroundWindow(window);
        Pump(300);
        label = layout.Get("Link");
        GetWindowRect(label, &r);
        arrow = LoadCursorW(nullptr, IDC_ARROW);
        systemArrowBefore = CopyCursor(arrow);
    }
    void TearDown() override {
        shownLayout = nullptr;
        highContrastForTest = false;
        DestroyWindow(window);
    }

    Layout layout{kTable, 3};
    HWND window = nullptr, label = nullptr;
    RECT r{};
    HCURSOR arrow = nullptr, systemArrowBefore = nullptr;
};

}  // namespace

TEST_F(LinkHover, HandInsideIncludingEdgePixelsArrowOutside) {
    // The label sits in a panel in a frame: its rectangle includes all container offsets.
    RECT inWindow;
    GetWindowRect(label, &inWindow);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&inWindow), 2);
    int dpi = ScreenDpi();
    EXPECT_EQ(inWindow.left, TwipsToPixels(120 + 120 + 300, dpi));
    EXPECT_EQ(inWindow.top, TwipsToPixels(120 + 240 + 300, dpi));

    PointerTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_TRUE(CursorReplaced);
    EXPECT_TRUE(HoverActive);

    PointerTo(r.left, r.top);  // top-left edge pixel
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    PointerTo(r.right - 1, r.bottom - 1);  // bottom-right edge pixel
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    PointerLeavesTo(r.right, r.bottom - 1);  // one pixel outside
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_FALSE(CursorReplaced);
    EXPECT_FALSE(HoverActive);
}

TEST_F(LinkHover, AfterAClickTheArrowStaysUntilThePointerLeavesAndComesBack) {
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    PointerTo(cx, cy);
    ASSERT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    LinkClicked(label);
    EXPECT_EQ(GetCursor(), arrow);
    PointerTo(cx + 1, cy);  // still on the label
    EXPECT_EQ(GetCursor(), arrow);
    PointerLeavesTo(r.right + 5, cy);
    PointerTo(cx, cy);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(LinkHover, ClosingTheWindowDuringAHoverLeavesTheSystemArrowAlone) {
    PointerTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    DestroyWindow(window);
    window = nullptr;
    Pump(100);
    // The shared system arrow is still the arrow: same image as before the hover.
    ICONINFO before{}, now{};
    ASSERT_TRUE(GetIconInfo(systemArrowBefore, &before));
    ASSERT_TRUE(GetIconInfo(LoadCursorW(nullptr, IDC_ARROW), &now));
    EXPECT_EQ(before.xHotspot, now.xHotspot);
    EXPECT_EQ(before.yHotspot, now.yHotspot);
    BITMAP a{}, b{};
    GetObjectW(before.hbmMask, sizeof a, &a);
    GetObjectW(now.hbmMask, sizeof b, &b);
    EXPECT_EQ(a.bmHeight, b.bmHeight);
    for (HBITMAP bm : {before.hbmMask, before.hbmColor, now.hbmMask, now.hbmColor}) if (bm) DeleteObject(bm);
}

TEST_F(LinkHover, KeyboardAndScreenReaderTakeItAsALinkThatTabReachesAndEnterOrSpaceFollows) {
    EXPECT_EQ(GetNextDlgTabItem(window, nullptr, FALSE), label) << "Tab does not reach the link";
    RECT r;
    GetWindowRect(label, &r);
    wt::Pixels unfocused = wt::Capture(r);
    SetFocus(label);
    Pump(200);
    ASSERT_EQ(GetFocus(), label);
    EXPECT_TRUE(wt::Capture(r).px != unfocused.px) << "the focus is not drawn";
    PressKey(label, VK_RETURN);
    EXPECT_EQ(linkFollowed, 1) << "Enter";
    PressKey(label, VK_SPACE);
    EXPECT_EQ(linkFollowed, 2) << "Space";

    // What a screen reader asks of it, in this process, where the system answers.
    HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    ASSERT_TRUE(oleacc);
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    auto fromWindow = reinterpret_cast<FromWindow>(GetProcAddress(oleacc, "AccessibleObjectFromWindow"));
    ASSERT_TRUE(fromWindow);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* acc = nullptr;
    ASSERT_EQ(fromWindow(label, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), reinterpret_cast<void**>(&acc)),
              S_OK);
    ASSERT_TRUE(acc);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    EXPECT_EQ(acc->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LINK);
    EXPECT_EQ(acc->get_accState(self, &state), S_OK);
    EXPECT_TRUE(state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_LINKED) && (state.lVal & STATE_SYSTEM_FOCUSABLE));
    BSTR name = nullptr;
    EXPECT_EQ(acc->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), L"www.example");
    if (name) SysFreeString(name);
    EXPECT_EQ(acc->accDoDefaultAction(self), S_OK);
    Pump(200);
    EXPECT_EQ(linkFollowed, 3) << "its default action follows it";
    acc->Release();
    CoUninitialize();

    // Wine's object for a static text already says "focusable": around one that
    // says nothing, the link's own marks are what a screen reader hears.
    Stateless inner;
    IAccessible* wrapped = WrapLinkAccessible(label, &inner);
    VARIANT bare;
    VariantInit(&bare);
    EXPECT_EQ(wrapped->get_accState(self, &bare), S_OK);
    EXPECT_EQ(bare.vt, VT_I4);
    EXPECT_EQ(bare.lVal, STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED) << "the link has the focus";
    SetFocus(window);
    EXPECT_EQ(wrapped->get_accState(self, &bare), S_OK);
    EXPECT_EQ(bare.lVal, STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE);
    VARIANT linkRole;
    VariantInit(&linkRole);
    EXPECT_EQ(wrapped->get_accRole(self, &linkRole), S_OK);
    EXPECT_EQ(linkRole.lVal, ROLE_SYSTEM_LINK);
    wrapped->Release();
    EXPECT_EQ(inner.refs, 0u) << "the wrapper releases the object it took over";
}

TEST_F(LinkHover, WithHighContrastOnTheLinkTakesTheSystemsHotTrackColourAndBackWhenItGoesOff) {
    COLORREF hotBefore = GetSysColor(COLOR_HOTLIGHT);
    INT which = COLOR_HOTLIGHT;
    COLORREF green = RGB(0, 160, 0);  // unlike the link's own blue
    ASSERT_TRUE(SetSysColors(1, &which, &green));
    RECT r;
    GetWindowRect(label, &r);
    highContrastForTest = true;
    RedrawWithSystemColors(window);
    Pump(200);
    wt::Pixels high = wt::Capture(r);
    EXPECT_GT(InkLeaningTo(high, 1), 5) << "not drawn in the hot-track colour";
    EXPECT_EQ(InkLeaningTo(high, 2), 0) << "still drawn in its own blue";
    highContrastForTest = false;
    RedrawWithSystemColors(window);
    Pump(200);
    wt::Pixels normal = wt::Capture(r);
    EXPECT_GT(InkLeaningTo(normal, 2), 5) << "its own blue does not come back";
    EXPECT_EQ(InkLeaningTo(normal, 1), 0);
    SetSysColors(1, &which, &hotBefore);
}

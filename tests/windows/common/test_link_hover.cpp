// Link labels show the hand only over themselves, fall back to the arrow right
// after a click, and never change the system's own cursors.
#include <gtest/gtest.h>
#include "common/layout.h"
#include "common/linkhover.h"

namespace {

constexpr ControlDef kTable[] = {
    {"Frame", Kind::Frame, nullptr, 120, 120, 4000, 2000, L"Frame", nullptr, CF_None},
    {"Panel", Kind::Panel, "Frame", 120, 240, 3500, 1500, nullptr, nullptr, CF_None},
    {"Link", Kind::Link, "Panel", 300, 300, 1500, 300, L"www.example", nullptr, CF_Tahoma | CF_Underline},
};

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

void Pump(int ms) {
    DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) { TranslateMessage(&msg); DispatchMessageW(&msg); }
        Sleep(10);
    }
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
        SetForegroundWindow(window);
        Pump(300);
        label = layout.Get("Link");
        GetWindowRect(label, &r);
        arrow = LoadCursorW(nullptr, IDC_ARROW);
        systemArrowBefore = CopyCursor(arrow);
    }
    void TearDown() override { DestroyWindow(window); }

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

// What Kestrun's window shows, in German and English and at 96 and 144 dpi:
// the texts of its table, the tabs and the status list, the fixed places, on
// every page that no text is cut off and the links stand beside their texts,
// and a change of the screen's DPI there and back.
#include <gtest/gtest.h>
#include <cstring>
#include <iterator>
#include <vector>
#include "common/layout.h"
#include "tests/windows/kestrun_window/window_support.h"
#include "tests/windows/support/reader.h"

using kw::Folder;
using kw::Window;

namespace {

const char* TopContainer(const ControlDef& d) {
    const char* c = d.container;
    const char* top = nullptr;
    while (c) {
        top = c;
        int i = ControlIndex(kWindowControls, kWindowControlCount, c);
        c = i < 0 ? nullptr : kWindowControls[i].container;
    }
    return top;
}

bool HasCaption(const ControlDef& d) {
    return d.de && d.kind != Kind::Edit && d.kind != Kind::Panel && d.kind != Kind::Tab;
}

// Both windows (German, English) of one folder, in one place.
void ExpectTexts(const Window& w, bool english) {
    EXPECT_EQ(wt::Text(w.form()), KESTRUN_CAPTION);
    for (size_t i = 0; i < kWindowControlCount; ++i) {
        const ControlDef& d = kWindowControls[i];
        if (!HasCaption(d)) continue;
        std::wstring want = (english && d.en) ? d.en : d.de;
        EXPECT_EQ(w.Text(d.name), want) << d.name;
    }
    HWND tabs = w.Get("TabStrip");
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(kw::TabText(tabs, i), english ? kWindowTabs[i].en : kWindowTabs[i].de) << i;
    HWND combo = w.Get("StatusList");
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 7);
    for (int i = 0; i < 7; ++i) {
        kw::StatusEntry e = kw::StatusEntryOf(combo, i);
        EXPECT_EQ(e.text, english ? kStatusTexts[i].en : kStatusTexts[i].de) << i;
        EXPECT_EQ(e.image, i) << "each entry has its own picture";
    }
}

bool IsInk(DWORD pixel, DWORD background) {
    int d = 0;
    for (int shift : {0, 8, 16})
        d += std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((background >> shift) & 0xFF));
    return d > 90;
}

DWORD Background() {
    COLORREF c = GetSysColor(COLOR_BTNFACE);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A text that is cut off at the right leaves letters in its box's last column.
void ExpectNothingCutOff(Window& w) {
    DWORD bg = Background();
    for (int page = 0; page < 4; ++page) {
        w.ClickTab(page);
        ASSERT_EQ(w.ShownPage(), page);
        std::string pageName = "TabPage(" + std::to_string(page) + ")";
        for (size_t i = 0; i < kWindowControlCount; ++i) {
            const ControlDef& d = kWindowControls[i];
            bool onPage = TopContainer(d) && pageName == TopContainer(d);
            bool below = !d.container && d.kind == Kind::Check;
            if (!(onPage || (below && page == 0))) continue;
            if (d.kind != Kind::Label && d.kind != Kind::Link && d.kind != Kind::Check && d.kind != Kind::Option)
                continue;
            RECT r = w.ScreenRect(d.name);
            r.left = r.right - 1;
            kw::Pixels last = kw::Capture(r);
            int inked = 0;
            for (DWORD p : last.px) inked += IsInk(p, bg);
            EXPECT_EQ(inked, 0) << d.name << " is cut off at the right on page " << page;
        }
    }
}

// The links stand beside their texts: with a link hidden, its place shows
// nothing of any other text; shown, it shows its own blue letters.
void ExpectLinksBesideTheirTexts(Window& w, int dpi) {
    w.ClickTab(3);
    wt::ExpectLinksBesideTheirTexts(w.form(), kWindowControls, kWindowControlCount, kWindowSentences,
                                    std::size(kWindowSentences), dpi, "Info page");
    DWORD bg = Background();
    for (const LinkSentence& s : kWindowSentences) {
        RECT r = w.ScreenRect(s.link);
        kw::Pixels shown = kw::Capture(r);
        int blue = 0;
        for (DWORD p : shown.px) {
            int red = (p >> 16) & 0xFF, blueOf = p & 0xFF;
            blue += blueOf > red + 60;
        }
        EXPECT_GT(blue, 5) << s.link << " shows no blue letters";

        ShowWindow(w.Get(s.link), SW_HIDE);
        w.Settle();
        kw::Pixels under = kw::Capture(r);
        int inked = 0;
        for (DWORD p : under.px) inked += IsInk(p, bg);
        EXPECT_EQ(inked, 0) << s.link << " covers letters of another text";
        ShowWindow(w.Get(s.link), SW_SHOW);
        w.Settle();
    }
}

void ExpectBoxesBesideTheirTexts(const Window& w) {
    RECT label1 = w.Place("MaxInstancesLabel"), text1 = w.Place("MaxInstances"), label8 = w.Place("MaxInstancesRange");
    EXPECT_LE(label1.right, text1.left);
    EXPECT_LE(text1.right, label8.left);
    RECT label12 = w.Place("StatusPrompt"), combo = w.Place("StatusList");
    EXPECT_LE(label12.right, combo.left);
    RECT frame3 = w.Place("StartModeFrame");
    EXPECT_LE(combo.right, frame3.right);
}

}  // namespace

TEST(WindowLook, GermanWindowShowsTheTextsOfItsTableTheTabsAndTheStatusList) {
    Folder f;
    Window w(f, L"-showme -german");
    ASSERT_NE(w.form(), nullptr);
    ExpectTexts(w, false);
    EXPECT_EQ(w.Text("MaxInstances"), L"5");
    EXPECT_EQ(SendMessageW(w.Get("StatusList"), CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(w.On("LoginOption(3)"));
    // Only Save waits for a change; everything else can be used.
    for (size_t i = 0; i < kWindowControlCount; ++i)
        EXPECT_EQ(IsWindowEnabled(w.Get(kWindowControls[i].name)) != FALSE, std::strcmp(kWindowControls[i].name, "SaveButton") != 0)
            << kWindowControls[i].name;
    EXPECT_EQ(w.ShownPage(), 0);
    EXPECT_EQ(w.SelectedTab(), 0);
}

TEST(WindowLook, EnglishRunLeavesNoGermanTextBehind) {
    Folder f;
    f.Set(L"LoginStatus", L"6");
    Window w(f, L"-showme -english");
    ASSERT_NE(w.form(), nullptr);
    ExpectTexts(w, true);
    // The stored entry is the one shown.
    EXPECT_EQ(SendMessageW(w.Get("StatusList"), CB_GETCURSEL, 0, 0), 5);
    for (size_t i = 0; i < kWindowControlCount; ++i) {
        const ControlDef& d = kWindowControls[i];
        if (HasCaption(d) && d.en && std::wcscmp(d.en, d.de) != 0) {
            EXPECT_NE(w.Text(d.name), d.de) << d.name;
        }
    }
}

TEST(WindowLook, FixedSizeAndPlacesScaledByTheScreenDpi) {
    Folder f;
    Window w(f, L"-showme -german");
    ASSERT_NE(w.form(), nullptr);
    int dpi = ScreenDpi();
    auto px = [dpi](int tw) { return TwipsToPixels(tw, dpi); };
    RECT outer;
    GetWindowRect(w.form(), &outer);
    EXPECT_EQ(outer.right - outer.left, px(kWindowOuterWidth));
    RECT client;
    GetClientRect(w.form(), &client);
    EXPECT_NEAR(client.bottom, px(kWindowClientHeight), 1);
    LONG style = GetWindowLongW(w.form(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "no resizing";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);

    auto expectAt = [&](const char* name, int l, int t, int wd, int ht) {
        RECT r = w.Place(name);
        EXPECT_NEAR(r.left, px(l), 1) << name;
        EXPECT_NEAR(r.top, px(t), 1) << name;
        EXPECT_NEAR(r.right - r.left, px(wd), 1) << name;
        EXPECT_NEAR(r.bottom - r.top, px(ht), 1) << name;
    };
    expectAt("TabStrip", 120, 120, 6570, 4575);
    // Every page covers the strip's client area below the tab row.
    for (const char* page : {"TabPage(0)", "TabPage(1)", "TabPage(2)", "TabPage(3)"})
        expectAt(page, 150, 450, 6480, 4185);
    expectAt("SaveButton", 3240, 4800, 1695, 375);
    expectAt("StartButton", 4995, 4800, 1695, 375);
    expectAt("NotesFrame", 150 + 120, 450 + 120, 6255, 2895);
    expectAt("InstancesFrame", 150 + 120, 450 + 3120, 6255, 975);
    expectAt("InstancesPanel", 150 + 120 + 120, 450 + 3120 + 240, 6015, 615);

    // Centred on the screen that holds the pointer (the only one here).
    POINT pointer;
    GetCursorPos(&pointer);
    MONITORINFO mi{sizeof mi};
    GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &mi);
    EXPECT_NEAR((outer.left + outer.right) / 2, (mi.rcWork.left + mi.rcWork.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (mi.rcWork.top + mi.rcWork.bottom) / 2, 1);
}

TEST(WindowLook, BoxesFollowTheirTextsInBothLanguages) {
    Folder f;
    RECT germanText1, germanCombo;
    {
        Window w(f, L"-showme -german");
        ASSERT_NE(w.form(), nullptr);
        ExpectBoxesBesideTheirTexts(w);
        germanText1 = w.Place("MaxInstances");
        germanCombo = w.Place("StatusList");
    }
    Window w(f, L"-showme -english");
    ASSERT_NE(w.form(), nullptr);
    ExpectBoxesBesideTheirTexts(w);
    // The shorter English sentences bring the boxes to the left.
    EXPECT_LT(w.Place("MaxInstances").left, germanText1.left);
    EXPECT_LT(w.Place("StatusList").left, germanCombo.left);
}

TEST(WindowLook, GermanPagesShowEveryTextWholeAndTheLinksInTheirGaps) {
    Folder f;
    Window w(f, L"-showme -german");
    ASSERT_NE(w.form(), nullptr);
    ExpectNothingCutOff(w);
    ExpectLinksBesideTheirTexts(w, 96);
}

TEST(WindowLook, EnglishPagesShowEveryTextWholeAndTheLinksInTheirGaps) {
    Folder f;
    Window w(f, L"-showme -english");
    ASSERT_NE(w.form(), nullptr);
    ExpectNothingCutOff(w);
    ExpectLinksBesideTheirTexts(w, 96);
}

TEST(WindowLook, At144DpiTheWindowGrowsAndStillShowsEverythingWhole) {
    wt::ScreenDpiSetting dpi(144);
    Folder f;
    Window w(f, L"-showme -english");
    ASSERT_NE(w.form(), nullptr);
    RECT strip = w.Place("TabStrip");
    EXPECT_NEAR(strip.right - strip.left, MulDiv(6570, 144, 1440), 1);
    RECT outer;
    GetWindowRect(w.form(), &outer);
    EXPECT_EQ(outer.right - outer.left, MulDiv(kWindowOuterWidth, 144, 1440));
    ExpectBoxesBesideTheirTexts(w);
    ExpectNothingCutOff(w);
    ExpectLinksBesideTheirTexts(w, 144);
}

namespace {

std::vector<RECT> Places(const Window& w) {
    std::vector<RECT> all;
    for (size_t i = 0; i < kWindowControlCount; ++i) all.push_back(w.Place(kWindowControls[i].name));
    return all;
}

// Controls whose place no text moves: they stand exactly where the table puts them.
bool PlacedByTableAlone(Kind k) { return k == Kind::Frame || k == Kind::Panel || k == Kind::Tab || k == Kind::Button; }

}  // namespace

TEST(WindowLook, FollowsItsScreensDpiThereAndBackAsAWindowOpenedThereWithoutKeepingAnything) {
    Folder f;
    std::vector<RECT> opened144;
    {
        wt::ScreenDpiSetting dpi(144);
        Window w(f, L"-showme -english");
        ASSERT_NE(w.form(), nullptr);
        opened144 = Places(w);
    }
    Window w(f, L"-showme -english");
    ASSERT_NE(w.form(), nullptr);
    RECT outer96;
    GetWindowRect(w.form(), &outer96);
    std::vector<RECT> at96 = Places(w);
    DWORD gdi = wt::GdiObjects(w.process().handle());

    RECT suggested = wt::SendDpiChange(w.form(), 96, 144);
    w.Settle();
    RECT outer;
    GetWindowRect(w.form(), &outer);
    EXPECT_TRUE(EqualRect(&outer, &suggested)) << "the window takes the rectangle the system suggests";
    std::vector<RECT> at144 = Places(w);
    for (size_t i = 0; i < kWindowControlCount; ++i) {
        const ControlDef& d = kWindowControls[i];
        const RECT &moved = at144[i], &opened = opened144[i];
        EXPECT_NEAR(moved.left, opened.left, 1) << d.name << " moved to 144 dpi and opened there";
        EXPECT_NEAR(moved.top, opened.top, 1) << d.name;
        EXPECT_NEAR(moved.right, opened.right, 1) << d.name;
        EXPECT_NEAR(moved.bottom, opened.bottom, 1) << d.name;
        if (!PlacedByTableAlone(d.kind)) continue;
        EXPECT_NEAR(moved.left, at96[i].left * 3 / 2, 2) << d.name << " at 1.5 times its place";
        EXPECT_NEAR(moved.top, at96[i].top * 3 / 2, 2) << d.name;
        EXPECT_NEAR(moved.right, at96[i].right * 3 / 2, 2) << d.name;
        EXPECT_NEAR(moved.bottom, at96[i].bottom * 3 / 2, 2) << d.name;
    }
    ExpectNothingCutOff(w);
    ExpectLinksBesideTheirTexts(w, 144);

    // Back, and nine more trips: the window is as it was, and the fonts,
    // pictures and icons of every trip are freed.
    wt::SendDpiChange(w.form(), 144, 96);
    for (int trip = 0; trip < 9; ++trip) {
        wt::SendDpiChange(w.form(), 96, 144);
        wt::SendDpiChange(w.form(), 144, 96);
    }
    w.Settle();
    GetWindowRect(w.form(), &outer);
    EXPECT_TRUE(EqualRect(&outer, &outer96));
    std::vector<RECT> back = Places(w);
    for (size_t i = 0; i < kWindowControlCount; ++i)
        EXPECT_TRUE(EqualRect(&back[i], &at96[i])) << kWindowControls[i].name << " back at 96 dpi";
    wt::ExpectSameGdiObjects(w.process().handle(), gdi);
}

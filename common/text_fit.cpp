// Fitting a window table's texts to the fonts this system really has.
// The positions are made for "MS Sans Serif"; where a system draws the same
// text wider (another font stands in for it), a text must not be cut off: a
// one-line text grows to the right and pushes what follows on its row, a
// wrapping text takes the free width of its frame, and a link label moves into
// the blank run of its sentence. Texts are measured in the control's own device
// context, where they measure exactly as the control draws them.
#include "common/text_fit.h"
#include <algorithm>
#include <string>

namespace {

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
int RightLimit(const Layout& layout, const ControlDef& d, HWND h) {
    HWND parent = GetParent(h);
    RECT client;
    GetClientRect(parent, &client);
    int limit = client.right - layout.Px(60);
    if (d.container) {
        const ControlDef& c = layout.Def(d.container);
        if (c.kind == Kind::Frame) limit = RectInParent(layout.Get(d.container)).right - layout.Px(120);
    }
    return limit;
}

// Left edge (in the host window) that a control of the table may start at: inside its frame or panel.
int LeftLimit(const Layout& layout, const ControlDef& d, HWND h) {
    if (d.container && layout.Def(d.container).kind == Kind::Frame)
        return RectInParent(layout.Get(d.container)).left + layout.Px(120);
    return layout.Px(60);
}

// The columns that `text` really colours when drawn in the control's font,
// from its left edge; last < first when it colours none. Measured widths and
// drawn glyphs part by a few percent with some fonts.
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

void FitControl(const Layout& layout, const ControlDef& d) {
    HWND h = layout.Get(d.name);
    if (!h) return;
    std::wstring text = win::WindowText(h);
    if (text.empty()) return;
    bool box = d.kind == Kind::Check || d.kind == Kind::Option;
    RECT r = RectInParent(h);
    int line = LineHeight(h);
    int limit = RightLimit(layout, d, h);
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
    std::wstring shown = text;  // an access key's "&" takes no room (links show theirs as it stands)
    if (d.kind != Kind::Link && shown.find(L'&') != std::wstring::npos) shown.erase(shown.find(L'&'), 1);
    int textWidth = std::max(TextWidth(h, shown, false), InkOf(h, shown).last + 1);
    int need = textWidth + Slack(textWidth) + (box ? SystemMetricForDpi(SM_CXMENUCHECK, layout.Dpi()) + layout.Px(120) : layout.Px(15));
    int textRight = r.left + need;
    int gap = layout.Px(60);
    // What follows on the same row moves right as far as this text needs, within its frame.
    HWND parent = GetParent(h);
    auto following = [&](const ControlDef& o, HWND oh, RECT& orc) {
        if (!oh || oh == h || GetParent(oh) != parent || o.kind == Kind::Frame || o.kind == Kind::Panel)
            return false;
        orc = RectInParent(oh);
        // A link inside the text's own box sits in a gap of its sentence and stays there;
        // one beyond it (a label's value) follows the text like any other control.
        if (o.kind == Kind::Link && orc.left < r.right) return false;
        // On the same row: its middle lies within this control's height.
        int middle = (orc.top + orc.bottom) / 2;
        return middle >= r.top && middle <= r.bottom && orc.left > r.left;
    };
    // Left edge of the first control that follows on the row, or -1 when none does.
    auto firstFollowing = [&] {
        int first = -1;
        for (size_t i = 0; i < layout.Count(); ++i) {
            RECT orc;
            if (following(layout.DefAt(i), layout.Get(layout.DefAt(i).name), orc) && (first < 0 || orc.left < first))
                first = static_cast<int>(orc.left);
        }
        return first;
    };
    int firstLeft = firstFollowing();
    bool any = firstLeft >= 0;
    if (any && textRight + gap > firstLeft) {
        int push = textRight + gap - firstLeft;
        for (size_t i = 0; i < layout.Count(); ++i) {
            RECT orc;
            const ControlDef& o = layout.DefAt(i);
            HWND oh = layout.Get(o.name);
            if (!following(o, oh, orc)) continue;
            int shift = std::min(push, std::max(0, RightLimit(layout, o, oh) - static_cast<int>(orc.right)));
            OffsetRect(&orc, shift, 0);
            MoveTo(oh, orc);
        }
        firstLeft = firstFollowing();
    }
    if (any) {
        // Ends before the next control, so that neither paints over the other.
        r.right = std::max(static_cast<int>(r.left) + 1, std::min(std::max(static_cast<int>(r.right), textRight), firstLeft - gap));
    } else if (textRight > r.right) {
        if (textRight > limit) {
            // Too long for the room to its right: it starts further left, as far as its frame's margin.
            int shift = std::min(textRight - limit, std::max(0, static_cast<int>(r.left) - LeftLimit(layout, d, h)));
            OffsetRect(&r, -shift, 0);
            textRight -= shift;
        }
        r.right = std::min(textRight, std::max(static_cast<int>(r.right), limit));
    }
    // A one-line label never breaks into a second line that its height would hide: what
    // still does not fit is cut where everyone (and the tests) can see it.
    LONG style = GetWindowLongW(h, GWL_STYLE);
    if (d.kind == Kind::Label && (style & SS_TYPEMASK) == SS_LEFT) SetWindowLongW(h, GWL_STYLE, style | SS_LEFTNOWORDWRAP);
    MoveTo(h, r);
}

// The measures of a one-line text in the control's own font.
struct Measure {
    int width = 0, ascent = 0, height = 0;
};
Measure MeasureText(HWND h, const std::wstring& text) {
    win::WindowDC dc(h);
    HGDIOBJ old = SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    SelectObject(dc.get(), old);
    return Measure{size.cx, tm.tmAscent, tm.tmHeight};
}

// A link's letters: their measures, but only as wide as they really colour
// (a stand-in font may draw narrower than it measures, and the underline,
// which a link clips at its letters, would run on under nothing).
Measure LinkLetters(HWND link) {
    std::wstring text = win::WindowText(link);
    Measure m = MeasureText(link, text);
    Ink ink = InkOf(link, text, true);
    // (One column more than drawn here: on the screen a letter may reach one further.)
    if (ink.last >= ink.first) m.width = std::min(m.width, ink.last + 2);
    return m;
}

// A link's box holds its letters with a margin all round for its focus
// rectangle, the letters where the table puts the link.
void SizeLink(const Layout& layout, size_t i) {
    HWND h = layout.Get(layout.DefAt(i).name);
    if (!h) return;
    Measure m = LinkLetters(h);
    RECT r = layout.PixelRect(i);
    MoveTo(h, RECT{r.left - kLinkMargin, r.top - kLinkMargin, r.left + m.width + kLinkMargin,
                   r.top + m.height + kLinkMargin});
}

}  // namespace

void LayOutLinkSentence(const Layout& layout, const LinkSentence& s) {
    HWND text = layout.Get(s.text), link = layout.Get(s.link);
    HWND stop = s.stop ? layout.Get(s.stop) : nullptr;
    if (!text || !link) return;
    Measure t = MeasureText(text, win::WindowText(text));
    int blank = MeasureText(text, L" ").width;
    Measure l = LinkLetters(link);
    // The pieces share the text's baseline; the link's letters begin one blank after the text.
    RECT tr = RectInParent(text);
    int textEnd = tr.left + t.width;
    int baseline = tr.top + t.ascent;
    int x = textEnd + blank;
    RECT lr{x - kLinkMargin, baseline - l.ascent - kLinkMargin, x + l.width + kLinkMargin,
            baseline - l.ascent + l.height + kLinkMargin};
    MoveTo(link, lr);
    // The text's box ends one column after its last letter (which may draw up to
    // its edge), short of the link's box: nothing of it lies under the link.
    tr.right = std::min(textEnd + 1, static_cast<int>(lr.left));
    MoveTo(text, tr);
    if (!stop) return;
    Measure p = MeasureText(stop, win::WindowText(stop));
    MoveTo(stop, RECT{lr.right, baseline - p.ascent, lr.right + p.width, baseline - p.ascent + p.height});
}

void FitToFonts(const Layout& layout) {
    for (size_t i = 0; i < layout.Count(); ++i) {
        Kind k = layout.DefAt(i).kind;
        if (k == Kind::Link) SizeLink(layout, i);
        else if (k == Kind::Label || k == Kind::Check || k == Kind::Option) FitControl(layout, layout.DefAt(i));
    }
}

void SizeToText(Layout& layout, const char* name) {
    HWND label = layout.Get(name);
    if (!label) return;
    int index = ControlIndex(&layout.DefAt(0), layout.Count(), name);
    if (layout.DefAt(static_cast<size_t>(index)).kind == Kind::Link) {
        SizeLink(layout, static_cast<size_t>(index));
        InvalidateRect(label, nullptr, TRUE);
        return;
    }
    // A label as wide as its text must not break it into a second line
    // that its height would hide.
    LONG style = GetWindowLongW(label, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_LEFT) SetWindowLongW(label, GWL_STYLE, style | SS_LEFTNOWORDWRAP);
    std::wstring text = win::WindowText(label);
    RECT r{0, 0, 0, 0};
    {
        win::WindowDC dc(label);
        HGDIOBJ old = SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;  // an access key's "&" takes no room
        DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | prefix);
        SelectObject(dc.get(), old);
    }
    int dpi = layout.Dpi();
    int width = MulDiv(r.right - r.left, 1440, dpi);
    int height = MulDiv(r.bottom - r.top, 1440, dpi);
    if (text.empty()) height = layout.Def(name).height;
    const ControlDef& d = layout.Def(name);
    int left = d.left;
    if (d.flags & CF_Center) left = d.left + (d.width - width) / 2;
    layout.Place(name, left, d.top, width, height);
    InvalidateRect(label, nullptr, TRUE);
}

#include "tests/windows/support/reader.h"
#include <oleacc.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cwctype>
#include <map>
#include "tests/windows/support/wt.h"

namespace wt {

namespace {

std::wstring ClassOf(HWND h) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return cls;
}

bool IsBox(HWND h) {
    std::wstring cls = ClassOf(h);
    return lstrcmpiW(cls.c_str(), L"Edit") == 0 || lstrcmpiW(cls.c_str(), L"ComboBox") == 0 ||
           lstrcmpiW(cls.c_str(), L"ComboBoxEx32") == 0 || lstrcmpiW(cls.c_str(), L"ListBox") == 0;
}

std::wstring WithoutAmpersand(std::wstring text) {
    size_t at = text.find(L'&');
    if (at != std::wstring::npos) text.erase(at, 1);
    return text;
}

// The name MSAA gives, empty when the system does not answer.
std::wstring MsaaName(HWND h) {
    static HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    auto fromWindow = oleacc ? reinterpret_cast<Fn>(GetProcAddress(oleacc, "AccessibleObjectFromWindow")) : nullptr;
    if (!fromWindow) return {};
    static HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    IAccessible* acc = nullptr;
    if (FAILED(fromWindow(h, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), reinterpret_cast<void**>(&acc))) ||
        !acc)
        return {};
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result;
    if (acc->get_accName(self, &name) == S_OK && name) result.assign(name, SysStringLen(name));
    if (name) SysFreeString(name);
    acc->Release();
    return result;
}

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += (c < 128) ? static_cast<char>(c) : '?';
    return s;
}

}  // namespace

HWND NamingLabel(HWND control) {
    HWND h = control;
    if (HWND parent = GetParent(h); parent && lstrcmpiW(ClassOf(parent).c_str(), L"ComboBoxEx32") == 0) h = parent;
    for (HWND prev = GetWindow(h, GW_HWNDPREV); prev; prev = GetWindow(prev, GW_HWNDPREV)) {
        LONG style = GetWindowLongW(prev, GWL_STYLE);
        if (!(style & WS_VISIBLE)) continue;
        UINT type = style & SS_TYPEMASK;
        bool textType = type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
        bool text = lstrcmpiW(ClassOf(prev).c_str(), L"Static") == 0 && textType && !Text(prev).empty();
        return text ? prev : nullptr;
    }
    return nullptr;
}

std::wstring ReaderName(HWND control) {
    // Windows' proxies name a box after its label; Wine's name an edit box by
    // its contents, which would hide a missing label. The rule decides for boxes.
    if (IsBox(control) || IsBox(GetParent(control))) {
        HWND label = NamingLabel(control);
        return label ? WithoutAmpersand(Text(label)) : std::wstring();
    }
    std::wstring asked = MsaaName(control);
    return asked.empty() ? WithoutAmpersand(Text(control)) : asked;
}

wchar_t AccessKeyOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') { ++i; continue; }
        return static_cast<wchar_t>(std::towlower(caption[i + 1]));
    }
    return 0;
}

HWND FocusIn(HWND window) {
    GUITHREADINFO info{sizeof(info)};
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

void SettleWindow(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
    Sleep(100);
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
}

int TableRow(HWND window, const ControlDef* defs, size_t count, HWND h) {
    (void)defs;
    for (HWND w = h; w && w != window; w = GetParent(w)) {
        int id = GetDlgCtrlID(w);
        int row = id - kFirstControlId;
        if (row >= 0 && static_cast<size_t>(row) < count && Child(window, id) == w) return row;
    }
    return -1;
}

void ExpectNamesAndAccessKeys(HWND window, const ControlDef* defs, size_t count, const std::string& where) {
    std::map<wchar_t, std::string> keys;  // key -> the control that has it
    for (size_t i = 0; i < count; ++i) {
        const ControlDef& d = defs[i];
        HWND h = Child(window, kFirstControlId + static_cast<int>(i));
        if (!h) {
            ADD_FAILURE() << where << ": " << d.name << " is missing";
            continue;
        }
        // A link shows its text as it stands; every other caption may mark a key.
        wchar_t key = d.kind == Kind::Link ? 0 : AccessKeyOf(Text(h));
        if (key) {
            auto [it, fresh] = keys.emplace(key, d.name);
            EXPECT_TRUE(fresh) << where << ": access key '" << Narrow(std::wstring(1, key)) << "' of " << d.name
                               << " is " << it->second << "'s too";
        }
        switch (d.kind) {
        case Kind::Button:
        case Kind::Check:
        case Kind::Option:
            EXPECT_NE(key, 0) << where << ": " << d.name << " has no access key";
            [[fallthrough]];
        case Kind::Link:
            EXPECT_FALSE(ReaderName(h).empty()) << where << ": " << d.name << " has no name";
            break;
        case Kind::Edit:
        case Kind::Combo:
        case Kind::ImageCombo: {
            HWND label = NamingLabel(h);
            int row = label ? TableRow(window, defs, count, label) : -1;
            EXPECT_TRUE(row >= 0 && defs[row].kind == Kind::Label)
                << where << ": a screen reader names " << d.name << " \"" << Narrow(ReaderName(h)) << "\""
                << (row >= 0 ? std::string(" after ") + defs[row].name : std::string());
            if (row < 0) break;
            wchar_t labelKey = AccessKeyOf(Text(label));
            EXPECT_NE(labelKey, 0) << where << ": " << defs[row].name << " before " << d.name << " has no access key";
            // Windows neither underlines nor takes the key of a text marked SS_NOPREFIX (Wine takes it).
            EXPECT_FALSE(GetWindowLongW(label, GWL_STYLE) & SS_NOPREFIX)
                << where << ": " << defs[row].name << " shows its \"&\" rather than an access key";
            if (!labelKey || !IsWindowVisible(h) || !IsWindowEnabled(h)) break;
            // Alt with the label's key takes the keyboard to the box.
            PostMessageW(FocusIn(window), WM_SYSCHAR, labelKey, 0x20000001);
            SettleWindow(window);
            EXPECT_EQ(TableRow(window, defs, count, FocusIn(window)), static_cast<int>(i))
                << where << ": the access key of " << defs[row].name << " does not lead to " << d.name;
            break;
        }
        default:
            break;
        }
    }
}

std::vector<int> ExpectTabOrderOfTable(HWND window, const ControlDef* defs, size_t count, const std::string& where) {
    std::vector<int> rows;
    for (int n = 0; n < 60; ++n) {
        HWND focus = FocusIn(window);
        PostMessageW(focus, WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC0000001);
        SettleWindow(window);
        int row = TableRow(window, defs, count, FocusIn(window));
        if (!rows.empty() && row == rows.front()) break;  // came round
        rows.push_back(row);
    }
    std::string seen;
    for (int r : rows) seen += std::string(" ") + (r >= 0 ? defs[r].name : "(outside the table)");
    for (size_t i = 0; i < count; ++i) {
        const ControlDef& d = defs[i];
        bool takesTab = d.kind == Kind::Link || d.kind == Kind::Edit || d.kind == Kind::Combo ||
                        d.kind == Kind::ImageCombo || d.kind == Kind::Button || d.kind == Kind::Check ||
                        d.kind == Kind::Tab;
        HWND h = Child(window, kFirstControlId + static_cast<int>(i));
        if (!takesTab || !h || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
        EXPECT_NE(std::find(rows.begin(), rows.end(), static_cast<int>(i)), rows.end())
            << where << ": Tab never reaches " << d.name << "; it goes" << seen;
    }
    // Round from the first row of the table: each control comes after the one before it.
    auto first = std::min_element(rows.begin(), rows.end());
    std::vector<int> round(first, rows.end());
    round.insert(round.end(), rows.begin(), first);
    for (size_t k = 0; k < round.size(); ++k) {
        EXPECT_GE(round[k], 0) << where << ": Tab leaves the table; it goes" << seen;
        if (k > 0) EXPECT_GT(round[k], round[k - 1]) << where << ": Tab does not follow the table; it goes" << seen;
    }
    return rows;
}

}  // namespace wt

namespace wt {

namespace {

// Width of `text` as the table's font for `flags` draws it at `dpi`.
int WidthInTableFont(const std::wstring& text, unsigned flags, int dpi) {
    LOGFONTW lf = TableFont(flags, dpi);
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size.cx;
}

bool ShowsText(Kind k) {
    return k == Kind::Label || k == Kind::Link || k == Kind::Check || k == Kind::Option || k == Kind::Button;
}

}  // namespace

void ExpectLinksBesideTheirTexts(HWND window, const ControlDef* defs, size_t count, const LinkSentence* sentences,
                                 size_t sentenceCount, int dpi, const std::string& where) {
    auto handle = [&](const char* name) { return Child(window, ControlId(defs, count, name)); };
    for (size_t i = 0; i < count; ++i) {
        const ControlDef& d = defs[i];
        HWND link = Child(window, kFirstControlId + static_cast<int>(i));
        if (d.kind != Kind::Link || !link || !IsWindowVisible(link)) continue;
        RECT box = RectIn(link, window);
        // Its box holds its letters and the margin for the focus, nothing more (no blank after them;
        // a font that draws narrower than it measures may make it narrower).
        int letters = WidthInTableFont(Text(link), d.flags, dpi);
        EXPECT_LE(box.right - box.left, letters + 2 * kLinkMargin + 1) << where << ": " << d.name << "'s box";
        EXPECT_GE(box.right - box.left, letters * 9 / 10) << where << ": " << d.name << "'s box";
        for (size_t j = 0; j < count; ++j) {
            HWND other = Child(window, kFirstControlId + static_cast<int>(j));
            if (j == i || !ShowsText(defs[j].kind) || !other || !IsWindowVisible(other)) continue;
            RECT o = RectIn(other, window), both;
            EXPECT_FALSE(IntersectRect(&both, &box, &o)) << where << ": " << d.name << " lies on " << defs[j].name;
        }
    }
    for (size_t s = 0; s < sentenceCount; ++s) {
        const LinkSentence& ls = sentences[s];
        HWND text = handle(ls.text), link = handle(ls.link);
        if (!text || !link || !IsWindowVisible(link)) continue;
        const ControlDef& td = defs[ControlIndex(defs, count, ls.text)];
        RECT t = RectIn(text, window), l = RectIn(link, window);
        EXPECT_GE(t.bottom, l.top) << where << ": " << ls.link << " stands on the line of " << ls.text;
        EXPECT_LE(t.top, l.bottom) << where << ": " << ls.link << " stands on the line of " << ls.text;
        int textEnd = t.left + WidthInTableFont(WithoutAmpersand(Text(text)), td.flags, dpi);
        int gap = l.left + kLinkMargin - textEnd;
        int blank = WidthInTableFont(L" ", td.flags, dpi);
        EXPECT_NEAR(gap, blank, 1) << where << ": between " << ls.text << " and " << ls.link;
        if (!ls.stop) continue;
        RECT p = RectIn(handle(ls.stop), window);
        EXPECT_NEAR(p.left, l.right, 1) << where << ": " << ls.stop << " follows " << ls.link;
    }
}

}  // namespace wt

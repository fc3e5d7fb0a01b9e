#pragma once
// One table per window: every control is written once as data (name, kind,
// container, position in twips, German and English text, font and state),
// and one builder creates it at the real DPI (twips x dpi / 1440). The window
// code, the English switch and the tests all read the same table.
#include <windows.h>
#include <string>
#include <vector>
#include "common/winutil.h"

enum class Kind {
    Panel,       // borderless container: a real child window that forwards its controls' messages
    Frame,       // group box; its controls are created beside it, offset by its position
    Label,       // static text, wrapping
    Link,        // static text drawn as a web link (underlined, coloured, hand pointer), a tab stop
    Check,       // check box
    Option,      // option (radio) button; one group per container
    Button,      // push button
    Edit,        // single-line text box
    Combo,       // drop-down list
    ImageCombo,  // drop-down list with an icon per entry
    Tab,         // tab strip
    Image,       // bitmap picture
    Bullet,      // small filled square
};

enum ControlFlags : unsigned {
    CF_None = 0,
    CF_Bold = 1u << 0,       // "MS Sans Serif" 8.25 pt bold
    CF_Tahoma = 1u << 1,     // "Tahoma" 8.25 pt
    CF_Underline = 1u << 2,  // underlined (link labels)
    CF_Hidden = 1u << 3,     // not visible at creation
    CF_Disabled = 1u << 4,   // disabled at creation
    CF_Center = 1u << 5,     // centred text
    CF_Checked = 1u << 6,    // check box / option selected at creation
    CF_Group = 1u << 7,      // starts a keyboard group
    CF_NoTab = 1u << 8,      // not a tab stop
};

struct ControlDef {
    const char* name;        // the control's role, e.g. "StartMinimized", "LoginOption(0)"
    Kind kind;
    const char* container;   // name of the container, nullptr = the window itself
    int left, top, width, height;  // twips, relative to the container
    const wchar_t* de;       // German text (as built)
    const wchar_t* en;       // English text, nullptr = the same in both languages
    unsigned flags;
};

// Access keys: the letter of a caption that gets the underline, per language.
// The table's texts stay as they are; the "&" is put in only on the window.
struct AccessKey {
    const char* name;
    wchar_t de;
    wchar_t en;
};

// The colour of link labels; with high contrast on, the system's hot-track colour instead.
constexpr COLORREF kLinkColor = RGB(11, 104, 175);
COLORREF LinkColor();
// Room between a link's letters and the edge of its box, where its focus rectangle is drawn (pixels).
constexpr int kLinkMargin = 1;

// A sentence with a link in it, laid out in pieces side by side: the text before
// the link, the link, and the punctuation after it (nullptr when none).
struct LinkSentence {
    const char* text;
    const char* link;
    const char* stop;
};
// First control id; control i of a table gets kFirstControlId + i.
constexpr int kFirstControlId = 1000;

// Index of a control in a table by name, -1 when absent. Usable by tests too.
int ControlIndex(const ControlDef* defs, size_t count, const char* name);
inline int ControlId(const ControlDef* defs, size_t count, const char* name) {
    int i = ControlIndex(defs, count, name);
    return i < 0 ? -1 : kFirstControlId + i;
}
// Screen DPI of this (DPI-aware) process: the system's.
int ScreenDpi();
// The DPI `window` is drawn at: its monitor's where the system says so (8.1 and
// later, per-monitor aware), the system's elsewhere.
int WindowDpi(HWND window);
// A size of GetSystemMetrics for a window at `dpi` (the system's own answer where it gives one).
int SystemMetricForDpi(int index, int dpi);
// The outer size of a window whose client area is `client` pixels, with its frame at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }
// The font of a table's control with these flags at `dpi`.
LOGFONTW TableFont(unsigned flags, int dpi);

class Layout {
public:
    Layout(const ControlDef* defs, size_t count, const AccessKey* keys = nullptr, size_t keyCount = 0);
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    // Creates every control of the table in `root` at the root's DPI, with the
    // texts of one language.
    void Create(HWND root, bool english = false);
    // Lays every control out again where the table puts it at `dpi`; at another
    // DPI than before, in fonts made for it (the old fonts are freed). The window
    // fits its texts afterwards.
    void Rescale(int dpi);
    HWND Get(const char* name) const;
    int Id(const char* name) const { return ControlId(defs_.data(), defs_.size(), name); }
    // Name of the control with this id, nullptr when none.
    const char* NameOf(int id) const;
    int Dpi() const { return dpi_; }
    int Px(int twips) const { return TwipsToPixels(twips, dpi_); }

    // Puts the texts of one language on every control that has text, with their access keys.
    void ApplyTexts(bool english);
    // Moves a control by `dx` twips (the position in the table changes with it).
    void MoveBy(const char* name, int dxTwips, int dyTwips = 0);
    // Places a control at a new position in twips relative to its container.
    void Place(const char* name, int left, int top, int width, int height);
    const ControlDef& Def(const char* name) const;
    // The table as it stands now, control by control (in the order of their ids).
    size_t Count() const { return defs_.size(); }
    const ControlDef& DefAt(size_t i) const { return defs_[i]; }

    // Colours the texts from WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the system's
    // colours, links in theirs; returns the background brush.
    HBRUSH CtlColor(HDC dc, HWND control) const;
    bool IsLink(HWND control) const;

    // The place of control i in its host window as the table gives it, in pixels at the layout's DPI.
    RECT PixelRect(size_t i) const;

private:
    void CreateOne(size_t i, HWND root, bool english);
    HWND HostOf(size_t i, HWND root, int& x, int& y) const;
    HFONT FontFor(unsigned flags);
    void ApplyAccessKeys(bool english);

    std::vector<ControlDef> defs_;
    const AccessKey* keys_;
    size_t keyCount_;
    std::vector<HWND> hwnds_;
    std::vector<win::Font> fonts_;     // created on first use, one per flag combination
    std::vector<unsigned> fontKeys_;
    int dpi_ = 96;
};

// Registers the panel window class (once) and returns its name.
const wchar_t* PanelClass();
// Creates a top-level window (a main window or a dialog) whose client area is the given size in twips,
// centred on the monitor that holds the pointer.
HWND CreateTopLevelWindow(const wchar_t* className, const wchar_t* caption, int clientWidthTw,
                          int clientHeightTw, DWORD style, DWORD exStyle, HWND owner, void* param);
// WM_DPICHANGED of a window laid out from a table: `relayout` lays its controls
// out at the new DPI (the message's, which the system's answer for the window
// may lag behind), then the window takes the rectangle the system suggests.
void FollowDpiChange(HWND window, WPARAM wp, LPARAM lp, void (*relayout)(int dpi));
// Runs the message loop with keyboard navigation for `window` and its dialogs.
int RunMessageLoop();
// WM_NEXTDLGCTL for a window that is no dialog: the keys of IsDialogMessage (a
// label's access key among them) ask the window itself to move the focus.
void MoveDialogFocus(HWND window, WPARAM wp, LPARAM lp);
// The system's colours or high contrast changed: `window` and all its controls are drawn anew.
// Call from WM_SYSCOLORCHANGE and WM_SETTINGCHANGE.
void RedrawWithSystemColors(HWND window);

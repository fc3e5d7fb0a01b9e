#pragma once
// A window as a keyboard user and a screen reader meet it, read from outside
// its process: the name each control gets, the access keys, and where the Tab
// key goes. Checked against the window's table (creation order = table order).
#include <windows.h>
#include <string>
#include <vector>
#include "common/layout.h"

namespace wt {

// The name a screen reader gives a control. Asked of the system through MSAA
// (AccessibleObjectFromWindow, OBJID_CLIENT) where it answers; Wine does not
// across processes, and there Windows' own rule gives it: a button, check box,
// option or link is named by its text; an edit box, list or drop-down list
// without a name of its own by the nearest visible static text before it in
// creation order. An "&" is no part of a name.
std::wstring ReaderName(HWND control);
// The static text Windows names an edit box, list or drop-down list after, nullptr when none.
HWND NamingLabel(HWND control);
// The access key that a caption marks with "&" (lower case), 0 when none.
wchar_t AccessKeyOf(const std::wstring& caption);
// The control with the keyboard focus in the thread of `window`.
HWND FocusIn(HWND window);
// Lets the window's thread handle what was posted to it.
void SettleWindow(HWND window);
// The table row of `h` or of the table control that holds it (the inner box of an
// image list), -1 when none.
int TableRow(HWND window, const ControlDef* defs, size_t count, HWND h);

// Checks every control of the table (shown or not) as a screen reader and the
// Alt key meet it, and fails with `where` on: a focusable control without a
// name, an edit box or list named by anything but a label, a button, check box
// or option without an access key, a label before a box without one, an access
// key used twice in the window, and a label's key that does not lead to its box.
void ExpectNamesAndAccessKeys(HWND window, const ControlDef* defs, size_t count, const std::string& where);

// Presses Tab from the control that has the focus until the focus comes round,
// and fails with `where` when a shown, enabled link, input, button or check box
// of the table is never reached or the controls are not reached in the order
// of the table. Returns the table rows in the order reached.
std::vector<int> ExpectTabOrderOfTable(HWND window, const ControlDef* defs, size_t count, const std::string& where);

// Checks every shown link of the table and fails with `where` when one lies on
// another text, when its box holds more than its letters and the margin of its
// focus, and when a sentence's link does not begin one blank of the sentence's
// font after its text (within a pixel) or its punctuation does not follow it.
void ExpectLinksBesideTheirTexts(HWND window, const ControlDef* defs, size_t count, const LinkSentence* sentences,
                                 size_t sentenceCount, int dpi, const std::string& where);

}  // namespace wt

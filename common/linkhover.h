#pragma once
// Link labels: the pointer turns into the hand while it is over a link label
// and back into the arrow elsewhere. Only our own windows' pointer changes;
// the system's cursors are never replaced, so nothing is left behind when a
// program ends in the middle of a hover. A link label is also a link for the
// keyboard and for screen readers: Tab reaches it, Enter or Space follows it
// (as a click does, through STN_CLICKED), it draws the focus, and it reports
// the role of a link.
#include <windows.h>
#include <oleacc.h>

extern HCURSOR HandCursor;    // the system hand, loaded when a window with links loads
extern bool CursorReplaced;   // true while the hand is shown over a link label
extern bool HoverActive;      // true while the pointer is inside a link label

// Turns a static control (with SS_NOTIFY and WS_TABSTOP) into a link label.
void MakeLinkLabel(HWND label);
// Starts following the pointer over `label` (from its mouse-move handling).
void TrackLinkHover(HWND window, HWND label);
// After a click: the arrow at once, until the pointer leaves the label and comes back.
void LinkClicked(HWND label);
// What a screen reader is handed for `link`: the system's object for it
// (`inner`, whose reference it takes over) as a link that is focusable.
IAccessible* WrapLinkAccessible(HWND link, IAccessible* inner);

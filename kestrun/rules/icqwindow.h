#pragma once
// How Kestrun treats the windows of a new ICQ 7 process: which of them can
// never be its main window, when that window counts as shown, and its extended
// style once it is taken off the taskbar. Style words are Windows' bit masks.
#include <cstdint>
#include <string>

// The system gives a program's window thread helper windows of its own (input
// method, text services, OLE, GDI+). They are top-level and unowned like a
// main window and may come before it; these are their classes, by name, in
// any letter case as window classes are.
bool IsHelperWindowClass(const std::wstring& className);
// Shown means the visible bit of the style word is set, whatever else the
// word holds: a pop-up window can be shown, a minimized one hidden.
bool IsShownStyle(uint32_t style);
// Off the taskbar: the tool-window bit on and the app-window bit (which would
// force a button) off; every other bit, such as layered or topmost, stays.
uint32_t ToolWindowExStyle(uint32_t exStyle);

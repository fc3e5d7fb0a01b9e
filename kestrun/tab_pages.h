#pragma once
// The tab strip of Kestrun's window and its four pages: the tabs and their
// texts in both languages, the page of the selected tab, and the keys
// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp that switch tabs.
#include <windows.h>
#include "common/layout.h"

// Inserts the tabs, with their texts in one language, into the strip.
void CreateTabs(const Layout& ui, bool english);
// Places every page over the strip's client area below the tab row; the strip leaves that area to them.
void PlaceTabPages(Layout& ui);
// The strip's selection changed (a click or the arrow keys): its page is shown.
void OnTabSelected(const Layout& ui);
// Selects tab `index` (0..3) and shows its page, as a click on that tab does.
void ShowTabPage(const Layout& ui, int index);
// The tab-switching keys work while `window` is shown; released with the window.
void HookTabKeys(HWND window, const Layout& ui);
void UnhookTabKeys();

#pragma once
// Kestrun's window beyond the seam in app.h: the English switch, the status
// texts and the parts that the tests look at.
#include <string>

// Puts the English texts on the window and moves the five controls whose
// sentences change their gap; called once, before the window is shown.
void ApplyEnglishTexts();
// Text of status entry `item` (1..7) in the window's language; empty outside 1..7.
std::wstring StatusText(int item);
// Shows the page of tab `index` (0..3), as a click on that tab does.
void ShowTabPage(int index);

#pragma once
// Ternavo's about box: name and version, our home page, the credit line.

// Shows the about box modally; it is created on first use and then only hidden.
void ShowAboutBox();
// Ends the about box (when the program ends).
void CloseAboutBox();

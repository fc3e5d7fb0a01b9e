#pragma once
// Fitting a window table's texts to the fonts this system really has: the
// table's places are made for "MS Sans Serif", and a system that draws a text
// wider must not cut it off.
#include "common/layout.h"

// Every label, link, check box and option button of the table grows (and
// pushes what follows on its row) until its whole text shows.
void FitToFonts(const Layout& layout);
// A link label inside a sentence moves into the run of blanks before the
// sentence's full stop, clear of the word before it; where its letters are wider than
// that run (another font stands in for the sentence's), it takes a smaller size that fits.
void FitLinkIntoGap(Layout& layout, const char* sentenceName, const char* linkName);
// Sizes a label to its one-line text; a centred label keeps its centre.
void SizeToText(Layout& layout, const char* name);

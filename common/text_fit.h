#pragma once
// Fitting a window table's texts to the fonts this system really has: the
// table's places are made for "MS Sans Serif", and a system that draws a text
// wider must not cut it off.
#include "common/layout.h"

// Every label, link, check box and option button of the table grows (and
// pushes what follows on its row) until its whole text shows.
void FitToFonts(const Layout& layout);
// A sentence with a link is laid out in pieces side by side on the sentence's
// line, each measured in its own font: the text, one blank of the text's font,
// the link, the punctuation that follows.
void LayOutLinkSentence(const Layout& layout, const LinkSentence& sentence);
// Sizes a label to its one-line text; a centred label keeps its centre. A link's
// box holds its text where the table puts it and a margin for its focus rectangle.
void SizeToText(Layout& layout, const char* name);

// Word wrap of a text block: where each line of a text starts and ends at a given width.
#pragma once

#include <cstdint>

class Font;

enum { CTL3_PAGE_UNITS = 1024 }; // code units of a text block, the terminator included

// A wrapped block: the text (cut to 1023 code units) and its lines as [start, end) offsets.
// A line never holds the newline or blank it broke at; a word wider than the width breaks
// before the unit that overflows, which starts the next line, so no unit is lost.
struct Ctl3TextPage {
    char16_t text[CTL3_PAGE_UNITS] = {};
    int32_t lineCount = 1; // an empty text is one empty line
    uint16_t lineStart[CTL3_PAGE_UNITS] = {};
    uint16_t lineEnd[CTL3_PAGE_UNITS] = {};
};

// Copies the text (null gives an empty one) into the page and wraps it at `width` with
// FontWrapPoint; the line count.
int Ctl3PageSet(Ctl3TextPage* page, const Font* font, const char16_t* text, float width);
// Line `index` as a terminated string in `out` (CTL3_PAGE_UNITS units).
void Ctl3PageLine(const Ctl3TextPage& page, int index, char16_t* out);

// Word wrap of a text block.
#include "ui/Ctl3Wrap.h"

#include "I3d/Font.h"

#include <cstring>

int Ctl3PageSet(Ctl3TextPage* page, const Font* font, const char16_t* text, float width) {
    // Scripts and records hand in texts of any length: copy what fits and wrap only that.
    int len = 0;
    if (text)
        while (len < CTL3_PAGE_UNITS - 1 && text[len])
            ++len;
    if (len > 0) std::memcpy(page->text, text, size_t(len) * sizeof(char16_t));
    page->text[len] = 0;

    const char16_t* t = page->text;
    int lines = 0, p = 0;
    for (;;) {
        int q = int(FontWrapPoint(font, t + p, width) - t);
        if (t[q] == 0) break;
        int end = q, next = q + 1;
        if (t[q] != u'\n' && t[q] != u' ') {
            // A word wider than the line: the overflowing unit starts the next line. A unit
            // wider than the whole width stays on its own line, else nothing would move on.
            if (q == p) ++q;
            if (t[q] == 0) break;
            end = next = q;
        }
        page->lineStart[lines] = uint16_t(p);
        page->lineEnd[lines] = uint16_t(end);
        ++lines;
        p = next;
        if (t[p] == 0) break;
    }
    page->lineStart[lines] = uint16_t(p);
    page->lineEnd[lines] = uint16_t(len);
    page->lineCount = lines + 1;
    return page->lineCount;
}

void Ctl3PageLine(const Ctl3TextPage& page, int index, char16_t* out) {
    out[0] = 0;
    if (index < 0 || index >= page.lineCount) return;
    const int start = page.lineStart[index], end = page.lineEnd[index];
    if (end > start) std::memcpy(out, page.text + start, size_t(end - start) * sizeof(char16_t));
    out[end > start ? end - start : 0] = 0;
}

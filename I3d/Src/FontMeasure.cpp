// Measuring text: line widths and heights, widths of formatted and narrow text, and the point
// where a line must wrap.
#include "I3d/Src/FontInternal.h"
#include "engine/WideFormat.h"

#include <cstdarg>
#include <cstddef>

HRESULT FontMeasure(const Font* font, const char16_t* text, float* width, float* height,
                    int stopAtNewline) {
    if (!text || !width || !height) return E_INVALIDARG;
    if (!FontIsLoaded(font)) return 0;
    // Whole-pixel advances summed as integers: exact, and the same sums the pen makes.
    int64_t widest = 0, line = 0;
    float h = font->cellHeight;
    for (const char16_t* p = text; *p; ++p) {
        if (*p == u'\n') {
            if (stopAtNewline) break;
            line = 0;
            h += font->lineAdvance;
            continue;
        }
        line += FontAdvanceOf(font, *p);
        if (line > widest) widest = line;
    }
    *width = (float)widest * font->scaleX;
    *height = h * font->scaleY;
    return 0;
}

float FontTextWidth(const Font* font, const char16_t* text) {
    float w = 0.0f, h = 0.0f;
    FontMeasure(font, text, &w, &h, 0);
    return w;
}

float FontTextWidth(const Font* font, const char* text) {
    char16_t wide[FONT_TEXT_MAX + 1];
    WideFromNarrow(text, wide, sizeof wide / sizeof wide[0]);
    return FontTextWidth(font, wide);
}

float FontTextWidthF(const Font* font, const char16_t* format, ...) {
    char16_t text[FONT_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    int n = WideFormatV(text, sizeof text / sizeof text[0], format, args);
    va_end(args);
    return n < 0 ? 0.0f : FontTextWidth(font, text);
}

const char16_t* FontWrapPoint(const Font* font, const char16_t* text, float maxWidth) {
    if (!text) return nullptr;
    const char16_t* p = text;
    if (!FontIsLoaded(font)) {
        while (*p && *p != u'\n')
            ++p;
        return p;
    }
    const float scale = font->scaleX;
    float sum = 0.0f;
    for (; *p; ++p) {
        if (*p == u'\n') return p;
        sum += (float)FontAdvanceOf(font, *p) * scale;
        if (sum > maxWidth) {
            // Back towards the line start for a blank; a run without one breaks where it overflows.
            float back = sum;
            for (ptrdiff_t i = p - text; i >= 0; --i) {
                if (text[i] == u' ') return text + i;
                back -= (float)FontAdvanceOf(font, text[i]) * scale;
                if (back <= 0.0f) break;
            }
            return p;
        }
    }
    return p;
}

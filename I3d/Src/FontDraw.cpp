// Drawing text: glyph quads written into the current vertex buffer in batches of at most 800,
// each batch drawn through the shared glyph index buffer with the font's states.
#include "I3d/Buffers.h"
#include "I3d/Src/FontInternal.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/WideFormat.h"

#include <cmath>
#include <cstdarg>

namespace {

constexpr int kBatchVertices = FONT_BATCH_GLYPHS * 4;

// Locks the current vertex buffer for a whole batch. When that fails (no current buffer, or it
// is locked by someone else) the batch's glyphs are dropped.
void BeginBatch(Font* f) {
    f->glyphsInBatch = 0;
    f->batchLocked = I3dVbLockCurrent(kBatchVertices) == 0;
}

void SetGlyphStates(const Font* f) {
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(0);
    D3dSetZFunc(D3DCMP_ALWAYS);
    D3dSetAlphaTest(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetTexTransformFlags(0, D3DTTFF_DISABLE);
    D3dSetTextureDiffuseStages();
    // At whole-pixel pens every texel centre lands on a pixel centre, so linear filtering gives
    // the texels exactly.
    D3dSetMinFilter(0, D3DTEXF_LINEAR);
    D3dSetMagFilter(0, D3DTEXF_LINEAR);
    D3dSetTexture(0, f->texture);
}

// Ends the writer and draws the batch's glyphs, 2 triangles over 4 vertices each.
void EndBatch(Font* f) {
    const int n = f->glyphsInBatch;
    I3dIndexBuffer* indices = n > 0 && f->batchLocked ? FontGlyphIndices() : nullptr;
    if (indices) SetGlyphStates(f);
    if (f->batchLocked) I3dVbUnlockCurrent();
    if (indices) {
        I3dVbSelectCurrent();
        I3dIbSelect(indices);
        I3dVbDrawIndexed(D3DPT_TRIANGLELIST, 2 * n, 4 * n);
    }
    f->batchLocked = false;
    f->glyphsInBatch = 0;
}

// One quad at the pen, corners moved by -0.5 so that texel centres fall on pixel centres; the
// pen moves by the scaled advance. A full batch is drawn first and a new one opened.
void PutGlyph(Font* f, const FontGlyph& g) {
    if (f->glyphsInBatch == (int)FONT_BATCH_GLYPHS) {
        EndBatch(f);
        BeginBatch(f);
    }
    const float sa = g.a * f->scaleX, sb = g.b * f->scaleX, sc = g.c * f->scaleX;
    const float left = f->penX + sa + f->glyphOffsetX - 0.5f, right = left + sb;
    const float top = f->penY - 0.5f, bottom = top + f->cellHeight * f->scaleY;
    f->penX += sa + sc;
    if (!f->batchLocked) return;
    const float corner[4][4] = {{left, bottom, g.left, g.bottom},
                                {left, top, g.left, g.top},
                                {right, top, g.right, g.top},
                                {right, bottom, g.right, g.bottom}};
    for (const auto& c : corner) {
        I3dVbPos(c[0], c[1], 0.0f);
        I3dVbColor(f->colour);
        I3dVbUv(c[2], c[3]);
        I3dVbNext();
    }
    ++f->glyphsInBatch;
}

float LineWidth(const Font* f, const char16_t* from) {
    float w = 0.0f, h = 0.0f;
    FontMeasure(f, from, &w, &h, 1);
    return w;
}

} // namespace

int FontDraw(Font* f, float x, float y, const char16_t* text) {
    // A zero (or NaN) scale would only make empty quads.
    if (!FontIsLoaded(f) || !text || !(std::fabs(f->scaleX) > 0.0f && std::fabs(f->scaleY) > 0.0f))
        return 0;
    if (f->batchNesting++ == 0) BeginBatch(f);

    f->penX = std::floor(x);
    f->penY = std::floor(y);
    const FontGlyph dot = FontGlyphOf(f, u'.');
    const float ellipsis = 3.0f * (float)(dot.a + dot.c) * f->scaleX;
    const bool clipping = f->clipWidth > 0.0f && LineWidth(f, text) > f->clipWidth;
    // Not even the ellipsis fits: nothing of the text is drawn.
    if (clipping && ellipsis > f->clipWidth) {
        FontFlush(f);
        return 0;
    }

    if (f->vAlign == 1) f->penY = std::floor(std::floor(y) - f->cellHeight * 0.5f);
    if (f->vAlign == 2) f->penY = std::floor(std::floor(y) - f->cellHeight);

    bool lineStart = true;
    for (const char16_t* p = text; *p; ++p) {
        if (lineStart && (f->hAlign == 1 || f->hAlign == 2)) {
            const float w = LineWidth(f, p);
            f->penX = std::floor(f->hAlign == 1 ? x - w / 2.0f : x - w);
        }
        lineStart = false;
        if (*p == u'\n') {
            f->penX = x;
            f->penY += f->lineAdvance;
            lineStart = true;
            continue;
        }
        const FontGlyph g = FontGlyphOf(f, *p);
        const float glyphRight = f->glyphOffsetX + f->penX + (g.a + g.b) * f->scaleX;
        if (clipping && x + f->clipWidth < glyphRight + ellipsis) {
            // The dots go straight after the last glyph, on its line, in this batch.
            for (int i = 0; i < 3; ++i)
                PutGlyph(f, dot);
            FontFlush(f);
            return 0;
        }
        PutGlyph(f, g);
    }
    FontFlush(f);
    return 0;
}

int FontFlush(Font* f) {
    if (!f || f->batchNesting <= 0) return -1;
    if (--f->batchNesting == 0) EndBatch(f);
    return 0;
}

int FontPrint(Font* f, float x, float y, const char16_t* format, ...) {
    char16_t text[FONT_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    int n = WideFormatV(text, sizeof text / sizeof text[0], format, args);
    va_end(args);
    if (n < 0) return -1;
    return FontDraw(f, x, y, text);
}

int FontPrint(Font* f, float x, float y, const char* text) {
    char16_t wide[FONT_TEXT_MAX + 1];
    WideFromNarrow(text, wide, sizeof wide / sizeof wide[0]);
    return FontDraw(f, x, y, text ? wide : nullptr);
}

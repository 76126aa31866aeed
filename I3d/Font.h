// Bitmap fonts: a glyph texture and a metrics file (".abc") mapping UTF-16 code units to glyph
// records. Text is measured and drawn with per-line alignment, a clip width that ends an
// over-long line with "...", and batching: glyph quads go into the current vertex buffer and
// are drawn in one call per batch. Fonts are shared by file title through FontAcquire.
#pragma once

#include "engine/SharedObj.h"
#include "platform/d3d8/D3d8Types.h"

#include <cstdint>

// A glyph record as the metrics file holds it (24 bytes): the texture rectangle, then the quad's
// offset from the pen (a), its width (b) and the advance from its left edge (c).
struct FontGlyph {
    float left, top, right, bottom;
    int16_t a, b, c;
    int16_t unused;
};
static_assert(sizeof(FontGlyph) == 24);

// Metrics file layout: version (u32, 5) at 0, cell height (float) at 4, two unused words, line
// advance (float) at 16, N (u16) at 20, N + 1 record indices (u16) at 22, M (u32) at 24 + 2N,
// M records at 28 + 2N.
enum : uint32_t {
    FONT_ABC_VERSION = 5,
    FONT_GLYPH_BYTES = 24,
    FONT_BATCH_GLYPHS = 800, // glyphs per draw: the shared index buffer's size
};

class Font : public SharedObj {
  public:
    // Defaults; the first live font makes the shared glyph index buffer.
    Font();
    // Destroy; the last live font frees the shared glyph index buffer.
    ~Font() override;

    // Frees the metrics, releases the texture and clears the loaded fields (settings stay);
    // the current font is cleared when it is this one.
    void Destroy();

    float cellHeight = 36.0f; // height of a line of glyphs, in pixels
    uint32_t header2 = 0, header3 = 0;
    float lineAdvance = 36.0f; // distance between lines when drawing (never scaled)
    float scaleX = 1.0f, scaleY = 1.0f;
    float glyphOffsetX = 0.0f; // moves every quad, not the advance
    float penX = 0.0f, penY = 0.0f;
    uint16_t maxCode = 0;                // N
    const uint16_t* codeTable = nullptr; // N + 1 entries, into fileBlock
    uint32_t zero = 0;
    uint32_t recordCount = 0;         // M, at least 1 once loaded
    const uint8_t* records = nullptr; // M records of 24 bytes, into fileBlock
    int32_t batchNesting = 0;         // open draws
    uint8_t* fileBlock = nullptr;     // the whole metrics file
    int32_t glyphsInBatch = 0;
    int32_t texture = -1;          // texture slot
    int32_t hAlign = 0;            // 0 left, 1 centre, 2 right, per line, about x
    int32_t vAlign = 0;            // 0 top, 1 centre, 2 bottom, about y
    uint32_t colour = 0xFFFFFFFFu; // ARGB of the glyph vertices
    float clipWidth = 0.0f;        // 0 or less: no clipping
    bool batchLocked = false;      // the open batch holds the current vertex buffer's lock
};

// Loaded: a metrics file whose sizes hold together, with its texture. Only a loaded font
// measures, draws and is handed out by FontAcquire.
bool FontIsLoaded(const Font* font);
// Whether the loaded font has a glyph of its own for the code (not the box of a missing one).
bool FontHasGlyph(const Font* font, char16_t code);

// Reads "<path>.abc" (the path's extension replaced) and loads the texture "<path>" (".dds",
// then ".tga") shared by its title. With the texture, version 5 and a file whose table and
// records lie inside it (at least one record), the font takes them over and becomes current:
// 0. Otherwise -1: the font holds no metrics (the texture slot, if any, stays until Destroy).
int FontLoadAbc(Font* font, const char* path);

void FontSetCurrent(Font* font);
// The font most recently loaded or made current; null when none.
Font* FontGetCurrent();

void FontSetScale(Font* font, float x, float y);
void FontSetGlyphOffsetX(Font* font, float offset);

// Width of the widest line and height (cell height + line advance per newline), scaled. With
// `stopAtNewline` only the first line counts. A newline adds nothing to the line it starts.
// Codes above N, and codes whose entry is 0 or not below M, use record 0. E_INVALIDARG for a
// null text or output; 0 otherwise; a font that is not loaded leaves the outputs unchanged.
HRESULT FontMeasure(const Font* font, const char16_t* text, float* width, float* height,
                    int stopAtNewline);
// The scaled width of the whole text; 0 without a loaded font or text.
float FontTextWidth(const Font* font, const char16_t* text);
// The narrow text widened byte by byte (at most 2048 characters).
float FontTextWidth(const Font* font, const char* text);
// The width of a wide printf-style text (see engine/WideFormat.h) of at most 2048 characters;
// 0 for a refused format.
float FontTextWidthF(const Font* font, const char16_t* format, ...);

// Draws (batches) the text with the pen at (x, y): pen x and y floored, each line aligned, the
// first line's width against the clip width. Always 0; nothing is drawn without a loaded font,
// with a zero scale, or when the ellipsis alone is wider than the clip width of a clipped line.
int FontDraw(Font* font, float x, float y, const char16_t* text);
// A wide printf-style text (at most 2048 characters) drawn with FontDraw; -1 for a refused
// format (nothing is drawn), else 0.
int FontPrint(Font* font, float x, float y, const char16_t* format, ...);
// Narrow text widened byte by byte (at most 2048 characters), not formatted.
int FontPrint(Font* font, float x, float y, const char* text);
// Ends one batch level; the outermost draws the batch with the font's states. -1 when no batch
// is open, else 0.
int FontFlush(Font* font);

// Where a line of at most maxWidth (scaled) must break: at the first newline; else, when the
// advances pass maxWidth, at the last blank before that point, or at the overflowing unit when
// there is none; else at the end. Null for a null text.
const char16_t* FontWrapPoint(const Font* font, const char16_t* text, float maxWidth);

// The shared font of that file title (upper-cased, at most 31 characters): found with one more
// reference, or made, loaded from `path` (without extension) and linked. Null when the font
// does not load (it is deleted, so a later acquire tries again) or for a null path. Give each
// reference back with SharedObjRelease.
Font* FontAcquire(const char* path);
// The shared font of that title (upper-cased, at most 31 characters) when it is loaded, with no
// reference taken: it lives as long as whoever acquired it. Null for a null or unknown name.
Font* FontFind(const char* title);

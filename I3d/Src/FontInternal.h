// What the font sources share: the glyph lookup and the shared glyph index buffer. For the
// render kernel's font sources only.
#pragma once

#include "I3d/Font.h"

#include <cstddef>

struct I3dIndexBuffer;

// Formatted and widened texts hold at most this many characters (and the terminator).
constexpr size_t FONT_TEXT_MAX = 2048;

// The record of a code unit of a loaded font: record 0 for codes above N and for entries that
// are 0 or not below M.
FontGlyph FontGlyphOf(const Font* font, char16_t code);
// a + c of the code's record.
inline int FontAdvanceOf(const Font* font, char16_t code) {
    FontGlyph g = FontGlyphOf(font, code);
    return g.a + g.c;
}

// The shared index buffer of 800 glyph quads, made again when it could not be made before (no
// device when the first font was made); null when it still cannot be.
I3dIndexBuffer* FontGlyphIndices();

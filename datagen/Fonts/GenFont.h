// Bitmap fonts made from outline faces: glyphs rendered with FreeType into an 8-bit coverage
// atlas, with the metrics file (".abc", version 5) that maps character codes to them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One glyph record: the texture rectangle (u = x / width, v = y / height, v = 0 at the top
// row), the left bearing a, the bitmap width b and c = advance - a, in whole pixels.
struct AbcRecord {
    float left = 0, top = 0, right = 0, bottom = 0;
    int16_t a = 0, b = 0, c = 0;
};

struct AbcMetrics {
    float cellHeight = 0;
    float lineAdvance = 0;
    std::vector<uint16_t> table; // record index per code 0..N (N = size - 1); 0 = record 0
    std::vector<AbcRecord> records;
};

// The metrics file, field by field in little-endian order: version 5, cell height, two zero
// words, line advance, N, the table, M, then M records of 24 bytes. An empty table is written
// as N = 0 with one entry 0.
std::vector<uint8_t> AbcBytes(const AbcMetrics& metrics);

// A coverage atlas, rows top to bottom.
struct GenGreyImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    uint8_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint8_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

struct GenFont {
    AbcMetrics metrics;
    GenGreyImage atlas;
};

// Renders `codes` of the face at `points` (at 96 dpi). Every glyph sits in a row exactly one
// cell height tall with its baseline at the ascender, b texels wide with at least one empty
// texel on either side. Record 0 is a box outline for codes the font lacks; codes the face has
// no glyph for map to it. N is the highest code asked for. False with `error` set when the face
// cannot be read or the glyphs do not fit a 2048 x 2048 atlas.
bool GenRenderFont(const std::string& faceFile, int points, const std::vector<char16_t>& codes,
                   GenFont* out, std::string* error);

// "<pathNoExt>.abc" and "<pathNoExt>.tga" (8-bit grey, type 3, rows bottom-up); each file is
// replaced whole. Never a ".dds", which the texture loader would take first.
bool GenWriteFont(const GenFont& font, const std::string& pathNoExt);

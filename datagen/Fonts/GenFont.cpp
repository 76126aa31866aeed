// The font generator's model: FreeType renders each glyph, the glyphs are packed into rows of
// one cell height, and the metrics and atlas are written in the engine's formats.
#include "datagen/Fonts/GenFont.h"

#include "I3d/Image.h"
#include "datagen/Images/ImageWriters.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstring>

// ---- the metrics file ----

namespace {

void PutU16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(uint8_t(v));
    out->push_back(uint8_t(v >> 8));
}
void PutU32(std::vector<uint8_t>* out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}
void PutF32(std::vector<uint8_t>* out, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    PutU32(out, v);
}

} // namespace

std::vector<uint8_t> AbcBytes(const AbcMetrics& m) {
    std::vector<uint8_t> out;
    const std::vector<uint16_t> table = m.table.empty() ? std::vector<uint16_t>{0} : m.table;
    PutU32(&out, 5);
    PutF32(&out, m.cellHeight);
    PutU32(&out, 0);
    PutU32(&out, 0);
    PutF32(&out, m.lineAdvance);
    PutU16(&out, uint32_t(table.size() - 1));
    for (uint16_t entry : table)
        PutU16(&out, entry);
    PutU32(&out, uint32_t(m.records.size()));
    for (const AbcRecord& r : m.records) {
        PutF32(&out, r.left);
        PutF32(&out, r.top);
        PutF32(&out, r.right);
        PutF32(&out, r.bottom);
        PutU16(&out, uint16_t(r.a));
        PutU16(&out, uint16_t(r.b));
        PutU16(&out, uint16_t(r.c));
        PutU16(&out, 0);
    }
    return out;
}

// ---- rendering ----

namespace {

// A glyph before packing: its coverage, bearing and advance.
struct Cut {
    char16_t code = 0;
    int a = 0, advance = 0;
    int width = 0;
    std::vector<uint8_t> cell; // width x cell height, top row first
};

// The default glyph: a box outline from the baseline up to 0.7 of the ascender.
Cut BoxGlyph(int cellHeight, int ascender) {
    Cut g;
    int h = std::max(3, ascender * 7 / 10);
    g.width = std::max(3, h * 6 / 10);
    g.a = 1;
    g.advance = g.width + 2;
    g.cell.assign(size_t(g.width) * size_t(cellHeight), 0);
    for (int y = ascender - h; y < ascender; ++y)
        for (int x = 0; x < g.width; ++x)
            if (y >= 0 && y < cellHeight &&
                (x == 0 || x == g.width - 1 || y == ascender - h || y == ascender - 1))
                g.cell[size_t(y) * size_t(g.width) + size_t(x)] = 255;
    return g;
}

// The glyph's bitmap placed in a cell with the baseline at `ascender`; rows outside the cell
// are cut.
bool RenderGlyph(FT_Face face, char16_t code, int cellHeight, int ascender, Cut* out) {
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bmp = slot->bitmap;
    if (bmp.width > 0 && bmp.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
    out->code = code;
    out->a = slot->bitmap_left;
    out->advance = int(std::lround(double(slot->advance.x) / 64.0));
    out->width = int(bmp.width);
    out->cell.assign(size_t(out->width) * size_t(cellHeight), 0);
    for (int r = 0; r < int(bmp.rows); ++r) {
        int y = ascender - slot->bitmap_top + r;
        if (y < 0 || y >= cellHeight) continue;
        const uint8_t* src = bmp.buffer + ptrdiff_t(r) * bmp.pitch;
        std::memcpy(&out->cell[size_t(y) * size_t(out->width)], src, size_t(out->width));
    }
    return true;
}

// Rows of one cell height in an atlas `width` wide, one empty texel before every glyph and
// after the last of each row. The height used, or -1 when a glyph is wider than the atlas.
int Pack(const std::vector<Cut>& cuts, int width, int cellHeight, std::vector<int>* x,
         std::vector<int>* y) {
    int penX = 1, penY = 0;
    x->clear();
    y->clear();
    for (const Cut& g : cuts) {
        if (g.width + 2 > width) return -1;
        if (penX + g.width + 1 > width) {
            penX = 1;
            penY += cellHeight;
        }
        x->push_back(penX);
        y->push_back(penY);
        penX += g.width + 1;
    }
    return penY + cellHeight;
}

int NextPow2(int v) {
    int p = 1;
    while (p < v)
        p *= 2;
    return p;
}

} // namespace

bool GenRenderFont(const std::string& faceFile, int points, const std::vector<char16_t>& codes,
                   GenFont* out, std::string* error) {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        *error = "FreeType did not start";
        return false;
    }
    bool ok = FT_New_Face(lib, faceFile.c_str(), 0, &face) == 0 &&
              FT_Set_Char_Size(face, 0, FT_F26Dot6(points) * 64, 96, 96) == 0;
    if (!ok) *error = "cannot read " + faceFile;

    std::vector<Cut> cuts;
    int cellHeight = 0, ascender = 0;
    if (ok) {
        const FT_Size_Metrics& sm = face->size->metrics;
        ascender = int(std::ceil(double(sm.ascender) / 64.0));
        const int descender = int(std::floor(double(sm.descender) / 64.0));
        cellHeight = ascender - descender;
        out->metrics.cellHeight = float(cellHeight);
        // Lines never overlap, whatever the face's rounded line gap.
        out->metrics.lineAdvance =
            float(std::max<long>(std::lround(double(sm.height) / 64.0), cellHeight));
        cuts.push_back(BoxGlyph(cellHeight, ascender));
        char16_t maxCode = 0;
        for (char16_t code : codes)
            maxCode = std::max(maxCode, code);
        out->metrics.table.assign(size_t(maxCode) + 1, 0);
        for (char16_t code : codes) {
            Cut g;
            if (out->metrics.table[code] != 0 || FT_Get_Char_Index(face, code) == 0 ||
                !RenderGlyph(face, code, cellHeight, ascender, &g))
                continue;
            out->metrics.table[code] = uint16_t(cuts.size());
            cuts.push_back(std::move(g));
        }
    }
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(lib);
    if (!ok) return false;

    // The narrowest power-of-two square-ish atlas that holds every row.
    std::vector<int> xs, ys;
    int width = 64, used = -1;
    for (; width <= 2048; width *= 2) {
        used = Pack(cuts, width, cellHeight, &xs, &ys);
        if (used > 0 && used <= width) break;
    }
    if (width > 2048) {
        *error = "the glyphs do not fit a 2048 x 2048 atlas";
        return false;
    }
    GenGreyImage& atlas = out->atlas;
    atlas.width = width;
    atlas.height = NextPow2(used);
    atlas.pixels.assign(size_t(atlas.width) * size_t(atlas.height), 0);
    out->metrics.records.clear();
    for (size_t i = 0; i < cuts.size(); ++i) {
        const Cut& g = cuts[i];
        for (int y = 0; y < cellHeight; ++y)
            for (int x = 0; x < g.width; ++x)
                atlas.At(xs[i] + x, ys[i] + y) = g.cell[size_t(y) * size_t(g.width) + size_t(x)];
        AbcRecord r;
        r.left = float(xs[i]) / float(atlas.width);
        r.right = float(xs[i] + g.width) / float(atlas.width);
        r.top = float(ys[i]) / float(atlas.height);
        r.bottom = float(ys[i] + cellHeight) / float(atlas.height);
        r.a = int16_t(g.a);
        r.b = int16_t(g.width);
        r.c = int16_t(g.advance - g.a);
        out->metrics.records.push_back(r);
    }
    return true;
}

bool GenWriteFont(const GenFont& font, const std::string& pathNoExt) {
    const GenGreyImage& src = font.atlas;
    I3dImage* img = ImgAlloc(src.width, src.height, IMG_L8);
    if (!img) return false;
    for (int y = 0; y < src.height; ++y)
        std::memcpy(img->pixels + size_t(y) * size_t(img->pitch),
                    &src.pixels[size_t(y) * size_t(src.width)], size_t(src.width));
    bool ok = ImgSaveTga(img, (pathNoExt + ".tga").c_str(), nullptr) == 0;
    ImgFree(img);
    return ok && GenWriteFile(pathNoExt + ".abc", AbcBytes(font.metrics));
}

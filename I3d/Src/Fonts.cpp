// Fonts: construction and destruction with the shared glyph index buffer, loading the metrics
// file and its texture, the current font and the glyph lookup.
#include "I3d/Buffers.h"
#include "I3d/Src/FontInternal.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/Files.h"
#include "engine/Memory.h"
#include "engine/Paths.h"

#include <cstring>

static Font* s_current = nullptr;
static int s_liveFonts = 0;
static I3dIndexBuffer* s_glyphIndices = nullptr;

// ---- the shared glyph index buffer ----

I3dIndexBuffer* FontGlyphIndices() {
    if (s_glyphIndices) return s_glyphIndices;
    I3dIndexBuffer* ib = I3dIbCreate(1, FONT_BATCH_GLYPHS * 6);
    if (!ib) return nullptr;
    uint16_t* p = I3dIbLock(ib, FONT_BATCH_GLYPHS * 6);
    if (!p) {
        I3dIbFree(ib);
        return nullptr;
    }
    for (uint32_t k = 0; k < FONT_BATCH_GLYPHS; ++k) {
        const uint16_t v = (uint16_t)(4 * k);
        const uint16_t quad[6] = {v, (uint16_t)(v + 1), (uint16_t)(v + 2),
                                  v, (uint16_t)(v + 2), (uint16_t)(v + 3)};
        std::memcpy(p + 6 * k, quad, sizeof quad);
    }
    I3dIbUnlock(ib);
    s_glyphIndices = ib;
    return ib;
}

// ---- life ----

Font::Font() {
    if (s_liveFonts++ == 0) FontGlyphIndices();
}

Font::~Font() {
    Destroy();
    if (--s_liveFonts == 0 && s_glyphIndices) {
        I3dIbFree(s_glyphIndices);
        s_glyphIndices = nullptr;
    }
}

void Font::Destroy() {
    MemFree(fileBlock);
    fileBlock = nullptr;
    codeTable = nullptr;
    records = nullptr;
    maxCode = 0;
    recordCount = 0;
    if (texture >= 0) I3dTexRelease(texture);
    texture = -1;
    if (s_current == this) s_current = nullptr;
}

bool FontIsLoaded(const Font* font) {
    return font && font->records && font->codeTable && font->recordCount > 0;
}

// ---- loading ----

namespace {

template <typename T>
T Read(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Takes over the header, table and records when the file's sizes hold together; false leaves
// the font without metrics.
bool TakeMetrics(Font* font, uint8_t* block, int size, const char* path) {
    const size_t n = (size_t)size;
    if (n < 24 || Read<uint32_t>(block) != FONT_ABC_VERSION) {
        DbgPrintf(DBG_RENDER, "FontLoadAbc(%s): not a version-5 metrics file\n", path);
        return false;
    }
    const size_t maxCode = Read<uint16_t>(block + 20);
    const size_t recordsAt = 28 + 2 * maxCode;
    if (n < recordsAt) {
        DbgPrintf(DBG_RENDER, "FontLoadAbc(%s): the code table passes the end of the file\n", path);
        return false;
    }
    const uint32_t count = Read<uint32_t>(block + 24 + 2 * maxCode);
    if (count == 0 || (uint64_t)count * FONT_GLYPH_BYTES > n - recordsAt) {
        DbgPrintf(DBG_RENDER, "FontLoadAbc(%s): %u glyph records do not fit the file\n", path,
                  (unsigned)count);
        return false;
    }
    font->cellHeight = Read<float>(block + 4);
    font->header2 = Read<uint32_t>(block + 8);
    font->header3 = Read<uint32_t>(block + 12);
    font->lineAdvance = Read<float>(block + 16);
    font->maxCode = (uint16_t)maxCode;
    // Offset 22 is even and the block comes from the allocator: the table is aligned.
    font->codeTable = reinterpret_cast<const uint16_t*>(block + 22);
    font->zero = 0;
    font->recordCount = count;
    font->records = block + recordsAt;
    return true;
}

} // namespace

int FontLoadAbc(Font* font, const char* path) {
    if (!font || !path) return -1;
    // A font loaded again gives back what it held first.
    font->Destroy();
    char metrics[260], texture[260];
    std::snprintf(metrics, sizeof metrics, "%s", path);
    if (PathSetExt(metrics, sizeof metrics, "abc") != 1 ||
        PathStripExt(path, texture, sizeof texture) != 1)
        return -1;
    void* data = nullptr;
    int size = FileReadAll(&data, metrics, 0);
    font->texture = I3dTexLoad(texture, nullptr, 1);
    if (size < 0 || font->texture < 0) {
        DbgPrintf(DBG_RENDER, "FontLoadAbc(%s): %s missing\n", path,
                  size < 0 ? "metrics file" : "texture");
        MemFree(data);
        return -1;
    }
    auto* block = static_cast<uint8_t*>(data);
    if (!TakeMetrics(font, block, size, path)) {
        MemFree(block);
        return -1;
    }
    font->fileBlock = block;
    s_current = font;
    return 0;
}

// ---- current font and settings ----

void FontSetCurrent(Font* font) {
    s_current = font;
}

Font* FontGetCurrent() {
    return s_current;
}

void FontSetScale(Font* font, float x, float y) {
    if (!font) return;
    font->scaleX = x;
    font->scaleY = y;
}

void FontSetGlyphOffsetX(Font* font, float offset) {
    if (font) font->glyphOffsetX = offset;
}

// ---- glyphs ----

bool FontHasGlyph(const Font* font, char16_t code) {
    if (!FontIsLoaded(font) || code > font->maxCode) return false;
    const uint32_t index = font->codeTable[code];
    return index != 0 && index < font->recordCount;
}

FontGlyph FontGlyphOf(const Font* font, char16_t code) {
    uint32_t index = code <= font->maxCode ? font->codeTable[code] : 0;
    if (index >= font->recordCount) index = 0;
    FontGlyph g;
    std::memcpy(&g, font->records + (size_t)index * FONT_GLYPH_BYTES, sizeof g);
    return g;
}

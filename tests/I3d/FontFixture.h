// Fonts on a fresh kernel (the recording layer or llvmpipe) with the application's shared pair of
// current buffers, and small fonts written by the font generator's writers with chosen metrics.
#pragma once

#include "datagen/Fonts/GenFont.h"
#include "tests/I3d/KernelFixture.h"

#include <cstring>
#include <string>
#include <vector>

struct FontVertex {
    VECTOR3 pos, normal;
    uint32_t colour;
    float u, v, u1, v1;
};
static_assert(sizeof(FontVertex) == 44, "format 71");

// The layout font: cell height 10, line advance 12, atlas 64 x 32, every glyph a solid block.
// (a, b, c): record 0 (1, 3, 4); 'A' (1, 6, 7); 'B' (-1, 5, 7); 'C' (0, 4, 5); '.' (1, 2, 2);
// ' ' (0, 0, 4); 'W' (0, 10, 10). N = 'W'; other codes up to N have entry 0.
struct TestGlyph {
    char16_t code;
    int a, b, c;
};
inline const std::vector<TestGlyph>& LayoutGlyphs() {
    static const std::vector<TestGlyph> glyphs = {
        {0, 1, 3, 4},    {u'A', 1, 6, 7}, {u'B', -1, 5, 7}, {u'C', 0, 4, 5},
        {u'.', 1, 2, 2}, {u' ', 0, 0, 4}, {u'W', 0, 10, 10}};
    return glyphs;
}

// Glyphs packed left to right with one empty texel between them, all in one row.
inline GenFont MakeTestFont(const std::vector<TestGlyph>& glyphs, float cellHeight = 10,
                            float lineAdvance = 12) {
    GenFont f;
    f.metrics.cellHeight = cellHeight;
    f.metrics.lineAdvance = lineAdvance;
    char16_t maxCode = 0;
    for (const TestGlyph& g : glyphs)
        maxCode = std::max(maxCode, g.code);
    f.metrics.table.assign(size_t(maxCode) + 1, 0);
    f.atlas.width = 64;
    f.atlas.height = 32;
    f.atlas.pixels.assign(64 * 32, 0);
    int x = 1;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const TestGlyph& g = glyphs[i];
        if (i > 0) f.metrics.table[g.code] = uint16_t(i);
        AbcRecord r;
        r.left = float(x) / 64, r.right = float(x + g.b) / 64;
        r.top = 0, r.bottom = cellHeight / 32;
        r.a = int16_t(g.a), r.b = int16_t(g.b), r.c = int16_t(g.c);
        f.metrics.records.push_back(r);
        for (int y = 0; y < int(cellHeight); ++y)
            for (int k = 0; k < g.b; ++k)
                f.atlas.At(x + k, y) = 255;
        x += g.b + 1;
    }
    return f;
}

class FontTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartKernel();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        CreateOffscreen(kWidth, kHeight);
        CreateCurrentPair();
        if (!UsesGl()) Log().Clear();
    }
    void TearDown() override {
        for (Font* f : m_fonts)
            delete f;
        KernelTest::TearDown();
    }
    virtual bool UsesGl() const { return false; }
    void StartKernel() {
        if (UsesGl())
            StartGl();
        else
            StartRecording();
    }

    // Writes the font's two files under the scratch folder; the path without extension.
    std::string Write(const char* name, const GenFont& font) {
        std::string path = m_files / name;
        EXPECT_TRUE(GenWriteFont(font, path));
        return path;
    }
    // A font of this test (deleted at the end), loaded from path.
    Font* Load(const std::string& path) {
        Font* f = new Font;
        m_fonts.push_back(f);
        FontLoadAbc(f, path.c_str());
        return f;
    }
    Font* LayoutFont() { return Load(Write("Layout", MakeTestFont(LayoutGlyphs()))); }

    // The vertices of the last batch drawn, from the current buffer's last lock.
    std::vector<FontVertex> LastBatch(int glyphs) const {
        std::vector<FontVertex> out(size_t(glyphs) * 4);
        BYTE* p = nullptr;
        if (m_currentVb->buffer->Lock(0, 0, &p, D3DLOCK_READONLY) != D3D_OK) return {};
        std::memcpy(out.data(), p + size_t(m_currentVb->lastStart) * sizeof(FontVertex),
                    out.size() * sizeof(FontVertex));
        m_currentVb->buffer->Unlock();
        return out;
    }

    static constexpr int kWidth = 1024, kHeight = 768;
    std::vector<Font*> m_fonts;
    TempDir m_files;
};

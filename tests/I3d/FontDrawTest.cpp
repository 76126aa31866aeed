// Glyph layout, clipping and batching on the recording layer, read from the vertices the font
// writes into the current buffer and the calls it makes.
#include "tests/I3d/FontFixture.h"

#include <cmath>

namespace {

using Args = std::vector<uint64_t>;

struct Quad {
    float left, top, right, bottom;
};

class FontDrawing : public FontTest {
  protected:
    // The quads of the last batch, corners back on the pixel grid (+0.5).
    std::vector<Quad> Quads(int glyphs) const {
        std::vector<FontVertex> v = LastBatch(glyphs);
        std::vector<Quad> q;
        for (int i = 0; i < glyphs; ++i) {
            const FontVertex* c = &v[size_t(i) * 4];
            q.push_back(
                {c[1].pos.x + 0.5f, c[1].pos.y + 0.5f, c[3].pos.x + 0.5f, c[3].pos.y + 0.5f});
        }
        return q;
    }
    std::vector<Args> Draws() {
        std::vector<Args> out;
        for (const D3dCall& c : Log().Named("DrawIndexedPrimitive"))
            out.push_back(c.args);
        return out;
    }
};

} // namespace

// ---- layout ----

TEST_F(FontDrawing, QuadsSitAtTheFlooredPenAndCarryTheirRecordAndColour) {
    Font* f = LayoutFont();
    ASSERT_TRUE(FontIsLoaded(f));
    f->colour = 0x80FF2010;
    EXPECT_EQ(FontDraw(f, 10.7f, 20.3f, u"AB"), 0);
    std::vector<FontVertex> v = LastBatch(2);
    // 'A' (a 1, b 6): pen 10 -> 11..17, moved by -0.5; cell height 10 from pen y 20.
    // Its texels are 5..10 of the atlas's first row of cells.
    const float a[4][4] = {{10.5f, 29.5f, 5 / 64.f, 10 / 32.f},
                           {10.5f, 19.5f, 5 / 64.f, 0},
                           {16.5f, 19.5f, 11 / 64.f, 0},
                           {16.5f, 29.5f, 11 / 64.f, 10 / 32.f}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(v[i].pos.x, a[i][0]);
        EXPECT_EQ(v[i].pos.y, a[i][1]);
        EXPECT_EQ(v[i].pos.z, 0.0f);
        EXPECT_EQ(v[i].u, a[i][2]);
        EXPECT_EQ(v[i].v, a[i][3]);
        EXPECT_EQ(v[i].colour, 0x80FF2010u);
    }
    // 'B' (a -1): the pen moved by a + c of 'A' = 8, the quad starts one pixel left of it.
    EXPECT_EQ(v[4].pos.x, 16.5f);
    EXPECT_EQ(v[6].pos.x, 21.5f);
    EXPECT_EQ(f->penX, 24.0f) << "the pen ends after a + c of both glyphs";
}

TEST_F(FontDrawing, EachLineIsAlignedAboutXAndTheNewlineRestoresTheUnflooredX) {
    Font* f = LayoutFont();
    struct Case {
        int hAlign, vAlign;
        float aLeft, cLeft, top;
    };
    // "AB" is 14 wide, "C" 5; centre floors x - w / 2, right x - w; vertical alignment uses
    // the unscaled cell height about floor(y) = 20.
    const Case cases[] = {{0, 0, 101, 100.3f, 20},
                          {1, 0, 94, 97, 20},
                          {2, 0, 87, 95, 20},
                          {0, 1, 101, 100.3f, 15},
                          {0, 2, 101, 100.3f, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << c.hAlign << ", " << c.vAlign);
        f->hAlign = c.hAlign, f->vAlign = c.vAlign;
        FontDraw(f, 100.3f, 20.6f, u"AB\nC");
        std::vector<Quad> q = Quads(3);
        EXPECT_EQ(q[0].left, c.aLeft);
        EXPECT_EQ(q[0].top, c.top);
        EXPECT_FLOAT_EQ(q[2].left, c.cLeft);
        EXPECT_EQ(q[2].top, c.top + 12) << "the second line is one line advance lower";
    }
}

TEST_F(FontDrawing, ScaleSizesGlyphsAndAdvancesButNotTheLineAdvanceAndTheOffsetMovesOnlyQuads) {
    Font* f = LayoutFont();
    FontSetScale(f, 2, 2);
    f->vAlign = 2;
    FontDraw(f, 10, 40, u"AB\nC");
    std::vector<Quad> q = Quads(3);
    EXPECT_EQ(q[0].left, 12);
    EXPECT_EQ(q[0].right, 24);
    EXPECT_EQ(q[0].top, 30) << "bottom alignment moves by the unscaled cell height";
    EXPECT_EQ(q[0].bottom, 50) << "the quad is cell height x scale y tall";
    EXPECT_EQ(q[1].left, 24) << "'A' advanced the pen by 2 x 8";
    EXPECT_EQ(q[2].top, 42) << "the line advance is not scaled";

    FontSetScale(f, 1, 1);
    f->vAlign = 0;
    FontSetGlyphOffsetX(f, 3);
    FontDraw(f, 10, 20, u"AB");
    q = Quads(2);
    EXPECT_EQ(q[0].left, 14);
    EXPECT_EQ(q[1].left, 20) << "the offset is not part of the advance";
}

TEST_F(FontDrawing, CodesWithoutARecordDrawRecordZeroAndLoneSurrogatesAreCodeUnits) {
    Font* f = LayoutFont();
    const char16_t text[] = {u'Z', 200, 0xD800, u'D', 0};
    FontDraw(f, 0, 0, text);
    std::vector<FontVertex> v = LastBatch(4);
    for (int g = 0; g < 4; ++g) {
        EXPECT_EQ(v[size_t(g) * 4 + 1].u, 1 / 64.f) << "glyph " << g << " is not record 0";
        EXPECT_EQ(v[size_t(g) * 4 + 1].pos.x, 5.0f * float(g) + 0.5f);
    }
}

TEST_F(FontDrawing, NothingIsDrawnWithoutALoadedFontTextOrScale) {
    Font* f = LayoutFont();
    Font empty;
    EXPECT_EQ(FontDraw(&empty, 0, 0, u"AB"), 0);
    EXPECT_EQ(FontDraw(nullptr, 0, 0, u"AB"), 0);
    EXPECT_EQ(FontDraw(f, 0, 0, nullptr), 0);
    FontSetScale(f, 0, 1);
    FontDraw(f, 0, 0, u"AB");
    FontSetScale(f, 1, NAN);
    FontDraw(f, 0, 0, u"AB");
    EXPECT_EQ(Log().Count("VbLock"), 0);
    EXPECT_EQ(f->batchNesting, 0);
    EXPECT_EQ(FontFlush(f), -1) << "no batch is open";
    EXPECT_EQ(f->batchNesting, 0) << "an unmatched flush must not open the way to a negative count";
}

// ---- clipping ----

TEST_F(FontDrawing, AClippedLineEndsWithTheEllipsisAtThePenOnItsLine) {
    Font* f = LayoutFont();
    f->clipWidth = 100;
    const std::u16string line(30, u'W'); // 300 wide; the ellipsis is 3 x 3
    for (int h = 0; h <= 2; ++h)
        for (int va = 0; va <= 2; ++va) {
            SCOPED_TRACE(testing::Message() << "alignment " << h << ", " << va);
            f->hAlign = h, f->vAlign = va;
            Log().Clear();
            const float x = 400;
            FontDraw(f, x, 300, line.c_str());
            ASSERT_EQ(Draws().size(), 1u);
            const int glyphs = int(Draws()[0][4]) / 2;
            std::vector<Quad> q = Quads(glyphs);
            const int ws = h == 2 ? glyphs : glyphs - 3;
            for (int i = 0; i < ws; ++i)
                EXPECT_LE(q[size_t(i)].right + 9, x + 100) << "W " << i << " passes the clip";
            if (h == 2) {
                EXPECT_EQ(glyphs, 30) << "a right-aligned line never passes x + clip width";
                continue;
            }
            ASSERT_LT(ws, 30);
            EXPECT_GT(q[size_t(ws) - 1].right + 10 + 9, x + 100) << "stopped too early";
            for (int d = 0; d < 3; ++d) {
                const Quad& dot = q[size_t(ws + d)];
                EXPECT_EQ(dot.left, q[size_t(ws) - 1].left + 10 + 1 + 3 * d)
                    << "dot " << d << " is not at the pen";
                EXPECT_EQ(dot.right - dot.left, 2);
                EXPECT_EQ(dot.top, q[0].top) << "dot " << d << " left the line";
            }
        }
}

TEST_F(FontDrawing, AClipNarrowerThanTheEllipsisDrawsNothingAndANegativeClipNone) {
    Font* f = LayoutFont();
    f->clipWidth = 8; // the ellipsis is 9
    EXPECT_EQ(FontDraw(f, 0, 0, u"WWW"), 0);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
    EXPECT_EQ(f->batchNesting, 0) << "the batch level was not closed";
    EXPECT_EQ(Log().Count("VbUnlock"), 1);

    f->clipWidth = -5;
    FontDraw(f, 0, 0, u"WWW");
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(Draws()[0][4], 6u) << "a negative clip width clips nothing";
}

// ---- batching ----

TEST_F(FontDrawing, OneBatchIsOneIndexedDrawWithTheFontStates) {
    Font* f = LayoutFont();
    f->clipWidth = 30;
    FontDraw(f, 0, 0, u"WWWWW"); // two W, then the ellipsis, in one batch
    ASSERT_EQ(Draws(), (std::vector<Args>{{D3DPT_TRIANGLELIST, 0, 20, 0, 10}}));
    EXPECT_EQ(Log().Named("SetIndices").back().args, (Args{1, uint64_t(m_currentVb->lastStart)}))
        << "glyph indices start at the batch's first vertex";
    EXPECT_EQ(Log().Named("VbLock")[0].args[1], uint64_t(800 * 4 * 44))
        << "the batch locks room for 800 glyphs";
    // Text draws over anything, either winding, unlit; the pixel tests show the blending.
    for (auto [state, value] : {std::pair{D3DRS_CULLMODE, DWORD(D3DCULL_NONE)},
                                {D3DRS_ZFUNC, DWORD(D3DCMP_ALWAYS)},
                                {D3DRS_LIGHTING, DWORD(0)}}) {
        DWORD got = 0xDEAD;
        D3dDevice()->GetRenderState(state, &got);
        EXPECT_EQ(got, value) << "render state " << state;
    }
    EXPECT_EQ(Log().Count("SetTexture", {0, 1}), 1) << "the font's texture on stage 0";

    Log().Clear();
    FontDraw(f, 0, 0, u"");
    EXPECT_EQ(Log().Count("VbLock"), 1);
    EXPECT_EQ(Log().Count("VbUnlock"), 1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0) << "an empty batch only ends the writer";
}

TEST_F(FontDrawing, LongTextsDrawEveryGlyphInBatchesOf800) {
    Font* f = LayoutFont();
    for (int n : {1000, 2500}) {
        SCOPED_TRACE(n);
        Log().Clear();
        const std::u16string text(size_t(n), u'A');
        FontDraw(f, 0, 0, text.c_str());
        std::vector<Args> draws = Draws();
        ASSERT_EQ(int(draws.size()), (n + 799) / 800);
        int drawn = 0;
        for (const Args& d : draws) {
            EXPECT_EQ(d[2], d[4] * 2) << "4 vertices per 2 triangles";
            EXPECT_LE(d[4], 1600u);
            drawn += int(d[4]) / 2;
        }
        EXPECT_EQ(drawn, n);
        EXPECT_EQ(Quads(n % 800)[0].left, float((n / 800) * 800 * 8 + 1))
            << "the last batch goes on at the pen";
        EXPECT_EQ(f->batchNesting, 0);
    }
}

// Text on OpenGL (llvmpipe through EGL, offscreen), read back: white text on black at whole-pixel
// pens reproduces the glyph coverage of the generated fonts exactly.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/FontFixture.h"
#include "tests/support/TexturedQuad.h"

#include <cmath>

namespace {

class FontPixels : public FontTest {
  protected:
    bool UsesGl() const override { return true; }
    void SetUp() override {
        FontTest::SetUp();
        if (HasFatalFailure()) return;
        Mat4 identity, ortho;
        I3dSetWorld(Mat4Identity(&identity));
        I3dSetView(&identity);
        I3dSetProj(Mat4OrthoScreen(&ortho, kWidth, kHeight));
        D3dSetClearColor(0, 0, 0);
        ASSERT_EQ(D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        ASSERT_EQ(D3dBeginScene(), 0);
    }
    void TearDown() override {
        D3dEndScene();
        for (Font* f : m_acquired)
            SharedObjRelease(f);
        FontTest::TearDown();
    }
    Font* Game(const char* name) {
        Font* f = FontAcquire((std::string(FAIRLARK_BUILD_DATA_DIR) + "Fonts/" + name).c_str());
        if (f) m_acquired.push_back(f);
        return f;
    }
    void ReadBack() { m_pixels = TexQuadReadBack(D3dDevice()); }
    uint32_t At(int x, int y) const { return m_pixels.at(size_t(y) * kWidth + size_t(x)); }

    // What white text over black must read back as: each glyph's texels copied 1:1 from its
    // atlas rectangle at pen + a, blended over what is there (glyph boxes may overlap).
    std::vector<uint8_t> Expected(const char* name, int x, int y, const char16_t* text) const {
        const std::string path = std::string(FAIRLARK_BUILD_DATA_DIR) + "Fonts/" + name;
        std::vector<uint8_t> want(size_t(kWidth) * kHeight, 0);
        Bitmap atlas;
        if (BitmapLoadTga(&atlas, (path + ".tga").c_str(), nullptr, 0) != 0) return want;
        const std::string abc = ReadTextFile(path + ".abc");
        auto field = [&](size_t at, auto v) {
            std::memcpy(&v, abc.data() + at, sizeof v);
            return v;
        };
        const size_t n = field(20, uint16_t());
        const float cell = field(4, float());
        int penX = x;
        for (const char16_t* p = text; *p; ++p) {
            const size_t rec = 28 + 2 * n + 24 * size_t(field(22 + 2 * size_t(*p), uint16_t()));
            const int u0 = int(std::lround(field(rec, float()) * float(atlas.width)));
            const int v0 = int(std::lround(field(rec + 4, float()) * float(atlas.height)));
            const int a = field(rec + 16, int16_t()), b = field(rec + 18, int16_t());
            for (int j = 0; j < int(cell); ++j)
                for (int i = 0; i < b; ++i) {
                    const int cov =
                        atlas.pixels[size_t(v0 + j) * size_t(atlas.pitch) + size_t(u0 + i)];
                    uint8_t& dst = want[size_t(y + j) * kWidth + size_t(penX + a + i)];
                    dst = uint8_t(std::lround(cov + dst * (255 - cov) / 255.0));
                }
            penX += a + field(rec + 20, int16_t());
        }
        BitmapFree(&atlas);
        return want;
    }
    // Pixels whose red, green or blue is not the expected coverage; the first few are listed.
    int Mismatches(const std::vector<uint8_t>& want, std::string* where) const {
        int bad = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t c = At(x, y) & 0xFFFFFF, w = want[size_t(y) * kWidth + size_t(x)];
                if (c == (w << 16 | w << 8 | w)) continue;
                if (++bad <= 5)
                    *where += "(" + std::to_string(x) + ", " + std::to_string(y) + ") " +
                              std::to_string(c & 0xFF) + " for " + std::to_string(w) + "; ";
            }
        return bad;
    }

    std::vector<Font*> m_acquired;
    std::vector<uint32_t> m_pixels;
};

} // namespace

TEST_F(FontPixels, TextAtWholePixelPensIsTheGlyphCoverageExactly) {
    for (const char* name : {"Georgia_14", "CourierNew9o"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(D3dClear(D3DCLEAR_TARGET), D3D_OK);
        Font* f = Game(name);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(FontDraw(f, 40, 60, u"Hello, World!"), 0);
        ReadBack();
        std::string where;
        EXPECT_EQ(Mismatches(Expected(name, 40, 60, u"Hello, World!"), &where), 0) << where;
        EXPECT_GT(FontTextWidth(f, u"Hello, World!"), 40.0f) << "the text is too small to test";
    }
}

TEST_F(FontPixels, FormattedTextReadsBackAsTheTextItMakes) {
    Font* f = Game("Georgia_14");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(FontPrint(f, 100, 100, u"%s: %i", u"Cash", 42), 0);
    ReadBack();
    const std::vector<uint32_t> printed = m_pixels;
    ASSERT_EQ(D3dClear(D3DCLEAR_TARGET), D3D_OK);
    FontDraw(f, 100, 100, u"Cash: 42");
    ReadBack();
    EXPECT_TRUE(printed == m_pixels) << "\"%s: %i\" did not make \"Cash: 42\"";
    std::string where;
    EXPECT_EQ(Mismatches(Expected("Georgia_14", 100, 100, u"Cash: 42"), &where), 0) << where;
}

// Measuring text, formatted and narrow text, and the wrap point, with the layout font (see
// FontFixture.h: 'A' advances 8, 'B' 6, 'C' 5, ' ' 4, 'W' 10, record 0 5).
#include "tests/I3d/FontFixture.h"

namespace {

class FontMeasureTest : public FontTest {};

} // namespace

TEST_F(FontMeasureTest, LinesAreMeasuredSeparatelyAndScaled) {
    Font* f = LayoutFont();
    float w = 0, h = 0;
    ASSERT_EQ(FontMeasure(f, u"AB\nC", &w, &h, 0), 0);
    EXPECT_EQ(w, 14.0f) << "the wider line";
    EXPECT_EQ(h, 22.0f) << "cell height + one line advance";
    FontMeasure(f, u"AB\nC", &w, &h, 1);
    EXPECT_EQ(w, 14.0f);
    EXPECT_EQ(h, 10.0f) << "stopping at the newline measures the first line only";
    FontMeasure(f, u"C\nAB", &w, &h, 0);
    EXPECT_EQ(w, 14.0f) << "a newline adds nothing to the line it starts";
    FontMeasure(f, u"\n", &w, &h, 0);
    EXPECT_EQ(w, 0.0f);
    EXPECT_EQ(h, 22.0f);
    FontSetScale(f, 2, 3);
    FontMeasure(f, u"AB\nC", &w, &h, 0);
    EXPECT_EQ(w, 28.0f);
    EXPECT_EQ(h, 66.0f);
    EXPECT_EQ(FontTextWidth(f, u"Z\u00C8D"), 30.0f) << "codes above N and entries 0 use record 0";
}

TEST_F(FontMeasureTest, NullArgumentsAndUnloadedFontsLeaveTheOutputsAlone) {
    Font* f = LayoutFont();
    Font empty;
    float w = -1, h = -1;
    EXPECT_EQ(FontMeasure(f, nullptr, &w, &h, 0), E_INVALIDARG);
    EXPECT_EQ(uint32_t(FontMeasure(f, u"A", nullptr, &h, 0)), 0x80070057u);
    EXPECT_EQ(FontMeasure(f, u"A", &w, nullptr, 0), E_INVALIDARG);
    EXPECT_EQ(FontMeasure(&empty, u"A", &w, &h, 0), 0);
    EXPECT_EQ(FontMeasure(nullptr, u"A", &w, &h, 0), 0);
    EXPECT_EQ(w, -1.0f);
    EXPECT_EQ(h, -1.0f);
    EXPECT_EQ(FontTextWidth(&empty, u"A"), 0.0f);
}

TEST_F(FontMeasureTest, FormattedAndNarrowTextsAreCutAt2048Characters) {
    Font* f = LayoutFont();
    EXPECT_EQ(FontTextWidth(f, "AB"), 14.0f);
    EXPECT_EQ(FontTextWidthF(f, u"%s%c%d", u"A", u'B', 7), 19.0f) << "7 is record 0";
    EXPECT_EQ(FontTextWidthF(f, u"A%n", nullptr), 0.0f) << "%n is refused";
    const std::string narrow(3000, 'A');
    const std::u16string wide(3000, u'A');
    EXPECT_EQ(FontTextWidth(f, narrow.c_str()), 2048.0f * 8);
    EXPECT_EQ(FontTextWidthF(f, u"%s", wide.c_str()), 2048.0f * 8);

    Log().Clear();
    EXPECT_EQ(FontPrint(f, 0, 0, u"%s%n", u"AB", nullptr), -1);
    EXPECT_EQ(Log().Count("VbLock"), 0) << "a refused format draws nothing";
    EXPECT_EQ(FontPrint(f, 0, 0, "100%s"), 0);
    ASSERT_EQ(Log().Count("DrawIndexedPrimitive"), 1);
    EXPECT_EQ(Log().Named("DrawIndexedPrimitive")[0].args[4], 10u)
        << "narrow text is drawn as it is, never formatted";
}

TEST_F(FontMeasureTest, TheWrapPointIsANewlineTheLastBlankOrTheOverflow) {
    Font* f = LayoutFont();
    const char16_t* text = u"AB CA";
    EXPECT_EQ(FontWrapPoint(f, text, 20), text + 2) << "back to the blank before the overflow";
    EXPECT_EQ(FontWrapPoint(f, text, 100), text + 5) << "a text that fits ends at its end";
    const char16_t* lines = u"A\nBBBBBBB";
    EXPECT_EQ(FontWrapPoint(f, lines, 100), lines + 1);
    const char16_t* word = u"WWW";
    EXPECT_EQ(FontWrapPoint(f, word, 15), word + 1) << "no blank: the overflowing character";
    FontSetScale(f, 2, 2);
    EXPECT_EQ(FontWrapPoint(f, text, 20), text + 1) << "the advances are scaled";
    EXPECT_EQ(FontWrapPoint(f, nullptr, 20), nullptr);
}

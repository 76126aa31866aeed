// The three-colour status bar in the running game, read back from llvmpipe: the colour at and
// around the thresholds, the rectangle by "hAlign", and values outside 0..1.
#include "tests/harness/UiHarness.h"
#include "tests/ui/UiPictures.h"

#include "ui/Ctl3StatBar3Color.h"

#include <limits>

namespace {
class StatBarTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        StartUi();
    }
    Ctl3StatBar3Color* MakeBar(float x, float y, float value, int align = 0) {
        auto* b = Make<Ctl3StatBar3Color>("Ctl3StatBar3Color");
        if (!b) return nullptr;
        b->width = 100;
        b->height = 10;
        b->horizAlign = align;
        b->style.value = value;
        b->SetPos2D(x, y);
        b->Start();
        return b;
    }
};
} // namespace

// Green up to 0.75, yellow up to 0.9, red above, over the grey background.
TEST_F(StatBarTest, TheColourChangesAboveEachThreshold) {
    const float values[] = {0.75f, 0.9f, 0.91f, 0.5f};
    const uint32_t colours[] = {0xFF00FF00u, 0xFFFFFF00u, 0xFFFF0000u, 0xFF00FF00u};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(MakeBar(100, 100.0f + 40 * i, values[i]));
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    for (int i = 0; i < 4; ++i) {
        const int y = 105 + 40 * i;
        EXPECT_EQ(Rgb(PixelAt(pixels, 102, y)), colours[i]) << "value " << values[i];
        EXPECT_EQ(Rgb(PixelAt(pixels, 198, y)), 0xFF707070u) << "value " << values[i];
    }
    // 0.5 of 100 units: the bar ends at 150.
    EXPECT_EQ(Rgb(PixelAt(pixels, 149, 225)), 0xFF00FF00u);
    EXPECT_EQ(Rgb(PixelAt(pixels, 150, 225)), 0xFF707070u);
}

TEST_F(StatBarTest, TheRectangleFollowsTheAlignment) {
    Ctl3StatBar3Color* left = MakeBar(500, 100, 0.5f, 0);
    Ctl3StatBar3Color* centre = MakeBar(500, 200, 0.5f, 1);
    Ctl3StatBar3Color* right = MakeBar(500, 300, 0.5f, 2);
    ASSERT_TRUE(left && centre && right);
    EXPECT_FLOAT_EQ(left->rect.left, 500);
    EXPECT_FLOAT_EQ(left->rect.right, 600);
    EXPECT_FLOAT_EQ(centre->rect.left, 450);
    EXPECT_FLOAT_EQ(centre->rect.right, 550);
    EXPECT_FLOAT_EQ(right->rect.left, 400);
    EXPECT_FLOAT_EQ(right->rect.right, 500);
    EXPECT_FLOAT_EQ(right->rect.top, 300);
    EXPECT_FLOAT_EQ(right->rect.bottom, 310);
    EXPECT_FLOAT_EQ(right->style.left, 400) << "the rectangle is the style's";
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 5, 5);
    const int starts[] = {500, 450, 400};
    for (int i = 0; i < 3; ++i) {
        const int y = 105 + 100 * i;
        EXPECT_EQ(PixelAt(pixels, starts[i] - 1, y), background) << "align " << i;
        EXPECT_EQ(Rgb(PixelAt(pixels, starts[i], y)), 0xFF00FF00u) << "align " << i;
        EXPECT_EQ(Rgb(PixelAt(pixels, starts[i] + 99, y)), 0xFF707070u) << "align " << i;
        EXPECT_EQ(PixelAt(pixels, starts[i] + 100, y), background) << "align " << i;
    }
}

// NaN draws the background alone; above 1 the bar stops at its rectangle's right edge.
TEST_F(StatBarTest, ValuesOutsideTheRangeStayInsideTheRectangle) {
    ASSERT_TRUE(MakeBar(100, 100, std::numeric_limits<float>::quiet_NaN()));
    ASSERT_TRUE(MakeBar(100, 200, 1.5f));
    ASSERT_TRUE(MakeBar(100, 300, -2.0f));
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 5, 5);
    EXPECT_EQ(Rgb(PixelAt(pixels, 102, 105)), 0xFF707070u);
    EXPECT_EQ(Rgb(PixelAt(pixels, 199, 205)), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(pixels, 200, 205), background) << "the bar ran past its rectangle";
    EXPECT_EQ(PixelAt(pixels, 240, 205), background);
    EXPECT_EQ(Rgb(PixelAt(pixels, 100, 305)), 0xFF707070u);
    EXPECT_EQ(PixelAt(pixels, 99, 305), background);
}

// What the slider draws, read back from llvmpipe: the track's colour in each state, and the
// filled part and the knob where the value puts them.
#include "tests/harness/UiHarness.h"
#include "tests/ui/UiPictures.h"

#include "I3d/Font.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/Slider.h"

namespace {
class SliderPixelTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        StartUi();
        font = UiAcquireFont("Georgia_14");
        ASSERT_TRUE(font);
        slider = Make<Slider>("Slider");
        ASSERT_TRUE(slider);
        slider->SetTextW(u"Music Volume");
        slider->SetFont(font);
        slider->horizAlign = 2;
        slider->SetTrackLength(200);
        slider->SetKnobHeight(Ctl3LineHeight(slider));
        slider->SetLabelGap(FontTextWidth(font, u" "));
        slider->SetPos2D(800, 300);
        slider->Start();
        knob = int(slider->knobHeight);
        ASSERT_GT(knob, 8);
    }
    void TearDown() override {
        if (font) SharedObjRelease(font);
        UiTest::TearDown();
    }
    // The colour over the cleared background, as alpha blending leaves it.
    static uint32_t Over(uint32_t argb, uint32_t background) {
        const uint32_t a = argb >> 24;
        uint32_t out = 0xFF000000u;
        for (int s = 0; s < 24; s += 8) {
            const uint32_t c = (argb >> s) & 0xFF, b = (background >> s) & 0xFF;
            out |= ((c * a + b * (255 - a)) / 255) << s;
        }
        return out;
    }
    Font* font = nullptr;
    Slider* slider = nullptr;
    int knob = 0;
};
} // namespace

// Read in the track's edge row (above the 2-unit inset), away from the knob.
TEST_F(SliderPixelTest, TheTrackTakesTheStatesColour) {
    slider->SetValue(1.0f);
    Step();
    std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = Rgb(PixelAt(pixels, 5, 5));
    EXPECT_EQ(Rgb(PixelAt(pixels, 620, 301)), SLIDER_TRACK_NORMAL);

    Ctl3SetFocus(slider);
    Step();
    pixels = ReadPixels();
    const uint32_t focused = Rgb(PixelAt(pixels, 620, 301));
    EXPECT_TRUE(Near(focused, Over(SLIDER_TRACK_FOCUSED, background), 2))
        << std::hex << focused << ": 0xFFFF00 at alpha 180 over " << background;

    Ctl3SetEnabled(slider, false);
    Step();
    EXPECT_EQ(Rgb(PixelAt(ReadPixels(), 620, 301)), SLIDER_DISABLED);
}

// The fill runs 2 units inside the track from its left end to the value; the 6-unit knob is
// centred on the value and spans the track's height.
TEST_F(SliderPixelTest, TheFillAndKnobSitAtTheValue) {
    const int mid = 300 + knob / 2;
    for (float v : {0.0f, 0.5f, 1.0f}) {
        slider->SetValue(v);
        Step();
        const std::vector<uint32_t> pixels = ReadPixels();
        const int at = 600 + int(v * 200);
        EXPECT_EQ(Rgb(PixelAt(pixels, at - 2, 300)), SLIDER_KNOB) << v;
        EXPECT_EQ(Rgb(PixelAt(pixels, at + 1, 300 + knob - 1)), SLIDER_KNOB) << v;
        EXPECT_NE(Rgb(PixelAt(pixels, at - 4, mid)), SLIDER_KNOB) << "the knob is 6 wide";
        EXPECT_NE(Rgb(PixelAt(pixels, at + 3, mid)), SLIDER_KNOB) << "the knob is 6 wide";
        if (v > 0) {
            EXPECT_EQ(Rgb(PixelAt(pixels, 602, mid)), SLIDER_FILL) << v;
            EXPECT_EQ(Rgb(PixelAt(pixels, at - 5, mid)), SLIDER_FILL) << v;
            EXPECT_EQ(Rgb(PixelAt(pixels, at - 5, 301)), SLIDER_TRACK_NORMAL) << "2 units in";
            EXPECT_EQ(Rgb(PixelAt(pixels, 601, mid)), SLIDER_TRACK_NORMAL) << "2 units in";
        }
        if (v < 1) {
            EXPECT_EQ(Rgb(PixelAt(pixels, at + 6, mid)), SLIDER_TRACK_NORMAL) << "fill past " << v;
            EXPECT_EQ(Rgb(PixelAt(pixels, 798, mid)), SLIDER_TRACK_NORMAL) << v;
        }
    }
    // The label sits left of the track, its top at y.
    const std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 5, 5);
    int lit = 0;
    for (int y = 300; y < 300 + knob; ++y)
        for (int x = int(slider->rect.left); x < 590; ++x)
            lit += PixelAt(pixels, x, y) != background;
    EXPECT_GT(lit, 20) << "no label";
    EXPECT_EQ(PixelAt(pixels, int(slider->rect.left) - 3, mid), background);
}

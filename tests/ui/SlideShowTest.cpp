// The slide show in the running game, read back from llvmpipe: the order and timing of slides,
// the cross-fade's mix, cuts without a fade, pauses, Restart, counting the series, the release
// of its slides, and a missing series or broken times that must neither crash nor hang.
#include "tests/harness/UiHarness.h"
#include "tests/ui/SlidePictures.h"
#include "tests/ui/UiPictures.h"

#include "I3d/Textures.h"
#include "engine/FrameClock.h"
#include "ui/Ctl3SlideShow.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {
constexpr const char* kSeries = "UiTest\\Show\\Slide";

class SlideShowTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        StartUi();
        ASSERT_TRUE(WriteSlides("UiTest/Show/Slide", 0, 4));
        frameMs = 50;
    }
    Ctl3SlideShow* MakeShow(float hold, float fade, const char* base = kSeries) {
        auto* s = Make<Ctl3SlideShow>("Ctl3Slideshow");
        if (!s) return nullptr;
        std::snprintf(s->textureName, sizeof s->textureName, "%s", base);
        s->width = s->height = 64;
        s->holdTime = hold;
        s->fadeTime = fade;
        s->SetPos2D(100, 100);
        s->Start();
        return s;
    }
    uint32_t Centre() { return SlideRgb(PixelAt(ReadPixels(), 132, 132)); }
    // The test slide the colour is, or -1 for anything else (a mix).
    static int SlideOf(uint32_t c) {
        for (int i = 0; i < 5; ++i)
            if (c == SlideColour(i)) return i;
        return -1;
    }
    // References held on the texture table, slot by slot.
    static int64_t References() {
        int64_t sum = 0;
        for (int i = 0; i < I3dTexCount(); ++i)
            if (const I3dTexSlot* s = I3dTexGetSlot(i)) sum += s->count;
        return sum;
    }
    // Runs `frames` frames and gives back the slide shown after each (-1 for a mix).
    std::vector<int> Run(int frames) {
        std::vector<int> shown;
        for (int i = 0; i < frames; ++i) {
            Step();
            shown.push_back(SlideOf(Centre()));
        }
        return shown;
    }
    struct Run_ {
        int slide, frames;
    };
    static std::vector<Run_> Runs(const std::vector<int>& shown) {
        std::vector<Run_> runs;
        for (int s : shown) {
            if (!runs.empty() && runs.back().slide == s)
                ++runs.back().frames;
            else
                runs.push_back({s, 1});
        }
        return runs;
    }
};
} // namespace

// Hold 1 s, fade 0.5 s, 50 ms frames: 00 for 1 s, ten frames of mix, then 01 ... 04 and 00 again.
TEST_F(SlideShowTest, SlidesFollowInOrderHeldAndCrossFaded) {
    Ctl3SlideShow* s = MakeShow(1.0f, 0.5f);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->frameCount, 5);
    ASSERT_GE(s->currentSlot, 0);
    ASSERT_GE(s->nextSlot, 0);
    const std::vector<Run_> runs = Runs(Run(5 * 30 + 25));
    ASSERT_GE(runs.size(), 11u);
    const int order[] = {0, 1, 2, 3, 4, 0};
    for (int k = 0; k < 6; ++k) {
        const Run_& held = runs[2 * k];
        EXPECT_EQ(held.slide, order[k]) << "run " << 2 * k;
        if (k < 5) {
            // The first hold starts one frame late: the show started after the frame's update.
            EXPECT_NEAR(held.frames, 20, 1) << "slide " << order[k] << " held the wrong time";
            const Run_& mix = runs[2 * k + 1];
            EXPECT_EQ(mix.slide, -1) << "no fade after slide " << order[k];
            EXPECT_NEAR(mix.frames, 10, 1) << "the fade took the wrong time";
        }
    }
}

TEST_F(SlideShowTest, WithoutAFadeTheSlidesCut) {
    Ctl3SlideShow* s = MakeShow(1.0f, 0.0f);
    Ctl3SlideShow* negative = MakeShow(1.0f, -3.0f);
    ASSERT_TRUE(s && negative);
    negative->SetPos2D(300, 100);
    const std::vector<Run_> runs = Runs(Run(5 * 20 + 5));
    ASSERT_GE(runs.size(), 6u);
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(runs[k].slide, int(k % 5)) << "a mix or a skipped slide at run " << k;
        if (k < 5) {
            EXPECT_NEAR(runs[k].frames, 20, 1);
        }
    }
    EXPECT_TRUE(std::isfinite(negative->blend));
    EXPECT_EQ(negative->fading, 0) << "a negative fade time is no fade";
    EXPECT_EQ(SlideOf(SlideRgb(PixelAt(ReadPixels(), 332, 132))), SlideOf(Centre()));
}

// Longer than a second is a pause (a loading screen, the debugger), and NaN is no time at all.
TEST_F(SlideShowTest, APausedOrBrokenFrameDoesNotAdvanceTheShow) {
    Ctl3SlideShow* s = MakeShow(1.0f, 0.5f);
    ASSERT_TRUE(s);
    frameMs = 1500;
    Step();
    EXPECT_FLOAT_EQ(s->showTimer, 1.0f);
    EXPECT_EQ(SlideOf(Centre()), 0);
    const float keep = g_frameSeconds;
    for (float dt :
         {std::numeric_limits<float>::quiet_NaN(), -0.5f, std::numeric_limits<float>::infinity()}) {
        g_frameSeconds = dt;
        s->Update(dt);
        EXPECT_FLOAT_EQ(s->showTimer, 1.0f) << dt;
    }
    g_frameSeconds = keep;
}

TEST_F(SlideShowTest, RestartPagesOnAtTheNextFrame) {
    Ctl3SlideShow* cut = MakeShow(5.0f, 0.0f);
    ASSERT_TRUE(cut);
    Step(3);
    EXPECT_EQ(SlideOf(Centre()), 0);
    cut->Restart();
    Step();
    EXPECT_EQ(SlideOf(Centre()), 1) << "without a fade the next slide shows at once";
    cut->fadeTime = 0.5f;
    cut->Restart();
    Step();
    EXPECT_TRUE(cut->fading) << "with a fade, the fade starts at once";
    Step(10);
    EXPECT_EQ(SlideOf(Centre()), 2);
}

// Sixteen at most: 00 to 16 counts 16; ".tga" files are not slides; "/" separators and another
// case find the same files. (Textures are shared by file title, so every series has its own.)
TEST_F(SlideShowTest, TheSeriesIsCountedFromItsDdsFiles) {
    ASSERT_TRUE(WriteSlides("UiTest/Long/Many", 0, 16, 4, 4));
    ASSERT_TRUE(WritePicture("UiTest\\Tga\\Tga00.tga", 4, 4, [](int, int) { return 0xFF0000FFu; }));
    ASSERT_TRUE(WritePicture("UiTest\\Tga\\Tga01.tga", 4, 4, [](int, int) { return 0xFF0000FFu; }));
    Ctl3SlideShow* many = MakeShow(1, 0, "UiTest\\Long\\Many");
    Ctl3SlideShow* tga = MakeShow(1, 0, "UiTest\\Tga\\Tga");
    Ctl3SlideShow* slashes = MakeShow(1, 0, "uitest/SHOW/slide");
    ASSERT_TRUE(many && tga && slashes);
    EXPECT_EQ(many->frameCount, 16);
    EXPECT_EQ(tga->frameCount, 0);
    EXPECT_EQ(tga->currentSlot, -1);
    EXPECT_EQ(slashes->frameCount, 5);
    EXPECT_GE(slashes->currentSlot, 0) << "the slides counted were not found to load";
    slashes->SetPos2D(300, 100);
    Step();
    EXPECT_EQ(SlideOf(SlideRgb(PixelAt(ReadPixels(), 332, 132))), 0);
}

TEST_F(SlideShowTest, DestroyGivesBothSlidesBack) {
    const int64_t before = References();
    Ctl3SlideShow* s = MakeShow(0.05f, 0.05f);
    ASSERT_TRUE(s);
    EXPECT_EQ(References(), before + 2);
    Step(7); // a few swaps on the way
    EXPECT_EQ(References(), before + 2) << "a swap kept or lost a reference";
    s->Destroy();
    Step();
    EXPECT_EQ(References(), before);
}

// A missing series (no 00 file) has no frames: nothing loads, nothing draws, nothing divides by
// the count, and Restart, frames and Destroy stay harmless.
TEST_F(SlideShowTest, ASeriesWithoutItsFirstSlideShowsNothing) {
    ASSERT_TRUE(WriteSlides("UiTest/Gap/Gap", 1, 3));
    const int64_t before = References();
    Ctl3SlideShow* gap = MakeShow(0.1f, 0.1f, "UiTest\\Gap\\Gap");
    Ctl3SlideShow* none = MakeShow(0.0f, 0.0f, "UiTest\\Nothing\\Nothing");
    ASSERT_TRUE(gap && none);
    none->SetPos2D(300, 100);
    EXPECT_EQ(gap->frameCount, 0);
    EXPECT_EQ(none->frameCount, 0);
    EXPECT_EQ(gap->currentSlot, -1);
    EXPECT_EQ(gap->nextSlot, -1);
    EXPECT_EQ(References(), before);
    gap->Restart();
    none->Restart();
    Step(5);
    const std::vector<uint32_t> pixels = ReadPixels();
    EXPECT_EQ(PixelAt(pixels, 132, 132), PixelAt(pixels, 5, 5));
    EXPECT_EQ(PixelAt(pixels, 332, 132), PixelAt(pixels, 5, 5));
    gap->Destroy();
    none->Destroy();
    Step();
    EXPECT_EQ(References(), before);
}

// Hold 0 (or below) swaps every frame, loading a slide each time: the show keeps going without
// a hang, a NaN blend or a lost reference. One slide pages onto itself.
TEST_F(SlideShowTest, NoHoldTimeSwapsEveryFrameWithoutHanging) {
    ASSERT_TRUE(WriteSlides("UiTest/One/Single", 0, 0));
    const int64_t before = References();
    Ctl3SlideShow* s = MakeShow(0.0f, 0.0f);
    Ctl3SlideShow* back = MakeShow(-1.0f, -1.0f);
    Ctl3SlideShow* one = MakeShow(0.0f, 0.0f, "UiTest\\One\\Single");
    Ctl3SlideShow* broken = MakeShow(std::nanf(""), std::nanf(""));
    ASSERT_TRUE(s && back && one && broken);
    back->SetPos2D(300, 100);
    std::vector<int> shown = Run(6);
    for (size_t i = 1; i < shown.size(); ++i)
        EXPECT_EQ(shown[i], (shown[i - 1] + 1) % 5) << "frame " << i;
    for (Ctl3SlideShow* x : {s, back, one, broken})
        EXPECT_TRUE(std::isfinite(x->blend));
    EXPECT_EQ(one->frameCount, 1);
    EXPECT_EQ(one->currentSlot, one->nextSlot);
    for (Ctl3SlideShow* x : {s, back, one, broken})
        x->Destroy();
    Step();
    EXPECT_EQ(References(), before);
}

// The base name is cut to 259 characters before "%02i.dds" is added; nothing overruns.
TEST_F(SlideShowTest, AnOverlongBaseNameIsCutAndBounded) {
    auto* s = Make<Ctl3SlideShow>("Ctl3Slideshow");
    ASSERT_TRUE(s);
    std::memset(s->textureName, 'a', CTL3_TEXTURE_NAME_MAX);
    s->textureName[CTL3_TEXTURE_NAME_MAX] = 0;
    s->width = s->height = 64;
    s->Start();
    EXPECT_EQ(s->frameCount, 0);
    Step(2);
}

// Without a uv rectangle the whole slide shows (the default is 0, 0 to 1, 1; an empty one would
// stretch one texel column): the picture's quadrants land in the quad's. Halfway through the fade
// each quadrant weighs half its own and half the next slide's same quadrant, so stage 1 reads
// the quad's uv pair (a stage reading no coordinates would spread one texel).
TEST_F(SlideShowTest, TheWholeSlideShowsAndFadesTexelByTexelHalfwayAtHalf) {
    for (int slide = 0; slide < 2; ++slide) {
        GenImage img(64, 64);
        for (uint32_t y = 0; y < 64; ++y)
            for (uint32_t x = 0; x < 64; ++x)
                img.Set(x, y, SlideColour(4 * slide + int((x / 32) + 2 * (y / 32))));
        char name[64];
        std::snprintf(name, sizeof name, "UiTest/Quads/Quads%02i.dds", slide);
        ASSERT_TRUE(GenWriteFile(SlidePath(name), GenDdsBytes(GenDds::Argb32, GenChain{img})));
    }
    Ctl3SlideShow* s = MakeShow(1.0f, 0.5f, "UiTest\\Quads\\Quads");
    ASSERT_TRUE(s);
    EXPECT_FLOAT_EQ(s->uv.right, 1.0f);
    EXPECT_FLOAT_EQ(s->uv.bottom, 1.0f);
    const int at[4][2] = {{101, 101}, {162, 101}, {101, 162}, {162, 162}};
    Step();
    std::vector<uint32_t> pixels = ReadPixels();
    for (int q = 0; q < 4; ++q)
        EXPECT_EQ(SlideRgb(PixelAt(pixels, at[q][0], at[q][1])), SlideColour(q)) << q;
    int frames = 0;
    while (!(s->fading && s->blend > 0.49f) && frames++ < 60)
        Step();
    ASSERT_TRUE(s->fading);
    ASSERT_NEAR(s->blend, 0.5f, 0.011f);
    pixels = ReadPixels();
    for (int q = 0; q < 4; ++q) {
        const uint32_t want = SlideMix(SlideColour(q), SlideColour(4 + q), s->blend);
        const uint32_t got = SlideRgb(PixelAt(pixels, at[q][0], at[q][1]));
        EXPECT_TRUE(SlideNear(got, want, 2)) << "quadrant " << q << ": " << std::hex << got;
    }
}

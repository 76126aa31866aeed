// What the graphic controls draw, read back from the game's render target on llvmpipe: the test
// picture block by block, the centred layout, the untextured fallback, the lifetime fade and
// self-removal, the flash, and the flip-book's frames in time.
#include "tests/harness/UiHarness.h"
#include "tests/ui/UiPictures.h"

#include "engine/EntTree.h"
#include "ui/AnimGraphic.h"
#include "ui/StaticGraphic.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace {
class GraphicPixelTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        StartUi();
        ASSERT_TRUE(WriteTestPictures());
    }
    StaticGraphic* MakePicture(float x, float y, const char* texture = kBlocksPicture) {
        auto* g = Make<StaticGraphic>("StaticGraphic");
        if (!g) return nullptr;
        std::snprintf(g->textureName, sizeof g->textureName, "%s", texture);
        g->width = 64, g->height = 64;
        g->SetPos2D(x, y);
        g->Start();
        return g;
    }
    AnimGraphic* MakeStrip(float x, float y) {
        auto* a = Make<AnimGraphic>("AnimGraphic");
        if (!a) return nullptr;
        std::snprintf(a->image.textureName, sizeof a->image.textureName, "%s", kStripPicture);
        a->image.left = 0, a->image.top = 0, a->image.right = 15, a->image.bottom = 15;
        a->frames = 3;
        a->rate = 15;
        a->SetPos2D(x, y);
        a->Start();
        return a;
    }
    // The blocks drawn from (x, y) that do not show the picture's colour at their centre.
    static int WrongBlocks(const std::vector<uint32_t>& pixels, int x, int y) {
        int wrong = 0;
        for (int by = 0; by < 8; ++by)
            for (int bx = 0; bx < 8; ++bx)
                for (int py = 0; py < 8; py += 7)
                    for (int px = 0; px < 8; px += 7)
                        wrong += Rgb(PixelAt(pixels, x + bx * 8 + px, y + by * 8 + py)) !=
                                 BlockColour(bx, by);
        return wrong;
    }
    bool Exists(ENTBASE* e) const {
        for (EntNode* n = menu->node->firstChild; n; n = n->next)
            if (n->object == e && n->deleteCount == 0) return true;
        return false;
    }
};
} // namespace

// Without a uv rectangle the whole picture shows: the default is 0, 0 to 1, 1 (an empty one
// would stretch one texel column over the quad). Every block's corners are exact, so the half-
// texel inset meets the layer's pixel centres.
TEST_F(GraphicPixelTest, ThePictureReadsBackExactlyBlockByBlock) {
    StaticGraphic* g = MakePicture(200, 200);
    ASSERT_TRUE(g);
    ASSERT_GE(g->slot, 0) << "the test picture did not load";
    EXPECT_FLOAT_EQ(g->uv.right, 1.0f);
    EXPECT_FLOAT_EQ(g->uv.bottom, 1.0f);
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    EXPECT_EQ(WrongBlocks(pixels, 200, 200), 0);
    const uint32_t background = PixelAt(pixels, 5, 5);
    EXPECT_EQ(PixelAt(pixels, 199, 230), background);
    EXPECT_EQ(PixelAt(pixels, 264, 230), background) << "64 wide, no more";
    EXPECT_EQ(PixelAt(pixels, 230, 264), background);
}

TEST_F(GraphicPixelTest, CentredPicturesKeepTheirRightAndBottomEdgesOneUnitIn) {
    StaticGraphic* g = MakePicture(232, 232);
    ASSERT_TRUE(g);
    g->horizAlign = 1;
    g->VarsChanged();
    EXPECT_FLOAT_EQ(g->rect.left, 200);
    EXPECT_FLOAT_EQ(g->rect.top, 200);
    EXPECT_FLOAT_EQ(g->rect.right, 263);
    EXPECT_FLOAT_EQ(g->rect.bottom, 263);
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 5, 5);
    EXPECT_EQ(Rgb(PixelAt(pixels, 200, 200)), BlockColour(0, 0));
    EXPECT_EQ(Rgb(PixelAt(pixels, 262, 262)), BlockColour(7, 7));
    EXPECT_EQ(PixelAt(pixels, 263, 230), background);
    EXPECT_EQ(PixelAt(pixels, 230, 263), background);
}

TEST_F(GraphicPixelTest, AMissingTextureDrawsAQuadInTheColour) {
    StaticGraphic* g = MakePicture(100, 100, "UiTest\\Nothing.tga");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->slot, -1);
    g->colour = 0xFF30A050u;
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(pixels, 101, 101)), 0xFF30A050u);
    EXPECT_EQ(Rgb(PixelAt(pixels, 163, 163)), 0xFF30A050u);
}

// Lifetime 2 over a period of 2: half alpha after one second, gone from the menu after two.
TEST_F(GraphicPixelTest, AnExpiringPictureFadesLinearlyAndRemovesItself) {
    StaticGraphic* g = MakePicture(100, 100, "");
    ASSERT_TRUE(g);
    g->colour = 0xFFFFFFFFu;
    g->lifetime = 2.0f;
    g->fadeOutPeriod = 2.0f;
    frameMs = 100;
    Step();
    const uint32_t background = PixelAt(ReadPixels(), 5, 5);
    Step(9);
    ASSERT_TRUE(Exists(g));
    EXPECT_NEAR(g->lifetime, 1.0f, 1e-3f);
    const uint32_t half = Rgb(PixelAt(ReadPixels(), 130, 130));
    const uint32_t want = 0xFF000000u | ((0xFFu + ((background >> 16) & 0xFF)) / 2) << 16 |
                          ((0xFFu + ((background >> 8) & 0xFF)) / 2) << 8 |
                          (0xFFu + (background & 0xFF)) / 2;
    EXPECT_TRUE(Near(half, want, 3)) << std::hex << half << " against " << want;
    Step(11); // one frame's slack for the float sum
    EXPECT_FALSE(Exists(g)) << "the picture outlived its lifetime";
    EXPECT_EQ(PixelAt(ReadPixels(), 130, 130), background);
}

// No fade-out period: full alpha to the end (no division by zero, UBSan silent), then gone.
// A negative period is no fade either; a NaN lifetime is no lifetime.
TEST_F(GraphicPixelTest, WithoutAFadePeriodThePictureStaysOpaqueToItsEnd) {
    StaticGraphic* g = MakePicture(100, 100, "");
    StaticGraphic* negative = MakePicture(300, 100, "");
    StaticGraphic* nan = MakePicture(500, 100, "");
    ASSERT_TRUE(g && negative && nan);
    g->lifetime = 1.0f;
    negative->lifetime = 1.0f;
    negative->fadeOutPeriod = -2.0f;
    nan->lifetime = std::numeric_limits<float>::quiet_NaN();
    frameMs = 100;
    Step(5);
    std::vector<uint32_t> pixels = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(pixels, 130, 130)), 0xFFFFFFFFu);
    EXPECT_EQ(Rgb(PixelAt(pixels, 330, 130)), 0xFFFFFFFFu);
    EXPECT_EQ(Rgb(PixelAt(pixels, 530, 130)), 0xFFFFFFFFu);
    Step(6);
    EXPECT_FALSE(Exists(g));
    EXPECT_FALSE(Exists(negative));
    EXPECT_TRUE(Exists(nan)) << "a NaN lifetime is no lifetime";
    pixels = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(pixels, 530, 130)), 0xFFFFFFFFu);
}

TEST_F(GraphicPixelTest, TheFlashMovesEverySideOut) {
    StaticGraphic* g = MakePicture(100, 100, "");
    ASSERT_TRUE(g);
    g->flashTimer = 0.125f + 0.02f; // one frame of 20 ms runs before the draw
    Step();
    std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 5, 5);
    EXPECT_NE(PixelAt(pixels, 99, 99), background) << "one unit out at the swell's top";
    EXPECT_NE(PixelAt(pixels, 164, 164), background);
    EXPECT_EQ(PixelAt(pixels, 97, 97), background);
    frameMs = 200;
    Step();
    pixels = ReadPixels();
    EXPECT_EQ(PixelAt(pixels, 99, 99), background) << "the flash is over";
}

TEST_F(GraphicPixelTest, NoSizeOrABrokenPositionDrawsNothing) {
    StaticGraphic* flat = MakePicture(100, 100, "");
    StaticGraphic* lost = MakePicture(300, 100, "");
    StaticGraphic* turned = MakePicture(500, 100, "");
    ASSERT_TRUE(flat && lost && turned);
    flat->width = 0;
    lost->pos.x = std::numeric_limits<float>::quiet_NaN();
    turned->height = -turned->height; // a broken size, not a picture turned over
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    EXPECT_EQ(PixelAt(pixels, 100, 130), PixelAt(pixels, 5, 5));
    EXPECT_EQ(PixelAt(pixels, 530, 70), PixelAt(pixels, 5, 5)) << "a negative height drew";
    EXPECT_EQ(PixelAt(pixels, 530, 130), PixelAt(pixels, 5, 5)) << "a negative height drew";
}

// The modulate flag: set, the picture is tinted by the colour; clear, the picture's own colour
// shows and only the alpha follows the colour's.
TEST_F(GraphicPixelTest, TheModulateFlagTintsOrLeavesThePicturesColour) {
    StaticGraphic* tinted = MakePicture(100, 100);
    StaticGraphic* plain = MakePicture(300, 100);
    ASSERT_TRUE(tinted && plain);
    tinted->colour = plain->colour = 0xFF00FF00u;
    plain->modulate = 0;
    Step();
    const std::vector<uint32_t> pixels = ReadPixels();
    EXPECT_EQ(Rgb(PixelAt(pixels, 100, 100)), BlockColour(0, 0) & 0xFF00FF00u);
    EXPECT_EQ(WrongBlocks(pixels, 300, 100), 0);
}

// Three frames at 15 per second, in 10 ms game frames: the colours cycle in the strip's order,
// each frame held for 1/15 s on average (60 or 70 ms at this frame time).
TEST_F(GraphicPixelTest, TheFlipBookCyclesItsFramesAtItsRate) {
    AnimGraphic* a = MakeStrip(400, 400);
    ASSERT_TRUE(a);
    ASSERT_GE(a->image.slot, 0);
    EXPECT_FLOAT_EQ(a->rect.right, 416);
    EXPECT_FLOAT_EQ(a->rect.bottom, 416);
    frameMs = 10;
    std::vector<int> seen;
    for (int i = 0; i < 80; ++i) {
        Step();
        const uint32_t c = Rgb(PixelAt(ReadPixels(), 408, 408));
        int k = -1;
        for (int f = 0; f < 3; ++f)
            if (c == kStripColours[f]) k = f;
        ASSERT_GE(k, 0) << std::hex << c;
        seen.push_back(k);
    }
    std::vector<int> runs;
    int run = 1;
    for (size_t i = 1; i < seen.size(); ++i) {
        if (seen[i] == seen[i - 1]) {
            ++run;
            continue;
        }
        EXPECT_EQ(seen[i], (seen[i - 1] + 1) % 3) << "frames out of order at " << i;
        runs.push_back(run);
        run = 1;
    }
    ASSERT_GE(runs.size(), 10u);
    int total = 0;
    for (size_t i = 1; i < runs.size(); ++i) {
        EXPECT_TRUE(runs[i] == 6 || runs[i] == 7) << "a frame held " << runs[i] * 10 << " ms";
        total += runs[i];
    }
    EXPECT_NEAR(double(total) / double(runs.size() - 1), 1000.0 / 15.0 / 10.0, 0.25);
}

// "frames" 0 and rate 0 are editable: frame 0 for ever, nothing divides by zero.
TEST_F(GraphicPixelTest, NoFramesOrNoRateHoldsTheFirstFrame) {
    AnimGraphic* none = MakeStrip(400, 400);
    AnimGraphic* still = MakeStrip(500, 400);
    ASSERT_TRUE(none && still);
    none->frames = 0;
    still->rate = 0;
    frameMs = 50;
    for (int i = 0; i < 10; ++i) {
        Step();
        const std::vector<uint32_t> pixels = ReadPixels();
        EXPECT_EQ(Rgb(PixelAt(pixels, 408, 408)), kStripColours[0]);
        EXPECT_EQ(Rgb(PixelAt(pixels, 508, 408)), kStripColours[0]);
    }
    EXPECT_EQ(none->frame, 0);
    EXPECT_EQ(still->frame, 0);
}

// The HUD's frame: the cash roll, the figures it writes, the mood icon, the power bar, the
// blinking Start button and the placement hint.
#include "tests/ui/Menus/HudFixture.h"

#include "I3d/InfoIcon.h"
#include "engine/FrameClock.h"
#include "game/Ents/RubeGen.h"
#include "game/MtPowerGrid.h"
#include "tests/support/PixelChannels.h"
#include "ui/Ctl3StatBar3Color.h"
#include "ui/GraphicButton.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

// Runs the HUD's update alone with a fixed game step and real frame time.
struct DirectUpdate {
    explicit DirectUpdate(MenuGameRunning* h) : hud(h), saved(g_frameSeconds) {}
    ~DirectUpdate() { g_frameSeconds = saved; }
    void operator()(float dt, float frameSeconds = 0.0f) {
        g_frameSeconds = frameSeconds;
        hud->Update(dt);
    }
    MenuGameRunning* hud;
    float saved;
};

} // namespace

TEST_F(HudTest, TheCashRollsTowardsTheCashAndReadsInWholeDollars) {
    StartHud();
    MtGame* game = Game();
    DirectUpdate update(hud);
    game->cash = 123456;
    hud->shownCash = 0;
    hud->cashStepTimer = 0.0f;
    int steps = 0;
    int32_t last = 0;
    while (hud->shownCash != game->cash && steps < 1000) {
        update(0.02f);
        ++steps;
        ASSERT_LE(hud->shownCash - last, 500) << "the roll moved more than 500 cents in 0.02 s";
        ASSERT_GT(hud->shownCash, last) << "the roll stalled";
        last = hud->shownCash;
    }
    EXPECT_EQ(steps, 247) << "246 steps of 500 cents, then the rest";
    EXPECT_EQ(hud->shownCash, 123456);
    EXPECT_EQ(Narrow(hud->cashText->label), "$1234");

    // Down again: one step at once (the timer is due), then one per 0.02 s however it is cut.
    game->cash = 0;
    update(0.01f);
    EXPECT_EQ(hud->shownCash, 123456 - 500);
    update(0.005f);
    EXPECT_EQ(hud->shownCash, 123456 - 500) << "a step came early";
    update(0.005f);
    EXPECT_EQ(hud->shownCash, 123456 - 1000);

    // Cents below a dollar read 0; a negative cash truncates toward zero.
    hud->shownCash = 99;
    game->cash = 99;
    update(0.02f);
    EXPECT_EQ(Narrow(hud->cashText->label), "$0");
    hud->shownCash = -1299;
    game->cash = -1299;
    update(0.02f);
    EXPECT_EQ(Narrow(hud->cashText->label), "$-12");
}

// A $3,500 purchase rolls down at the same pace in slow frames as in fast ones: each frame takes
// every step that fell due in it, so the counter lands within 0.1 s of the fast frames' time.
TEST_F(HudTest, TheCashRollKeepsItsPaceAtAnyFrameRate) {
    StartHud();
    MtGame* game = Game();
    DirectUpdate update(hud);
    const float frames[] = {0.02f, 0.05f, 1.0f / 7.0f, 0.5f};
    float landed[4] = {};
    for (int f = 0; f < 4; ++f) {
        hud->shownCash = 400000;
        game->cash = 50000;
        hud->cashStepTimer = 0.0f;
        float t = 0.0f;
        for (int i = 0; i < 100000 && hud->shownCash != game->cash; ++i) {
            update(frames[f]);
            t += frames[f];
            // Never behind the steps that time allows, never past them.
            const double steps = std::floor(double(t) / 0.02 + 1e-3);
            EXPECT_LE(hud->shownCash, std::max<int64_t>(50000, int64_t(400000 - 500 * steps)) + 500)
                << "behind at frame " << frames[f] << " s, t " << t;
            EXPECT_GE(hud->shownCash, int64_t(400000 - 500 * (steps + 1)));
        }
        EXPECT_EQ(hud->shownCash, 50000);
        landed[f] = t;
    }
    for (int f = 1; f < 4; ++f)
        EXPECT_NEAR(landed[f], landed[0], frames[f] + 1e-3f) << "frames of " << frames[f] << " s";
    EXPECT_NEAR(landed[1], 14.0f, 0.1f) << "700 steps of 0.02 s at 20 frames a second";
    // One very long frame (a debugger stop, a swap of the window) lands at once.
    hud->shownCash = 0;
    game->cash = 2000000000;
    update(1.0e6f);
    EXPECT_EQ(hud->shownCash, 2000000000);
}

TEST_F(HudTest, TheClockMoodPowerStartAndHintFollowTheWorld) {
    StartHud();
    MtGame* game = Game();
    DirectUpdate update(hud);

    game->gameTime = 13.5f;
    update(0.0f);
    EXPECT_EQ(Narrow(hud->clockText->label), "13:30");

    auto* gen = dynamic_cast<RubeGen*>(hud->rubeGen.Get());
    ASSERT_NE(gen, nullptr);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, int> moods[] = {{0.7f, 18},  {0.3f, 19},  {0.0f, 20},
                                           {-0.3f, 21}, {-0.7f, 22}, {nan, 22}};
    for (const auto& [mood, cell] : moods) {
        gen->averageHappiness = mood;
        update(0.0f);
        EXPECT_EQ(hud->moodCell, cell) << "mood " << mood;
        float uv[4];
        ASSERT_TRUE(InfoIconsCellUv(cell, uv));
        EXPECT_EQ(hud->moodIcon->uv.left, uv[0]) << "the icon shows the sheet's own cell";
        EXPECT_EQ(hud->moodIcon->uv.top, uv[1]);
    }
    gen->present = 42;
    update(0.0f);
    EXPECT_EQ(Narrow(hud->patronText->label), "42");

    auto* power = dynamic_cast<MtPowerGrid*>(hud->powerGrid.Get());
    ASSERT_NE(power, nullptr);
    power->supplyTotal = 140.0f;
    power->demandTotal = 100.0f;
    update(0.0f);
    EXPECT_EQ(hud->powerBar->style.value, 1.0f) << "a supply ratio of 1.4 fills the bar";
    power->supplyTotal = 50.0f;
    update(0.0f);
    EXPECT_FLOAT_EQ(hud->powerBar->style.value, 0.5f);

    // 512 ms shown, 512 hidden, on real frame time.
    hud->blinkMs = 0;
    update(0.0f, 0.5f);
    EXPECT_EQ(hud->blinkMs, 500u);
    EXPECT_FALSE(hud->startButton->visible);
    update(0.0f, 0.0625f);
    EXPECT_TRUE(hud->startButton->visible) << "shown from 512 ms";
    hud->blinkMs = 1000;
    update(0.0f, 0.0625f);
    EXPECT_FALSE(hud->startButton->visible) << "hidden from 1024 ms";
    EXPECT_TRUE(hud->startButton->enabled) << "clickable while blinked out";

    EXPECT_FALSE(hud->hint->visible);
    AttrInfo* some = game->attrList->Get(0);
    hud->chosenType = some;
    update(0.0f);
    EXPECT_TRUE(hud->hint->visible) << "the hint shows while a type is chosen";
    hud->chosenType = nullptr;
    update(0.0f);
    EXPECT_FALSE(hud->hint->visible);
}

// Full supply reads green, half the demand supplied red: the bar warns of too little power,
// not of enough.
TEST_F(HudTest, ThePowerBarIsGreenWhenSuppliedAndRedWhenShort) {
    StartHud();
    auto* power = dynamic_cast<MtPowerGrid*>(hud->powerGrid.Get());
    ASSERT_NE(power, nullptr);
    ASSERT_NE(hud->powerBar, nullptr);
    const Ctl3Rect r = hud->powerBar->rect;
    const int y = int((r.top + r.bottom) / 2);
    const int x = int(r.left + (r.right - r.left) * 0.25f);
    power->supplyTotal = 140.0f;
    power->demandTotal = 100.0f;
    Step(2);
    uint32_t c = PixelAt(ReadPixels(), x, y);
    EXPECT_GT(Green(c), 150) << std::hex << c;
    EXPECT_LT(Red(c), 100) << "red while the power is fully supplied: " << std::hex << c;
    power->supplyTotal = 50.0f;
    Step(2);
    c = PixelAt(ReadPixels(), x, y);
    EXPECT_GT(Red(c), 150) << std::hex << c;
    EXPECT_LT(Green(c), 100) << "half the demand supplied does not warn: " << std::hex << c;
}

TEST_F(HudTest, TheFrameRateCountsRealFramesOverAtLeastASecond) {
    StartHud();
    DirectUpdate update(hud);
    hud->fpsSeconds = 0.0f;
    hud->fpsFrames = 0;
    hud->fpsText[0] = 0;
    for (int i = 0; i < 31; ++i)
        update(0.0f, 1.0f / 32.0f);
    EXPECT_EQ(Narrow(hud->fpsText), "") << "changed before a second was summed";
    update(0.0f, 1.0f / 32.0f);
    EXPECT_EQ(Narrow(hud->fpsText), "FPS: 32.0");
    // Game time plays no part: paused or at 8X the figure is the frames' own.
    for (int i = 0; i < 16; ++i)
        update(0.0f, 1.0f / 16.0f);
    EXPECT_EQ(Narrow(hud->fpsText), "FPS: 16.0");
}

// The icon on the screen is the sheet's cell: drawn again by hand from the sheet at the same
// place, with the cell's rectangle worked out from the sheet's 8 x 4 layout, it is the same.
TEST_F(HudTest, TheMoodIconDrawsItsCellOfTheSheet) {
    StartHud();
    auto* gen = dynamic_cast<RubeGen*>(hud->rubeGen.Get());
    ASSERT_NE(gen, nullptr);
    gen->averageHappiness = 0.7f;
    {
        DirectUpdate update(hud);
        update(0.0f);
    }
    ASSERT_EQ(hud->moodCell, 18);
    EntDestroyTree(gen); // the generator would work the mood out again from its patrons
    MtGamePause(Game());
    Step();
    const std::vector<uint32_t> shown = ReadPixels();

    // The same picture by hand: cell 18 is column 4, row 2.
    auto* reference = Make<StaticGraphic>("StaticGraphic");
    ASSERT_NE(reference, nullptr);
    EntLinkUnder(reference, hud);
    reference->SetPos2D(47, 130);
    reference->width = reference->height = 32;
    reference->horizAlign = 1;
    reference->uv = {4.0f / 8.0f, 2.0f / 4.0f, 5.0f / 8.0f, 3.0f / 4.0f};
    std::snprintf(reference->textureName, sizeof reference->textureName, "Menu/INFOICONS");
    reference->Start();
    hud->moodIcon->visible = 0;
    Step();
    const std::vector<uint32_t> drawn = ReadPixels();
    int differ = 0, coloured = 0;
    for (int y = 110; y < 150; ++y)
        for (int x = 27; x < 67; ++x) {
            differ += PixelAt(shown, x, y) != PixelAt(drawn, x, y);
            coloured += PixelAt(shown, x, y) != PixelAt(shown, 5, 170);
        }
    EXPECT_EQ(differ, 0) << "the HUD's icon is not cell 18 of the sheet";
    EXPECT_GT(coloured, 100) << "no icon was drawn";
}

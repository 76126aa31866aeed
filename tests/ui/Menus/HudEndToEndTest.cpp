// A day driven through the HUD's own controls: the default venue loaded as the world loader will
// load it, a stand placed by the game's placing call, the HUD opened on "Menus" over the stand-ins
// of the screens it opens, then pushed mouse and key events, and the pixels read back from
// llvmpipe. The world is paused through the game for the frames compared (a player's pause opens
// a screen over the picture) and the cash text hidden for its reference drawing.
#include "tests/ui/Menus/HudFixture.h"

#include "I3d/Font.h"
#include "engine/FrameClock.h"
#include "engine/WideFormat.h"
#include "game/Ents/AttrBase.h"
#include "tests/venue/VenuePixels.h"
#include "ui/GraphicButton.h"
#include "ui/MouseCursor1.h"
#include "ui/StaticText.h"

#include <cstdlib>
#include <string>

TEST_F(HudTest, ADayRunsThroughTheHudsControlsOverStandInScreens) {
    StartHud(false);
    AttrBase* stand = PlaceUnder(2, 560, 470);
    ASSERT_NE(stand, nullptr) << "no free ground under (560, 470)";
    hud = OpenHud();
    ASSERT_NE(hud, nullptr);
    ASSERT_TRUE(hud->active) << "the venue intro did not hand back";
    g_hudAutoClose.insert("MenuReportHourly");
    // The pixel frames see the world and the HUD, not the mouse cursor.
    auto* cursor = dynamic_cast<MouseCursor1*>(EntTreeFindType(app.GetRoot(), "MouseCursor1"));
    ASSERT_NE(cursor, nullptr);
    cursor->enabled = 0;
    Step(2);

    const VECTOR3 middle = {(stand->worldBox[0] + stand->worldBox[3]) / 2.0f,
                            (stand->worldBox[1] + stand->worldBox[4]) / 2.0f,
                            (stand->worldBox[2] + stand->worldBox[5]) / 2.0f};
    float sx = 0, sy = 0;
    ASSERT_TRUE(ScreenOf(middle, &sx, &sy));
    // A click on the attraction selects it, and its highlight shows round it. The world stands
    // still for the two frames compared (the clouds drift on game time).
    MtGame* game = Game();
    MtGamePause(game);
    Step();
    const std::vector<uint32_t> plain = ReadPixels();
    ClickAt(sx, sy);
    ASSERT_EQ(hud->selected.Get(), stand) << "the click at " << sx << ", " << sy;
    EXPECT_TRUE(stand->highlighted);
    const std::vector<uint32_t> lit = ReadPixels();
    int round = 0, elsewhere = 0;
    for (int y = 0; y < kVenueH; ++y)
        for (int x = 0; x < kVenueW; ++x) {
            if (PixelDiff(plain[size_t(y) * kVenueW + x], lit[size_t(y) * kVenueW + x]) < 30)
                continue;
            const bool near = std::abs(x - int(sx)) < 80 && std::abs(y - int(sy)) < 80;
            // The attraction panel opens over (672, 376)-(992, 736).
            const bool panel = x >= 672 && x < 992 && y >= 376 && y < 736;
            if (!panel) ++(near ? round : elsewhere);
        }
    std::printf("highlight: %i pixels changed round the stand, %i elsewhere\n", round, elsewhere);
    EXPECT_GT(round, 200) << "the highlight does not show";
    EXPECT_LT(elsewhere, 400) << "more than the highlight and the panel changed";
    game->RestoreClockSpeed();
    MouseMove(700, 600);
    Step();

    // Start at (60, 310), then 8X.
    ClickAt(60, 310);
    ASSERT_EQ(game->dayOver, 0) << "Start did not open the day";
    Ctl3Base* eightX = hud->FindCtl(HUD_SPEED_8X);
    ClickAt((eightX->rect.left + eightX->rect.right) / 2,
            (eightX->rect.top + eightX->rect.bottom) / 2);
    ASSERT_EQ(app.clock->scale, 8192);

    // 40 s of frames at 8X, in steps of a second.
    app.clock->capMs = 1000;
    frameMs = 1000;
    MouseMove(700, 600);
    Step(40);
    frameMs = 20;
    app.clock->capMs = 33;
    EXPECT_GE(HudOpenCount("MenuReportHourly"), 1) << "the HUD never heard an hour pass";
    EXPECT_TRUE(hud->active) << "the hourly report did not hand back";

    // Ctrl+C shows the debug row; its endDay ends the day.
    Key(SDL_SCANCODE_LCTRL, true);
    Step();
    Tap(SDL_SCANCODE_C);
    Key(SDL_SCANCODE_LCTRL, false);
    Step();
    Ctl3Base* endDay = hud->FindCtl(HUD_END_DAY);
    ASSERT_TRUE(endDay->visible);
    ClickAt((endDay->rect.left + endDay->rect.right) / 2,
            (endDay->rect.top + endDay->rect.bottom) / 2);
    Step();
    EXPECT_EQ(game->dayOver, 1);
    EXPECT_EQ(HudOpenCount("MenuEndOfDay"), 1) << "the HUD never heard the day end";
    EXPECT_TRUE(hud->startButton->enabled) << "Start is not offered again";

    // The cash as the HUD draws it, against the same text drawn with FontDraw.
    for (int i = 0; i < 400 && hud->shownCash != game->cash; ++i)
        Step();
    ASSERT_EQ(hud->shownCash, game->cash);
    MtGamePause(game);
    Step(2);
    const std::string expected = "$" + std::to_string(game->cash / 100);
    EXPECT_EQ(Narrow(hud->cashText->label), expected);
    const std::vector<uint32_t> shown = ReadPixels();
    auto* probe = static_cast<DrawProbe*>(EntCreateChild("DrawProbe", hud));
    ASSERT_NE(probe, nullptr);
    char16_t text[32];
    WideFormat(text, 32, u"$%i", game->cash / 100);
    Font* font = hud->cashText->font;
    ASSERT_NE(font, nullptr);
    probe->draw = [&] { DrawPlainText(font, 210.0f, 9.0f, text, 0xFFFFFFFFu); };
    hud->cashText->visible = 0;
    Step();
    const std::vector<uint32_t> reference = ReadPixels();
    int differ = 0, inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 200; x < 380; ++x) {
            differ += PixelAt(shown, x, y) != PixelAt(reference, x, y);
            inked += Red(PixelAt(shown, x, y)) > 200 && Green(PixelAt(shown, x, y)) > 200 &&
                     Blue(PixelAt(shown, x, y)) > 200;
        }
    EXPECT_EQ(differ, 0) << "the cash text differs from " << expected << " drawn by hand";
    EXPECT_GT(inked, 20) << "no cash text was drawn";
}

// The screens without a game object (the harness's stand-in is none): what needs one is skipped
// with one line each, and the screens still lead on.
#include "tests/ui/Menus/FrontEndStandIns.h"

#include "engine/FrameClock.h"
#include "ui/Menus/MenuInGame.h"

TEST_F(FrontEndTest, WithoutAGameObjectTheScreensSkipWhatNeedsItAndSaySo) {
    registerFirst = [] { RegisterFrontEndStandIns(); };
    StartUi("local m = Entity.Create (\"MenuMain\", Game.GetMenuEntity ())\nEntity.Start (m)\n");
    ASSERT_TRUE(FindClass("MenuMain"));
    EXPECT_EQ(LogCount("MenuMain: no game object: the music volume skipped\n"), 1);
    Press(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(FindClass("MenuSandbox")) << "the sandbox menu needs no game object to open";
    EXPECT_EQ(LogCount("MenuMain: no game object: the game mode skipped\n"), 1);

    ASSERT_TRUE(MenuInGameOpen(app.GetMenus(), nullptr));
    EXPECT_EQ(LogCount("MenuInGame: no game object: the pause skipped\n"), 1);
    EXPECT_EQ(app.clock->scale, 1024);
    PostClick(INGAME_RESUME);
    StepSixtieth();
    EXPECT_FALSE(FindClass("MenuInGame"));
    EXPECT_EQ(app.clock->scale, 1024);
}

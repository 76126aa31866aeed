// The sandbox menu: its screen, and New, Load and Escape.
#include "tests/ui/Menus/VenueMenuFixture.h"

#include "I3d/Font.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "ui/Menus/MenuSandbox.h"
#include "world/CursorFrame.h"
#include "world/EntMusic.h"

#include <cstring>

TEST_F(VenueMenuTest, TheSandboxMenuOpensTheSelectorTheSavesOrTheMainMenu) {
    StartVenues(MTGAME_SANDBOX);
    g_cursorFrameIndex = -1;
    auto* music = dynamic_cast<EntMusic*>(EntTreeFindName(app.GetRoot(), "Music"));
    ASSERT_TRUE(music) << "the root tree has no music entity";
    ASSERT_TRUE(MenuSandboxOpen(app.GetMenus()));
    Frames();
    Menu3Base* sandbox = Find("MenuSandbox");
    ASSERT_TRUE(sandbox);
    EXPECT_EQ(g_cursorFrameIndex, 1) << "the sandbox menu shows the pointer";
    EXPECT_EQ(music->playing, "Music\\MenuLoop.ogg") << "the menu music is not playing";
    EXPECT_TRUE(VenueHasLabel(sandbox, u"SANDBOX"));
    EXPECT_EQ(VenueLabel(sandbox->FindCtl(SANDBOX_NEW)), u"New");
    EXPECT_EQ(VenueLabel(sandbox->FindCtl(SANDBOX_LOAD)), u"Load");
    for (int32_t id : {SANDBOX_NEW, SANDBOX_LOAD})
        EXPECT_EQ(sandbox->FindCtl(id)->font, FontFind("CourierNew9o")) << "the kit's text button";
    ASSERT_TRUE(sandbox->FindCtl(SANDBOX_BACK));
    EXPECT_TRUE(Ctl3IsFocused(sandbox->FindCtl(SANDBOX_NEW)));

    TapKey(SDL_SCANCODE_RETURN);
    EXPECT_FALSE(Find("MenuSandbox"));
    auto* sel = dynamic_cast<MenuMidwaySelector*>(Find("MidwaySelector"));
    ASSERT_TRUE(sel) << "Enter on New did not open the venue selector";
    EXPECT_STREQ(sel->returnTo, "MenuSandbox");

    // The selector's Back comes back here; Load opens the saves.
    TapKey(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(Find("MenuSandbox"));
    ClickOn(Ctl("MenuSandbox", SANDBOX_LOAD));
    EXPECT_FALSE(Find("MenuSandbox"));
    EXPECT_TRUE(Opened("MenuLoadSandbox"));

    EntDestroyTree(Find("MenuLoadSandbox"));
    ASSERT_TRUE(MenuSandboxOpen(app.GetMenus()));
    Frames();
    TapKey(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(Find("MenuSandbox"));
    EXPECT_TRUE(Find("MainMenu")) << "Escape pressed Back, which opens the main menu";
}

TEST_F(VenueMenuTest, UpAndDownReachEveryChoiceOfTheSandboxMenu) {
    StartVenues(MTGAME_SANDBOX);
    ASSERT_TRUE(MenuSandboxOpen(app.GetMenus()));
    Frames();
    const auto focused = [this](int32_t id) { return Ctl3IsFocused(Ctl("MenuSandbox", id)); };
    ASSERT_TRUE(focused(SANDBOX_NEW));
    TapKey(SDL_SCANCODE_DOWN);
    EXPECT_TRUE(focused(SANDBOX_LOAD)) << "Down stayed on New";
    TapKey(SDL_SCANCODE_DOWN);
    EXPECT_TRUE(focused(SANDBOX_BACK));
    TapKey(SDL_SCANCODE_DOWN);
    EXPECT_TRUE(focused(SANDBOX_NEW)) << "the choices are a ring";
    TapKey(SDL_SCANCODE_UP);
    EXPECT_TRUE(focused(SANDBOX_BACK));
    TapKey(SDL_SCANCODE_UP);
    EXPECT_TRUE(focused(SANDBOX_LOAD));
    TapKey(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(Opened("MenuLoadSandbox")) << "Enter on Load did not open the saves";
}

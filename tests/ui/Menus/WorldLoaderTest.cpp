// The world loader: the loading screen drawn before the world build, the new game on the third
// update, the in-game screen as soon as the world reports, and the error screen when it cannot.
#include "tests/ui/Menus/VenueMenuFixture.h"

#include "engine/EntBase.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "ui/Menus/MenuWorldLoader.h"
#include "ui/StaticTextBox.h"
#include "world/CursorFrame.h"

#include <cstring>
#include <string>

namespace {
class WorldLoaderTest : public VenueMenuTest {
  protected:
    // The game on venue `venue` with its script, and the loader opened outside any frame.
    MenuWorldLoader* Open(int venue) {
        MtGame* game = Game();
        MtGameSetVenue(game, venue);
        std::snprintf(game->scriptPath, sizeof game->scriptPath, "%.259s",
                      game->venue ? game->venue->scriptFile : "");
        return dynamic_cast<MenuWorldLoader*>(
            MenuWorldLoaderOpen(app.GetMenus(), game->scriptPath));
    }
    MenuWorldLoader* Loader() { return dynamic_cast<MenuWorldLoader*>(Find("WorldLoader")); }
    bool WorldBuilt() { return EntTreeFindName(app.GetRoot(), "First") != nullptr; }
    // Pixels of the title's band (around (512, 178)) that are nearly white: "Loading...".
    static int TitlePixels(const std::vector<uint32_t>& pixels) {
        int n = 0;
        for (int y = 160; y < 200; ++y)
            for (int x = 420; x < 604; ++x) {
                const uint32_t p = PixelAt(pixels, x, y);
                n += ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) > 200 && (p & 0xFF) > 200;
            }
        return n;
    }
};

} // namespace

TEST_F(WorldLoaderTest, TheDefaultVenueLoadsOnTheThirdUpdateAndTheHudReplacesTheLoader) {
    keepLog = true;
    StartVenues(MTGAME_SANDBOX);
    MtGame* game = Game();
    MenuWorldLoader* loader = Open(0);
    ASSERT_TRUE(loader);
    EXPECT_EQ(g_cursorFrameIndex, -1) << "no cursor while loading";
    EXPECT_TRUE(VenueHasLabel(loader, u"Loading..."));
    EXPECT_TRUE(VenueHasLabel(loader, u"Cedar County Fairgrounds - Sandbox Mode"));
    game->cash = 5;

    Frames();
    EXPECT_EQ(loader->frameCounter, 1);
    EXPECT_FALSE(WorldBuilt());
    const std::vector<uint32_t> first = ReadPixels();
    EXPECT_GT(TitlePixels(first), 40) << "\"Loading...\" was not drawn before the world build";

    // Forty key presses and clicks while loading change nothing.
    for (int i = 0; i < 10; ++i) {
        for (SDL_Scancode k : {SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_DOWN}) {
            Key(k, true);
            Key(k, false);
        }
        MouseButton(true);
        MouseButton(false);
    }
    Frames();
    EXPECT_EQ(Loader(), loader);
    EXPECT_EQ(loader->frameCounter, 2);
    EXPECT_FALSE(WorldBuilt());
    EXPECT_EQ(game->cash, 5) << "the new game started before the third update";
    EXPECT_TRUE(g_venueOpened.empty());
    EXPECT_GT(TitlePixels(ReadPixels()), 40);

    Frames();
    EXPECT_FALSE(Loader()) << "the loader stayed after the world was built:\n" << LogText();
    ASSERT_EQ(OpenedCount("MenuGameRunning"), 1);
    EXPECT_EQ(g_venueOpened[0].frame, frame) << "the HUD opens in the update of the new game";
    EXPECT_EQ(game->cash, 1000000);
    EXPECT_TRUE(WorldBuilt());
    EXPECT_TRUE(EntTreeFindName(app.GetRoot(), "GameGrid"));
    EXPECT_TRUE(EntTreeFindName(app.GetRoot(), "ViewportMain"));

    // A late or repeated event finds no loader: never a second HUD.
    app.GetRoot()->GameEventPre(WORLD_LOADED_EVENT, 0);
    Frames(3);
    EXPECT_EQ(OpenedCount("MenuGameRunning"), 1);
}

TEST_F(WorldLoaderTest, AScriptThatWaitsOpensTheHudOnTheUpdateAfterItsEvent) {
    const std::string script = WriteTestScript(
        "Wait.lua", "for i = 1, 10 do Script.WaitFrame(1) end\n"
                    "Entity.GameEventPre(Game.GetRootEntity(), GE_WORLDLOADED, NULLENT)\n"
                    "Entity.GameEventPre(Game.GetRootEntity(), GE_WORLDLOADED, NULLENT)\n");
    WriteVenueScripts({script});
    StartVenues(MTGAME_SANDBOX);
    MenuWorldLoader* loader = Open(0);
    ASSERT_TRUE(loader);
    loader->loadTimeout = 5.0f;
    Frames(3);
    int opened = 0;
    for (int i = 0; i < 15 && !Opened("MenuGameRunning"); ++i) {
        // Once the loader has heard the event, its next update opens the HUD.
        const bool heard = Loader() && Loader()->worldLoaded;
        Frames();
        if (heard) {
            EXPECT_TRUE(Opened("MenuGameRunning"));
        }
        opened = i + 1;
    }
    EXPECT_EQ(OpenedCount("MenuGameRunning"), 1) << "two events, one HUD";
    EXPECT_GE(opened, 10) << "the HUD opened before the script's event";
    EXPECT_LE(opened, 12);
    EXPECT_FALSE(Loader());
}

TEST_F(WorldLoaderTest, TheScriptNameIsCutToItsBuffer) {
    WriteVenues(1);
    StartVenues(MTGAME_SANDBOX);
    MenuWorldLoader* loader = Open(0);
    ASSERT_TRUE(loader);
    EXPECT_STREQ(loader->scriptFileName, "Venues\\Default\\World.lua");
    const std::string longName(300, 'x');
    EXPECT_TRUE(loader->SetString("scriptFileName", longName.c_str()));
    EXPECT_EQ(std::strlen(loader->scriptFileName), 263u);
    loader->SetScriptFileName(longName.c_str());
    EXPECT_EQ(std::strlen(loader->scriptFileName), 263u);
    EXPECT_TRUE(loader->SetBool("worldLoaded", 1)) << "the script variable is declared";
    EXPECT_TRUE(loader->SetFloat("loadTimeout", 2.0f));
    EXPECT_EQ(loader->loadTimeout, 2.0f);
}

// Each way a world can fail to come reaches the error screen, whose Back clears the scene and
// returns to the selector, from which the default venue then loads.
class WorldLoaderFaultTest : public WorldLoaderTest,
                             public testing::WithParamInterface<const char*> {};

TEST_P(WorldLoaderFaultTest, TheErrorScreenLeadsBackToTheSelector) {
    keepLog = true;
    const std::string kind = GetParam();
    std::string script;
    if (kind == "missing") script = "LoaderTests\\Missing.lua";
    if (kind == "syntax") script = WriteTestScript("Syntax.lua", "this is not lua (\n");
    if (kind == "error")
        script =
            WriteTestScript("Error.lua", "Game.LoadEntitiesIni('Venues\\\\Default\\\\World.ini')\n"
                                         "error('the world fell over')\n");
    if (kind == "silent") script = WriteTestScript("Silent.lua", "local nothing = 1\n");
    // A venue without its world file: the script's report of a loaded world is never reached.
    if (kind == "noworld")
        script = WriteTestScript("NoWorld.lua", "Game.LoadEntitiesIni('LoaderTests\\\\World.ini')\n"
                                                "Entity.GameEventPre(Game.GetRootEntity(), "
                                                "GE_WORLDLOADED, NULLENT)\n");
    WriteVenueScripts({script, "Venues\\Default\\World.lua"});
    StartVenues(MTGAME_SANDBOX);
    MenuWorldLoader* loader = Open(0);
    ASSERT_TRUE(loader);
    if (kind == "silent") loader->SetFloat("loadTimeout", 1.0f);

    Frames(3);
    if (kind == "silent") {
        EXPECT_FALSE(loader->failed) << "gave up before the timeout";
        Frames(49);
        EXPECT_FALSE(loader->failed) << "gave up before the timeout";
        Frames(1);
    }
    ASSERT_EQ(Loader(), loader);
    EXPECT_TRUE(loader->failed) << kind;
    EXPECT_FALSE(Opened("MenuGameRunning"));
    EXPECT_NE(LogText().find("MenuWorldLoader: world not loaded ("), std::string::npos);
    if (kind == "noworld") {
        EXPECT_NE(LogText().find("EntLoadEntitiesIni: " + m_program +
                                 "Data/LoaderTests\\World.ini is missing or cannot be read"),
                  std::string::npos)
            << LogText();
    }
    EXPECT_TRUE(VenueHasLabel(loader, u"Loading failed"));
    ASSERT_TRUE(loader->textBox);
    EXPECT_EQ(g_cursorFrameIndex, 1);
    Ctl3Base* back = loader->FindCtl(WORLD_LOADER_BACK);
    ASSERT_TRUE(back);
    EXPECT_TRUE(Ctl3IsFocused(back));
    EXPECT_EQ(back->pos.x, 180.0f);
    EXPECT_EQ(back->pos.y, 636.0f);
    // A world that reports after the loader gave up opens nothing.
    app.GetRoot()->GameEventPre(WORLD_LOADED_EVENT, 0);
    Frames();
    EXPECT_FALSE(Opened("MenuGameRunning"));

    TapKey(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(Loader());
    EXPECT_EQ(LiveChildren(app.GetWorld()), 0) << "Back left the broken world behind";
    EXPECT_EQ(LiveChildren(app.GetViewports()), 0);
    auto* sel = dynamic_cast<MenuMidwaySelector*>(Find("MidwaySelector"));
    ASSERT_TRUE(sel);
    EXPECT_STREQ(sel->returnTo, "MenuMain");

    TapKey(SDL_SCANCODE_DOWN);
    TapKey(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(Find("MenuVenueSetup"));
    TapKey(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(Loader());
    Frames(3);
    EXPECT_TRUE(Opened("MenuGameRunning")) << "the default venue did not load after a failure";
    EXPECT_TRUE(WorldBuilt());
}

INSTANTIATE_TEST_SUITE_P(Ways, WorldLoaderFaultTest,
                         testing::Values("missing", "syntax", "error", "silent", "empty",
                                         "noworld"));

// The game's own start-up path through the splash chain, a start-up script that leaves out a
// splash class, and every front-end and pause screen built with a broken script.
#include "tests/ui/Menus/FrontEndStandIns.h"

#include "engine/Input/SlInput.h"

#include <lua.hpp>

#include <string>

namespace {
class FrontEndStartTest : public FrontEndTest {
  protected:
    std::string Shipped() const {
        return ReadTextFile(std::string(FAIRLARK_BUILD_DATA_DIR) + "Startup.lua");
    }
};

TEST_F(FrontEndStartTest, TheShippedStartUpReachesTheMainMenuThroughTheThreeSplashes) {
    StartShipped(Shipped());
    const std::string main = "Menu: MainMenu (MenuMain)";
    int frames = 0;
    for (; frames < 17 * 60 && LogText().find(main) == std::string::npos; ++frames)
        StepSixtieth();
    const std::string log = LogText();
    const size_t p = log.find("Menu: PublisherSplash (MenuPublisher)");
    const size_t t = log.find("Menu: PublisherSplash (MenuTolvane)");
    const size_t e = log.find("Menu: PublisherSplash (MenuEsrb)");
    const size_t m = log.find(main);
    ASSERT_NE(m, std::string::npos) << "no main menu within 17 s of frame time";
    EXPECT_TRUE(p < t && t < e && e < m) << "the splash lines are out of order";
    EXPECT_GT(frames, 15 * 60) << "the chain skipped itself without input";
}

// A build whose start-up script leaves the studio splash out: the first splash says so once,
// holds, and the program still closes when asked.
TEST_F(FrontEndStartTest, WithoutTheSecondSplashTheFirstHoldsAndTheProgramStillCloses) {
    std::string startup = Shipped();
    const std::string name = "\"EcMenuTolvane\",";
    const size_t at = startup.find(name);
    ASSERT_NE(at, std::string::npos) << "the shipped Startup.lua no longer names EcMenuTolvane";
    startup.erase(at, name.size());
    StartShipped(startup);
    StepSixtieth(8 * 60);
    Press(SDL_SCANCODE_SPACE);
    ASSERT_TRUE(FindClass("MenuPublisher")) << "the splash went with nothing after it";
    EXPECT_EQ(LogCount("MenuPublisher: cannot open MenuTolvane\n"), 1);
    SDL_Event close{};
    close.type = SDL_QUIT;
    app.AppHandleEvent(close);
    StepSixtieth();
    EXPECT_EQ(app.quit, 1) << "a close request was not taken";
}

// ---- broken scripts ----

struct BrokenCase {
    const char* className;
    const char* script; // in the data folder, "/"-separated
    int32_t controlId;  // a control the screen builds itself (-1: its "Background")
};

class BrokenScriptTest : public FrontEndTest, public ::testing::WithParamInterface<BrokenCase> {};

// A script that raises an error in Create is reported and the screen is built all the same; a
// Create left over from an earlier script never runs in its place.
TEST_P(BrokenScriptTest, TheScreenIsBuiltWithItsOwnControls) {
    const BrokenCase& c = GetParam();
    ShadowDataFile(c.script, "function Create (menu) error (\"broken on purpose\") end\n");
    ::testing::internal::CaptureStderr();
    StartFrontEnd(std::string("function Create (menu) staleCreateRan = 1 end\n") +
                  "local m = Entity.Create (\"" + c.className +
                  "\", Game.GetMenuEntity ())\nif m then Entity.Start (m) end\n");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("LuaScript Runtime Error"), std::string::npos) << err;
    Menu3Base* screen = FindClass(c.className);
    ASSERT_TRUE(screen) << c.className << " was not built";
    if (c.controlId >= 0)
        EXPECT_TRUE(screen->FindCtl(c.controlId)) << c.className;
    else
        EXPECT_TRUE(EntTreeFindName(screen, "Background")) << c.className;
    EXPECT_EQ(GlobalType("staleCreateRan"), LUA_TNIL) << "another script's Create ran";
    StepSixtieth(3);
}

INSTANTIATE_TEST_SUITE_P(
    EveryScreen, BrokenScriptTest,
    ::testing::Values(BrokenCase{"MenuPublisher", "Menu/MenuPublisher.lua", -1},
                      BrokenCase{"MenuTolvane", "Menu/MenuTolvane.lua", -1},
                      BrokenCase{"MenuEsrb", "Menu/MenuEsrb.lua", -1},
                      BrokenCase{"MenuSplash", "Menu/MenuSplash.lua", 0},
                      BrokenCase{"MenuAttractor", "Menu/Attractor/MenuAttractor.lua", 0},
                      BrokenCase{"MenuMain", "Menu/MainMenu/MenuMain.lua", 5},
                      BrokenCase{"MenuCredits", "Menu/Credits/MenuCredits.lua", 2},
                      BrokenCase{"MenuConfirmExit", "Menu/ConfirmExit/MenuConfirmExit.lua", 1},
                      BrokenCase{"MenuInGame", "Menu/InGame/MenuInGame.lua", 4},
                      BrokenCase{"MenuHelp", "Menu/Help/MenuHelp.lua", 2},
                      BrokenCase{"MenuVenueIntro", "Menu/EquipResource/EquipResource.lua", 0}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) {
        return std::string(info.param.className);
    });

TEST_F(FrontEndStartTest, AScriptThatDoesNotCompileIsReportedAndTheMainMenuStillWorks) {
    ShadowDataFile("Menu/MainMenu/MenuMain.lua", "function Create (menu\n");
    ::testing::internal::CaptureStderr();
    StartWith("MenuMain");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Syntax Error"), std::string::npos) << err;
    Press(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(FindClass("MenuSandbox")) << "the menu without its script took no input";
}
} // namespace

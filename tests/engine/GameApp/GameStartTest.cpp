// The game's start-up: the services in their fixed order, the published classes, the first data
// set's start-up script, and start-ups whose data is missing or broken.
#include "tests/harness/GameAppFixture.h"

#include "I3d/SpriteBatch.h"
#include "engine/FrameClock.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/Sound/Sound.h"
#include "world/EntViewport.h"

#include <lua.hpp>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <set>
#include <sstream>

namespace {
// The published names, in their order.
const char* const kClassNames =
    "EcNull EcViewport EcClear EcEnvironment EcTimeOfDay EcSun EcLensFlare EcObserver2 "
    "EcCloudDome2 EcSkyDome EcPlayfield1 EcAvatar1 EcMtGame EcMtPowerGrid EcCameraFixed "
    "EcCameraAvatar1 EcCameraVantor1 EcCameraAttach EcRube1 EcCarny EcRubeGen EcRubeSpawnPt "
    "EcCube1 EcLight EcSkyBoxCube EcSkyBox3 EcSound EcGroupSound EcVrebBud1 EcOvalDisplay1 "
    "EcMarker1 EcStaticObject EcArticuModel EcCameraWaypoint EcWptFollower EcGameGrid EcAttrBase "
    "EcTerrain2 EcGrassPatch EcGrassMesh EcParticleSpray EcParticles EcMusic EcIconFlyup EcLitter "
    "EcMouseCursor1 EcTextButton EcTextButton2 EcStaticGraphic EcCtl3Slideshow "
    "EcCtl3StatBar3Color EcAnimGraphic EcGraphicButton EcGraphicCheckBox EcTextCheckBox "
    "EcEditLine EcStaticText EcStaticTextBox EcIncDecButton EcCustom EcSlider EcMenuRoot "
    "EcMenuPublisher EcMenuTolvane EcMenuEsrb EcMenuSplash EcMenuMain EcMenuChooseProfile "
    "EcMenuSandbox EcMenuLoadSandbox EcMenuConfirmExit EcMenuWorldLoader EcMenuGameRunning "
    "EcMenuInspectRube EcMenuInspectCarny EcMenuInspectAttr EcMenuRemoveAttr EcMenuFireCarny "
    "EcMenuInGame EcMenuReports EcMenuOptionsAudio EcMenuOptionsVideo EcMenuNewCareer "
    "EcMenuEquipResource EcMenuPowerStats EcMenuReportSummary EcMenuReportMaint "
    "EcMenuReportPower EcMenuReportHourly EcMenuReportEmployees EcMenuVenueIntro EcMenuEndOfDay "
    "EcMenuSandboxSave EcMenuLayoutSave EcMenuLoadLayout EcMenuFileExists EcMenuYesNo "
    "EcMenuCredits EcMenuLoadGame EcMenuMidwaySelector EcMenuVenueSetup EcMenuHelp "
    "EcMenuAttractor EcMenuConfirmGeneric EcMenuInGameConfirm EcMenuCareer EcMenuCareerSummary "
    "EcMenuLoadCareer";

std::string ClassString(EntClassProc proc) {
    char name[64] = {};
    proc(nullptr, 4, 0, reinterpret_cast<intptr_t>(name), 0);
    return name;
}

// What the services look like when the editor is made, the eighth step of the start-up.
struct AtEditor {
    uint32_t clockCap = 0;
    float scaleX = 0, scaleY = 0;
    int sprites = 0, groups = 0, spritesEnabled = -1, spritesCull = -1;
    bool soundOpen = false;
    int voices = 0;
    bool scriptsMade = true, fontMade = true;
};
} // namespace

TEST_F(GameAppTest, TheStartUpRunsItsStepsInOrder) {
    AtEditor seen;
    EditorDouble* editor = nullptr;
    g_makeEditor = [&]() -> Editor* {
        if (app.clock) seen.clockCap = app.clock->capMs;
        seen.scaleX = app.mouseScaleX;
        seen.scaleY = app.mouseScaleY;
        if (const I3dSpriteBatch* batch = I3dSpriteBatchGet()) {
            seen.sprites = batch->maxSprites;
            seen.groups = batch->maxGroups;
            seen.spritesEnabled = batch->enabled;
            seen.spritesCull = batch->cull;
        }
        seen.soundOpen = SndIsOpen();
        seen.voices = SndVoiceCount();
        seen.scriptsMade = app.scripts != nullptr;
        seen.fontMade = app.debugFont != nullptr;
        return editor = new EditorDouble;
    };
    // The script sees the three libraries and the published classes.
    WriteStartup(std::string(kRegisterAll) + "libraries = (Entity and System and Game) and 1 or 0\n"
                                             "Script.WaitFrame(1)\n");
    Start();

    EXPECT_EQ(seen.clockCap, 33u) << "game time is capped at 33 ms a frame";
    EXPECT_FLOAT_EQ(seen.scaleX, 1.0f) << "1024 / the screen's 1024";
    EXPECT_FLOAT_EQ(seen.scaleY, 1.0f);
    EXPECT_EQ(std::make_tuple(seen.sprites, seen.groups, seen.spritesEnabled, seen.spritesCull),
              std::make_tuple(3000, 40, 1, 0));
    EXPECT_TRUE(seen.soundOpen);
    EXPECT_EQ(seen.voices, 32);
    EXPECT_FALSE(seen.scriptsMade) << "the scripts start after the editor";
    EXPECT_FALSE(seen.fontMade) << "the debug font comes after the scripts";

    ASSERT_EQ(app.editor, editor);
    EXPECT_EQ(editor->dataDir, m_program + "Editor/");
    EXPECT_NE(app.debugFont, nullptr) << "\\Fonts\\CourierNew9o after the data folder";
    EXPECT_STREQ(app.GetDataFolder(), (m_program + "Data/").c_str());
    EXPECT_TRUE(PathExistsOnDisk(m_documents + "Fairlark"));

    lua_State* L = ScriptMgrGet()->L;
    lua_getglobal(L, "libraries");
    EXPECT_EQ(lua_tonumber(L, -1), 1.0) << "Entity, System and Game were not all open";
    lua_pop(L, 1);
    EXPECT_NE(EntClassFind("EntNull"), nullptr) << "Startup.lua did not register the classes";

    // "Startup.lua" deletes itself once it has finished.
    ASSERT_NE(ScriptMgrGet()->scripts, nullptr);
    Frame();
    Frame();
    EXPECT_EQ(ScriptMgrGet()->scripts, nullptr) << "the finished start-up script was kept";

    // The editor's entities start like anything else made at run time.
    GameDouble* made = MakeProbe(nullptr, "Made");
    g_journal.clear();
    EditorEntityMade(made);
    EXPECT_EQ(Journal(), "Start:Made");
    EntDestroyTree(made);
}

// Exactly the built classes are published, under the fixed names in their fixed order.
TEST_F(GameAppTest, TheClassTableNamesEveryClassAndPublishesTheBuiltOnes) {
    std::istringstream expected(kClassNames);
    std::string name;
    std::set<std::string> built;
    for (const GameClassProc& entry : g_gameClassProcs) {
        ASSERT_TRUE(expected >> name);
        EXPECT_EQ(entry.name, name);
        if (entry.proc) built.insert(entry.name);
    }
    EXPECT_FALSE(expected >> name) << "the table is short of " << name;
    std::set<std::string> controls = {"EcSlider", "EcCtl3Slideshow", "EcCtl3StatBar3Color"};
    for (const std::string& c : controls)
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    for (const char* sky : {"EcSkyBox3", "EcSkyBoxCube"})
        EXPECT_EQ(built.erase(sky), 1u) << sky << " is not published";
    // The sun, its lens flare and the time of day.
    for (const char* c : {"EcSun", "EcLensFlare", "EcTimeOfDay"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    for (const char* placed : {"EcStaticObject", "EcArticuModel"})
        EXPECT_EQ(built.erase(placed), 1u) << placed << " is not published";
    EXPECT_EQ(built.erase("EcCameraVantor1"), 1u) << "the management camera is not published";
    // The reports hub, its reports and the stand-alone power list.
    for (const char* c :
         {"EcMenuReports", "EcMenuPowerStats", "EcMenuReportSummary", "EcMenuReportMaint",
          "EcMenuReportPower", "EcMenuReportHourly", "EcMenuReportEmployees"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    for (const char* c : {"EcMenuRoot", "EcMouseCursor1", "EcMenuGameRunning", "EcMenuInspectAttr"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // The road from the sandbox menu to a loaded venue.
    for (const char* c :
         {"EcMenuSandbox", "EcMenuMidwaySelector", "EcMenuVenueSetup", "EcMenuWorldLoader"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    EXPECT_EQ(built.erase("EcMenuEquipResource"), 1u) << "the build catalogue is not published";
    // The front end's screens and the screens around play.
    for (const char* c : {"EcMenuPublisher", "EcMenuTolvane", "EcMenuEsrb", "EcMenuSplash",
                          "EcMenuAttractor", "EcMenuMain", "EcMenuCredits", "EcMenuConfirmExit",
                          "EcMenuInGame", "EcMenuHelp", "EcMenuVenueIntro"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // The other cameras and the test board.
    for (const char* c :
         {"EcCameraAttach", "EcCameraAvatar1", "EcCameraFixed", "EcCameraWaypoint", "EcPlayfield1"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // The test board's entities.
    for (const char* c : {"EcCube1", "EcClear", "EcWptFollower", "EcAvatar1", "EcMarker1",
                          "EcObserver2", "EcOvalDisplay1", "EcVrebBud1"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // Patrons, their generator and its spawn points, and the carnies.
    for (const char* c : {"EcRube1", "EcRubeGen", "EcRubeSpawnPt", "EcCarny"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // Grass and the particle spray.
    for (const char* c : {"EcGrassPatch", "EcGrassMesh", "EcParticleSpray"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // The option pages.
    for (const char* c : {"EcMenuOptionsAudio", "EcMenuOptionsVideo"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // The edit line, the question boxes and the profile and career screens.
    for (const char* c : {"EcEditLine", "EcMenuYesNo", "EcMenuConfirmGeneric", "EcMenuCareer",
                          "EcMenuNewCareer", "EcMenuCareerSummary", "EcMenuChooseProfile"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // The employee and patron panels and the questions of play.
    for (const char* c : {"EcMenuInspectRube", "EcMenuInspectCarny", "EcMenuFireCarny",
                          "EcMenuRemoveAttr", "EcMenuInGameConfirm"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    // The end-of-day summary, the load screens and the save dialogs.
    for (const char* c :
         {"EcMenuEndOfDay", "EcMenuLoadGame", "EcMenuLoadCareer", "EcMenuLoadSandbox",
          "EcMenuLoadLayout", "EcMenuSandboxSave", "EcMenuLayoutSave", "EcMenuFileExists"})
        EXPECT_EQ(built.erase(c), 1u) << c << " is not published";
    EXPECT_EQ(built,
              (std::set<std::string>{
                  "EcNull",          "EcViewport",      "EcMtGame",          "EcSound",
                  "EcGroupSound",    "EcParticles",     "EcMusic",           "EcTextButton",
                  "EcTextButton2",   "EcGraphicButton", "EcGraphicCheckBox", "EcTextCheckBox",
                  "EcIncDecButton",  "EcTerrain2",      "EcEnvironment",     "EcLight",
                  "EcSkyDome",       "EcCloudDome2",    "EcStaticText",      "EcStaticTextBox",
                  "EcStaticGraphic", "EcAnimGraphic",   "EcCustom",          "EcMtPowerGrid",
                  "EcAttrBase",      "EcGameGrid",      "EcLitter",          "EcIconFlyup"}));
    EXPECT_EQ(ClassString(g_gameClassProcs[0].proc), "EntNull");

    WriteStartup("");
    Start();
    for (const GameClassProc& entry : g_gameClassProcs)
        EXPECT_EQ(GlobalType(entry.name), entry.proc ? LUA_TLIGHTUSERDATA : LUA_TNIL) << entry.name;
}

// The data set the game ships with, as the build generated it: every built class registered,
// the tree, and the first splash screen under "Menus" in place of the backdrop.
TEST_F(GameAppTest, TheFirstDataSetRegistersEveryClassAndOpensTheFirstSplash) {
    const std::string shipped = BuildProgramFolder();
    app.SetProgramFolder(shipped.c_str());
    m_programScope.emplace(shipped);
    ::testing::internal::CaptureStderr();
    Start();
    std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("Startup.lua: done"), std::string::npos) << out;
    EXPECT_EQ(out.find("Error"), std::string::npos) << out;

    for (const GameClassProc& entry : g_gameClassProcs) {
        if (!entry.proc) continue;
        EXPECT_NE(EntClassFind(ClassString(entry.proc).c_str()), nullptr) << entry.name;
    }
    ASSERT_NE(app.GetRoot(), nullptr);
    ENTBASE* splash = EntTreeFindType(app.GetMenus(), "MenuPublisher");
    ASSERT_NE(splash, nullptr) << "Startup.lua did not open the first splash";
    EXPECT_EQ(EntGetParent(splash), app.GetMenus());
    EXPECT_EQ(EntTreeFindName(app.GetViewports(), "Backdrop"), nullptr)
        << "the backdrop is the fallback for a build without the splash";
    EXPECT_EQ(app.dataFolder.path, shipped + "Data/");
    Frame();
    Frame();
}

// ---- broken data ----

// Without its start-up script nothing would ever be drawn: the program names the script, says
// why, and ends with a failing status instead of leaving a black window.
TEST_F(GameAppTest, WithoutTheDataFolderTheStartUpSaysSoAndTheProgramEndsWithAFailure) {
    unlink((m_program + "Data/Fonts").c_str());
    rmdir((m_program + "Data").c_str());
    ::testing::internal::CaptureStderr();
    Start();
    std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("[LuaScript Compile/Load Error]"), std::string::npos) << out;
    EXPECT_EQ(out.find("Syntax Error"), std::string::npos) << "a missing file has no syntax";
    EXPECT_NE(out.find("Fairlark cannot start: its start-up script " + m_program +
                       "Data/Startup.lua cannot be loaded."),
              std::string::npos)
        << out;
    EXPECT_EQ(app.debugFont, nullptr);
    EXPECT_EQ(app.GetRoot(), nullptr);
    EXPECT_EQ(app.quit, 1);
    app.AppMessageLoop(); // ends by itself: no close request is needed
    app.AppShutdown();
    EXPECT_EQ(app.AppExitStatus(), 1);
}

class StartupScriptFaultTest : public GameAppTest, public ::testing::WithParamInterface<bool> {};

TEST_P(StartupScriptFaultTest, AStartUpScriptThatCannotBeLoadedEndsTheProgramWithAFailure) {
    if (GetParam())
        unlink((m_program + "Data/Startup.lua").c_str());
    else
        WriteStartup("Game.CreateEntityTree(\n");
    ::testing::internal::CaptureStderr();
    Start();
    const std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find(GetParam() ? "[LuaScript Compile/Load Error]" : "[Syntax Error]"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Startup.lua cannot be loaded"), std::string::npos) << out;
    EXPECT_EQ(app.quit, 1);
    app.AppMessageLoop();
    app.AppShutdown();
    EXPECT_EQ(app.AppExitStatus(), 1);
}
INSTANTIATE_TEST_SUITE_P(MissingOrBroken, StartupScriptFaultTest, ::testing::Bool());

// A program folder deeper than any fixed path buffer: the data still comes from its Data/, never
// from the working folder.
TEST_F(GameAppTest, ADeepProgramFolderKeepsItsDataFolder) {
    std::string deep = m_dir.Path();
    for (int i = 0; i < 6; ++i)
        deep += std::string(50, (char)('a' + i)) + "/";
    ASSERT_GT(deep.size(), 300u);
    WriteTextFile(deep + "Data/Startup.lua", "ranFromDeepFolder = 1\n");
    app.SetProgramFolder(deep.c_str());
    m_programScope.emplace(deep);
    Start();
    EXPECT_EQ(app.dataFolder.path, deep + "Data/");
    EXPECT_EQ(GlobalType("ranFromDeepFolder"), LUA_TNUMBER) << "Startup.lua was not read";
    EXPECT_EQ(app.quit, 0);
}

// Without its folder the program cannot find its data: it says so and ends, instead of reading
// whatever the working folder holds.
TEST_F(GameAppTest, WhenTheDataFolderCannotBeSetTheStartUpEndsWithAMessage) {
    app.SetProgramFolder("");
    ::testing::internal::CaptureStderr();
    Start();
    std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("cannot be found, so neither can its Data folder"), std::string::npos)
        << out;
    EXPECT_EQ(out.find("Syntax Error"), std::string::npos) << "no script may run: " << out;
    EXPECT_EQ(app.quit, 1);
    EXPECT_EQ(app.clock, nullptr);
    Frame();
    app.AppShutdown();
}

TEST_F(GameAppTest, AScriptErrorBeforeTheTreeLeavesNoTreeAndTheFramesRun) {
    WriteStartup(std::string(kRegisterAll) +
                 // Registering twice is refused without a word.
                 "Entity.CreateClass(EcNull, nil, 0)\n"
                 "local broken = nil\nbroken.call()\nGame.CreateEntityTree()\n");
    ::testing::internal::CaptureStderr();
    Start();
    Frame();
    std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("[LuaScript Runtime Error]"), std::string::npos) << out;
    EXPECT_EQ(out.find("[", out.find("[LuaScript Runtime Error]") + 1), std::string::npos)
        << "one message only: " << out;
    EXPECT_EQ(app.GetRoot(), nullptr);
}

// A start-up script that never waits: a close request (SIGTERM arrives as SDL's quit event)
// stops it, and the loop then ends the program as a close does.
TEST_F(GameAppTest, AStartupScriptThatNeverWaitsStillLetsTheProgramClose) {
    WriteStartup("spun = 0 while true do spun = spun + 1 end\n");
    // SDL's events, started before the window's, turn the signal into the quit event.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    raise(SIGTERM);
    ::testing::internal::CaptureStderr();
    Start();
    ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(ScriptMgrClosing()) << "the running script did not see the close request";
    app.AppMessageLoop();
    EXPECT_EQ(app.quit, 1);
    app.AppShutdown();
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

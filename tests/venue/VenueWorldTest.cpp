// The default venue loaded through the world loader's steps on the headless game application:
// the entities its world file and script make, in order, with the values authored; the main
// viewport and the camera's preferences; the first day started by the script; and the bad
// inputs a venue can meet.
#include "engine/EntTree.h"
#include "game/Ents/GameGrid.h"
#include "tests/venue/VenueFixture.h"
#include "world/CameraVantor1.h"
#include "world/CloudDome2.h"
#include "world/EntTimeOfDay.h"
#include "world/EntViewport.h"
#include "world/Environment.h"
#include "world/Sun.h"
#include "world/Terrain2.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ChildNames(ENTBASE* parent) {
    std::vector<std::string> names;
    for (EntNode* c = parent && parent->node ? parent->node->firstChild : nullptr; c; c = c->next)
        if (c->object) names.push_back(c->object->GetName());
    return names;
}

const std::vector<std::string> kWorldChildren = {
    "Environment", "TimeOfDay", "SkyDome", "Sun",        "Clouds",   "Terrain", "GameGrid",
    "PowerGrid",   "RubeGen",   "Camera2", "RideCam",    "Observer", "Tree01",  "Tree02",
    "Tree03",      "Tree04",    "Tree05",  "Tree06",     "Tree07",   "Tree08",  "Tree09",
    "Tree10",      "Tree11",    "Tree12",  "AttrCursor", "First",    "Last",    "Meadow",
    "Fountain",    "Particles", "VeryLast"};

TEST_F(VenueTest, VenueZeroLoadsItsWorldAsAuthoredAndStartsTheFirstDay) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    const std::string log = Log();
    ENTBASE* world = app.world.Get();
    ASSERT_NE(world, nullptr);

    // One creation line per entity, in the file's order, World's children in draw order.
    EXPECT_EQ(ChildNames(world), kWorldChildren);
    size_t at = 0;
    for (const std::string& name : kWorldChildren) {
        const size_t found = log.find("INFO: Created entity [" + name + "] of class ", at);
        EXPECT_NE(found, std::string::npos) << name;
        if (found != std::string::npos) at = found;
    }
    EXPECT_EQ(ChildNames(EntTreeFindName(world, "RubeGen")),
              (std::vector<std::string>{"Spawn1", "Spawn2"}));
    EXPECT_EQ(log.find("** WARNING ** could not find"), std::string::npos) << log;
    EXPECT_EQ(log.find("LuaScript Runtime Error"), std::string::npos) << log;
    EXPECT_EQ(log.find("not loaded, flat"), std::string::npos) << "no height map";

    // Values as authored: fog far out, no underwater fog (the defaults hide everything).
    auto* env = static_cast<Environment*>(EntTreeFindName(world, "Environment"));
    ASSERT_NE(env, nullptr);
    EXPECT_EQ(env->fogStart, 300.0f);
    EXPECT_EQ(env->fogEnd, 1400.0f);
    EXPECT_EQ(env->uwFogEnable, 0);
    EXPECT_EQ(env->uwFogElv, -1000.0f);
    auto* terrain = static_cast<Terrain2*>(EntTreeFindName(world, "Terrain"));
    ASSERT_NE(terrain, nullptr);
    EXPECT_EQ(terrain->scale, 2.0f);
    EXPECT_FLOAT_EQ(terrain->elvScale, 0.1f);
    EXPECT_EQ(terrain->fullAmbient, 0);
    EXPECT_STREQ(terrain->mapName, "Data\\Venues\\Default\\Ground");
    auto* clouds = static_cast<CloudDome2*>(EntTreeFindName(world, "Clouds"));
    ASSERT_NE(clouds, nullptr);
    EXPECT_EQ(clouds->size, 1500.0f);
    EXPECT_EQ(clouds->height, 300.0f);
    auto* sun = static_cast<Sun*>(EntTreeFindName(world, "Sun"));
    ASSERT_NE(sun, nullptr);
    EXPECT_EQ(sun->center.x, 512.0f);
    EXPECT_EQ(sun->center.z, 512.0f);
    const VECTOR3* dome = EntTreeFindName(world, "SkyDome")->GetPos();
    ASSERT_NE(dome, nullptr);
    EXPECT_EQ(dome->x, 512.0f);
    EXPECT_EQ(dome->z, 512.0f);

    // The main viewport: the whole screen, the world through "Camera2".
    auto* view = static_cast<EntViewport*>(EntTreeFindName(app.viewports.Get(), "ViewportMain"));
    ASSERT_NE(view, nullptr);
    ENTBASE* camera = EntTreeFindName(world, "Camera2");
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(view->drawRoot, world);
    EXPECT_EQ(view->camera, camera);
    EXPECT_EQ(view->clear, 1);

    // The keyboard goes to the camera, whose scroll speeds are the preference's (0.5 x 200),
    // not the class's 200: the script made it before the preferences were applied.
    EXPECT_EQ(app.keyboardEntity.Get(), camera);
    auto* vantor = static_cast<CameraVantor1*>(camera);
    EXPECT_EQ(vantor->scrollSpeedX, 100.0f);
    EXPECT_EQ(vantor->scrollSpeedZ, 100.0f);
    EXPECT_EQ(vantor->targetPoint.x, 512.0f);
    EXPECT_EQ(vantor->targetPoint.y, 0.0f);
    EXPECT_EQ(vantor->targetPoint.z, 512.0f);

    // The script started the first day: the clock and the generator are cached, the sky runs.
    MtGame* game = venue.Game();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->timeOfDay, EntTreeFindName(world, "TimeOfDay"));
    EXPECT_EQ(game->rubeGen, EntTreeFindName(world, "RubeGen"));
    auto* tod = static_cast<EntTimeOfDay*>(game->timeOfDay);
    ASSERT_NE(tod, nullptr);
    EXPECT_NEAR(tod->time, 0.41667f, 1e-5f);

    // The grounds are flat at 0: grid, terrain and routes agree.
    auto* grid = static_cast<GameGrid*>(EntTreeFindName(world, "GameGrid"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->originY, 0.0f);
    float h = -1.0f;
    const VECTOR3 middle = {512.0f, 0.0f, 512.0f};
    terrain->GetHeight(&middle, &h);
    EXPECT_EQ(h, 0.0f);

    EXPECT_EQ(venue.observer->Count(27), 1);
}

TEST_F(VenueTest, TheCursorNeverBlocksCellsItOverlaps) {
    StartGame();
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX));
    ENTBASE* cursor = EntTreeFindName(app.world.Get(), "AttrCursor");
    ASSERT_NE(cursor, nullptr);
    EXPECT_NE(cursor->flags & ENT_FLAG_PASSABLE, 0u);
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(app.world.Get(), "GameGrid"));
    ASSERT_NE(grid, nullptr);
    const VECTOR3 over = {512.0f, 0.0f, 512.0f};
    cursor->SetPos(&over);
    ASSERT_TRUE(GameGridRebuild(grid));
    int cx = 0, cz = 0;
    VenueDriver::CellAt(grid, 512.0f, 512.0f, &cx, &cz);
    EXPECT_GT(grid->cells[size_t(cz) * size_t(grid->cols) + size_t(cx)], 0.0f);
}

TEST_F(VenueTest, AWorldScriptThatFailsLoadsNoWorldAndIsLeftCleanly) {
    // The world's file loads, then the script fails before it says the world is loaded.
    WriteTextFile(m_program + "Data/Broken.lua",
                  "Game.LoadEntitiesIni(\"Venues\\\\Default\\\\World.ini\")\n"
                  "local camera = nil\n"
                  "Game.SetKeyboardEnt(camera.entity)\n"
                  "Entity.GameEventPre(Game.GetRootEntity(), GE_WORLDLOADED, NULLENT)\n");
    ASSERT_EQ(unlink((m_program + "Data/Venue.ini").c_str()), 0);
    WriteTextFile(m_program + "Data/Venue.ini",
                  "[Venue]\nnum=1\n[Venue00]\nname=Broken\nscriptFile=Broken.lua\n");
    StartGame();
    EXPECT_FALSE(venue.Load(0, MTGAME_SANDBOX, 3));
    EXPECT_EQ(venue.observer->Count(27), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("LuaScript Runtime Error"), std::string::npos) << log;
    EXPECT_NE(log.find("VenueDriver: venue 0 did not load its world"), std::string::npos);
    EXPECT_NE(EntTreeFindName(app.world.Get(), "Terrain"), nullptr);
    venue.Leave([this] { app.ClearScene(); });
    Frames(2);
    EXPECT_EQ(EntTreeFindName(app.world.Get(), "Terrain"), nullptr);
}

} // namespace

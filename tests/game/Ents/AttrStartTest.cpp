// Start and the attraction's life around it: loaded wear, types outside the list, the shared
// entities going away, sound children, picking and placement that is not a number.
#include "engine/EntQueries.h"
#include "engine/PropDb.h"
#include "engine/Sound/Sound.h"
#include "engine/WorldClass.h"
#include "game/RideAnimCore.h"
#include "tests/game/Ents/AttrTestSupport.h"

#include <cmath>
#include <cstring>
#include <map>

namespace {
// Class "Sound": records what the attraction sets on its sound children.
class SoundStandIn : public ENTBASE {
  public:
    const char* GetTypeName() override { return "Sound"; }
    bool SetString(const char* key, const char* value) override {
        strings[key] = value;
        return true;
    }
    bool SetFloat(const char* key, float value) override {
        floats[key] = value;
        return true;
    }
    void SetPos(const VECTOR3* p) override { pos = *p; }
    int Start() override {
        ++starts;
        return 1;
    }
    std::map<std::string, std::string> strings;
    std::map<std::string, float> floats;
    VECTOR3 pos = {};
    int starts = 0;
};
PropDb* SoundDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "SoundStandIn");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(SoundStandIn, name), 32);
    }
    return &s_db;
}
const WorldClassDef kSound = {"Sound", SoundDb, WorldMake<SoundStandIn>, nullptr};
intptr_t SoundProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kSound, n, m, a, b, c);
}

// Class "TestGround": writes 3 as the height and, like the real terrain, answers 0.
class Ground : public ENTBASE {
  public:
    intptr_t Dispatch(int message, intptr_t a, intptr_t b, intptr_t c) override {
        if (message != ENT_MSG_GROUND_HEIGHT) return ENTBASE::Dispatch(message, a, b, c);
        *reinterpret_cast<float*>(c) = 3.0f;
        return 0;
    }
};
PropDb* GroundDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "TestGround");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(Ground, name), 32);
    }
    return &s_db;
}
const WorldClassDef kGround = {"TestGround", GroundDb, WorldMake<Ground>, nullptr};
intptr_t GroundProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kGround, n, m, a, b, c);
}
} // namespace

TEST_F(AttrTest, ALoadedWearSurvivesTheAnimatorsFirstDraw) {
    WriteTextFile(dir / "saved.ini", "[Worn]\nrepair=0.6\n\n[Wreck]\nrepair=1.0\n");
    AttrBase* worn = Make(T_RIDE, "Worn");
    worn->LoadVars((dir / "saved.ini").c_str(), nullptr);
    worn->Start();
    EXPECT_FLOAT_EQ(worn->repair, 0.6f) << "the animator's new wear replaced the saved one";
    EXPECT_FLOAT_EQ(worn->initialWear, 0.6f);

    game->degFailThresh = 2.0f;
    AttrBase* wreck = Make(T_RIDE, "Wreck");
    wreck->LoadVars((dir / "saved.ini").c_str(), nullptr);
    wreck->Start();
    wreck->Update(0.01f);
    EXPECT_TRUE(wreck->broken) << "a loaded wear of 1.0 breaks again on its first update";

    // Placed, not loaded: the animator's draw stands, and a file without "repair" sets nothing.
    AttrBase* placed = Make(T_RIDE, "Placed");
    placed->LoadVars((dir / "saved.ini").c_str(), nullptr);
    placed->Start();
    EXPECT_LE(placed->repair, 0.2f);
    EXPECT_FLOAT_EQ(placed->repair, placed->initialWear);
}

TEST_F(AttrTest, ATypeOutsideTheListStaysInert) {
    LogCapture log;
    MtPowerGrid* grid = Grid();
    AttrBase* odd = Place(500, "Odd");
    odd->Start();
    const std::string text = log.Text();
    EXPECT_NE(text.find("AttrBase Odd: type 500 is not in the attraction list"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("type 500", text.find("type 500") + 1), std::string::npos)
        << "logged once only";
    EXPECT_EQ(odd->animator, nullptr);
    EXPECT_FALSE(AttrBaseJoinQueue(odd, Patron()));
    EXPECT_EQ(odd->Update(0.1f), 1);
    EXPECT_EQ(AttrBaseValue(odd), 0);
    const int cash = game->cash;
    odd->OnGameEvent(GE_HOURLY, 0);
    EXPECT_EQ(game->cash, cash) << "an inert attraction costs nothing";
    PickQuery pick = {{0.0f, 10.0f, 0.0f}, {0.0f, -1.0f, 0.0f}, nullptr, 1e9f};
    EXPECT_FALSE(odd->PickTest(&pick));
    EntDestroyTree(odd);
    EXPECT_EQ(MtPowerGridRemove(grid, odd), false);

    AttrBase* negative = Place(-1, "Negative");
    EXPECT_TRUE(negative->inert);
}

TEST_F(AttrTest, SharedEntitiesThatGoAreForgottenNotUsed) {
    MtPowerGrid* grid = Grid();
    ENTBASE* gen = Generator();
    AttrBase* a = Place(T_RIDE, "A");
    AttrBase* b = Place(T_BIG, "B");
    EXPECT_EQ(a->RidePowerGrid(), grid);
    EntDestroyTree(grid);
    EntDestroyTree(gen);
    EXPECT_EQ(a->RidePowerGrid(), nullptr);
    b->powerCheckTimer = 0.0f;
    for (int i = 0; i < 100; ++i) {
        a->Update(0.1f);
        b->Update(0.1f);
    }
    AttrBaseSetClosed(a, true);
    AttrBaseSetClosed(a, false);
    EXPECT_EQ(g_delayChanges.size(), 2u) << "only the two starts reached the generator";
    EntDestroyTree(a); // removes itself from no grid

    // A grid made later is found by the next Start.
    MtPowerGrid* again = Grid();
    AttrBase* c = Place(T_RIDE, "C");
    EXPECT_EQ(c->RidePowerGrid(), again);
    EXPECT_EQ(b->RidePowerGrid(), again);

    // The game object takes the type records with it.
    EntDestroyTree(game);
    game = nullptr;
    EXPECT_EQ(c->info, nullptr);
    EXPECT_EQ(c->Update(0.1f), 1);
    c->OnGameEvent(GE_HOURLY, 0);
    EXPECT_EQ(AttrBaseValue(c), 0);
}

TEST_F(AttrTest, SoundChildrenCarryTheTypesSoundAndMusic) {
    EntCreateClass(SoundProc, 0, 0);
    AttrInfo* ride = game->attrList->Get(T_RIDE);
    std::strcpy(ride->soundFile, "Sounds/Ride.wav");
    std::strcpy(ride->musicFile, "Music/Ride.ogg");
    ride->soundVolume = 0.5f;
    ride->soundMinDist = 3.0f;
    ride->soundMaxDist = 9.0f;
    AttrBase* attr = Make(T_RIDE, "Wheel");
    attr->pos = VECTOR3{4.0f, 0.0f, 5.0f};
    attr->Start();
    auto* sound = static_cast<SoundStandIn*>(EntTreeFindName(attr, "WheelSound"));
    auto* music = static_cast<SoundStandIn*>(EntTreeFindName(attr, "WheelMusic"));
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(sound->strings["soundFile"], host.data + "Sounds/Ride.wav");
    EXPECT_EQ(music->strings["soundFile"], host.data + "Music/Ride.ogg");
    EXPECT_FLOAT_EQ(sound->floats["volume"], 0.4f);
    EXPECT_FLOAT_EQ(music->floats["volume"], 0.5f);
    EXPECT_FLOAT_EQ(sound->floats["minDist"], 3.0f);
    EXPECT_FLOAT_EQ(music->floats["maxDist"], 9.0f);
    EXPECT_FLOAT_EQ(sound->pos.x, 4.0f);
    EXPECT_EQ(sound->starts, 1);
    attr->Start();
    EXPECT_EQ(EntTreeCount(attr), 3) << "a second Start made the sounds again";

    // With music switched off the attraction's music is not made; its sound still is.
    SndSetMusicOn(0);
    AttrBase* quiet = Make(T_RIDE, "Quiet");
    quiet->Start();
    SndSetMusicOn(1);
    EXPECT_NE(EntTreeFindName(quiet, "QuietSound"), nullptr);
    EXPECT_EQ(EntTreeFindName(quiet, "QuietMusic"), nullptr) << "music is off";
}

TEST_F(AttrTest, PickingPlacementAndEntryPoint) {
    AttrBase* ride = Make(T_RIDE, "Ride");
    ride->pos = VECTOR3{10.0f, 0.0f, 0.0f};
    ride->yaw = (float)M_PI / 2.0f;
    ride->Start();
    VECTOR3 entry;
    AttrBaseEntryPoint(ride, &entry);
    // The entry offset (0, 0, -2) turned a quarter about the vertical axis.
    EXPECT_NEAR(std::fabs(entry.x - 10.0f), 2.0f, 1e-4f);
    EXPECT_NEAR(entry.z, 0.0f, 1e-4f);
    FakePatron* p = Patron();
    AttrBaseJoinQueue(ride, p);
    EXPECT_FLOAT_EQ(p->entry.x, entry.x) << "the patron is told where to enter";

    PickQuery pick = {{10.0f, 10.0f, 0.0f}, {0.0f, -1.0f, 0.0f}, nullptr, 1e9f};
    EXPECT_TRUE(ride->PickTest(&pick));
    AttrBase* scenery = Make(T_SCENERY, "Scenery");
    scenery->pos = VECTOR3{10.0f, 0.0f, 0.0f};
    scenery->Start();
    EXPECT_FALSE(scenery->PickTest(&pick)) << "scenery is never picked";

    LogCapture log;
    const Mat4 before = ride->matrix;
    ride->pos.x = NAN;
    ride->VarsChanged();
    ride->yaw = INFINITY;
    ride->VarsChanged();
    EXPECT_EQ(std::memcmp(&before, &ride->matrix, sizeof before), 0) << "the last good matrix";
    const std::string text = log.Text();
    EXPECT_NE(text.find("not a number"), std::string::npos) << text;
    EXPECT_EQ(text.find("not a number", text.find("not a number") + 1), std::string::npos);
}

TEST_F(AttrTest, TheTerrainUnderTheAttractionLiftsIt) {
    EntCreateClass(GroundProc, 0, 0);
    Ent3dForgetTerrain();
    EntCreateChild("TestGround", world)->SetName("Terrain");
    AttrBase* attr = Make(T_RIDE);
    attr->agl = 1;
    attr->Start();
    EXPECT_FLOAT_EQ(attr->terrainHeight, 3.0f);
    EXPECT_FLOAT_EQ(attr->matrix.m[13], 3.0f);
    attr->agl = 0;
    attr->VarsChanged();
    EXPECT_FLOAT_EQ(attr->matrix.m[13], 0.0f);
    Ent3dForgetTerrain();
}

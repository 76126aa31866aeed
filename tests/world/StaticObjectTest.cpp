// Static objects on the recording device: loading and the warning, placement on the ground and
// the world matrix, the lights by the time of day, the chaser, picking and bounds, hiding, the
// defaults of objects made at run time and a "TimeOfDay" destroyed under the class's cache.
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3Draw.h"
#include "engine/EntQueries.h"
#include "tests/world/StaticObjectFixture.h"

#include "engine/System.h"
#include "world/EntTimeOfDay.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

int Draws(D3dCallLog& log) {
    return log.Count("DrawIndexedPrimitive");
}

bool Near(const Mat4& a, const Mat4& b) {
    for (int i = 0; i < 16; ++i)
        if (std::fabs(a.m[i] - b.m[i]) > 1e-5f) return false;
    return true;
}

// ---- loading ----

TEST_F(StaticObjectTest, AMissingModelWarnsOnceAndLeavesAnUndrawnUnpickableUnitBox) {
    auto* o = Object("Nowhere.md3", {5, 0, 5});
    const std::string warning = "** WARNING ** could not find " + (m_files / "Nowhere.md3");
    std::string log = LogText();
    ASSERT_NE(log.find(warning), std::string::npos) << log;
    EXPECT_EQ(log.find(warning), log.rfind(warning)) << "one warning per Start";
    EXPECT_EQ(o->instance, nullptr);
    const float unit[6] = {-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f};
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(o->localBox[i], unit[i]);
    Log().Clear();
    EntTreeDrawPre(root);
    EXPECT_EQ(Draws(Log()), 0);
    PickQuery q = {{5, 0, -10}, {0, 0, 1}, nullptr, 1000000.0f};
    EXPECT_FALSE(o->PickTest(&q));

    // Each Start warns again; a truncated model and a folder name do too, without a crash.
    o->Start();
    log = LogText();
    EXPECT_NE(log.find(warning), log.rfind(warning));
    const std::string box = Model(kRedBox);
    std::ifstream in(m_files / box, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    bytes.resize(bytes.size() / 2);
    WriteBytes(m_files, "Half.md3", bytes);
    EXPECT_EQ(Object("Half.md3")->instance, nullptr);
    ASSERT_TRUE(std::filesystem::create_directory(m_files / "Folder"));
    EXPECT_EQ(Object("Folder")->instance, nullptr);
}

TEST_F(StaticObjectTest, EmptyNamesLoadNothingAndSayNothing) {
    for (const char* file : {"", "!", "!RedBox.md3"}) {
        auto* o = Object(file);
        EXPECT_EQ(o->instance, nullptr) << file;
    }
    EXPECT_EQ(LogText().find("WARNING"), std::string::npos) << LogText();
}

TEST_F(StaticObjectTest, StartReloadsReleasingTheModelItHeld) {
    const std::string file = Model(kRedBox);
    auto* a = Object(file);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->instance, nullptr);
    auto* b = Object(file);
    EXPECT_EQ(a->instance, b->instance) << "one shared model";
    const int32_t refs = a->instance->refCount;
    EXPECT_EQ(refs, 2);
    a->Start();
    a->Start();
    EXPECT_EQ(a->instance->refCount, refs) << "a restart must give back what it held";
    // The table's command restarts it too.
    PropField* start = PropDbFindField(a->classDb, "Start");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->type, (uint32_t)PROP_COMMAND);
    ASSERT_NE(a->instance->mdl, nullptr);
    const MDL3NODE& rootNode = a->instance->mdl->nodes[0];
    EXPECT_FLOAT_EQ(a->localBox[0], rootNode.boundsMin.x);
    EXPECT_FLOAT_EQ(a->localBox[4], rootNode.boundsMax.y);
    Mdl3ExModel* shared = a->instance;
    EntDestroyTree(a);
    EXPECT_EQ(shared->refCount, 1);
}

TEST_F(StaticObjectTest, TheTableHoldsItsSixteenRowsInOrder) {
    auto* o = Object("");
    const char* rows[] = {"name",    "Position:", "pos",       "agl",   "Orientation:", "yaw",
                          "pitch",   "roll",      "Misc:",     "scale", "modelFile",    "visFactor",
                          "clsnBox", "lightsOn",  "lightsOff", "Start"};
    const PropField* f = o->classDb->first;
    for (const char* row : rows) {
        ASSERT_NE(f, nullptr) << "the table ends before " << row;
        EXPECT_STREQ(f->name, row);
        f = f->next;
    }
    EXPECT_EQ(f, nullptr);
}

// ---- placement ----

TEST_F(StaticObjectTest, OnTheGroundTheObjectStandsOnTheTerrainAndTheMatrixIsEulerScaled) {
    const std::string file = Model(kRedBox);
    auto* o = Object(file, {3, 1, 4}, true);
    EXPECT_FLOAT_EQ(o->matrix.m[13], 1.0f) << "no terrain: the ground is at 0";

    Make<TestGround>("TestGround", world, "Terrain");
    o->yaw = 0.3f, o->pitch = 0.2f, o->roll = 0.1f;
    o->scale = {2.0f, 3.0f, 4.0f};
    o->VarsChanged();
    EXPECT_FLOAT_EQ(o->groundHeight, 10.0f);
    Mat4 expected;
    Mat4FromEuler(&expected, 0.1f, 0.2f, 0.3f);
    for (int row = 0; row < 3; ++row) {
        expected.m[row * 4 + 0] *= 2.0f;
        expected.m[row * 4 + 1] *= 3.0f;
        expected.m[row * 4 + 2] *= 4.0f;
    }
    expected.m[12] = 3.0f, expected.m[13] = 11.0f, expected.m[14] = 4.0f;
    EXPECT_TRUE(Near(o->matrix, expected));
    float box[6];
    BoxXform(o->localBox, &o->matrix, box);
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(o->worldBox[i], box[i]);

    o->agl = 0;
    o->VarsChanged();
    EXPECT_FLOAT_EQ(o->matrix.m[13], 1.0f) << "without agl the terrain is not asked";

    float orientation[16];
    EXPECT_EQ(o->GetOrientation(orientation), 0);
    EXPECT_EQ(orientation[12] + orientation[13] + orientation[14], 0.0f);
    EXPECT_FLOAT_EQ(orientation[5], o->matrix.m[5]);
}

TEST_F(StaticObjectTest, SettersPlaceTheObjectAgain) {
    auto* o = Object("");
    o->SetYaw(1.0f);
    Mat4 turned;
    Mat4FromEuler(&turned, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(Near(o->matrix, turned)) << "SetYaw re-runs VarsChanged";
    EXPECT_FLOAT_EQ(o->GetYaw(), 1.0f);
    o->SetPitch(0.5f);
    Mat4FromEuler(&turned, 0.0f, 0.5f, 1.0f);
    EXPECT_TRUE(Near(o->matrix, turned)) << "the pitch setter re-runs VarsChanged";
    EXPECT_FLOAT_EQ(o->GetPitch(), 0.5f);

    const VECTOR3 p = {1, 2, 3};
    o->SetPos(&p);
    EXPECT_EQ(o->pos.y, 2.0f);
    EXPECT_EQ(o->height, 2.0f) << "the height field follows pos y";
    EXPECT_FLOAT_EQ(o->matrix.m[13], 2.0f) << "setting the position moves the object up too";
    o->agl = 1;
    const VECTOR3 f = {2, 2, 2};
    o->ScalePos(&f);
    EXPECT_EQ(o->pos.x, 2.0f);
    EXPECT_EQ(o->pos.y, 2.0f) << "a height above the ground is not scaled";
    EXPECT_EQ(o->pos.z, 6.0f);
    o->agl = 0;
    o->ScalePos(&f);
    EXPECT_EQ(o->pos.y, 4.0f);
    o->SetPosXYZ(7, 8, 9);
    EXPECT_FLOAT_EQ(o->matrix.m[14], 9.0f);
}

// ---- lights and chaser ----

TEST_F(StaticObjectTest, LightsAreOnOnlyStrictlyAfterLightsOnOrBeforeLightsOff) {
    const std::string file = Model(kLamp, kLampInfo);
    auto* o = Object(file);
    ASSERT_NE(o->instance, nullptr);
    EntTreeDrawPre(root);
    EXPECT_EQ(o->instance->lightsOn, 0) << "no TimeOfDay: off";

    DayClock* clock = Clock(0.5f);
    o->Start(); // finds the clock
    ASSERT_EQ(StaticObjectTimeOfDay(), clock);
    struct Case {
        float t;
        int on;
    } cases[] = {{0.7916667f, 0}, {0.25f, 0}, {0.8f, 1}, {0.2f, 1}, {0.5f, 0}};
    for (const Case& c : cases) {
        clock->time = c.t;
        Mdl3ExParticles()->count = 0;
        EntTreeDrawPre(root);
        EXPECT_EQ(o->instance->lightsOn, c.on) << "time " << c.t;
        EXPECT_EQ(Mdl3ExParticles()->count, c.on ? 2 : 0)
            << "the lights' switch must be set before the model draws";
    }
    // Bounds outside the day run as written.
    o->lightsOn = 2.0f, o->lightsOff = -1.0f;
    clock->time = 0.9f;
    EntTreeDrawPre(root);
    EXPECT_EQ(o->instance->lightsOn, 0);
}

TEST_F(StaticObjectTest, TheChaserStepsOncePerCallAtMostAndWraps) {
    StaticObjectFlashTick(1.0f); // whatever came before: the timer restarts
    EXPECT_FLOAT_EQ(StaticObjectFlashTimer(), 0.0625f);
    const int start = StaticObjectFlashCounter();
    StaticObjectFlashTick(5.0f);
    EXPECT_EQ(StaticObjectFlashCounter(), (start + 1) % 32) << "a long frame is one step";
    EXPECT_FLOAT_EQ(StaticObjectFlashTimer(), 0.0625f) << "restarted, not topped up";
    StaticObjectFlashTick(0.03f);
    EXPECT_EQ(StaticObjectFlashCounter(), (start + 1) % 32);
    EXPECT_FLOAT_EQ(StaticObjectFlashTimer(), 0.0325f);
    for (int i = 0; i < 64 && StaticObjectFlashCounter() != 31; ++i)
        StaticObjectFlashTick(1.0f);
    ASSERT_EQ(StaticObjectFlashCounter(), 31);
    StaticObjectFlashTick(1.0f);
    EXPECT_EQ(StaticObjectFlashCounter(), 0);

    // Each object's mask is its own phase further on; the phase is the seeded draw.
    const std::string file = Model(kLamp, kLampInfo);
    CrtSrand(11);
    const int phase = RandInt(32);
    CrtSrand(11);
    auto* o = Object(file);
    EXPECT_EQ(o->phase, phase);
    for (int step = 0; step < 40; ++step) {
        EntTreeDrawPre(root);
        EXPECT_EQ(o->instance->flashBits, 1u << ((phase + StaticObjectFlashCounter()) % 32));
        StaticObjectFlashTick(1.0f);
    }
}

TEST_F(StaticObjectTest, TheGamesTimeOfDaySwitchesTheLightsThroughItsTimeProperty) {
    EntCreateClass(EcTimeOfDayProc, 0, 0);
    ENTBASE* day = Make("TimeOfDay", world, "TimeOfDay");
    ASSERT_NE(day, nullptr);
    auto* o = Object(Model(kLamp, kLampInfo));
    ASSERT_EQ(StaticObjectTimeOfDay(), day);
    for (float t : {0.9f, 0.5f, 0.1f}) {
        ASSERT_TRUE(day->SetFloat("time", t));
        EntTreeDrawPre(root);
        EXPECT_EQ(o->instance->lightsOn, t != 0.5f) << "time " << t;
    }
}

TEST_F(StaticObjectTest, ADestroyedTimeOfDayIsForgottenAndFoundAgain) {
    const std::string file = Model(kLamp, kLampInfo);
    DayClock* clock = Clock(0.9f);
    auto* o = Object(file);
    EntTreeDrawPre(root);
    EXPECT_EQ(o->instance->lightsOn, 1);

    // A script may destroy it between frames: the next draw must not read it.
    EntDestroyTree(clock);
    EXPECT_EQ(StaticObjectTimeOfDay(), nullptr);
    EntTreeDrawPre(root);
    EXPECT_EQ(o->instance->lightsOn, 0);

    DayClock* again = Clock(0.1f);
    o->Start();
    EXPECT_EQ(StaticObjectTimeOfDay(), again) << "the next Start looks again";
    EntTreeDrawPre(root);
    EXPECT_EQ(o->instance->lightsOn, 1);

    // The class reset forgets it (and the source files) at once.
    EntResetClasses();
    EXPECT_EQ(StaticObjectTimeOfDay(), nullptr);
}

// ---- drawing ----

TEST_F(StaticObjectTest, DrawSetsDepthFadeAndMatrixThenTheModel) {
    const std::string file = Model(kRedBox);
    auto* o = Object(file, {0, 0, 20});
    o->visFactor = 2.0f;
    Mdl3SetLodScale(1.0f);
    Log().Clear();
    EXPECT_EQ(o->DrawPre(), 1);
    EXPECT_GT(Draws(Log()), 0);
    EXPECT_FLOAT_EQ(Mdl3GetLodScale(), 1.0f) << "the fade scale goes back for the next model";

    WorldClassFlags<StaticObject>::word = 0x1F & ~0x2u;
    Log().Clear();
    EXPECT_EQ(o->DrawPre(), 1);
    EXPECT_EQ(Draws(Log()), 0) << "class bit 0x2 clear: nothing drawn";
    WorldClassFlags<StaticObject>::word = 0x1F;

    // Fades outside the usual range and flat or mirrored scales draw without trouble.
    for (float v : {0.0f, -3.0f})
        o->visFactor = v, o->DrawPre();
    o->visFactor = 1.0f;
    o->scale = {-1.0f, 1.0f, 1.0f};
    o->VarsChanged();
    o->DrawPre();
    EXPECT_LT(o->matrix.m[0], 0.0f);
}

// ---- picking, bounds and hiding ----

TEST_F(StaticObjectTest, PickingGoesThroughTheBoxThenTheModel) {
    const std::string file = Model(kRedBox);
    auto* o = Object(file, {0, 0, 10});
    PickQuery hit = {{0, 0.5f, 0}, {0, 0, 1}, nullptr, 1000000.0f};
    EXPECT_TRUE(o->PickTest(&hit));
    EXPECT_EQ(hit.best, o);
    PickQuery beside = {{5, 0.5f, 0}, {0, 0, 1}, nullptr, 1000000.0f};
    EXPECT_FALSE(o->PickTest(&beside));
    PickQuery behind = {{0, 0.5f, 0}, {0, 0, -1}, nullptr, 1000000.0f};
    EXPECT_FALSE(o->PickTest(&behind)) << "t runs 0 .. 100000 only";

    WorldClassFlags<StaticObject>::word = 0x1F & ~0x1u;
    EXPECT_FALSE(o->PickTest(&hit)) << "class bit 0x1 makes the class pickable";
    WorldClassFlags<StaticObject>::word = 0x1F;

    // A scaled model is picked where it is drawn: 1.5 from the centre lies inside a box of 2
    // scaled by 2, and outside it unscaled.
    o->scale = {2.0f, 2.0f, 2.0f};
    o->VarsChanged();
    PickQuery edge = {{1.5f, 0.5f, 0}, {0, 0, 1}, nullptr, 1000000.0f};
    EXPECT_TRUE(o->PickTest(&edge)) << "the scale must count in the model's triangles too";
    EntBoundsQuery line = {};
    line.start = {1.5f, 0.5f, 0};
    line.end = {1.5f, 0.5f, 20};
    o->BoundsQuery(&line);
    EXPECT_EQ(line.hit, o->node);
    o->scale = {-1.0f, 1.0f, 1.0f};
    o->VarsChanged();
    EXPECT_TRUE(o->PickTest(&hit)) << "a mirrored model is still hit from outside";

    // A flat scale: the box is flat and the model is not picked (no NaN either).
    o->scale = {1.0f, 0.0f, 1.0f};
    o->VarsChanged();
    EXPECT_EQ(o->worldBox[1], o->worldBox[4]);
    PickQuery down = {{0, 5, 10}, {0, -1, 0}, nullptr, 1000000.0f};
    EXPECT_FALSE(o->PickTest(&down));
}

TEST_F(StaticObjectTest, AModelWithoutVerticesIsHitWhenItsBoxIs) {
    const std::string file = Model("model Empty\nnode Root\n");
    auto* o = Object(file, {0, 0, 10});
    ASSERT_NE(o->instance, nullptr);
    ASSERT_EQ(o->instance->mdl->numVerts, 0);
    // Its root box is a point; the ray through it hits.
    PickQuery q = {{0, 0, 0}, {0, 0, 1}, nullptr, 1000000.0f};
    o->localBox[0] = o->localBox[1] = o->localBox[2] = -1.0f;
    o->localBox[3] = o->localBox[4] = o->localBox[5] = 1.0f;
    o->VarsChanged();
    EXPECT_TRUE(o->PickTest(&q));
}

TEST_F(StaticObjectTest, BoundsQueriesMeetTheModelOrTouchTheBox) {
    const std::string file = Model(kRedBox);
    auto* o = Object(file, {0, 0, 10});
    EntBoundsQuery line = {};
    line.type = ENT_QUERY_LINE;
    line.start = {0, 0.5f, 0};
    line.end = {0, 0.5f, 20};
    EXPECT_EQ(o->BoundsQuery(&line), 1);
    EXPECT_EQ(line.hit, o->node);
    line.hit = nullptr;
    line.end = {0, 0.5f, 5}; // ends before the box
    o->BoundsQuery(&line);
    EXPECT_EQ(line.hit, nullptr);

    EntBoundsQuery box = {};
    box.type = ENT_QUERY_BOX;
    // Touching the box's face at x = 1 counts.
    const float touching[6] = {1.0f, 0.0f, 9.0f, 3.0f, 1.0f, 11.0f};
    std::memcpy(box.box, touching, sizeof touching);
    o->BoundsQuery(&box);
    EXPECT_EQ(box.hit, o->node);
    box.hit = nullptr;
    box.box[0] = 1.01f;
    o->BoundsQuery(&box);
    EXPECT_EQ(box.hit, nullptr);
    box.box[0] = 0.0f;
    box.type = 3;
    o->BoundsQuery(&box);
    EXPECT_EQ(box.hit, nullptr) << "other kinds are ignored";
}

TEST_F(StaticObjectTest, AHiddenObjectNeitherDrawsNorAnswersPicksOrBounds) {
    const std::string file = Model(kRedBox);
    auto* o = Object(file, {0, 0, 10});
    EXPECT_EQ(o->Hook118(1), 0);
    int hidden = 0;
    EXPECT_EQ(o->Spare4(reinterpret_cast<intptr_t>(&hidden)), 0);
    EXPECT_EQ(hidden, 1);
    Log().Clear();
    o->DrawPre();
    EXPECT_EQ(Draws(Log()), 0);
    PickQuery q = {{0, 0.5f, 0}, {0, 0, 1}, nullptr, 1000000.0f};
    EXPECT_FALSE(o->PickTest(&q)) << "an invisible object must not take the player's click";
    EntBoundsQuery line = {};
    line.start = {0, 0.5f, 0};
    line.end = {0, 0.5f, 20};
    o->BoundsQuery(&line);
    EXPECT_EQ(line.hit, nullptr);
    o->Hook118(0);
    EXPECT_TRUE(o->PickTest(&q));
}

// ---- creation ----

TEST_F(StaticObjectTest, AnObjectMadeAtRunTimeHasEveryDefault) {
    auto* o = Make<StaticObject>("StaticObject", world, "Cursor");
    ASSERT_NE(o, nullptr);
    EXPECT_FLOAT_EQ(o->lightsOn, 0.7916667f);
    EXPECT_FLOAT_EQ(o->lightsOff, 0.25f);
    EXPECT_STREQ(o->modelFile, "");
    EXPECT_EQ(o->agl, 0u) << "Create's own values come after the table's";
    EXPECT_EQ(o->clsnBox, 0u);
    EXPECT_FLOAT_EQ(o->visFactor, 1.0f);
    EXPECT_EQ(o->scale.y, 1.0f);
    EXPECT_FALSE(o->TestFlag(0x4));
    EXPECT_GE(o->phase, 0);
    EXPECT_LT(o->phase, 32);
    o->Start();
    EXPECT_EQ(o->instance, nullptr);
    EXPECT_EQ(LogText().find("WARNING"), std::string::npos);
    // A file's "agl" word is read through the byte the database writes.
    EXPECT_TRUE(o->SetBool("agl", 1));
    EXPECT_EQ(o->agl, 1u);
}

TEST_F(StaticObjectTest, TheClassFolderIsTheRegisteringFilesOrTheProgramsData) {
    EXPECT_EQ(StaticObjectDataDir()->path, m_files.Path());
    EntDestroyTree(root);
    root = nullptr;
    EntSystemShutdown();
    EntSystemInit();
    EntCreateClass(EcStaticObjectProc, 0, 0);
    const char* program = SysProgramFolder();
    if (program && *program) {
        EXPECT_EQ(StaticObjectDataDir()->path, std::string(program) + "Data/");
    }
}

} // namespace

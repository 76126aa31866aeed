// Ent3dBase without drawing: fields and words, orientation, pick and bounds queries, ini
// persistence, focusing the management camera and the shared "Terrain" entity.
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "tests/engine/Ent3d/Ent3dTestClass.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

class Ent3d : public ::testing::Test {
  protected:
    void SetUp() override { RegisterProp3d(); }
    void TearDown() override {
        for (Prop3d* e : m_roots)
            if (EntIsLive(e)) EntDestroyTree(e);
        CameraVantorSetFlyTo(nullptr);
        EntSystemShutdown();
    }
    Prop3d* Root(const char* name) {
        Prop3d* e = MakeProp(nullptr, name);
        m_roots.push_back(e);
        return e;
    }
    // A pickable prop at p with a box of half size h about it.
    Prop3d* At(ENTBASE* parent, const char* name, VECTOR3 p, float h) {
        Prop3d* e = MakeProp(parent, name);
        e->pos = p;
        const float box[6] = {p.x - h, p.y - h, p.z - h, p.x + h, p.y + h, p.z + h};
        e->SetBounds(box);
        return e;
    }
    std::vector<Prop3d*> m_roots;
};

} // namespace

TEST_F(Ent3d, StartsWithItsBoxesTagsAndFlagsAndKeepsWordsPointerSized) {
    Ent3dBase plain;
    EXPECT_EQ(plain.GetClassFlags(), 0xEAEAEAEAu);
    const float unit[6] = {0, 0, 0, 0.1f, 0, 0};
    EXPECT_EQ(std::memcmp(plain.localBox, unit, sizeof unit), 0);
    EXPECT_EQ(std::memcmp(plain.worldBox, unit, sizeof unit), 0);
    EXPECT_EQ(plain.GetViewTag(), -1);
    EXPECT_EQ(plain.instanceVars, nullptr);
    EXPECT_EQ(plain.flags, 0xF1u);

    Prop3d* e = Root("P");
    const intptr_t word = intptr_t(0x123456789ABCDEF0ull);
    EXPECT_EQ(e->Dispatch(166, 0, word, 0), 1);
    intptr_t got = 0;
    EXPECT_EQ(e->Dispatch(167, 0, intptr_t(&got), 0), 1);
    EXPECT_EQ(got, word) << "a tag must keep all 64 bits";
    e->Dispatch(171, 0, word, 0);
    e->Dispatch(172, 0, intptr_t(&got), 0);
    EXPECT_EQ(got, word);
}

TEST_F(Ent3d, OrientationDropsItsTranslationAndPositionsMoveOnTheirOwn) {
    Prop3d* e = Root("P");
    e->SetPosXYZ(1, 2, 3);
    float m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = float(i + 1);
    EXPECT_EQ(e->Dispatch(18, 0, intptr_t(m), 0), 1);
    float out[16];
    EXPECT_EQ(e->GetWorldMatrix(out), 1);
    EXPECT_EQ(out[12], 0.0f);
    EXPECT_EQ(out[13], 0.0f);
    EXPECT_EQ(out[14], 0.0f);
    EXPECT_EQ(out[11], 12.0f);
    EXPECT_EQ(out[15], 16.0f);
    EXPECT_EQ(e->pos.x, 1.0f) << "the translation does not move the entity";
    const VECTOR3 f{2, -1, 0.5f};
    e->Dispatch(175, 0, intptr_t(&f), 0);
    EXPECT_EQ(e->pos.x, 2.0f);
    EXPECT_EQ(e->pos.y, -2.0f);
    EXPECT_EQ(e->pos.z, 1.5f);
}

TEST_F(Ent3d, PicksThePickableEntityWhosePositionIsNearestTheRayOrigin) {
    Prop3d* root = Root("Root");
    // The big box is met first, but the small one's position is nearer the origin.
    Prop3d* big = At(root, "Big", {0, 0, 30}, 20);
    Prop3d* small = At(root, "Small", {0, 0, 15}, 1);
    PickQuery q{{0, 0, 0}, {0, 0, 1}, nullptr, 1000000};
    root->PickTree(&q);
    EXPECT_EQ(q.best, small);
    EXPECT_EQ(q.bestDistance, 15.0f);
    EXPECT_TRUE(big->PickTest(&q)) << "a hit answers true even when it is not better";
    EXPECT_EQ(q.best, small);

    q = {{0, 0, 0}, {0, 1, 0}, nullptr, 1000000};
    EXPECT_FALSE(small->PickTest(&q)) << "the ray passes beside the box";

    Prop3d::s_classFlags = 0x1E;
    q = {{0, 0, 0}, {0, 0, 1}, nullptr, 1000000};
    root->PickTree(&q);
    EXPECT_EQ(q.best, nullptr) << "without class flag 0x1 nothing is picked";
}

TEST_F(Ent3d, PickingSurvivesDegenerateRaysBoxesAndPositions) {
    Prop3d* e = At(Root("R"), "E", {0, 0, 5}, 1);
    PickQuery inside{{0, 0, 5}, {0, 0, 0}, nullptr, 1000000};
    EXPECT_TRUE(e->PickTest(&inside)) << "a zero ray from inside the box meets it";
    PickQuery outside{{0, 0, 0}, {0, 0, 0}, nullptr, 1000000};
    EXPECT_FALSE(e->PickTest(&outside));

    e->pos = {NAN, 0, 5};
    PickQuery q{{0, 0, 0}, {0, 0, 1}, nullptr, 1000000};
    EXPECT_FALSE(e->PickTest(&q)) << "a position that is not a number is no hit";
    EXPECT_EQ(q.best, nullptr);

    const float inverted[6] = {1, 1, 6, -1, -1, 4};
    e->SetBounds(inverted);
    e->pos = {0, 0, 5};
    e->PickTest(&q); // min above max: any answer, but no crash
    EXPECT_FALSE(e->PickTest(nullptr));
}

TEST_F(Ent3d, BoundsQueriesTestLinesAndBoxesButNeverTheSender) {
    Prop3d* e = At(Root("R"), "E", {0, 0, 10}, 1);
    EntBoundsQuery q{};
    q.start = {0, 0, 0};
    q.end = {0, 0, 20};
    q.type = ENT_QUERY_LINE;
    q.sender = e->node;
    EXPECT_EQ(e->Dispatch(68, 0, intptr_t(&q), 0), 1);
    EXPECT_EQ(q.hit, nullptr) << "the sender's own box is never hit";

    q.sender = nullptr;
    EXPECT_EQ(e->BoundsQuery(&q), 1);
    EXPECT_EQ(q.hit, e->node);
    q.hit = nullptr;
    q.end = {0, 0, 5};
    EXPECT_EQ(e->BoundsQuery(&q), 0) << "the segment ends before the box";

    q.type = ENT_QUERY_BOX;
    const float touching[6] = {1, 1, 11, 3, 3, 13};
    std::memcpy(q.box, touching, sizeof touching);
    EXPECT_EQ(e->BoundsQuery(&q), 1);
    EXPECT_EQ(q.hit, e->node);
    q.box[0] = 1.5f;
    q.hit = nullptr;
    EXPECT_EQ(e->BoundsQuery(&q), 0);
    q.type = 3;
    EXPECT_EQ(e->BoundsQuery(&q), 0);
    EXPECT_EQ(q.hit, nullptr);
}

TEST_F(Ent3d, VariablesLiveInTheSectionNamedLikeTheEntity) {
    TempDir dir;
    const std::string path = dir / "Layout.ini";
    WriteTextFile(path,
                  "[Other]\nsize=9\n[Wheel]\nname=Wheel\nsize=2.5\npos.x=4\npos.y=5\npos.z=6\n");
    Prop3d* e = Root("Wheel");
    int flag = -1;
    EXPECT_EQ(e->Dispatch(109, 0, intptr_t(path.c_str()), intptr_t(&flag)), 1);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(e->size, 2.5f);
    EXPECT_EQ(e->pos.y, 5.0f);

    // With an instance table the table is read, and never written.
    VarTable* table = VarTableCreate(2);
    const intptr_t spinAt = PROP_OFFSET(Prop3d, spin);
    ASSERT_EQ(VarTableAddFloat(table, "spin", spinAt, 0, 0, 10, 0), 0);
    e->instanceVars = table;
    WriteTextFile(path, "[Wheel]\nspin=7\nsize=8\n");
    e->LoadVars(path.c_str(), nullptr);
    EXPECT_EQ(e->spin, 7.0f) << "the instance table was not read";
    EXPECT_EQ(e->size, 2.5f) << "with a table the class fields are not read";

    const std::string saved = dir / "Saved.ini";
    EXPECT_EQ(e->SaveVars(saved.c_str()), 1);
    const std::string text = ReadTextFile(saved);
    EXPECT_NE(text.find("[Wheel]"), std::string::npos);
    EXPECT_NE(text.find("size=2.5"), std::string::npos) << text;
    EXPECT_EQ(text.find("spin"), std::string::npos) << "the instance table was written";
    e->instanceVars = nullptr;
    VarTableDestroy(table);
}

TEST_F(Ent3d, FocusFliesTheManagementCameraToTheEntity) {
    struct Flight {
        ENTBASE* camera = nullptr;
        VECTOR3 target{};
        float yaw = -9, pitch = 0, distance = 0;
        int count = 0;
    };
    static Flight s_flight;
    s_flight = Flight{};
    Prop3d* root = Root("Root");
    Prop3d* ride = At(root, "Ride", {3, 4, 5}, 1);
    CameraVantorFocusEnt(root, ride);
    CameraVantorSetFlyTo([](ENTBASE* c, const VECTOR3* t, float y, float p, float d) {
        s_flight = Flight{c, *t, y, p, d, s_flight.count + 1};
    });
    CameraVantorFocusEnt(root, ride);
    EXPECT_EQ(s_flight.count, 0) << "no camera in the tree: nothing flies";

    Prop3d* camera = MakeProp(root, "Main Camera", "CameraVantor1");
    CameraVantorFocusEnt(root, ride);
    ASSERT_EQ(s_flight.count, 1);
    EXPECT_EQ(s_flight.camera, camera);
    EXPECT_EQ(s_flight.target.z, 5.0f);
    EXPECT_EQ(s_flight.yaw, 0.0f);
    EXPECT_FLOAT_EQ(s_flight.pitch, 3.14159265f / 4);
    EXPECT_EQ(s_flight.distance, 40.0f);
}

// The shared "Terrain" is looked up when asked, so it is never a destroyed entity. Unlike a value
// set once by the first Start, a "Terrain" made after that Start is found too.
TEST_F(Ent3d, TheTerrainIsTheLivingEntityOfThatNameEvenAfterItIsReplaced) {
    Prop3d* root = Root("Root");
    Prop3d* world = MakeProp(root, "World");
    EXPECT_EQ(world->Start(), 0);
    EXPECT_EQ(Ent3dGetTerrain(world), nullptr);
    Prop3d* first = MakeProp(world, "Terrain");
    EXPECT_EQ(Ent3dGetTerrain(world), first) << "a terrain made after the first Start is seen";

    EntDestroyTree(first);
    EXPECT_EQ(Ent3dGetTerrain(root), nullptr) << "the destroyed terrain is still handed out";
    Prop3d* second = MakeProp(world, "Terrain");
    EXPECT_EQ(Ent3dGetTerrain(world), second);
    second->SetName("Ground");
    EXPECT_EQ(Ent3dGetTerrain(world), nullptr) << "renamed: no longer the terrain";

    Prop3d* other = Root("Elsewhere");
    MakeProp(root, "Terrain");
    EXPECT_EQ(Ent3dGetTerrain(other), nullptr) << "another tree's terrain is not this one's";
    EXPECT_EQ(Ent3dGetTerrain(nullptr), nullptr);
}

// "No terrain here" is kept between calls (every patron asks as it starts); each way an entity
// can become the tree's "Terrain" without a new entity being made must end it.
TEST_F(Ent3d, ATreeFoundWithoutTerrainIsSearchedAgainWhenOneCanHaveAppeared) {
    Prop3d* root = Root("Root");
    Prop3d* world = MakeProp(root, "World");
    Prop3d* hill = MakeProp(world, "Hill");
    ASSERT_EQ(Ent3dGetTerrain(world), nullptr);
    ASSERT_TRUE(hill->SetString("name", "Terrain"));
    EXPECT_EQ(Ent3dGetTerrain(world), hill) << "renamed through its properties, as a script does";
    hill->SetName("Hill");
    ASSERT_EQ(Ent3dGetTerrain(world), nullptr);

    Prop3d* elsewhere = Root("Elsewhere");
    Prop3d* ground = MakeProp(elsewhere, "Terrain");
    ASSERT_EQ(Ent3dGetTerrain(world), nullptr);
    ASSERT_EQ(EntLinkUnder(ground, world), 0);
    EXPECT_EQ(Ent3dGetTerrain(world), ground) << "a named terrain moved into the tree";
    ASSERT_EQ(EntLinkUnder(ground, elsewhere), 0);
    EXPECT_EQ(Ent3dGetTerrain(world), nullptr);
    EXPECT_EQ(Ent3dGetTerrain(elsewhere), ground) << "the cache is kept for one tree only";
}

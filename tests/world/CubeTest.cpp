// The block against the real entity tree: its table, the holes and random bits at start, the
// cycle toward "Player1", exact rolls, the side queries and bad sizes.
#include "I3d/Math/XformAnim.h"
#include "engine/VarTable.h"
#include "tests/world/CubeFixture.h"

#include <array>
#include <cmath>
#include <string>

namespace {

int PresentCells(const Cube1* c) {
    int n = 0;
    for (uint32_t i = 0; c->cells && i < c->cells->count; ++i)
        n += c->cells->cells[i] & 1u;
    return n;
}

// The 15-bit recurrence by hand, so the test does not lean on the generator it checks.
struct Lcg {
    uint32_t seed;
    int Bit() {
        seed = seed * 214013u + 2531011u;
        return (int)(((seed >> 16) & 0x7FFFu) * 2 / 32768);
    }
};

// Steps until the state changes (or the limit), answering the time that passed.
float RunUntilLeft(Cube1* c, int state, float dt = 0.05f, float limit = 60.0f) {
    float t = 0.0f;
    while (c->state == state && t < limit) {
        c->Update(dt);
        t += dt;
    }
    return t;
}

TEST_F(CubeTest, TableAndCreatedValues) {
    VarTable* t = Cube1Vars();
    ASSERT_NE(t, nullptr);
    std::string rows;
    for (int i = 0; i < t->count; ++i)
        if (t->Entries()[i].name[0]) // the ninth entry is left free
            rows += std::string(rows.empty() ? "" : " ") + t->Entries()[i].name;
    EXPECT_EQ(rows, "name pos.x pos.y pos.z subcubeSize dim.x dim.y dim.z");
    auto* c = Make<Cube1>("Cube1", world, "Fresh");
    EXPECT_EQ(c->GetInstanceVarTable(), t) << "the class table is the instance table";
    EXPECT_EQ(c->state, CUBE1_WAITING);
    EXPECT_FLOAT_EQ(c->timer, 4.0f);
    EXPECT_EQ(c->size, 1.0f);
    EXPECT_EQ(c->cells, nullptr);
    EXPECT_TRUE(Mat4IsIdentity(&c->frame));
    EXPECT_STREQ(c->GetTypeName(), "Cube1");
}

TEST_F(CubeTest, StartMakesTheHolesThatFitAndThreeRandomBitsPerCell) {
    Cube1* c3 = Cube(3, 3, 3);
    EXPECT_EQ(PresentCells(c3), 27 - 3);
    for (auto h : {std::array<int, 3>{0, 0, 0}, {1, 1, 0}, {2, 1, 0}})
        EXPECT_EQ(CellArray3At(c3->cells, h[0], h[1], h[2]) & 1u, 0u)
            << "hole " << h[0] << h[1] << h[2];
    Cube1* c4 = Cube(4, 4, 4);
    EXPECT_EQ(PresentCells(c4), 64 - 4);
    EXPECT_EQ(CellArray3At(c4->cells, 3, 3, 3) & 1u, 0u);
    Cube1* c1 = Cube(1, 1, 1);
    EXPECT_EQ(PresentCells(c1), 0) << "a single cell is the hole at the origin";
    EXPECT_EQ(c1->cells->extX, 0);

    CrtSrand(1);
    Cube1* pinned = Cube(2, 2, 2);
    Lcg lcg{1};
    for (uint32_t i = 0; i < pinned->cells->count; ++i) {
        uint32_t want = 1u;
        for (uint32_t bit : {2u, 4u, 8u})
            if (lcg.Bit()) want ^= bit;
        if (i == 0 || i == 3) want ^= 1u; // the holes (0, 0, 0) and (1, 1, 0) of 2 x 2 x 2
        EXPECT_EQ(pinned->cells->cells[i], want) << "word " << i;
    }
}

TEST_F(CubeTest, TheCycleWaitsAppearsRollsTowardThePlayerSinksAndLosesALayer) {
    Cube1* c = Cube(3, 3, 3, 2.0f);
    VECTOR3 centre;
    Cube1GetCentre(c, &centre);
    Player({centre.x + 20.0f, 0.0f, centre.z});
    const int layers = c->cells->extX + c->cells->extY + c->cells->extZ;

    EXPECT_NEAR(RunUntilLeft(c, CUBE1_WAITING), 4.0f, 0.06f);
    EXPECT_EQ(c->state, CUBE1_APPEARING);
    RunUntilLeft(c, CUBE1_APPEARING);
    EXPECT_TRUE(c->anim->IsDone()) << "the roll starts only when the appear animation is done";
    EXPECT_EQ(c->state, CUBE1_ROLLING);
    EXPECT_EQ(c->rollDir, CUBE1_POS_X);
    EXPECT_EQ(c->pivot.x, 6.0f) << "a roll toward +x turns about the far bottom edge";
    c->Update(0.55f);
    EXPECT_NEAR(c->rollAngle, CUBE1_QUARTER_TURN / 2, 1e-5f);
    EXPECT_NEAR(0.55f + RunUntilLeft(c, CUBE1_ROLLING), 1.1f, 0.06f);
    EXPECT_EQ(c->state, CUBE1_SINKING);
    EXPECT_EQ(c->rollAngle, 0.0f);
    EXPECT_EQ(c->pos.x, 16.0f) << "the roll moves the corner by the new height W";
    EXPECT_NEAR(RunUntilLeft(c, CUBE1_SINKING), 3.0f, 0.06f);
    EXPECT_EQ(c->state, CUBE1_WAITING);
    EXPECT_EQ(c->cells->extX + c->cells->extY + c->cells->extZ, layers - 1);
    EXPECT_EQ(c->sink, 0.0f);
}

TEST_F(CubeTest, WithoutAPlayerTheCubeKeepsAskingInStateTwo) {
    Cube1* c = Cube(2, 2, 2);
    RunUntilLeft(c, CUBE1_WAITING);
    for (int i = 0; i < 400; ++i)
        c->Update(0.05f);
    EXPECT_EQ(c->state, CUBE1_APPEARING);
    EXPECT_EQ(c->rollDir, CUBE1_NO_TARGET);
    Player({0, 0, 0});
    c->Update(0.05f);
    EXPECT_EQ(c->state, CUBE1_ROLLING) << "a player that turns up is rolled toward at once";
}

TEST_F(CubeTest, DirectionTiesTruncateTowardZ) {
    Cube1* c = Cube(2, 2, 2, 1.0f, {10, 0, 10}); // centre (11, 11)
    StandInAvatar* p = Player({11.0f + 2.9f, 0.0f, 11.0f + 2.1f});
    EXPECT_EQ(Cube1DirToPlayer(c), CUBE1_POS_Z);
    p->pos = VECTOR3{11.0f - 3.5f, 0.0f, 11.0f + 2.1f};
    EXPECT_EQ(Cube1DirToPlayer(c), CUBE1_NEG_X);
    p->pos = VECTOR3{11.0f + 0.7f, 0.0f, 11.0f};
    EXPECT_EQ(Cube1DirToPlayer(c), CUBE1_NEG_Z) << "dz 0 with trunc |dx| 0 rolls toward -z";
}

TEST_F(CubeTest, RollsKeepTheYColumnExact) {
    Cube1* c = Cube(8, 8, 8, 1.0f, {100, 0, 100});
    StandInAvatar* p = Player({0, 0, 0});
    const VECTOR3 offsets[4] = {{30, 0, 0}, {0, 0, 30}, {-30, 0, 0}, {0, 0, -30}};
    int rolls = 0, step = 0;
    while (rolls < 100 && step < 200000) {
        VECTOR3 centre;
        Cube1GetCentre(c, &centre);
        const VECTOR3& o = offsets[(rolls + rolls / 3) % 4];
        p->pos = VECTOR3{centre.x + o.x, 0.0f, centre.z + o.z};
        const int before = c->state;
        c->Update(0.1f);
        ++step;
        if (before == CUBE1_ROLLING && c->state == CUBE1_SINKING) ++rolls;
        const float* m = c->frame.m;
        int exact = 0;
        for (float v : {m[1], m[5], m[9]})
            exact += v == 1.0f || v == -1.0f;
        ASSERT_EQ(exact, 1) << "after " << rolls << " rolls the y column lost its exact 1.0";
    }
    EXPECT_EQ(rolls, 100);
    Mat4 tilted;
    Mat4Identity(&tilted);
    Mat4RotateX(&tilted, 0.3f);
    EXPECT_EQ(Cube1UpFace(&tilted), 1) << "no exact axis up falls back to code 1";
}

TEST_F(CubeTest, FaceAtAndCentre) {
    Cube1* c = Cube(4, 2, 4, 2.0f, {10, 0, 10}); // centre (14, 2, 14)
    VECTOR3 centre;
    Cube1GetCentre(c, &centre);
    EXPECT_EQ(centre.x, 14.0f);
    EXPECT_EQ(centre.y, 2.0f);
    auto at = [&](float dx, float dz) {
        const VECTOR3 p{centre.x + dx, 0.0f, centre.z + dz};
        return Cube1FaceAt(c, &p);
    };
    EXPECT_EQ(at(0, 0), 4);
    EXPECT_EQ(at(1.2f * 5.0f, 5.0f), 4) << "on the line |dx| = 1.2 |dz|";
    EXPECT_EQ(at(5, 0), 2);
    EXPECT_EQ(at(0, -5), 1);
    EXPECT_EQ(at(-5, 1), 3);
    // Lost layers do not move the centre: it is the valued size.
    CellArray3Edit(c->cells, 1);
    Cube1GetCentre(c, &centre);
    EXPECT_EQ(centre.x, 14.0f);
}

TEST_F(CubeTest, BadSizesAreHeld) {
    Cube1* c = Cube(9, -2, 0, 0.0f);
    EXPECT_EQ(c->dims[0], 8);
    EXPECT_EQ(c->dims[1], 0);
    EXPECT_EQ(c->cells->count, 0u);
    for (int i = 0; i < 400; ++i)
        EXPECT_EQ(c->Update(0.05f), 1);
    EXPECT_EQ(c->DrawPre(), 1);
    EXPECT_EQ(PresentCells(c), 0);
}

TEST_F(CubeTest, DestroyFreesEverything) {
    Cube1* c = Cube(3, 3, 3);
    EXPECT_EQ(c->Destroy(), 0); // LeakSanitizer checks the cells and the animation
}

} // namespace

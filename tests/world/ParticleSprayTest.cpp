// The particle spray on the recording layer: emission with its carry, the states and the
// spray's own removal inside a walk, recycling of a full pool, the particle step, colours and
// the sprites it adds, and the bad values that must neither crash nor reach undefined casts.
#include "world/ParticleSpray.h"
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/SpriteBatch.h"
#include "engine/EntIniLoader.h"
#include "engine/EntTree.h"
#include "engine/Random.h"
#include "engine/VarTable.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/world/WorldTestClasses.h"
#include "world/GrassMesh.h"
#include "world/LensFlare.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

class ParticleSprayTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        ASSERT_EQ(I3dSpriteBatchCreate(3000, 40), 0);
        RegisterWorldTestClasses();
        ASSERT_EQ(EntCreateClass(EcParticleSprayProc, 0, 0), 0);
        root = Make("EntNull", nullptr, "Root");
        CrtSrand(7);
        // Looking down +z from (0, 0, -20).
        const VECTOR3 eye{0.0f, 0.0f, -20.0f}, at{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.0f, 4.0f / 3.0f, 1.0f, 2000.0f));
        I3dSetEyePos(&eye);
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        I3dSpriteBatchDestroy();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    // A started spray living 100 s a particle, with the values `set` gives.
    template <class F>
    ParticleSpray* Spray(F set, const char* name = "Fountain") {
        auto* s = Make<ParticleSpray>("ParticleSpray", root, name);
        EXPECT_NE(s, nullptr);
        if (!s) return nullptr;
        s->maxParticles = 100;
        s->lifeSpanMin = s->lifeSpanMax = 100.0f;
        s->sizeInitial = s->sizeFinal = 1.0f;
        set(s);
        s->Start();
        return s;
    }
    static int Live(const ParticleSpray* s) {
        int n = 0;
        for (const SprayParticle* p = s->pool.live; p; p = p->next)
            ++n;
        return n;
    }
    ENTBASE* root = nullptr;
};

TEST_F(ParticleSprayTest, TableHoldsTheValuesInOrderWithColourEntries) {
    auto* s = Spray([](ParticleSpray*) {});
    VarTable* t = s->GetInstanceVarTable();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->count, 43);
    const char* order[] = {"maxParticles", "x", "y", "z", "radius", "pitch", "yaw", "rate"};
    for (int i = 0; i < 8; ++i)
        EXPECT_STREQ(t->Entries()[i].name, order[i]);
    EXPECT_STREQ(t->Entries()[13].name, "textureFile");
    EXPECT_STREQ(t->Entries()[25].name, "colorInitial.a");
    EXPECT_STREQ(t->Entries()[37].name, "destBlend");
    EXPECT_STREQ(t->Entries()[38].name, "visDist");
    EXPECT_EQ(s->visDist, 400.0f) << "Create's value replaces the table's 0";
    EXPECT_EQ(s->colorFinal.g, 1.0f);
}

// The classes whose values live in a value table take them from their section of a world file:
// the ini loader reads through the instance table.
TEST_F(ParticleSprayTest, ValueTableClassesReadTheirSectionOfAWorldFile) {
    ASSERT_EQ(EntCreateClass(EcLensFlareProc, 0, 0), 0);
    ASSERT_EQ(EntCreateClass(EcGrassMeshProc, 0, 0), 0);
    TempDir dir;
    WriteTextFile(dir / "World.ini", "[Entities]\nFountain ParticleSpray Root\n"
                                     "Flare LensFlare Root\nBlades GrassMesh Root\n\n"
                                     "[Fountain]\nmaxParticles=300\nrate=80\nx=512\n"
                                     "colorInitial.g=0.25\ndestBlend=TRUE\n\n"
                                     "[Flare]\nmasterAlpha=0.5\n\n[Blades]\ntexture=7\n");
    ASSERT_EQ(EntLoadEntitiesIni("World.ini", root, root, dir.Path().c_str()), 3);
    auto* spray = dynamic_cast<ParticleSpray*>(EntTreeFindName(root, "Fountain"));
    auto* flare = dynamic_cast<LensFlare*>(EntTreeFindName(root, "Flare"));
    auto* blades = dynamic_cast<GrassMesh*>(EntTreeFindName(root, "Blades"));
    ASSERT_TRUE(spray && flare && blades);
    EXPECT_EQ(spray->maxParticles, 300);
    EXPECT_EQ(spray->rate, 80.0f);
    EXPECT_EQ(spray->pos.x, 512.0f);
    EXPECT_EQ(spray->colorInitial.g, 0.25f);
    EXPECT_EQ(spray->destBlend, 1u);
    EXPECT_EQ(flare->masterAlpha, 0.5f);
    EXPECT_EQ(blades->texture, 7);
}

TEST_F(ParticleSprayTest, RateCarriesFractionsAndZeroEmitsNothing) {
    auto* s = Spray([](ParticleSpray* p) { p->rate = 2.5f; });
    std::vector<int> counts;
    for (int i = 0; i < 12; ++i) {
        s->Update(0.1f);
        counts.push_back(Live(s));
    }
    EXPECT_EQ(counts, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3}));

    auto* none = Spray([](ParticleSpray* p) { p->rate = 0.0f; }, "None");
    auto* nan = Spray([](ParticleSpray* p) { p->rate = std::nanf(""); }, "NaN");
    auto* neg = Spray([](ParticleSpray* p) { p->rate = -4.0f; }, "Negative");
    for (int i = 0; i < 10; ++i)
        for (auto* e : {none, nan, neg})
            e->Update(0.5f);
    EXPECT_EQ(Live(none) + Live(nan) + Live(neg), 0);
}

TEST_F(ParticleSprayTest, TimedSprayStopsAndRemovesItselfInsideTheWalk) {
    auto* forever = Spray([](ParticleSpray* p) { p->lifeSpan = 0.0f; }, "Forever");
    EXPECT_EQ(forever->state, 2);
    auto* s = Spray([](ParticleSpray* p) {
        p->lifeSpan = 1.0f;
        p->rate = 4.0f;
        p->lifeSpanMin = p->lifeSpanMax = 0.5f;
    });
    EXPECT_EQ(s->state, 0);
    for (int i = 0; i < 4; ++i)
        EntTreeUpdate(root, 0.25f);
    EXPECT_EQ(s->state, 0) << "the remaining time is 0, not yet below it";
    EntTreeUpdate(root, 0.25f);
    EXPECT_EQ(s->state, 1);
    const int left = Live(s);
    EXPECT_GT(left, 0);
    for (int i = 0; i < 4 && EntIsLive(s); ++i)
        EntTreeUpdate(root, 0.25f);
    EXPECT_FALSE(EntIsLive(s)) << "the spray goes once its last particle has died";
    EXPECT_TRUE(EntIsLive(forever));
}

TEST_F(ParticleSprayTest, ShutdownTwiceStopsOnceAndDiesOnce) {
    auto* s = Spray([](ParticleSpray* p) { p->lifeSpanMin = p->lifeSpanMax = 0.2f; });
    s->SpraySpawn(&s->pos);
    EXPECT_EQ(s->Shutdown(), -1);
    EXPECT_EQ(s->Shutdown(), -1);
    EXPECT_EQ(s->state, 1);
    EntTreeUpdate(root, 0.1f);
    EXPECT_TRUE(EntIsLive(s));
    EntTreeUpdate(root, 0.2f);
    EXPECT_FALSE(EntIsLive(s));
    EntTreeUpdate(root, 0.2f);
}

TEST_F(ParticleSprayTest, PitchAndYawTurnTheDirectionAndClassBit8GatesTheUpdate) {
    auto* s = Spray([](ParticleSpray* p) { p->rate = 10.0f; });
    s->SetPitch(1.5707964f);
    EXPECT_NEAR(s->direction.z, 1.0f, 1e-6f);
    s->SetYaw(1.5707964f);
    EXPECT_NEAR(s->direction.x, 1.0f, 1e-6f);
    EXPECT_NEAR(s->direction.y, 0.0f, 1e-6f);
    s->SetClassFlags(0x1F & ~0x8u);
    s->Update(1.0f);
    EXPECT_EQ(Live(s), 0);
    s->SetClassFlags(0x1F);
    s->Update(1.0f);
    EXPECT_EQ(Live(s), 10);
}

TEST_F(ParticleSprayTest, FullPoolReusesTheShortestLifeNearestTheHead) {
    auto* s = Spray([](ParticleSpray* p) { p->maxParticles = 10; });
    for (int i = 0; i < 10; ++i)
        s->SpraySpawn(&s->pos);
    ASSERT_EQ(s->pool.free, nullptr);
    // Head first: lives 9, 8, 3, 7, 3, ...; the second 3 lies farther from the head.
    std::vector<SprayParticle*> order;
    for (SprayParticle* p = s->pool.live; p; p = p->next)
        order.push_back(p);
    const float lives[10] = {9, 8, 3, 7, 3, 6, 5, 4, 6, 9};
    for (int i = 0; i < 10; ++i)
        order[size_t(i)]->life = lives[i];
    s->lifeSpanMin = s->lifeSpanMax = 50.0f;
    s->SpraySpawn(&s->pos);
    EXPECT_EQ(order[2]->life, 50.0f);
    EXPECT_EQ(order[4]->life, 3.0f);
    EXPECT_EQ(Live(s), 10);
    EXPECT_EQ(s->pool.live, order[0]) << "reused where it stands";
}

TEST_F(ParticleSprayTest, PointSprayGoesStraightUpAndMovesBeforeItDies) {
    auto* s = Spray([](ParticleSpray* p) {
        p->SetPosXYZ(3.0f, 4.0f, 5.0f);
        p->speedMin = p->speedMax = 2.0f;
        p->lifeSpanMin = p->lifeSpanMax = 0.5f;
        p->gravity = VECTOR3{0.0f, -10.0f, 0.0f};
    });
    s->SpraySpawn(&s->pos);
    SprayParticle* p = s->pool.live;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->pos.x, 3.0f);
    EXPECT_EQ(p->pos.y, 4.0f);
    EXPECT_EQ(p->pos.z, 5.0f);
    // Straight up; the cone's fast normalisation leaves the speed within a percent.
    EXPECT_EQ(p->vel.x, 0.0f);
    EXPECT_EQ(p->vel.z, 0.0f);
    EXPECT_NEAR(p->vel.y, 2.0f, 0.02f);
    const float v0 = p->vel.y;
    // Gravity acts from the next step on; a life of exactly 0 still moves.
    EXPECT_EQ(s->StepPool(0.5f), 1);
    EXPECT_EQ(p->life, 0.0f);
    EXPECT_FLOAT_EQ(p->pos.y, 4.0f + 0.5f * v0);
    EXPECT_FLOAT_EQ(p->vel.y, v0 - 5.0f);
    EXPECT_EQ(s->StepPool(0.1f), 0);
    EXPECT_EQ(s->pool.live, nullptr);
}

TEST_F(ParticleSprayTest, ColoursAreClampedAndReachTheFinalColour) {
    auto* s = Spray([](ParticleSpray* p) {
        p->colorInitial = SprayColor{0.9f, 0.1f, 0.5f, 0.95f};
        p->colorVar = SprayColor{1.0f, 1.0f, 1.0f, 1.0f};
        p->colorFinal = SprayColor{0.0f, 0.0f, 0.0f, 0.0f};
        p->lifeSpanMin = p->lifeSpanMax = 2.0f;
    });
    for (int i = 0; i < 50; ++i)
        s->SpraySpawn(&s->pos);
    for (SprayParticle* p = s->pool.live; p; p = p->next) {
        for (float c : {p->r, p->g, p->b, p->a}) {
            EXPECT_GE(c, 0.0f);
            EXPECT_LE(c, 1.0f);
        }
        EXPECT_NEAR(p->r + p->rateR * 2.0f, 0.0f, 1e-5f);
    }
}

TEST_F(ParticleSprayTest, AddsOneSpritePerParticleOnlyWithinItsDistance) {
    auto* s = Spray([](ParticleSpray* p) { p->visDist = 100.0f; });
    for (int i = 0; i < 5; ++i)
        s->SpraySpawn(&s->pos);
    s->Update(0.0f);
    I3dSpriteBatchFlush();
    EXPECT_EQ(s->DrawPre(), 1);
    EXPECT_EQ(I3dSpriteBatchGet()->spriteCount, 5);
    I3dSpriteBatchFlush();

    const VECTOR3 far{0.0f, 0.0f, 200.0f};
    s->SetPos(&far);
    s->Update(0.0f);
    EXPECT_EQ(s->DrawPre(), 0);
    EXPECT_EQ(s->visible, 0);
    EXPECT_EQ(I3dSpriteBatchGet()->spriteCount, 0);
}

TEST_F(ParticleSprayTest, TheSprayPastTheLastGroupRunsWithoutSprites) {
    std::vector<ParticleSpray*> sprays;
    for (int i = 0; i < 41; ++i)
        sprays.push_back(Spray([](ParticleSpray*) {}, "Many"));
    EXPECT_GE(sprays[39]->pool.group, 0);
    ParticleSpray* last = sprays[40];
    EXPECT_EQ(last->pool.group, -1);
    EXPECT_NE(LogText().find("no sprite group"), std::string::npos);
    last->SpraySpawn(&last->pos);
    last->Update(0.0f);
    I3dSpriteBatchFlush();
    EXPECT_EQ(last->DrawPre(), 1);
    EXPECT_EQ(I3dSpriteBatchGet()->spriteCount, 0);
    EXPECT_EQ(Live(last), 1) << "it still simulates";
}

TEST_F(ParticleSprayTest, BadValuesNeitherSpawnNorOverflow) {
    // A life of 0 would make every rate infinite.
    auto* zero = Spray([](ParticleSpray* p) {
        p->lifeSpanMin = p->lifeSpanMax = 0.0f;
        p->rate = 50.0f;
    });
    for (int i = 0; i < 3; ++i)
        zero->Update(0.1f);
    EXPECT_EQ(Live(zero), 0);
    const std::string log = LogText();
    const size_t first = log.find("spawns nothing");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("spawns nothing", first + 1), std::string::npos) << "one line per spray";

    auto* none = Spray([](ParticleSpray* p) { p->maxParticles = 0; }, "Empty");
    none->SpraySpawn(&none->pos);
    EXPECT_EQ(Live(none), 0);
    auto* big = Spray([](ParticleSpray* p) { p->maxParticles = 100000; }, "Big");
    EXPECT_EQ(big->pool.count, SPRAY_MAX_PARTICLES);
    EXPECT_NE(LogText().find("capped at 500"), std::string::npos);

    // Positions run to infinity: the box test rejects them, and no colour cast sees them.
    auto* wild = Spray([](ParticleSpray* p) {
        p->gravity = VECTOR3{1e30f, -1e30f, 1e30f};
        p->speedMin = p->speedMax = 10.0f;
        p->colorFinal = SprayColor{1e30f, -1e30f, 1e30f, 1e30f};
    });
    for (int i = 0; i < 4; ++i) {
        wild->SpraySpawn(&wild->pos);
        wild->Update(0.5f);
        (void)wild->DrawPre();
    }
    I3dSpriteBatchFlush();
}

} // namespace

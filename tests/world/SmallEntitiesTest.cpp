// The small test entities: the turning character and the panorama band on the recording layer,
// and the marker's table and age.
#include "I3d/MeshBuf.h"
#include "tests/world/CamerasFixture.h"
#include "world/Marker1.h"
#include "world/OvalDisplay1.h"
#include "world/VrebBud1.h"

#include <cmath>

namespace {

class SmallEntities : public CamerasTest {
  protected:
    void SetUp() override {
        CamerasTest::SetUp();
        StartRecordingDevice();
        RegisterClasses(); // after the device: the band is made
        for (EntClassProc proc : {EcVrebBud1Proc, EcOvalDisplay1Proc, EcMarker1Proc})
            ASSERT_EQ(EntCreateClass(proc, 0, 0), 0);
    }
};

TEST_F(SmallEntities, TheCharacterTurnsAQuarterRadianASecondAtTwiceItsSize) {
    auto* bud = Make<VrebBud1>("VrebBud1", world, "Bud");
    bud->pos = VECTOR3{10, 1, 20};
    bud->Start();
    for (int i = 0; i < 20; ++i)
        bud->Update(0.1f);
    EXPECT_NEAR(bud->turn, 0.5f, 1e-5f);
    EXPECT_NEAR(bud->stateTimer, 2.0f, 1e-5f);
    const float* m = bud->matrix.m;
    EXPECT_NEAR(std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]), 2.0f, 1e-5f);
    EXPECT_NEAR(m[0], 2.0f * std::cos(0.5f), 1e-5f);
    EXPECT_FLOAT_EQ(m[13], 3.4f);
    EXPECT_EQ(m[12], 10.0f);
    EXPECT_EQ(VrebBudModel(), nullptr) << "no VrebGuy.md3 beside the test program";
    EXPECT_EQ(bud->DrawPre(), 1) << "a missing model draws nothing";
}

TEST_F(SmallEntities, TheBandHasTwoVerticesPerSegmentAndTwoTriangles) {
    MeshBuf* band = OvalDisplayBand();
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->vertexCount, 130);
    EXPECT_EQ(band->triangleCount, 128);
    EXPECT_EQ(OvalBandMake(0, 1, 1, 1, 1), nullptr);
    auto* oval = Make<OvalDisplay1>("OvalDisplay1", world, "Oval");
    oval->Start();
    oval->SetHeading(0.25f);
    EXPECT_EQ(oval->offset, 0.25f);
    EXPECT_EQ(oval->DrawPre(), 1);
}

TEST_F(SmallEntities, TheMarkerAges) {
    auto* m = Make<Marker1>("Marker1", world, "M");
    EXPECT_EQ(m->size, 1.5f);
    m->Start();
    m->Update(0.5f);
    m->Update(0.25f);
    EXPECT_EQ(m->age, 0.75f);
    EXPECT_EQ(m->DrawPre(), 1) << "no SandDollar.md3: nothing drawn";
}

} // namespace

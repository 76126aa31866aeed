// The test board's classes against the build's generated Data/: the block's textures (the cube
// map under its key), the marker's, the character's and the follower's models, the panorama
// strip, and a flight that draws its model.
#include "I3d/Device.h"
#include "I3d/Mdl3.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "tests/support/PixelChannels.h"
#include "tests/support/TestSupport.h"
#include "tests/world/CubeFixture.h"
#include "world/CubeResources.h"
#include "world/Marker1.h"
#include "world/OvalDisplay1.h"
#include "world/VrebBud1.h"
#include "world/WptFollower.h"

#include <GL/gl.h>

namespace {

class TestBoardData : public CubeTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartGl();
        CreateOffscreen(64, 64);
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        CreateCurrentPair();
        RegisterClasses();
        RegisterCube();
        for (EntClassProc proc :
             {EcMarker1Proc, EcVrebBud1Proc, EcOvalDisplay1Proc, EcWptFollowerProc})
            ASSERT_EQ(EntCreateClass(proc, 0, 0), 0);
    }
    void TearDown() override {
        CubeTest::TearDown();
        I3dTexTableFree();
    }
    ProgramFolderScope programFolder;
};

TEST_F(TestBoardData, TheClassesFindTheirGeneratedFiles) {
    const CubeResources& r = CubeRes();
    for (int slot :
         {r.textures[CUBETEX_FRAMED], r.textures[CUBETEX_XYZ], r.textures[CUBETEX_DIFFUSE],
          r.textures[CUBETEX_SPECMAP], r.textures[CUBETEX_ENVIRO]})
        EXPECT_GE(slot, 0) << "a block texture is missing from Data/";
    EXPECT_NE(Marker1Model(), nullptr) << "SandDollar.md3";
    EXPECT_NE(VrebBudModel(), nullptr) << "VrebGuy.md3";
    EXPECT_EQ(LogCount("could not find"), 0);
    EXPECT_EQ(LogCount("no texture"), 0);
}

TEST_F(TestBoardData, TheFollowerLoadsItsModelAndTexturesAndFlies) {
    for (int i = 0; i < 3; ++i) {
        auto* w = Make<CameraWaypoint>("CameraWaypoint", world,
                                       i == 0   ? "P0"
                                       : i == 1 ? "P1"
                                                : "P2");
        w->pos = VECTOR3{10.0f * (float)i, 5.0f, 0.0f};
        std::snprintf(w->nextName, sizeof w->nextName, "P%d", (i + 1) % 3);
        std::snprintf(w->prevName, sizeof w->prevName, "P%d", (i + 2) % 3);
        w->transTime = 1.0f;
    }
    for (const char* n : {"P0", "P1", "P2"})
        EntTreeFindName(root, n)->Start();
    auto* f = Make<WptFollower>("WptFollower", world, "Flyer");
    std::snprintf(f->modelFile, sizeof f->modelFile, "models/Flyer.md3");
    std::snprintf(f->initWaypoint, sizeof f->initWaypoint, "P0");
    f->Start();
    ASSERT_NE(f->model, nullptr) << "the follower's model, found without regard to case";
    EXPECT_GT(f->localBox[5], 1.0f) << "the box comes from the model: 3 long in z";
    for (int i = 0; i < 50; ++i)
        f->Update(0.1f);
    EXPECT_EQ(f->valid, 1);
    ASSERT_EQ(D3dBeginScene(), 0);
    EXPECT_EQ(f->DrawPre(), 1);
    D3dEndScene();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TestBoardData, ThePanoramaBandCoversTheTopAndScrollsWithTheHeading) {
    auto* oval = Make<OvalDisplay1>("OvalDisplay1", world, "Oval");
    oval->Start();
    auto shot = [&](float heading) {
        oval->SetHeading(heading);
        D3dSetClearColor(0, 0, 0);
        EXPECT_EQ(D3dBeginScene(), 0);
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        oval->DrawPre();
        D3dEndScene();
        // Half-way down the band above the centre: the strip's middle row.
        return D3dReadPixel(32, 18);
    };
    const uint32_t ground = shot(0.0f), sky = shot(-1.0f / 12.0f);
    EXPECT_GT(Green(ground), Blue(ground) + 30) << std::hex << ground << ": the hills";
    EXPECT_GT(Blue(sky), Green(sky)) << std::hex << sky << ": a higher hill's sky";
    EXPECT_EQ(D3dReadPixel(32, 40) & 0xFFFFFFu, 0u) << "below the band the clear shows";
}

} // namespace

// The carny's drawing on the recording device: the class's drawing bit, the character made with
// the carny on a device and playing the task's clip, the highlight, and the route arrows under
// the path-drawing switch shared with patrons.
#include "I3d/Primitives.h"
#include "I3d/Textures.h"
#include "game/Ents/CarnyChars.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/Ents/Rube1.h"
#include "game/WaypointPath.h"
#include "gi/Render/CharModelInst.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/game/Ents/CarnyWorld.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {
class CarnyDrawTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        CreateCurrentPair();
        ASSERT_EQ(I3dPrimMeshesCreate(), 0);
        I3dTexTableAlloc(256);
        cw = std::make_unique<CarnyWorld>(2);
    }
    void TearDown() override {
        g_rubeDrawPaths = 0;
        cw.reset();
        I3dPrimMeshesRelease();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    std::vector<uint32_t> Factors() {
        std::vector<uint32_t> out;
        for (const D3dCall& c : Log().Named("SetRenderState"))
            if (c.args.size() == 2 && c.args[0] == D3DRS_TEXTUREFACTOR)
                out.push_back((uint32_t)c.args[1]);
        return out;
    }
    bool HasFactor(uint32_t argb) {
        const std::vector<uint32_t> f = Factors();
        return std::find(f.begin(), f.end(), argb) != f.end();
    }
    std::unique_ptr<CarnyWorld> cw;
};
} // namespace

TEST_F(CarnyDrawTest, TheCharacterIsMadeWithTheCarnyAndTheRouteShowsUnderTheSwitch) {
    const int classHolds = CarnyCharsHolders();
    Carny* c = cw->AddCarny(cw->Cell(10, 10).x, cw->Cell(10, 10).z);
    CrtSrand(SeedForDraw(10, 0)); // a patrol
    c->Update(0.25f);
    ASSERT_EQ(c->task, CARNY_WALK);
    ASSERT_GT(c->route->count, 0);
    ASSERT_NE(c->character, nullptr) << "a device: the character is made with the carny";
    EXPECT_EQ(CarnyCharsHolders(), classHolds + 1);

    c->SetClassFlags(c->GetClassFlags() & ~(uint32_t)ENT_CLASS_DRAW);
    Log().Clear();
    c->Draw();
    EXPECT_EQ(Log().Count("DrawPrimitive") + Log().Count("DrawIndexedPrimitive"), 0)
        << "drawn with the class's drawing bit off";

    c->SetClassFlags(c->GetClassFlags() | ENT_CLASS_DRAW);
    c->highlighted = 1;
    g_rubeDrawPaths = 0;
    Log().Clear();
    c->Draw();
    EXPECT_NE(c->character->mesh, nullptr) << "the carny model loads from the generated data";
    EXPECT_EQ(c->character->model, CarnyCharModel(c->kind));
    EXPECT_EQ(c->character->model->attachOffset[1], -0.43f) << "set up as a patron's character";
    EXPECT_EQ(c->character->model->attachOffset[2], 0.4f);
    EXPECT_GE(CarnyCharSkin(c->kind, c->skin), 0) << "the skin loads from the generated data";
    EXPECT_FALSE(HasFactor(0x4F4FFF4Fu)) << "the route is drawn only under the switch";
    EXPECT_TRUE(HasFactor((51u << 24) | 0x00FF00u)) << "the highlight at phase 0";

    g_rubeDrawPaths = 1;
    Log().Clear();
    c->Draw();
    EXPECT_TRUE(HasFactor(0x4F4FFF4Fu)) << "the route arrows in translucent green";
    EXPECT_GE(Log().Count("DrawIndexedPrimitive") + Log().Count("DrawPrimitive"),
              c->route->count - c->route->current);

    EntDestroyTree(c);
    EXPECT_EQ(CarnyCharsHolders(), classHolds) << "the carny lets its character go";
}

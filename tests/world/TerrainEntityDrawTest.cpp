// The terrain entity's side of the drawing: message 112, the pick test, the ambient around the
// draw and the tiles' keys and references.
#include "I3d/Camera.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "tests/world/TerrainFixture.h"
#include "world/TerrainDraw.h"

#include <filesystem>

namespace {

class TerrainEntityDraw : public TerrainFixture {
  protected:
    Terrain2* Flat() { return Load("tileWidth=64\ntileHeight=64\n"); }
};

TEST_F(TerrainEntityDraw, RayQueryMessageSetsTheResultOnlyOnAHit) {
    Terrain2* t = Flat(); // flat at 28
    EntRayQuery q{};
    q.origin = {20.0f, 50.0f, 20.0f};
    q.direction = {0.0f, -1.0f, 0.0f};
    q.kind = ENT_RAY_QUERY_RAY;
    EXPECT_EQ(t->Dispatch(112, 0, intptr_t(&q), 0), 1);
    EXPECT_EQ(q.result, t->node);

    // A segment starting outside the grid answers -1 from the test: no hit, no result.
    q = EntRayQuery{};
    q.origin = {-20.0f, 50.0f, 20.0f};
    q.end = {20.0f, 0.0f, 20.0f};
    q.kind = ENT_RAY_QUERY_SEGMENT;
    t->Dispatch(112, 0, intptr_t(&q), 0);
    EXPECT_EQ(q.result, nullptr);

    q.kind = 5;
    EXPECT_EQ(t->Dispatch(112, 0, intptr_t(&q), 0), -1);
    EXPECT_EQ(t->Dispatch(112, 0, 0, 0), 0);
}

TEST_F(TerrainEntityDraw, PickTestKeepsTheNearestHit) {
    Terrain2* t = Flat();
    const uint32_t flags = t->GetClassFlags();
    PickQuery q{{20.0f, 48.0f, 20.0f}, {0.0f, -1.0f, 0.0f}, nullptr, 1000000.0f};
    t->SetClassFlags(flags & ~1u);
    EXPECT_FALSE(t->PickTest(&q));
    t->SetClassFlags(flags | 1u);
    EXPECT_TRUE(t->PickTest(&q));
    EXPECT_EQ(q.best, t);
    EXPECT_NEAR(q.bestDistance, 20.0f, 1e-3f);
    q.bestDistance = 5.0f;
    q.best = nullptr;
    EXPECT_FALSE(t->PickTest(&q)) << "something nearer was picked before";
    EXPECT_EQ(q.best, nullptr);
    t->SetClassFlags(flags);
}

TEST_F(TerrainEntityDraw, FullAmbientIsRestoredAfterTheDraw) {
    StartRecordingDevice();
    Terrain2* t = Flat();
    const uint32_t flags = t->GetClassFlags();
    t->SetClassFlags(flags | 2u);
    t->fullAmbient = 1;
    D3dSetAmbient(0.25f, 0.5f, 0.0f);
    Log().Clear();
    EXPECT_EQ(t->DrawPre(), 1);
    float after[3];
    D3dGetAmbient(after);
    EXPECT_NEAR(after[0], 0.25f, 1e-2f);
    EXPECT_NEAR(after[1], 0.5f, 1e-2f);
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_AMBIENT, 0xFFFFFFFFu}), 1);
    t->SetClassFlags(flags & ~2u);
    EXPECT_EQ(t->DrawPre(), 0);
    t->SetClassFlags(flags);
}

// Two venues' tiles share their titles: each gets its own, and both are given back.
TEST_F(TerrainEntityDraw, TilesAreKeyedByPathAndReleased) {
    StartRecordingDevice();
    ASSERT_EQ(I3dTexTableAlloc(32), 0);
    for (const char* venue : {"A", "B"}) {
        std::filesystem::create_directories(dir / venue);
        const std::string file = dir / (std::string(venue) + "/DefaultTex00x00.tga");
        I3dImage* img = ImgAlloc(8, 8, IMG_A8R8G8B8);
        ASSERT_EQ(ImgSaveTga(img, file.c_str(), nullptr), 0);
        ImgFree(img);
    }
    const std::string a = dir / "A/Default", b = dir / "B/Default";
    Terrain2* ta = Load("tileWidth=128\ntileHeight=128\nterrainTexPath=" + a + "\n", "TA");
    Terrain2* tb = Load("tileWidth=128\ntileHeight=128\nterrainTexPath=" + b + "\n", "TB");
    const int slotA = ta->terrain->patches[0].tileTexture;
    const int slotB = tb->terrain->patches[0].tileTexture;
    EXPECT_GE(slotA, 0);
    EXPECT_GE(slotB, 0);
    EXPECT_NE(slotA, slotB);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(ta->terrain->patches[i].tileTexture, slotA);
        EXPECT_EQ(tb->terrain->patches[i].tileTexture, slotB);
    }
    EntDestroyTree(ta);
    EntDestroyTree(tb);
    EXPECT_EQ(I3dTexFind((a + "Tex00x00.dds").c_str()), -1);
    EXPECT_EQ(I3dTexFind((b + "Tex00x00.dds").c_str()), -1);
    EXPECT_EQ(I3dTexFind("defaulttex00x00"), -1);
    // Each of the 16 patches held its own reference: every one was given back.
    for (int i = 0; i < I3dTexCount(); ++i)
        EXPECT_EQ(I3dTexGetSlot(i)->count, 0)
            << "slot " << i << " (" << I3dTexGetSlot(i)->name << ") is still held";
}

} // namespace

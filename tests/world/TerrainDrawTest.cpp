// The terrain drawing on the recording layer: levels from the eye, the vertex pool, the lists
// drawn at seams, the pass states, the texture matrices and the tile loading.
#include "world/TerrainDraw.h"
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3.h"
#include "I3d/Progress.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/Random.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/TexFiles.h"
#include "world/TerrainObj.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_progress;
void Collect(const char* text, int level) {
    EXPECT_EQ(level, 1);
    g_progress.push_back(text);
}

class TerrainDrawing : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
    }
    void TearDown() override {
        TerrainFree(t);
        I3dSetProgressHook(nullptr);
        g_progress.clear();
        KernelTest::TearDown();
    }
    // A flat terrain of that many cells, cell width 2.0, LOD unit 32, seen from high above so
    // that every patch is in view.
    void Make(int cellsX, int cellsZ) {
        t = TerrainCreate(cellsX, cellsZ);
        ASSERT_NE(t, nullptr);
        TerrainSetScale(t, 2.0f);
        t->lodUnit = 32.0f;
        TerrainDrawInit(t);
        const VECTOR3 eye = {cellsX * 1.0f, 20000.0f, cellsZ * 1.0f};
        const VECTOR3 at = {cellsX * 1.0f, 0.0f, cellsZ * 1.0f}, up = {0, 0, 1};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.5f, 0.75f, 1.0f, 100000.0f));
        Log().Clear();
    }
    // The LOD eye at world (x, z) on the ground.
    void Draw(float x, float z) {
        t->eye = {x, 0.0f, z};
        TerrainDraw(t);
    }
    TerrainPatch& Patch(int px, int pz) { return t->patches[pz * t->patchesX + px]; }
    std::vector<uint64_t> PrimCounts() {
        std::vector<uint64_t> out;
        for (const D3dCall& c : Log().Named("DrawIndexedPrimitive"))
            out.push_back(c.args[4]);
        return out;
    }

    int LogCount(const std::string& line) const {
        const std::string all = LogText();
        int n = 0;
        for (size_t at = all.find(line); at != std::string::npos; at = all.find(line, at + 1))
            ++n;
        return n;
    }

    TerrainObj* t = nullptr;
};

// u = 32 x 2.0 = 64: levels change strictly beyond 2u, 3u and 4u from the patch centre.
TEST_F(TerrainDrawing, LevelsFollowTheEyeWithStrictComparisons) {
    Make(32, 32); // one patch, centre (32, 32)
    struct Case {
        float d;
        int level;
    } cases[] = {{128.0f, 0}, {128.01f, 1}, {192.0f, 1}, {192.02f, 2}, {256.0f, 2}, {256.02f, 3}};
    for (const Case& c : cases) {
        Draw(32.0f, 32.0f + c.d);
        EXPECT_EQ(Patch(0, 0).levelWanted, c.level) << "at " << c.d;
        EXPECT_EQ(Patch(0, 0).levelBuilt, c.level);
    }
}

TEST_F(TerrainDrawing, AnUnchangedPatchIsNotRelockedAndFreedBuffersServeTheSameFrame) {
    Make(64, 32);         // two patches, centres (32, 32) and (96, 32)
    Draw(32.0f, 32.0f);   // patch 0 level 0; patch 1 64 away, level 0
    Draw(-130.0f, 32.0f); // patch 0 at 162: level 1; patch 1 at 226: level 2
    ASSERT_EQ(Patch(0, 0).levelBuilt, 1);
    ASSERT_EQ(Patch(1, 0).levelBuilt, 2);
    Log().Clear();
    Draw(-130.0f, 32.0f);
    EXPECT_EQ(Log().Count("VbLock"), 0) << "no level changed";
    EXPECT_EQ(Log().Count("CreateVertexBuffer"), 0);
    // The two swap levels: each takes the buffer the other gave up in this frame.
    Draw(226.0f - 64.0f + 96.0f, 32.0f); // patch 1 at 162, patch 0 at 226
    EXPECT_EQ(Patch(0, 0).levelBuilt, 2);
    EXPECT_EQ(Patch(1, 0).levelBuilt, 1);
    EXPECT_EQ(Log().Count("CreateVertexBuffer"), 0);
    EXPECT_EQ(Log().Count("VbLock"), 2);
}

// Patch (1, 0) at level 1 beside (2, 0) at level 2: its inner list, then edges +z, -z, the
// stitched +x, edge -x; the coarser one draws its whole list.
TEST_F(TerrainDrawing, AFinerPatchStitchesTheSideOfACoarserNeighbour) {
    Make(96, 32);
    Draw(96.0f - 162.0f + 0.0f, 32.0f); // patch 1 (centre 96) at 162 = level 1
    ASSERT_EQ(Patch(1, 0).levelWanted, 1);
    ASSERT_EQ(Patch(2, 0).levelWanted, 2); // centre 160, at 226
    ASSERT_EQ(Patch(0, 0).levelWanted, 0); // centre 32, at 98
    EXPECT_EQ(Patch(1, 0).seamMask, 4);
    EXPECT_EQ(Patch(0, 0).seamMask, 4);
    EXPECT_EQ(Patch(2, 0).seamMask, 0);
    // Patch 0 (level 0, +x neighbour coarser) drawn first.
    std::vector<uint64_t> draws = PrimCounts();
    const std::vector<uint64_t> order = {1800, 62, 62, 46, 62, 392, 30, 30, 22, 30, 128};
    EXPECT_EQ(draws, order);
}

TEST_F(TerrainDrawing, AFullPoolLeavesFurtherPatchesUndrawnAndSaysSoOnce) {
    Make(1024, 1024); // 1024 patches
    Draw(1024.0f, 1024.0f);
    int drawn = 0, undrawn = 0;
    for (int i = 0; i < 1024; ++i)
        (t->patches[i].vertexSlot >= 0 ? drawn : undrawn)++;
    EXPECT_EQ(drawn, 600);
    EXPECT_EQ(undrawn, 424);
    // The patches left out are not tried again while their levels stay.
    Log().Clear();
    Draw(1024.0f, 1024.0f);
    Draw(1024.0f, 1024.0f);
    EXPECT_EQ(Log().Count("CreateVertexBuffer"), 0);
    EXPECT_EQ(Log().Count("VbLock"), 0);
    int still = 0;
    for (int i = 0; i < 1024; ++i)
        still += t->patches[i].vertexSlot >= 0;
    EXPECT_EQ(still, 600);
    const std::string log = LogText();
    const std::string line = "terrain: patch vertex pool full";
    const size_t first = log.find(line);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find(line, first + 1), std::string::npos) << "logged once";
}

TEST_F(TerrainDrawing, VerticesAreInGridUnitsWithTheSampleNormals) {
    Make(32, 32);
    for (int z = 0; z <= 32; ++z)
        for (int x = 0; x <= 32; ++x)
            t->heights[z * 33 + x] = float((x * 7 + z * 3) % 11);
    TerrainDerive(t);
    Draw(32.0f, 32.0f);
    I3dVertexBuffer* vb = t->pool[Patch(0, 0).vertexSlot].buffer;
    ASSERT_NE(vb, nullptr);
    BYTE* data = nullptr;
    ASSERT_EQ(vb->buffer->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
    auto vertex = [&](int x, int z) {
        const float* f = reinterpret_cast<const float*>(data + size_t(z * 33 + x) * vb->stride);
        return std::vector<float>(f, f + 8);
    };
    auto h = [&](int x, int z) { return t->heights[z * 33 + x]; };
    const std::vector<float> corner = vertex(0, 0);
    EXPECT_EQ(corner, (std::vector<float>{0, h(0, 0), 0, 0, 1, 0, 0, 0}));
    const std::vector<float> border = vertex(32, 5);
    EXPECT_EQ(border[4], 1.0f);
    EXPECT_EQ(border[6], 1.0f) << "u";
    const std::vector<float> in = vertex(5, 9);
    const float t1 = h(5, 8) - h(5, 10), t2 = h(6, 9) - h(4, 9);
    VECTOR3 n = {t1 - t2, 0.5f, t1 + t2};
    Vec3NormalizeFast(&n);
    EXPECT_EQ(in[0], 5.0f);
    EXPECT_EQ(in[1], h(5, 9));
    EXPECT_EQ(in[2], 9.0f);
    EXPECT_FLOAT_EQ(in[3], n.x);
    EXPECT_FLOAT_EQ(in[4], n.y);
    EXPECT_FLOAT_EQ(in[5], n.z);
    EXPECT_FLOAT_EQ(in[6], 5.0f / 32.0f);
    EXPECT_FLOAT_EQ(in[7], 9.0f / 32.0f);
    vb->buffer->Unlock();
}

TEST_F(TerrainDrawing, PassStatesAndTextureMatrices) {
    Make(160, 160);
    const int tile = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "tile", 0);
    const int detail = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "detail", 0);
    for (int i = 0; i < t->patchesX * t->patchesZ; ++i) {
        t->patches[i].tileTexture = tile;
        I3dTexAddRef(tile);
    }
    I3dTexRelease(tile);
    t->detailTexture = detail;
    t->detailMap = 1;
    t->detailUTile = 16.0f;
    t->detailVTile = 8.0f;
    t->detailDist = 56.0f;
    Draw(32.0f + 1 * 64.0f, 32.0f + 2 * 64.0f); // on patch (1, 2)
    // The detail matrix: the tiles in entries 0 and 5.
    bool detailSet = false, tileSet = false;
    for (const D3dCall& c : Log().Named("SetTransform")) {
        const Mat4 m = c.DataAs<Mat4>();
        if (c.args[0] == D3DTS_TEXTURE0 + 1 && m.m[0] == 16.0f && m.m[5] == 8.0f) detailSet = true;
        // Patch (1, 2): its tile's quarter (1, 2).
        if (c.args[0] == D3DTS_TEXTURE0 && m.m[0] == 0.25f && m.m[5] == 0.25f && m.m[8] == 0.25f &&
            m.m[9] == 0.5f)
            tileSet = true;
    }
    EXPECT_TRUE(detailSet);
    EXPECT_TRUE(tileSet);
    EXPECT_GT(Log().Count("SetTextureStageState", {1, D3DTSS_COLOROP, D3DTOP_ADDSIGNED}), 0)
        << "the near patches take the detail pass";
    EXPECT_GT(Log().Count("SetTextureStageState", {0, D3DTSS_COLOROP, D3DTOP_MODULATE}), 0)
        << "the far ones the base pass";
    EXPECT_EQ(D3dStageTexture(1), detail);
    // The coordinate indices are back to 0, 1, 2 after the last patch.
    for (DWORD stage = 0; stage < 3; ++stage) {
        const int last = [&] {
            int found = -1;
            for (int i = 0;
                 (i = Log().Find("SetTextureStageState", {stage, D3DTSS_TEXCOORDINDEX}, i)) >= 0;
                 ++i)
                found = i;
            return found;
        }();
        if (last >= 0) {
            EXPECT_EQ(Log().Calls()[last].args[2], stage);
        }
    }
}

// Without a detail texture the detail pass would blend stage 1's last texture: the base pass.
TEST_F(TerrainDrawing, NoDetailTextureMeansTheBasePass) {
    Make(32, 32);
    t->detailMap = 1;
    Draw(32.0f, 32.0f);
    EXPECT_EQ(Log().Count("SetTextureStageState", {1, D3DTSS_COLOROP, D3DTOP_ADDSIGNED}), 0);
    EXPECT_GT(Log().Count("DrawIndexedPrimitive"), 0);
}

TEST_F(TerrainDrawing, TilesAreTriedOnceEachWithProgressAndKeyedByTheirPath) {
    I3dSetProgressHook(Collect);
    Make(512, 512);
    std::snprintf(t->tilePath, sizeof t->tilePath, "%s", "Nowhere/Default");
    TerrainLoadTiles(t);
    ASSERT_EQ(g_progress.size(), 257u);
    EXPECT_EQ(g_progress[0], "Loading textures...");
    EXPECT_EQ(g_progress[255], "Loading textures...");
    EXPECT_EQ(g_progress[256], "Done.");
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(t->patches[i].tileTexture, -2);
    // Each of the 16 tiles is tried once, not once for each of its 16 patches.
    EXPECT_EQ(LogCount("DefaultTex03x03.tga"), 1);
    EXPECT_EQ(LogCount("DefaultTex00x02.tga"), 1);
    // A second load tries nothing again.
    const size_t before = LogText().size();
    TerrainLoadTiles(t);
    EXPECT_EQ(LogText().size(), before);
}

// ---- neighbours ----

TEST_F(TerrainDrawing, PatchesKnowTheirNeighboursUpToTheBorder) {
    Make(512, 512);
    ASSERT_EQ(t->patchesX * t->patchesZ, 256);
    for (int pz = 0; pz < 16; ++pz)
        for (int px = 0; px < 16; ++px) {
            const TerrainPatch& p = Patch(px, pz);
            ASSERT_EQ(p.px, px);
            ASSERT_EQ(p.pz, pz);
            const TerrainPatch* want[4] = {
                pz < 15 ? &Patch(px, pz + 1) : nullptr, pz > 0 ? &Patch(px, pz - 1) : nullptr,
                px < 15 ? &Patch(px + 1, pz) : nullptr, px > 0 ? &Patch(px - 1, pz) : nullptr};
            for (int side = 0; side < 4; ++side)
                EXPECT_EQ(p.neighbour[side], want[side])
                    << "patch " << px << ", " << pz << " side " << side;
        }
}

// Centres one patch apart are at most one LOD unit apart in distance, and the levels are a unit
// apart: a stitched edge, which matches a neighbour one level coarser only, always suffices.
// Seen through the eye's own camera, so that patches out of view keep stale levels.
TEST_F(TerrainDrawing, NeighboursInViewNeverDifferByTwoLevels) {
    Make(512, 512);
    CrtSrand(39);
    int seen[4] = {};
    for (int frame = 0; frame < 60; ++frame) {
        const VECTOR3 eye = {RandFloatRange(-200.0f, 1224.0f), RandFloatRange(2.0f, 300.0f),
                             RandFloatRange(-200.0f, 1224.0f)};
        const VECTOR3 at = {RandFloatRange(0.0f, 1024.0f), 0.0f, RandFloatRange(0.0f, 1024.0f)};
        const VECTOR3 up = {0, 1, 0};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.2f, 0.75f, 1.0f, 4000.0f));
        t->eye = eye;
        TerrainDraw(t);
        for (int i = 0; i < 256; ++i) {
            const TerrainPatch& p = t->patches[i];
            if (!p.visible) continue;
            ++seen[p.levelWanted];
            for (const TerrainPatch* n : p.neighbour) {
                if (!n || !n->visible) continue;
                ASSERT_LE(std::abs(n->levelWanted - p.levelWanted), 1)
                    << "frame " << frame << ": patches " << p.px << ", " << p.pz << " and " << n->px
                    << ", " << n->pz << " would open a crack";
            }
        }
    }
    for (int level = 0; level < 4; ++level)
        EXPECT_GT(seen[level], 0) << "the eyes never gave level " << level;
}

// ---- tile names ----

// Each tile is looked for as "<path>TexXXxYY.dds", then with ".tga": XX the patch column / 4,
// YY the patch row / 4. The sizes tell the files apart.
TEST_F(TerrainDrawing, TileNamesTakeColumnThenRowAndTheDdsBeforeTheTga) {
    ASSERT_EQ(I3dTexTableAlloc(64), 0);
    TempDir dir;
    const std::string stem = dir / "Venue/Default";
    ASSERT_TRUE(WriteDds(stem + "Tex00x00.dds", GenDds::Argb32, SolidImage(8, 8, 0xFF102030)));
    ASSERT_TRUE(WriteTga(stem + "Tex00x00.tga", SolidImage(16, 16, 0xFF405060), IMG_A8R8G8B8));
    ASSERT_TRUE(WriteTga(stem + "Tex03x00.tga", SolidImage(32, 32, 0xFF708090), IMG_A8R8G8B8));
    // A damaged DDS gives way to the TGA beside it.
    WriteTextFile(stem + "Tex00x03.dds", "DDS not really");
    ASSERT_TRUE(WriteTga(stem + "Tex00x03.tga", SolidImage(64, 64, 0xFFA0B0C0), IMG_A8R8G8B8));
    Make(512, 512);
    std::snprintf(t->tilePath, sizeof t->tilePath, "%s", stem.c_str());
    TerrainLoadTiles(t);
    auto width = [&](int px, int pz) {
        const int slot = Patch(px, pz).tileTexture;
        if (slot < 0) return slot;
        void* pixels = nullptr;
        int w = 0, h = 0, pitch = 0, format = 0;
        EXPECT_EQ(D3dTextureLock(slot, 0, &pixels, &w, &h, &pitch, &format), 0);
        D3dTextureUnlock(slot, 0);
        return w;
    };
    EXPECT_EQ(width(0, 0), 8) << "the DDS comes first";
    EXPECT_EQ(width(3, 3), 8) << "one tile covers 4 x 4 patches";
    EXPECT_EQ(width(12, 0), 32) << "the column comes first in the name";
    EXPECT_EQ(width(15, 3), 32);
    EXPECT_EQ(width(0, 12), 64);
    EXPECT_EQ(width(12, 12), -2);
    EXPECT_EQ(width(4, 0), -2);
    EXPECT_EQ(Patch(1, 1).tileTexture, Patch(0, 0).tileTexture) << "the tile is shared";
}

} // namespace

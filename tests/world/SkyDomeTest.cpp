// The sky dome on the recording layer: its mesh (counts, ring colours, the highlight, the cap
// and floor vertices, the index formulas), rebuilds that keep the buffer, rebuilds on crossing
// the water height, and the states of its draw.
#include "world/SkyDome.h"
#include "I3d/Image.h"
#include "I3d/Math/Vec3.h"
#include "I3d/StateCache.h"
#include "engine/EntTree.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Vtx {
    VECTOR3 p;
    uint32_t colour;
};

class SkyDomeTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        RegisterWorldTestClasses();
        root = Make("EntNull", nullptr, "Root");
        dome = Make<SkyDome>("SkyDome", root, "SkyDome");
        ASSERT_NE(dome, nullptr);
        dome->Start();
        ASSERT_NE(dome->mesh.vb, nullptr);
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        KernelTest::TearDown();
    }
    std::vector<Vtx> Vertices() {
        std::vector<Vtx> out;
        MeshBuf& m = dome->mesh;
        EXPECT_TRUE(m.LockVerts());
        const I3dVertexBuffer* vb = m.vb;
        for (uint32_t i = 0; i < m.vertexCount; ++i) {
            const uint8_t* v = vb->locked + size_t(i) * vb->stride;
            Vtx x{};
            std::memcpy(&x.p, v + vb->offPos, sizeof x.p);
            std::memcpy(&x.colour, v + vb->offDiffuse, sizeof x.colour);
            out.push_back(x);
        }
        m.UnlockVerts();
        return out;
    }
    std::vector<uint16_t> Indices() {
        MeshBuf& m = dome->mesh;
        const uint16_t* p = m.LockIndices();
        std::vector<uint16_t> out(p, p + m.triangleCount * 3);
        m.UnlockIndices();
        return out;
    }

    ENTBASE* root = nullptr;
    SkyDome* dome = nullptr;
};

TEST_F(SkyDomeTest, MeshHasTheRingGradientTheHighlightAndTheClosingVertices) {
    EXPECT_EQ(dome->mesh.vertexCount, 130u);
    EXPECT_EQ(dome->mesh.triangleCount, 256u);
    const std::vector<Vtx> v = Vertices();
    VECTOR3 sun;
    const VECTOR3 o = {0.0f, 0.0f, 0.0f};
    Vec3PointOnSphere(&sun, &o, dome->sunAzimuth, dome->sunElevation, 1.0f);
    int highlighted = 0;
    for (int r = 0; r < 8; ++r) {
        const float e = float(r) * 1.5707964f / 8.0f;
        const uint32_t ring =
            e < 0.785398f ? ColorLerpArgb(0xFFAEC3DEu, 0xFF223B7Bu, e * 1.2732399f) : 0xFF223B7Bu;
        for (int s = 0; s < 16; ++s) {
            const Vtx& x = v[size_t(r * 16 + s)];
            EXPECT_NEAR(x.p.y, std::sin(e), 1e-5f);
            const float d =
                std::sqrt((x.p.x - sun.x) * (x.p.x - sun.x) + (x.p.y - sun.y) * (x.p.y - sun.y) +
                          (x.p.z - sun.z) * (x.p.z - sun.z));
            const bool lit = r >= 1 && d < 1.0f;
            highlighted += lit;
            EXPECT_EQ(x.colour, lit ? ColorLerpArgb(0xFFFFFF8Fu, ring, d) : ring)
                << "ring " << r << " segment " << s;
        }
    }
    EXPECT_GT(highlighted, 0);
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ(v[size_t(s)].colour, 0xFFAEC3DEu) << "no highlight on the horizon";
    EXPECT_EQ(v[128].p.y, 1.0f);
    EXPECT_EQ(v[129].p.y, 0.0f);
    EXPECT_EQ(v[129].colour, 0xFF7F7F7Fu);
}

TEST_F(SkyDomeTest, CapAndFloorAreGreyWithTheHighlightTurnedAway) {
    dome->sunElevation = -1.0f;
    dome->VarsChanged();
    const std::vector<Vtx> v = Vertices();
    EXPECT_EQ(v[128].colour, 0xFF223B7Bu) << "the cap takes the zenith ring's colour";
    EXPECT_EQ(v[129].colour, 0xFF7F7F7Fu);
}

TEST_F(SkyDomeTest, IndicesFollowTheQuadSeamCapAndDiscFormulas) {
    const std::vector<uint16_t> idx = Indices();
    ASSERT_EQ(idx.size(), 768u);
    std::vector<uint16_t> want;
    auto tri = [&want](int a, int b, int c) {
        want.insert(want.end(), {uint16_t(a), uint16_t(b), uint16_t(c)});
    };
    for (int r = 0; r <= 6; ++r) {
        for (int s = 0; s <= 14; ++s) {
            const int i = r * 16 + s;
            tri(i, i + 16, i + 17);
            tri(i, i + 17, i + 1);
        }
        tri(r * 16 + 15, r * 16 + 31, r * 16 + 16);
        tri(r * 16 + 15, r * 16 + 16, r * 16);
    }
    for (int j = 112; j <= 126; ++j)
        tri(128, j + 1, j);
    tri(128, 112, 127);
    for (int s = 0; s <= 14; ++s)
        tri(129, s + 1, s);
    tri(129, 0, 15);
    EXPECT_EQ(idx, want);
}

TEST_F(SkyDomeTest, RebuildsRewriteTheSameBufferAndWaterCrossingsRebuildOnce) {
    const I3dVertexBuffer* vb = dome->mesh.vb;
    dome->zenithColor = 0xFF000000u;
    dome->VarsChanged();
    EXPECT_EQ(dome->mesh.vb, vb) << "TimeOfDay's rebuild each frame keeps the buffer";
    EXPECT_EQ(Vertices()[127].colour, 0xFF000000u);

    Log().Clear();
    int locks = 0;
    for (float y : {0.0f, 5.0f, -20.0f, -30.0f, -40.0f, 0.0f, 1e30f, -1e30f}) {
        const VECTOR3 p = {0.0f, y, 0.0f};
        const int before = Log().Count("VbLock") + Log().Count("Lock");
        dome->SetPos(&p);
        locks += (Log().Count("VbLock") + Log().Count("Lock")) > before;
    }
    EXPECT_EQ(locks, 4) << "the first position, then the crossings at -20, 0 and -1e30";
    for (const Vtx& x : Vertices())
        EXPECT_TRUE(std::isfinite(x.p.x + x.p.y + x.p.z));
}

TEST_F(SkyDomeTest, DrawIsWithoutDepthFogOrLightAndRestoresFog) {
    D3dSetFogEnable(1);
    D3dSetCullMode(D3DCULL_CCW);
    Log().Clear();
    EXPECT_EQ(dome->DrawPre(), 0) << "children are not drawn";
    const int draw = Log().Find("DrawIndexedPrimitive");
    ASSERT_GE(draw, 0);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_ZWRITEENABLE, 0}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_ZFUNC, D3DCMP_ALWAYS}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_FOGENABLE, 0}), draw);
    EXPECT_LT(Log().Find("SetRenderState", {D3DRS_LIGHTING, 0}), draw);
    EXPECT_EQ(Log().Find("SetRenderState", {D3DRS_CULLMODE}),
              Log().Find("SetRenderState", {D3DRS_CULLMODE, D3DCULL_NONE}, draw))
        << "drawn under the cull mode in force";
    EXPECT_GT(Log().Find("SetRenderState", {D3DRS_FOGENABLE, 1}), draw);
    EXPECT_GT(Log().Find("SetRenderState", {D3DRS_ZWRITEENABLE, 1}), draw);

    Log().Clear();
    dome->SetClassFlags(0x1F & ~0x2u);
    dome->DrawPre();
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
    WorldClassFlags<SkyDome>::Reset();
}

} // namespace

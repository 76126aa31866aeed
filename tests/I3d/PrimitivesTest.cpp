// The shared primitives on the recording layer: what the quads, the outline and the billboard
// write into the current pair and draw, and the shared meshes' shapes, counts and lifetimes.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "engine/MathConst.h"
#include "tests/I3d/KernelFixture.h"

#include <cstring>

namespace {

struct Vertex71 {
    VECTOR3 pos, normal;
    uint32_t color;
    float u, v, u1, v1;
};
static_assert(sizeof(Vertex71) == 44);

using Args = std::vector<uint64_t>;

class Primitives : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        m_vb = I3dVbCreate(0, 71, 4000);
        m_ib = I3dIbCreate(0, 8000);
        ASSERT_TRUE(m_vb && m_ib);
        I3dVbSetCurrent(m_vb);
        I3dIbSetCurrent(m_ib);
    }
    void TearDown() override {
        I3dVbFree(m_vb);
        I3dIbFree(m_ib);
        KernelTest::TearDown();
    }
    // What the device has bound: every vertex and index of the bound buffers.
    static void ReadBound(std::vector<Vertex71>* vertices, std::vector<uint16_t>* indices) {
        IDirect3DDevice8* dev = D3dDevice();
        IDirect3DVertexBuffer8* vb = nullptr;
        UINT stride = 0, base = 0;
        ASSERT_EQ(dev->GetStreamSource(0, &vb, &stride), D3D_OK);
        ASSERT_TRUE(vb && stride == sizeof(Vertex71));
        D3DVERTEXBUFFER_DESC vd{};
        vb->GetDesc(&vd);
        BYTE* p = nullptr;
        ASSERT_EQ(vb->Lock(0, 0, &p, D3DLOCK_READONLY), D3D_OK);
        vertices->resize(vd.Size / sizeof(Vertex71));
        std::memcpy(vertices->data(), p, vertices->size() * sizeof(Vertex71));
        vb->Unlock();
        vb->Release();
        if (!indices) return;
        IDirect3DIndexBuffer8* ib = nullptr;
        ASSERT_EQ(dev->GetIndices(&ib, &base), D3D_OK);
        ASSERT_NE(ib, nullptr);
        D3DINDEXBUFFER_DESC id{};
        ib->GetDesc(&id);
        ASSERT_EQ(ib->Lock(0, 0, &p, D3DLOCK_READONLY), D3D_OK);
        indices->resize(id.Size / 2);
        std::memcpy(indices->data(), p, id.Size);
        ib->Unlock();
        ib->Release();
    }
    Args LastDraw(const char* name) { return Log().Named(name).back().args; }

    I3dVertexBuffer* m_vb = nullptr;
    I3dIndexBuffer* m_ib = nullptr;
};

TEST_F(Primitives, QuadsWriteTheirCornersAndUvsAndDrawAFanFromTheLastLock) {
    ASSERT_EQ(I3dDrawQuad(0, 0, 1, 1, 0), 0); // moves the ring past 0
    ASSERT_EQ(I3dDrawQuadUv(10, 20, 30, 40, 0.25f, 0.5f, 0.75f, 1.0f, 0.5f), 0);
    EXPECT_EQ(LastDraw("DrawPrimitive"), (Args{D3DPT_TRIANGLEFAN, 4, 2}));
    std::vector<Vertex71> v;
    ReadBound(&v, nullptr);
    const float want[4][4] = {
        {10, 20, 0.25f, 0.5f}, {30, 20, 0.75f, 0.5f}, {30, 40, 0.75f, 1.0f}, {10, 40, 0.25f, 1.0f}};
    for (int i = 0; i < 4; ++i) {
        const Vertex71& c = v[4 + i];
        SCOPED_TRACE(i);
        EXPECT_EQ((std::vector<float>{c.pos.x, c.pos.y, c.pos.z, c.u, c.v}),
                  (std::vector<float>{want[i][0], want[i][1], 0.5f, want[i][2], want[i][3]}));
        EXPECT_EQ(c.color, 0xFFFFFFFFu) << "a quad's colour is white, not what the ring held";
    }
    EXPECT_EQ((std::vector<float>{v[2].u, v[2].v}), (std::vector<float>{1, 1}))
        << "the plain quad's uvs run 0..1";
}

TEST_F(Primitives, TheOutlineIsAnIndexedLineListAroundTheCorners) {
    ASSERT_EQ(I3dDrawQuad(0, 0, 1, 1, 0), 0);
    ASSERT_EQ(I3dDrawQuadOutline(5, 6, 7, 8, 0.5f), 0);
    EXPECT_EQ(LastDraw("SetIndices"), (Args{1, 4})) << "the corners' lock is the base vertex";
    EXPECT_EQ(LastDraw("DrawIndexedPrimitive"), (Args{D3DPT_LINELIST, 0, 4, 0, 4}));
    std::vector<Vertex71> v;
    std::vector<uint16_t> idx;
    ReadBound(&v, &idx);
    EXPECT_EQ(std::vector<uint16_t>(idx.begin(), idx.begin() + 8),
              (std::vector<uint16_t>{0, 1, 1, 2, 2, 3, 3, 0}));
    EXPECT_EQ((std::vector<float>{v[6].pos.x, v[6].pos.y}), (std::vector<float>{7, 8}));
}

TEST_F(Primitives, TheBillboardFacesTheViewSetLast) {
    Mat4 view;
    VECTOR3 eye{3, 4, -5}, at{0, 0, 0}, up{0, 1, 0};
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    const VECTOR3 centre{1, 2, 3};
    ASSERT_EQ(I3dDrawBillboard(&centre, 2.0f), 0);
    EXPECT_EQ(LastDraw("DrawPrimitive"), (Args{D3DPT_TRIANGLEFAN, 0, 2}));
    std::vector<Vertex71> v;
    ReadBound(&v, nullptr);
    const VECTOR3 r{view.m[0], view.m[4], view.m[8]}, u{view.m[1], view.m[5], view.m[9]};
    const VECTOR3 corners[4] = {v3::Scale(v3::Add(r, u), -1), v3::Sub(u, r), v3::Add(r, u),
                                v3::Sub(r, u)};
    const float uvs[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        VECTOR3 want = v3::Add(centre, v3::Scale(corners[i], 2.0f));
        EXPECT_NEAR(v[i].pos.x, want.x, 1e-5f);
        EXPECT_NEAR(v[i].pos.y, want.y, 1e-5f);
        EXPECT_NEAR(v[i].pos.z, want.z, 1e-5f);
        EXPECT_EQ((std::vector<float>{v[i].u, v[i].v, v[i].normal.x, v[i].normal.z}),
                  (std::vector<float>{uvs[i][0], uvs[i][1], 1, 1}));
    }
}

TEST_F(Primitives, WithoutCurrentBuffersNothingIsDrawn) {
    I3dVbSetCurrent(nullptr);
    EXPECT_EQ(I3dDrawQuad(0, 0, 1, 1, 0), -1);
    EXPECT_EQ(I3dDrawBillboard(nullptr, 1), -1);
    I3dVbSetCurrent(m_vb);
    I3dIbSetCurrent(nullptr);
    EXPECT_EQ(I3dDrawQuadOutline(0, 0, 1, 1, 0), -1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
}

// Every triangle of a closed unit mesh faces outwards (clockwise seen from outside, Direct3D's
// front faces, so the default culling shows the outside), and every vertex is a white unit
// vector with itself as normal.
void ExpectOutwardUnitSphere(const std::vector<Vertex71>& v, const std::vector<uint16_t>& idx,
                             size_t triangles) {
    ASSERT_GE(idx.size(), triangles * 3);
    for (const Vertex71& p : v) {
        EXPECT_NEAR(v3::Length(p.pos), 1.0f, 1e-5f);
        EXPECT_EQ(p.normal.y, p.pos.y);
        EXPECT_EQ(p.color, 0xFFFFFFFFu);
    }
    for (size_t t = 0; t < triangles; ++t) {
        const VECTOR3& a = v.at(idx[3 * t]).pos;
        const VECTOR3& b = v.at(idx[3 * t + 1]).pos;
        const VECTOR3& c = v.at(idx[3 * t + 2]).pos;
        VECTOR3 n = v3::Cross(v3::Sub(b, a), v3::Sub(c, a));
        ASSERT_GT(v3::Dot(n, v3::Add(a, v3::Add(b, c))), 0.0f) << "triangle " << t;
    }
}

TEST_F(Primitives, TheDebugSphereIsBuiltOnceAndFreedOnce) {
    ASSERT_EQ(I3dDebugShapesCreate(), 0);
    EXPECT_EQ(I3dDebugShapesCreate(), -1) << "already built";
    EXPECT_EQ(Log().Count("CreateVertexBuffer"), 2) << "the pair's, then the sphere's only once";
    EXPECT_EQ(Log().Count("CreateVertexBuffer", {266 * 44, D3DUSAGE_WRITEONLY, 0x252}), 1);
    ASSERT_EQ(I3dDrawDebugSphere(), 0);
    EXPECT_EQ(LastDraw("DrawIndexedPrimitive"), (Args{D3DPT_TRIANGLELIST, 0, 266, 0, 528}));
    std::vector<Vertex71> v;
    std::vector<uint16_t> idx;
    ReadBound(&v, &idx);
    ASSERT_EQ(v.size(), 266u);
    EXPECT_EQ(v[0].pos.y, 1.0f);
    EXPECT_EQ(v[265].pos.y, -1.0f);
    EXPECT_NEAR(v[1].pos.y, std::cos(kPi6 / 12), 1e-5f) << "the first ring at pi / 12";
    ExpectOutwardUnitSphere(v, idx, 528);
    EXPECT_EQ(I3dDebugShapesFree(), 0);
    EXPECT_EQ(I3dDebugShapesFree(), -1);
    EXPECT_EQ(I3dDrawDebugSphere(), -1);
}

TEST_F(Primitives, TheProceduralMeshesAreCountedAndBuiltAgainAfterTheLastRelease) {
    EXPECT_EQ(I3dPrimMeshesRelease(), 0) << "a release without a create";
    EXPECT_EQ(I3dDrawPrimSphere(), -1);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(I3dPrimMeshesCreate(), 0);
        ASSERT_EQ(I3dPrimMeshesCreate(), 0);
        EXPECT_EQ(Log().Count("CreateVertexBuffer", {114 * 44}), round + 1)
            << "built once per life";
        ASSERT_EQ(I3dDrawPrimSphere(), 0);
        EXPECT_EQ(LastDraw("DrawIndexedPrimitive"), (Args{D3DPT_TRIANGLELIST, 0, 114, 0, 224}));
        std::vector<Vertex71> v;
        std::vector<uint16_t> idx;
        ReadBound(&v, &idx);
        EXPECT_NEAR(v[1].pos.y, std::cos(kPi6 / 8), 1e-5f) << "the first ring at pi / 8";
        ExpectOutwardUnitSphere(v, idx, 224);

        ASSERT_EQ(I3dDrawPrimArrow(), 0);
        EXPECT_EQ(LastDraw("DrawIndexedPrimitive"), (Args{D3DPT_TRIANGLELIST, 0, 7, 0, 3}));
        ReadBound(&v, &idx);
        ASSERT_EQ(v.size(), 7u);
        EXPECT_EQ(idx, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5, 3, 5, 6}));
        EXPECT_EQ((std::vector<float>{v[0].pos.z, v[1].pos.x, v[5].pos.x, v[6].pos.z}),
                  (std::vector<float>{0.5f, 0.5f, 0.3f, -0.5f}));
        EXPECT_EQ(I3dPrimMeshesRelease(), 0) << "a second create did not count";
        EXPECT_EQ(I3dDrawPrimArrow(), -1) << "freed at 0";
    }
    EXPECT_EQ(I3dPrimMeshesRelease(), 0);
}

} // namespace

// The debug box on the recording layer (its corners, edges, states and matrix), and the quad
// index writer.
#include "I3d/Math/Mat4Math.h"
#include "tests/I3d/FontFixture.h"

#include <set>

namespace {

class DebugBox : public FontTest {
  protected:
    DWORD State(D3DRENDERSTATETYPE s) {
        DWORD v = 0xDEAD;
        D3dDevice()->GetRenderState(s, &v);
        return v;
    }
    DWORD Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE t) {
        DWORD v = 0xDEAD;
        D3dDevice()->GetTextureStageState(stage, t, &v);
        return v;
    }
};

} // namespace

TEST_F(DebugBox, TwelveEdgesOfEightCornersWithTheStatesAndTheMatrix) {
    const float box[6] = {-1, 2, 3, 4, 5, 6};
    ASSERT_EQ(DbgDrawAabb(box, nullptr, 0x80112233), 0);
    ASSERT_EQ(Log().Count("DrawIndexedPrimitive"), 1);
    EXPECT_EQ(Log().Named("DrawIndexedPrimitive")[0].args,
              (std::vector<uint64_t>{D3DPT_LINELIST, 0, 8, uint64_t(m_currentIb->lastStart), 12}));
    EXPECT_EQ(Log().Named("IbLock").back().args[1], 48u) << "24 indices";

    std::vector<FontVertex> v = LastBatch(2); // 8 vertices
    std::set<std::vector<float>> corners;
    for (const FontVertex& c : v) {
        corners.insert({c.pos.x, c.pos.y, c.pos.z});
        EXPECT_EQ(c.colour, 0xFF00FF00u);
    }
    EXPECT_EQ(corners.size(), 8u);
    for (const auto& c : corners)
        for (int k = 0; k < 3; ++k)
            EXPECT_TRUE(c[k] == box[k] || c[k] == box[k + 3]) << "a corner off the box";

    // Each edge joins two corners that differ on one axis; every corner has three edges.
    uint16_t* idx = nullptr;
    ASSERT_EQ(m_currentIb->buffer->Lock(0, 0, reinterpret_cast<BYTE**>(&idx), D3DLOCK_READONLY),
              D3D_OK);
    std::set<std::pair<int, int>> edges;
    int degree[8] = {};
    for (int e = 0; e < 12; ++e) {
        int a = idx[m_currentIb->lastStart + 2 * e], b = idx[m_currentIb->lastStart + 2 * e + 1];
        int same = 0;
        for (int k = 0; k < 3; ++k)
            same += (&v[size_t(a)].pos.x)[k] == (&v[size_t(b)].pos.x)[k];
        EXPECT_EQ(same, 2) << "edge " << e;
        edges.insert({std::min(a, b), std::max(a, b)});
        ++degree[a], ++degree[b];
    }
    m_currentIb->buffer->Unlock();
    EXPECT_EQ(edges.size(), 12u);
    for (int d : degree)
        EXPECT_EQ(d, 3);

    EXPECT_EQ(State(D3DRS_TEXTUREFACTOR), 0x80112233u) << "the colour goes through the factor";
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG1), DWORD(D3DTA_TFACTOR));
    EXPECT_EQ(State(D3DRS_ZFUNC), DWORD(D3DCMP_LESSEQUAL));
    EXPECT_EQ(Stage(1, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));

    Mat4 world, got;
    I3dGetWorldMatrix(&got);
    EXPECT_EQ(Mat4IsIdentity(&got), 1) << "no matrix is the identity";
    Mat4Identity(&world);
    world.m[12] = 7;
    DbgDrawAabb(box, &world, 0xFF00FF00);
    I3dGetWorldMatrix(&got);
    EXPECT_EQ(got.m[12], 7.0f);
    EXPECT_EQ(DbgDrawAabb(nullptr, nullptr, 0), -1);
}

TEST(IdxPushQuad, WritesTwoTrianglesAndMovesSixIndices) {
    uint16_t idx[8] = {};
    uint16_t* cursor = idx + 1;
    IdxPushQuad(&cursor, 10, 11, 12, 65535);
    EXPECT_EQ(cursor, idx + 7) << "12 bytes on";
    EXPECT_EQ((std::vector<uint16_t>(idx, idx + 8)),
              (std::vector<uint16_t>{0, 10, 11, 12, 10, 12, 65535, 0}));
}

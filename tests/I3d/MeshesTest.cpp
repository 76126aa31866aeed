// The generated meshes read back from their buffers on the recording layer: counts, shapes,
// outward winding and normals, and the segment matrix.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "tests/I3d/KernelFixture.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace {

struct Vertex {
    VECTOR3 pos, normal;
    uint32_t colour = 0xFFFFFFFF;
    float u, v, u1, v1;
};

// Every vertex and index of a mesh, read through its buffers' layout.
struct MeshData {
    std::vector<Vertex> vertices;
    std::vector<uint16_t> indices;
    explicit MeshData(const MeshBuf* mesh) {
        const I3dVertexBuffer* vb = mesh->vb;
        BYTE* p = nullptr;
        vb->buffer->Lock(0, 0, &p, D3DLOCK_READONLY);
        for (uint32_t i = 0; i < mesh->vertexCount; ++i) {
            const BYTE* at = p + (size_t)i * vb->stride;
            Vertex v;
            std::memcpy(&v.pos, at + vb->offPos, 12);
            std::memcpy(&v.normal, at + vb->offNormal, 12);
            if (vb->offDiffuse >= 0) std::memcpy(&v.colour, at + vb->offDiffuse, 4);
            std::memcpy(&v.u, at + vb->offUv0, 8);
            std::memcpy(&v.u1, at + (vb->offUv1 >= 0 ? vb->offUv1 : vb->offUv0), 8);
            vertices.push_back(v);
        }
        vb->buffer->Unlock();
        mesh->ib->buffer->Lock(0, 0, &p, D3DLOCK_READONLY);
        indices.resize(mesh->triangleCount * 3);
        std::memcpy(indices.data(), p, indices.size() * 2);
        mesh->ib->buffer->Unlock();
    }
};

// Every index inside the mesh; every triangle wound clockwise seen from outside, so that its
// (v1 - v0) x (v2 - v0) follows its vertices' unit normals; white; both uv pairs alike.
::testing::AssertionResult WellFormed(const MeshData& d) {
    for (size_t t = 0; t < d.indices.size(); t += 3) {
        const uint16_t* i = &d.indices[t];
        if (std::max({i[0], i[1], i[2]}) >= d.vertices.size())
            return ::testing::AssertionFailure() << "triangle " << t / 3 << " indexes past the end";
        const Vertex &a = d.vertices[i[0]], &b = d.vertices[i[1]], &c = d.vertices[i[2]];
        VECTOR3 face = v3::Cross(v3::Sub(b.pos, a.pos), v3::Sub(c.pos, a.pos));
        if (v3::Dot(face, v3::Add(a.normal, v3::Add(b.normal, c.normal))) <= 0.0f)
            return ::testing::AssertionFailure() << "triangle " << t / 3 << " faces inward";
    }
    for (const Vertex& v : d.vertices)
        if (std::fabs(v3::Length(v.normal) - 1.0f) > 1e-4f || v.colour != 0xFFFFFFFFu ||
            v.u1 != v.u || v.v1 != v.v)
            return ::testing::AssertionFailure() << "a vertex with a bad normal, colour or uv";
    return ::testing::AssertionSuccess();
}

class Meshes : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
    }
    void TearDown() override {
        for (MeshBuf* m : m_made)
            m->Destroy(), delete m;
        KernelTest::TearDown();
    }
    MeshBuf* Keep(MeshBuf* m) { return m ? m_made.emplace_back(m) : nullptr; }

  private:
    std::vector<MeshBuf*> m_made;
};

TEST_F(Meshes, CountsFollowTheShapesAndEveryTriangleFacesOut) {
    struct Case {
        MeshBuf* mesh;
        int format;
        uint32_t vertices, triangles;
    } cases[] = {
        {MeshMakeBox(), 35, 24, 12},
        {MeshMakeBoxStrip(), 35, 24, 12},
        {MeshMakeCylinder(3), 71, 17, 18},
        {MeshMakeCylinder(16), 71, 82, 96},
        {MeshMakeSphere(2, 4), 39, 7, 8},
        {MeshMakeEllipsoid(12, 24, 1, 2, 0.5f), 39, 277, 528},
        {MeshMakeArrow(), 71, 7, 3},
        {MeshMakeQuadXZ(), 71, 4, 2},
        // Exactly the 65536 vertices 16-bit indices reach.
        {MeshMakeEllipsoid(218, 301, 1, 1, 1), 39, 65536, 130634},
    };
    for (const Case& c : cases) {
        ASSERT_NE(Keep(c.mesh), nullptr) << c.vertices;
        SCOPED_TRACE(::testing::Message() << c.format << ": " << c.vertices << " vertices");
        EXPECT_EQ(c.mesh->vb->format, c.format);
        EXPECT_EQ(c.mesh->vertexCount, c.vertices);
        EXPECT_EQ(c.mesh->triangleCount, c.triangles);
        EXPECT_TRUE(WellFormed(MeshData(c.mesh)));
    }
    EXPECT_EQ(cases[2].mesh->vb->stride, 44) << "71 carries two uv pairs";
    EXPECT_EQ(cases[4].mesh->vb->fvf, 0x152u) << "39 carries a normal";
}

TEST_F(Meshes, TheBoxsFirstFaceAndItsStripTwin) {
    MeshData box(Keep(MeshMakeBox())), strip(Keep(MeshMakeBoxStrip()));
    const float want[3][4] = {{-0.5f, 0.5f, 0, 0}, {0.5f, 0.5f, 1, 0}, {0.5f, -0.5f, 1, 1}};
    for (int i = 0; i < 3; ++i) {
        const Vertex& v = box.vertices[i];
        EXPECT_EQ((std::vector<float>{v.pos.x, v.pos.y, v.pos.z, v.normal.z, v.u, v.v}),
                  (std::vector<float>{want[i][0], want[i][1], -0.5f, -1, want[i][2], want[i][3]}))
            << "corner " << i;
    }
    for (size_t i = 0; i < 24; ++i) {
        const Vertex &a = box.vertices[i], &b = strip.vertices[i];
        EXPECT_TRUE(std::memcmp(&a.pos, &b.pos, 24) == 0 && a.v == b.v) << "vertex " << i;
        EXPECT_EQ(b.u, (a.u + float(i / 4)) / 8.0f) << "face " << i / 4 << " on its own column";
    }
    EXPECT_EQ(box.indices, strip.indices);
}

TEST_F(Meshes, ImpossibleCountsGiveNull) {
    EXPECT_EQ(MeshMakeSphere(1, 8), nullptr) << "one ring has no triangles";
    EXPECT_EQ(MeshMakeSphere(-3, 8), nullptr) << "negative counts wrap the sizes";
    EXPECT_EQ(MeshMakeSphere(4, 2), nullptr);
    EXPECT_EQ(MeshMakeEllipsoid(300, 300, 1, 1, 1), nullptr) << "90001 vertices";
    EXPECT_EQ(MeshMakeEllipsoid(INT32_MAX, INT32_MAX, 1, 1, 1), nullptr);
    EXPECT_EQ(MeshMakeEllipsoid(4, 4, std::nanf(""), 1, 1), nullptr);
    EXPECT_EQ(MeshMakeCylinder(2), nullptr);
    EXPECT_EQ(Log().Count("CreateVertexBuffer"), 0) << "nothing is made for a refused count";
}

float Det3(const Mat4& m) {
    const float* e = m.m;
    return e[0] * (e[5] * e[10] - e[6] * e[9]) - e[1] * (e[4] * e[10] - e[6] * e[8]) +
           e[2] * (e[4] * e[9] - e[5] * e[8]);
}

TEST_F(Meshes, TheSegmentMatrixStretchesTheUnitMeshUnmirrored) {
    const VECTOR3 a{1, 2, 3}, b{4, 2, 7}, up{0, 1, 0.3f}; // a skewed up
    Mat4 m;
    MatFromSegment(&m, &a, &b, &up, 0.5f);
    EXPECT_GT(Det3(m), 0.0f) << "a mirrored frame turns every mesh inside out";
    const VECTOR3 ends[2] = {{0, 0, 0.5f}, {0, 0, -0.5f}};
    VECTOR3 p;
    EXPECT_LT(v3::Length(v3::Sub(*Mat4XformPoint(&ends[0], &m, &p), b)), 1e-5f);
    EXPECT_LT(v3::Length(v3::Sub(*Mat4XformPoint(&ends[1], &m, &p), a)), 1e-5f);
    const VECTOR3 x{m.m[0], m.m[1], m.m[2]}, y{m.m[4], m.m[5], m.m[6]};
    EXPECT_NEAR(v3::Length(x), 0.5f, 1e-6f);
    EXPECT_NEAR(v3::Dot(x, y), 0.0f, 1e-6f) << "a skewed up must not shear";

    const VECTOR3 zero{0, 0, 0}, vertical{1, 6, 1};
    for (const auto& [to, u] : {std::pair{a, up}, {b, zero}, {vertical, up}, {vertical, zero}}) {
        MatFromSegment(&m, &a, &to, &u, 2.0f);
        for (float e : m.m)
            ASSERT_TRUE(std::isfinite(e)) << "a degenerate segment or up gave a non-finite matrix";
        EXPECT_GE(Det3(m), 0.0f);
    }
}

} // namespace

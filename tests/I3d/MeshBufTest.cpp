// Mesh buffers on the recording layer: the buffers Create makes, filling through the writer,
// drawing before and after a fill, and what is refused.
#include "engine/Memory.h"
#include "tests/I3d/KernelFixture.h"

#include <cstring>

namespace {

class MeshBufs : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
    }
};

TEST_F(MeshBufs, ACubeOf24VerticesAnd12TrianglesDrawsEvenBeforeItIsFilled) {
    MeshBuf mesh;
    ASSERT_TRUE(mesh.Create(35, 24, 12));
    EXPECT_EQ(Log().Count("CreateVertexBuffer", {768, D3DUSAGE_WRITEONLY, 0x112, D3DPOOL_MANAGED}),
              1);
    EXPECT_EQ(
        Log().Count("CreateIndexBuffer", {72, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED}),
        1);
    EXPECT_EQ(mesh.vertexCount, 24u);
    EXPECT_EQ(mesh.triangleCount, 12u);
    ASSERT_TRUE(mesh.Draw()) << "a mesh never filled draws what its buffers hold";
    EXPECT_EQ(Log().Named("SetIndices").back().args, (std::vector<uint64_t>{1, 0}));
    EXPECT_EQ(Log().Named("DrawIndexedPrimitive").back().args,
              (std::vector<uint64_t>{D3DPT_TRIANGLELIST, 0, 24, 0, 12}));

    ASSERT_TRUE(mesh.LockVerts());
    I3dVbPos(1, 2, 3); // the mesh is the writer's target
    float x;
    std::memcpy(&x, I3dVbLockedPtr(mesh.vb), 4);
    EXPECT_EQ(x, 1.0f);
    mesh.UnlockVerts();
    ASSERT_NE(mesh.LockIndices(), nullptr);
    EXPECT_EQ(mesh.indices, mesh.ib->lockedPtr);
    EXPECT_EQ(Log().Named("IbLock").back().args, (std::vector<uint64_t>{0, 72, 0}));
    mesh.UnlockIndices();
    EXPECT_EQ(mesh.indices, nullptr);
    EXPECT_TRUE(mesh.Draw());
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive", {D3DPT_TRIANGLELIST, 0, 24, 0, 12}), 2);

    mesh.Destroy();
    EXPECT_EQ(mesh.vb, nullptr);
    EXPECT_EQ(mesh.ib, nullptr);
    EXPECT_EQ(mesh.triangleCount, 0u);
    EXPECT_FALSE(mesh.Draw());
}

TEST_F(MeshBufs, RefusedMeshesKeepNothing) {
    int64_t live = MemLiveBlocks();
    MeshBuf mesh;
    EXPECT_FALSE(mesh.Create(35, 24, 0)) << "no triangles";
    EXPECT_FALSE(mesh.Create(35, 65537, 10)) << "beyond what 16-bit indices reach";
    EXPECT_FALSE(mesh.Create(35, 24, 400000000)) << "an index buffer too large to make";
    EXPECT_EQ(MemLiveBlocks(), live) << "the vertex buffer made first was kept";
    D3dRecordingConfig config;
    config.bufferFailures = 1;
    D3dRecordingSetup(config);
    EXPECT_FALSE(mesh.Create(35, 24, 12)) << "the device made no buffer";
    EXPECT_EQ(mesh.vb, nullptr);
    EXPECT_FALSE(mesh.LockVerts());
    EXPECT_EQ(mesh.LockIndices(), nullptr);
    mesh.UnlockVerts();
    mesh.UnlockIndices();
    EXPECT_FALSE(mesh.Draw());
    mesh.Destroy();
    EXPECT_TRUE(mesh.Create(35, MESHBUF_MAX_VERTICES, 1));
    mesh.Destroy();
}

} // namespace

// The model library's dynamic buffers on the recording layer: their ring, and how their
// bindings and the kernel's selection forget each other so that neither skips a bind the
// device needs.
#include "gi/Render/DynBuf.h"

#include "tests/I3d/KernelFixture.h"

namespace {

using Args = std::vector<uint64_t>;
constexpr uint64_t kAppend = D3DLOCK_NOOVERWRITE | D3DLOCK_NOSYSLOCK;
constexpr uint64_t kDiscard = D3DLOCK_DISCARD | D3DLOCK_NOSYSLOCK;

class DynBuffers : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
    }
    void TearDown() override {
        DynBufResetBindings();
        KernelTest::TearDown();
    }
    Args LastVbLock() { return Log().Named("VbLock").back().args; }
    int StreamBinds() { return Log().Count("SetStreamSource", {0, 1}); }
    int IndexBinds() { return Log().Count("SetIndices", {1}); }
};

TEST_F(DynBuffers, TheRingAppendsAndDiscardsAsTheKernelsDoes) {
    DynVertexBuf vb(true, 1 | 2 | 32, 100);
    ASSERT_NE(vb.buffer, nullptr);
    EXPECT_EQ(vb.stride, 32);
    EXPECT_EQ((Args{(uint64_t)vb.offPos, (uint64_t)vb.offNormal, (uint64_t)vb.offUv0}),
              (Args{0, 12, 24}));
    EXPECT_EQ(Log().Count("CreateVertexBuffer", {3200, 0x208, 0x112, D3DPOOL_DEFAULT}), 1);

    const int32_t starts[] = {0, 40, 0};
    const uint64_t flags[] = {kDiscard, kAppend, kDiscard};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(vb.Lock(40));
        EXPECT_EQ(vb.lastStart, starts[i]);
        EXPECT_EQ(LastVbLock(), (Args{(uint64_t)starts[i] * 32, 40 * 32, flags[i]}));
        EXPECT_FALSE(vb.Lock(10)) << "a lock while locked";
        vb.Unlock();
    }
    ASSERT_TRUE(vb.Lock(20)); // cursor 60
    vb.Unlock();
    EXPECT_FALSE(vb.Lock(101));
    EXPECT_EQ(vb.cursor, 60) << "a refused lock changes nothing";
    ASSERT_TRUE(vb.Lock(40)) << "exactly the free space";
    EXPECT_EQ(LastVbLock(), (Args{0, 40 * 32, kDiscard}));
    vb.Unlock();

    DynIndexBuf ib(false, 30);
    ASSERT_NE(ib.Lock(12), nullptr);
    ib.Unlock();
    ASSERT_NE(ib.Lock(12), nullptr);
    EXPECT_EQ(Log().Named("IbLock").back().args, (Args{0, 24, 0})) << "static: from 0, no flags";
    EXPECT_EQ(ib.lastStart, 0);
}

TEST_F(DynBuffers, ABoundPairIsBoundOnceAndAgainAfterTheKernelSelects) {
    DynVertexBuf vb(true, 37, 400);
    DynIndexBuf ib(true, 600);
    I3dVertexBuffer* kernelVb = I3dVbCreate(0, 71, 4000);
    I3dIndexBuffer* kernelIb = I3dIbCreate(0, 8000);
    ASSERT_TRUE(kernelVb && kernelIb);
    ASSERT_TRUE(DynBufBind(&vb, &ib));
    ASSERT_TRUE(DynBufBind(&vb, &ib));
    EXPECT_EQ(StreamBinds(), 1);
    EXPECT_EQ(IndexBinds(), 1);
    EXPECT_EQ(Log().Count("SetVertexShader", {0x142}), 1);

    I3dVbSelect(kernelVb);
    EXPECT_EQ(StreamBinds(), 2);
    DynBufBind(&vb, &ib);
    EXPECT_EQ(StreamBinds(), 3) << "the kernel's select replaced the library's stream";
    EXPECT_EQ(IndexBinds(), 2);
    I3dVbSelect(kernelVb);
    EXPECT_EQ(StreamBinds(), 4) << "the library's bind replaced the kernel's stream";
    DynBufBind(&vb, &ib);
    EXPECT_EQ(IndexBinds(), 3);

    I3dIbSelectBase(kernelIb, 0);
    DynBufBind(&vb, &ib);
    EXPECT_EQ(IndexBinds(), 4) << "a select with a base vertex leaves the library's bindings";
    I3dIbSelect(kernelIb);
    DynBufBind(&vb, &ib);
    EXPECT_EQ(StreamBinds(), 6);
    EXPECT_EQ(IndexBinds(), 6);

    // After a device reset nothing is bound: the reset selection must reach the library.
    I3dResetBufferSelection();
    DynBufBind(&vb, &ib);
    EXPECT_EQ(StreamBinds(), 7);
    EXPECT_EQ(IndexBinds(), 7);
    I3dVbFree(kernelVb);
    I3dIbFree(kernelIb);
}

// Two particle systems drawn in a row through shared buffers: the second lock moves the base
// vertex, so the pair must be bound again or the second draw shows the first one's vertices.
TEST_F(DynBuffers, ARelockSendsTheNewBaseVertexAndDrawsFromTheLastIndexLock) {
    DynVertexBuf vb(true, 37, 400);
    DynIndexBuf ib(true, 600);
    for (int system = 0; system < 2; ++system) {
        ASSERT_TRUE(vb.Lock(8));
        vb.Unlock();
        uint16_t* idx = ib.Lock(12);
        ASSERT_NE(idx, nullptr);
        for (int i = 0; i < 12; ++i)
            idx[i] = (uint16_t)(i % 8);
        ib.Unlock();
        ASSERT_TRUE(DynBufBind(&vb, &ib));
        EXPECT_EQ(Log().Named("SetIndices").back().args, (Args{1, (uint64_t)system * 8}));
        EXPECT_TRUE(DynDrawIndexed(D3DPT_TRIANGLELIST, 4, 8));
        EXPECT_EQ(Log().Named("DrawIndexedPrimitive").back().args,
                  (Args{D3DPT_TRIANGLELIST, 0, 8, (uint64_t)system * 12, 4}));
    }
}

TEST_F(DynBuffers, MissingBuffersBindAndDrawNothing) {
    DynVertexBuf vb(true, 37, 400);
    DynIndexBuf ib(true, 600);
    EXPECT_FALSE(DynDrawIndexed(D3DPT_TRIANGLELIST, 1, 3)) << "nothing bound yet";
    EXPECT_FALSE(DynBufBind(&vb, nullptr));
    EXPECT_FALSE(DynBufBind(nullptr, &ib));
    EXPECT_EQ(StreamBinds() + IndexBinds(), 0);

    D3dRecordingConfig config;
    config.bufferFailures = 2;
    D3dRecordingSetup(config);
    DynVertexBuf noVb(true, 37, 400);
    DynIndexBuf noIb(true, 600);
    EXPECT_EQ(noVb.buffer, nullptr);
    EXPECT_FALSE(noVb.Lock(4)) << "a buffer the device did not make refuses to lock";
    EXPECT_EQ(noIb.Lock(4), nullptr);
    EXPECT_FALSE(DynBufBind(&noVb, &ib));
    DynVertexBuf badFormat(true, 4, 10);
    EXPECT_FALSE(badFormat.Lock(1));
}

TEST_F(DynBuffers, ReleasingABoundBufferUnbindsIt) {
    DynVertexBuf vb(true, 37, 400);
    DynIndexBuf ib(true, 600);
    ASSERT_TRUE(DynBufBind(&vb, &ib));
    ASSERT_TRUE(vb.Lock(4));
    vb.Release();
    ib.Release();
    EXPECT_EQ(Log().Count("VbUnlock"), 1);
    EXPECT_EQ(Log().Count("SetStreamSource", {0, 0}), 1);
    EXPECT_EQ(Log().Count("SetIndices", {0}), 1);
    EXPECT_FALSE(DynDrawIndexed(D3DPT_TRIANGLELIST, 1, 3)) << "the released pair is not bound";
    D3dTestLoseDevice(D3dDevice());
    D3dDeviceOk();
    EXPECT_EQ(D3dReset(), 0) << "the device still held a released default-pool buffer";
}

} // namespace

// The kernel's vertex and index buffers on the recording layer: layouts, the ring, selection
// with its redundant-bind skip, the draw wrappers, the writer, and what freeing and failures
// leave behind. The shared pair is made as the application makes it (71 x 4000, 8000).
#include "I3d/Math/MathTypes.h"
#include "tests/I3d/KernelFixture.h"

#include <cstring>

namespace {

class Buffers : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
    }
    // The last lock noted for a vertex (or index) buffer: offset, size and flags.
    std::vector<uint64_t> LastLock(const char* name) {
        std::vector<D3dCall> locks = Log().Named(name);
        return locks.empty() ? std::vector<uint64_t>{} : locks.back().args;
    }
};

using Lock = std::vector<uint64_t>;
constexpr uint64_t kAppend = D3DLOCK_NOOVERWRITE | D3DLOCK_NOSYSLOCK; // 0x1800
constexpr uint64_t kDiscard = D3DLOCK_DISCARD | D3DLOCK_NOSYSLOCK;    // 0x2800

TEST(BufferLayouts, FormatCodesLayOutTheirComponentsInTableOrder) {
    struct Case {
        int32_t code;
        DWORD fvf;
        int32_t stride, pos, normal, diffuse, specular, uv0, uv1;
    } cases[] = {
        {71, 0x252, 44, 0, 12, 24, -1, 28, 36},
        {35, 0x112, 32, 0, 12, -1, -1, 24, -1},
        {39, 0x152, 36, 0, 12, 24, -1, 28, -1},
        {37, 0x142, 24, 0, -1, 12, -1, 16, -1},
        {33, 0x102, 20, 0, -1, -1, -1, 12, -1},
        {1 | 16 | 32 | 64, 0x102, 20, 0, -1, -1, -1, 12, -1},
        {16 | 8, 0x084, 20, 0, -1, -1, 16, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        I3dVertexLayout l;
        ASSERT_TRUE(I3dVertexLayoutOf(c.code, &l));
        EXPECT_EQ(l.fvf, c.fvf);
        EXPECT_EQ(l.stride, c.stride);
        EXPECT_EQ((std::vector<int32_t>{l.offPos, l.offNormal, l.offDiffuse, l.offSpecular,
                                        l.offUv0, l.offUv1}),
                  (std::vector<int32_t>{c.pos, c.normal, c.diffuse, c.specular, c.uv0, c.uv1}));
    }
    I3dVertexLayout l;
    EXPECT_FALSE(I3dVertexLayoutOf(2 | 4, &l)) << "no position";
    EXPECT_FALSE(I3dVertexLayoutOf(71 | 128, &l)) << "a bit no format has";
}

TEST_F(Buffers, CreationAsksForThePoolAndUsageOfItsKind) {
    I3dVertexBuffer* dyn = I3dVbCreate(0, 71, 4000);
    I3dVertexBuffer* stat = I3dVbCreate(1, 35, 24);
    I3dVertexBuffer* stat2 = I3dVbCreate(2, 35, 24); // every type but 0 is static
    I3dIndexBuffer* dynIb = I3dIbCreate(0, 8000);
    I3dIndexBuffer* statIb = I3dIbCreate(1, 36);
    ASSERT_TRUE(dyn && stat && stat2 && dynIb && statIb);
    EXPECT_EQ(Log().Count("CreateVertexBuffer", {176000, 0x208, 0x252, D3DPOOL_DEFAULT}), 1);
    EXPECT_EQ(Log().Count("CreateVertexBuffer", {768, 0x8, 0x112, D3DPOOL_MANAGED}), 2);
    EXPECT_EQ(Log().Count("CreateIndexBuffer", {16000, 0x208, D3DFMT_INDEX16, D3DPOOL_DEFAULT}), 1);
    EXPECT_EQ(Log().Count("CreateIndexBuffer", {72, 0x8, D3DFMT_INDEX16, D3DPOOL_MANAGED}), 1);
    EXPECT_EQ(dyn->lastStart, -1);
    EXPECT_TRUE(dynIb->wrap) << "a new buffer's first lock discards";

    for (auto [type, format, capacity] : {std::tuple{0, 0, 10}, std::tuple{0, 71, 0},
                                          std::tuple{0, 71, -5}, std::tuple{1, 71, 0x7FFFFFFF}})
        EXPECT_EQ(I3dVbCreate(type, format, capacity), nullptr)
            << type << ", " << format << ", " << capacity;
    EXPECT_EQ(I3dIbCreate(0, 0), nullptr);
    EXPECT_EQ(I3dIbCreate(1, -1), nullptr);
    for (I3dVertexBuffer* vb : {dyn, stat, stat2})
        EXPECT_EQ(I3dVbFree(vb), 0);
    for (I3dIndexBuffer* ib : {dynIb, statIb})
        EXPECT_EQ(I3dIbFree(ib), 0);
}

TEST_F(Buffers, DynamicRingsAppendAndDiscardWhenALockWouldReachTheEnd) {
    I3dVertexBuffer* vb = I3dVbCreate(0, 71, 4000);
    ASSERT_NE(vb, nullptr);
    const int32_t starts[] = {0, 1000, 2000, 0};
    const uint64_t flags[] = {kDiscard, kAppend, kAppend, kDiscard};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(I3dVbLock(vb, 1000), 0);
        EXPECT_EQ(vb->lastStart, starts[i]);
        EXPECT_EQ(LastLock("VbLock"), (Lock{(uint64_t)starts[i] * 44, 44000, flags[i]}));
        EXPECT_EQ(I3dVbLock(vb, 1), -1) << "a lock while locked is refused";
        ASSERT_EQ(I3dVbUnlock(vb), 0);
    }
    EXPECT_EQ(I3dVbUnlock(vb), -1) << "not locked";
    EXPECT_EQ(I3dVbLock(vb, 4001), -1);
    EXPECT_EQ(I3dVbLock(vb, -1), -1);
    EXPECT_EQ(vb->position, 1000) << "a refused lock must not move the ring";
    ASSERT_EQ(I3dVbLock(vb, 0), 0) << "an empty particle system locks nothing";
    EXPECT_EQ(vb->lastStart, 1000);
    EXPECT_EQ(vb->position, 1000);
    I3dVbUnlock(vb);
    I3dVbFree(vb);

    I3dIndexBuffer* ib = I3dIbCreate(0, 8000);
    ASSERT_NE(ib, nullptr);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(I3dIbLock(ib, 2000), nullptr);
        EXPECT_EQ(ib->lastStart, starts[i] * 2);
        EXPECT_EQ(LastLock("IbLock"), (Lock{(uint64_t)starts[i] * 4, 4000, flags[i]}));
        I3dIbUnlock(ib);
    }
    EXPECT_EQ(I3dIbLock(ib, 8001), nullptr);
    I3dIbFree(ib);
}

// A second lock of a static buffer writes from 0 again, so its draws must start at 0 too (the
// terrain relocks its pooled patches).
TEST_F(Buffers, StaticBuffersAlwaysLockAndDrawFromZero) {
    I3dVertexBuffer* vb = I3dVbCreate(1, 35, 8);
    I3dIndexBuffer* ib = I3dIbCreate(1, 12);
    ASSERT_TRUE(vb && ib);
    for (int n : {6, 3}) {
        ASSERT_EQ(I3dVbLock(vb, n), 0);
        EXPECT_EQ(LastLock("VbLock"), (Lock{0, (uint64_t)n * 32, 0}));
        EXPECT_EQ(vb->lastStart, 0);
        I3dVbUnlock(vb);
        ASSERT_NE(I3dIbLock(ib, n), nullptr);
        EXPECT_EQ(LastLock("IbLock"), (Lock{0, (uint64_t)n * 2, 0}));
        EXPECT_EQ(ib->lastStart, 0);
        I3dIbUnlock(ib);
    }
    I3dVbSelect(vb);
    I3dIbSelect(ib);
    EXPECT_EQ(I3dVbDraw(D3DPT_TRIANGLELIST, 1), 0);
    EXPECT_EQ(I3dVbDrawIndexed(D3DPT_TRIANGLELIST, 2, 8), 0);
    EXPECT_EQ(Log().Count("DrawPrimitive", {D3DPT_TRIANGLELIST, 0, 1}), 1);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive", {D3DPT_TRIANGLELIST, 0, 8, 0, 2}), 1);
    I3dVbFree(vb);
    I3dIbFree(ib);
}

TEST_F(Buffers, SelectionBindsOnceUntilTheSelectionIsReset) {
    I3dVertexBuffer* vb = I3dVbCreate(0, 71, 4000);
    I3dVertexBuffer* other = I3dVbCreate(1, 35, 4);
    ASSERT_TRUE(vb && other);
    EXPECT_EQ(I3dVbSelect(vb), 0);
    EXPECT_EQ(I3dVbSelect(vb), 0);
    EXPECT_EQ(Log().Count("SetStreamSource", {0, 1, 44}), 1);
    EXPECT_EQ(Log().Count("SetVertexShader", {0x252}), 1);
    I3dResetBufferSelection();
    I3dVbSelect(vb);
    EXPECT_EQ(Log().Count("SetStreamSource", {0, 1, 44}), 2) << "a reset selection binds again";
    I3dVbSelect(other);
    I3dVbSelect(vb);
    EXPECT_EQ(Log().Count("SetStreamSource", {0, 1, 44}), 3);
    I3dVbFree(vb);
    I3dVbFree(other);
}

TEST_F(Buffers, IndexSelectionSendsTheVertexBuffersLastLockStartAsBaseVertex) {
    I3dVertexBuffer* vb = I3dVbCreate(0, 71, 4000);
    I3dIndexBuffer* ib = I3dIbCreate(0, 8000);
    ASSERT_TRUE(vb && ib);
    I3dVbSelect(vb);
    I3dIbSelect(ib);
    EXPECT_EQ(Log().Named("SetIndices").back().args, (Lock{1, 0}))
        << "a vertex buffer never locked counts as starting at 0, not -1";
    I3dVbLock(vb, 100);
    I3dVbUnlock(vb);
    I3dVbLock(vb, 50);
    I3dVbUnlock(vb);
    I3dIbSelect(ib);
    EXPECT_EQ(Log().Named("SetIndices").back().args, (Lock{1, 100}));
    EXPECT_EQ(I3dIbSelectBase(ib, 5), 0);
    EXPECT_EQ(Log().Named("SetIndices").back().args, (Lock{1, 105}));
    EXPECT_EQ(I3dIbSelectBase(ib, -101), -1) << "a base vertex below 0";
    I3dVbFree(vb);
    I3dIbFree(ib);
}

TEST_F(Buffers, DrawWrappersStartAtTheLastLocks) {
    I3dVertexBuffer* vb = I3dVbCreate(0, 71, 4000);
    I3dIndexBuffer* ib = I3dIbCreate(0, 8000);
    ASSERT_TRUE(vb && ib);
    EXPECT_EQ(I3dVbDraw(D3DPT_TRIANGLEFAN, 2), -1) << "nothing selected";
    EXPECT_EQ(Log().Count("DrawPrimitive"), 0);
    for (int n : {4, 6}) { // the second locks start at 4 and 6
        I3dVbLock(vb, n);
        I3dVbUnlock(vb);
        uint16_t* p = I3dIbLock(ib, 6);
        for (int i = 0; i < 6; ++i)
            p[i] = (uint16_t)(2 + i % 4); // vertices 2 .. 5
        I3dIbUnlock(ib);
    }
    I3dVbSelect(vb);
    I3dIbSelect(ib);
    EXPECT_EQ(I3dVbDraw(D3DPT_TRIANGLEFAN, 2), 0);
    EXPECT_EQ(I3dVbDrawIndexed(D3DPT_TRIANGLELIST, 2, 6), 0);
    EXPECT_EQ(I3dVbDrawIndexedFrom(D3DPT_TRIANGLELIST, 1, 6, 3), 0);
    EXPECT_EQ(I3dVbDrawIndexedRange(D3DPT_TRIANGLELIST, 1, 2, 5, 3), 0);
    const D3dCallLog& log = Log();
    EXPECT_EQ(log.Named("DrawPrimitive").back().args, (Lock{D3DPT_TRIANGLEFAN, 4, 2}));
    std::vector<D3dCall> dip = log.Named("DrawIndexedPrimitive");
    ASSERT_EQ(dip.size(), 3u);
    EXPECT_EQ(dip[0].args, (Lock{D3DPT_TRIANGLELIST, 0, 6, 6, 2}));
    EXPECT_EQ(dip[1].args, (Lock{D3DPT_TRIANGLELIST, 0, 6, 9, 1}));
    EXPECT_EQ(dip[2].args, (Lock{D3DPT_TRIANGLELIST, 2, 4, 9, 1})) << "min, max - min + 1";
    EXPECT_EQ(I3dVbDrawIndexed(D3DPT_TRIANGLELIST, 0, 6), -1);
    I3dVbFree(vb);
    I3dIbFree(ib);
}

TEST_F(Buffers, TheWriterFillsEachComponentAndStopsAtTheEndOfTheLock) {
    I3dVertexBuffer* vb = I3dVbCreate(0, 71, 4000);
    ASSERT_NE(vb, nullptr);
    ASSERT_EQ(I3dVbLock(vb, 2), 0);
    uint8_t* base = I3dVbLockedPtr(vb);
    ASSERT_NE(base, nullptr);
    const VECTOR3 pos{4, 5, 6};
    I3dVbPos(1, 2, 3);
    I3dVbNormal(0, 1, 0);
    I3dVbColor(0x80FF2010);
    I3dVbUv(0.25f, 0.75f);
    I3dVbNext();
    I3dVbPosV(&pos);
    float f[3];
    std::memcpy(f, base, 12);
    EXPECT_EQ((std::vector<float>{f[0], f[1], f[2]}), (std::vector<float>{1, 2, 3}));
    std::memcpy(f, base + 12, 12);
    EXPECT_EQ(f[1], 1.0f);
    uint32_t c;
    std::memcpy(&c, base + 24, 4);
    EXPECT_EQ(c, 0x80FF2010u);
    std::memcpy(f, base + 28, 8);
    EXPECT_EQ(f[0], 0.25f);
    EXPECT_EQ(f[1], 0.75f);
    std::memcpy(f, base + 44, 12);
    EXPECT_EQ(f[2], 6.0f) << "the second vertex lies one stride further";

    I3dVbNext();
    EXPECT_DEBUG_DEATH(I3dVbPos(7, 8, 9), "went past the vertices locked");
    std::memcpy(f, base + 88, 12);
    EXPECT_EQ(f[0], 0.0f) << "a write past the lock must not reach the buffer";
    I3dVbUnlock(vb);
    I3dVbPos(7, 8, 9); // no lock: nothing to write into
    I3dVbFree(vb);

    I3dVertexBuffer* plain = I3dVbCreate(1, 33, 1); // position and uv: no colour
    ASSERT_EQ(I3dVbLock(plain, 1), 0);
    I3dVbColor(0xFFFFFFFF);
    I3dVbNormal(9, 9, 9);
    std::vector<uint8_t> zeros(20, 0);
    EXPECT_EQ(std::memcmp(I3dVbLockedPtr(plain), zeros.data(), 20), 0)
        << "a component the format lacks is not written over another";
    I3dVbFree(plain);
}

// Freeing a buffer that is selected, current, the writer's target and bound must leave no
// pointer to it: a buffer later made at the same address would count as bound, and draws and
// writes would reach freed memory (which the sanitizer would report here).
TEST_F(Buffers, FreeingLeavesNoSelectionWriterOrBindingBehind) {
    I3dVertexBuffer* vb = I3dVbCreate(0, 71, 4000);
    I3dIndexBuffer* ib = I3dIbCreate(0, 8000);
    ASSERT_TRUE(vb && ib);
    I3dVbSetCurrent(vb);
    I3dIbSetCurrent(ib);
    I3dVbSelectCurrent();
    I3dIbSelectCurrent();
    ASSERT_EQ(I3dVbLockCurrent(4), 0);
    ASSERT_NE(I3dIbLockCurrent(6), nullptr);
    Log().Clear();
    EXPECT_EQ(I3dVbFree(vb), 0);
    EXPECT_EQ(I3dIbFree(ib), 0);
    EXPECT_EQ(Log().Count("VbUnlock"), 1) << "a locked buffer is unlocked before it goes";
    EXPECT_EQ(Log().Count("IbUnlock"), 1);
    EXPECT_EQ(Log().Count("SetStreamSource", {0, 0}), 1) << "the device let go of it";
    EXPECT_EQ(Log().Count("SetIndices", {0}), 1);
    I3dVbPos(1, 2, 3);
    EXPECT_EQ(I3dVbDraw(D3DPT_TRIANGLELIST, 1), -1);
    EXPECT_EQ(I3dVbDrawIndexed(D3DPT_TRIANGLELIST, 1, 3), -1);
    EXPECT_EQ(I3dVbLockCurrent(1), -1);
    EXPECT_EQ(I3dIbLockCurrent(1), nullptr);
    EXPECT_EQ(I3dVbUnlockCurrent(), -1);
    EXPECT_EQ(I3dIbUnlockCurrent(), -1);
    EXPECT_EQ(I3dVbSelectCurrent(), -1);
    EXPECT_EQ(I3dIbSelectCurrent(), -1);
}

TEST_F(Buffers, AFailedDeviceBufferGivesNoRecordAndNullRecordsAreRefused) {
    D3dRecordingConfig config;
    config.bufferFailures = 2;
    D3dRecordingSetup(config); // the device reads the configuration as it goes
    EXPECT_EQ(I3dVbCreate(0, 71, 4000), nullptr);
    EXPECT_EQ(I3dIbCreate(0, 8000), nullptr);
    EXPECT_NE(LogText().find("I3dVbCreate(0, 71, 4000): the device made no buffer"),
              std::string::npos);

    EXPECT_EQ(I3dVbFree(nullptr), -1);
    EXPECT_EQ(I3dVbLock(nullptr, 1), -1);
    EXPECT_EQ(I3dVbUnlock(nullptr), -1);
    EXPECT_EQ(I3dVbLockedPtr(nullptr), nullptr);
    EXPECT_EQ(I3dVbSelect(nullptr), -1);
    EXPECT_EQ(I3dIbFree(nullptr), -1);
    EXPECT_EQ(I3dIbLock(nullptr, 1), nullptr);
    EXPECT_EQ(I3dIbUnlock(nullptr), -1);
    EXPECT_EQ(I3dIbSelect(nullptr), -1);
    EXPECT_EQ(I3dIbSelectBase(nullptr, 0), -1);
    I3dVbBegin(nullptr, 0);
    I3dVbPos(1, 2, 3);
}

// The application frees the shared pair when the device is lost, resets, and makes the pair
// again: the reset must not be blocked by the device's own references, and the new pair must
// be bound although the selection still named the old one.
TEST_F(Buffers, TheSharedPairSurvivesADeviceResetCycle) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        I3dVertexBuffer* vb = I3dVbCreate(0, 71, 4000);
        I3dIndexBuffer* ib = I3dIbCreate(0, 8000);
        ASSERT_TRUE(vb && ib);
        I3dVbSetCurrent(vb);
        I3dIbSetCurrent(ib);
        Log().Clear();
        ASSERT_EQ(I3dVbLockCurrent(4), 0);
        I3dVbUnlockCurrent();
        ASSERT_NE(I3dIbLockCurrent(6), nullptr);
        I3dIbUnlockCurrent();
        I3dVbSelectCurrent();
        I3dIbSelectCurrent();
        EXPECT_EQ(Log().Count("SetStreamSource", {0, 1, 44}), 1);
        EXPECT_EQ(I3dVbDrawIndexed(D3DPT_TRIANGLELIST, 2, 4), 0);

        D3dTestLoseDevice(D3dDevice());
        ASSERT_EQ(D3dDeviceOk(), 0);
        ASSERT_EQ(D3dDeviceNeedsReset(), 1);
        I3dVbFree(vb);
        I3dIbFree(ib);
        ASSERT_EQ(D3dReset(), 0) << "a freed buffer is still held by the device";
        I3dResetBufferSelection();
    }
}

} // namespace

// Vertex and index buffers of the layer without pixels, on the recording device: what may be
// created, lock ranges and notes, the references bindings hold, and the draws refused because
// they would read past a buffer.
#include "platform/d3d8/Buffers.h"
#include "tests/platform/d3d8/PresentParams.h"
#include "tests/platform/d3d8/RecordingDeviceFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE; // 16 bytes

struct RecordedBuffers : RecordingDeviceTest {
    D3DPRESENT_PARAMETERS pp = TestPresentParams(64, 32);

    void SetUp() override { CreateRecordingDevice(pp); }
    IDirect3DVertexBuffer8* Vb(UINT vertices, D3DPOOL pool = D3DPOOL_MANAGED) {
        IDirect3DVertexBuffer8* vb = nullptr;
        EXPECT_EQ(dev->CreateVertexBuffer(vertices * 16, D3DUSAGE_WRITEONLY, kFvf, pool, &vb),
                  D3D_OK);
        return vb;
    }
    IDirect3DIndexBuffer8* Ib(std::initializer_list<uint16_t> indices) {
        IDirect3DIndexBuffer8* ib = nullptr;
        EXPECT_EQ(dev->CreateIndexBuffer((UINT)indices.size() * 2, D3DUSAGE_WRITEONLY,
                                         D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib),
                  D3D_OK);
        BYTE* p = nullptr;
        if (ib && ib->Lock(0, 0, &p, 0) == D3D_OK) {
            std::memcpy(p, indices.begin(), indices.size() * 2);
            ib->Unlock();
        }
        return ib;
    }
};

TEST_F(RecordedBuffers, CreationRefusesWhatDirect3DRefuses) {
    IDirect3DVertexBuffer8* vb = reinterpret_cast<IDirect3DVertexBuffer8*>(1);
    EXPECT_EQ(dev->CreateVertexBuffer(0, 0, kFvf, D3DPOOL_MANAGED, &vb), D3DERR_INVALIDCALL);
    EXPECT_EQ(vb, nullptr) << "a refused creation must not leave a dangling pointer";
    EXPECT_EQ(dev->CreateVertexBuffer(15, 0, kFvf, D3DPOOL_MANAGED, &vb), D3DERR_INVALIDCALL)
        << "shorter than one vertex of its format";
    EXPECT_EQ(dev->CreateVertexBuffer(64, 0, kFvf, (D3DPOOL)7, &vb), D3DERR_INVALIDCALL);
    IDirect3DIndexBuffer8* ib = nullptr;
    EXPECT_EQ(dev->CreateIndexBuffer(8, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &ib),
              D3DERR_INVALIDCALL);

    ASSERT_EQ(dev->CreateVertexBuffer(64, D3DUSAGE_DYNAMIC, kFvf, D3DPOOL_DEFAULT, &vb), D3D_OK);
    D3DVERTEXBUFFER_DESC d{};
    ASSERT_EQ(vb->GetDesc(&d), D3D_OK);
    EXPECT_EQ(d.Size, 64u);
    EXPECT_EQ(d.FVF, kFvf);
    EXPECT_EQ(d.Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(d.Usage, (DWORD)D3DUSAGE_DYNAMIC);
    EXPECT_EQ(vb->Release(), 0u);
}

TEST_F(RecordedBuffers, LocksStayInsideTheBufferAndAreNotedWithTheirFlags) {
    IDirect3DVertexBuffer8* vb = Vb(4); // 64 bytes
    BYTE* p = nullptr;
    EXPECT_EQ(vb->Lock(60, 8, &p, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(vb->Lock(65, 0, &p, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL) << "nothing is locked";

    D3dRecordingLog().Clear();
    ASSERT_EQ(vb->Lock(16, 0, &p, D3DLOCK_NOOVERWRITE), D3D_OK);
    BYTE* q = nullptr;
    ASSERT_EQ(vb->Lock(0, 16, &q, D3DLOCK_DISCARD), D3D_OK) << "locks nest, as in Direct3D";
    EXPECT_EQ(p, q + 16) << "both locks point into the one store";
    EXPECT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);
    const D3dCallLog& log = D3dRecordingLog();
    EXPECT_EQ(log.Find("VbLock", {16, 48, D3DLOCK_NOOVERWRITE}), 0)
        << "size 0 locks from the offset to the end";
    EXPECT_EQ(log.Count("VbLock", {0, 16, D3DLOCK_DISCARD}), 1);
    EXPECT_EQ(log.Count("VbUnlock"), 2);
    vb->Release();
}

TEST_F(RecordedBuffers, BindingsHoldTheirBuffersUntilReplacedOrReset) {
    IDirect3DVertexBuffer8* vb = Vb(4, D3DPOOL_DEFAULT);
    IDirect3DIndexBuffer8* ib = Ib({0, 1, 2});
    ASSERT_EQ(dev->SetStreamSource(0, vb, 16), D3D_OK);
    EXPECT_EQ(dev->SetStreamSource(1, vb, 16), D3DERR_INVALIDCALL) << "one stream only";
    ASSERT_EQ(dev->SetIndices(ib, 7), D3D_OK);
    EXPECT_EQ(vb->Release(), 1u) << "the stream's reference keeps it";
    EXPECT_EQ(ib->Release(), 1u);

    IDirect3DVertexBuffer8* bound = nullptr;
    UINT stride = 0;
    ASSERT_EQ(dev->GetStreamSource(0, &bound, &stride), D3D_OK);
    EXPECT_EQ(bound, vb);
    EXPECT_EQ(stride, 16u);
    bound->Release();
    IDirect3DIndexBuffer8* indices = nullptr;
    UINT base = 0;
    ASSERT_EQ(dev->GetIndices(&indices, &base), D3D_OK);
    EXPECT_EQ(base, 7u);
    indices->Release();

    D3dTestLoseDevice(dev);
    dev->TestCooperativeLevel();
    EXPECT_EQ(dev->Reset(&pp), D3DERR_INVALIDCALL)
        << "a default-pool buffer the device still binds blocks the reset";
    ASSERT_EQ(dev->SetStreamSource(0, nullptr, 0), D3D_OK);
    ASSERT_EQ(dev->Reset(&pp), D3D_OK);
    ASSERT_EQ(dev->GetIndices(&indices, &base), D3D_OK);
    EXPECT_EQ(indices, nullptr) << "a reset unbinds the indices too";
}

TEST_F(RecordedBuffers, DrawsThatWouldReadPastABufferAreRefused) {
    IDirect3DVertexBuffer8* vb = Vb(6);
    IDirect3DIndexBuffer8* ib = Ib({0, 1, 2, 2, 1, 5});
    dev->SetVertexShader(kFvf);
    EXPECT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL) << "no stream";
    dev->SetStreamSource(0, vb, 16);
    EXPECT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLELIST, 3, 1), D3D_OK);
    EXPECT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLELIST, 4, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 0), D3DERR_INVALIDCALL);

    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 6, 0, 2), D3DERR_INVALIDCALL)
        << "no indices";
    dev->SetIndices(ib, 0);
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 6, 0, 2), D3D_OK);
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 6, 1, 2), D3DERR_INVALIDCALL)
        << "past the last index";
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3D_OK);
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 5, 3, 1), D3DERR_INVALIDCALL)
        << "index 5 lies outside the vertex range given";
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 2, 0, 1), D3DERR_INVALIDCALL)
        << "index 0 lies below the range";
    dev->SetIndices(ib, 1);
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 6, 0, 2), D3DERR_INVALIDCALL)
        << "base vertex 1 + index 5 lies past the vertex buffer";
    EXPECT_EQ(dev->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3D_OK);
    vb->Release();
    ib->Release();
}

TEST_F(RecordedBuffers, AFailingCreationLeavesNoBuffer) {
    D3dRecordingConfig config;
    config.bufferFailures = 1;
    D3dRecordingSetup(config);
    IDirect3DVertexBuffer8* vb = reinterpret_cast<IDirect3DVertexBuffer8*>(1);
    EXPECT_EQ(dev->CreateVertexBuffer(64, 0, kFvf, D3DPOOL_MANAGED, &vb), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(vb, nullptr);
    vb = Vb(4);
    ASSERT_NE(vb, nullptr) << "only one failure was asked for";
    vb->Release();
}

} // namespace
